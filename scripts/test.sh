#!/usr/bin/env bash
# Installs what is missing, builds both programs and runs every test: the
# native build's, the replay of the fuzz corpus, then the Windows build's
# under Wine.  Exits non-zero when a build or any test fails.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/setup.sh
scripts/build.sh

# A test without a TIMEOUT of its own gets five minutes: a Windows program
# left running by a test would otherwise keep ctest waiting on its output.
ctest_options=(--output-on-failure --no-tests=error --timeout 300)

status=0
echo "== native tests"
ctest --test-dir build/native "${ctest_options[@]}" -j2 || status=1

# The core tests once more under AddressSanitizer and UBSan: leaks and
# stray writes that leave the results right are seen only there.
echo "== core tests under AddressSanitizer (build/asan)"
{ cmake -S . -B build/asan -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null &&
  ninja -C build/asan -j2 --quiet lumo_core_tests &&
  build/asan/lumo_core_tests --gtest_brief=1; } || status=1

# Each fuzz target runs its corpus once under the sanitizers, in seconds.
echo "== fuzz corpus replay (build/fuzz)"
{ scripts/fuzz.sh build && ctest --test-dir build/fuzz "${ctest_options[@]}" -j2; } || status=1

# The printer the printing tests print to: its PDFs land in LUMO_PRINTOUTS.
echo "== printer (scripts/printer.sh)"
if printouts=$(scripts/printer.sh); then
  export LUMO_PRINTOUTS=$printouts
else
  echo "== no printer could be set up" >&2
  status=1
fi

# One X display and one Wine session for all Windows tests.  They run one
# at a time: GUI tests take the keyboard focus of that display.
echo "== Windows tests under Wine"
scripts/wine-run.sh --session \
  ctest --test-dir build/windows "${ctest_options[@]}" || status=1

if [[ $status -ne 0 ]]; then
  echo "== FAILED" >&2
fi
exit $status
