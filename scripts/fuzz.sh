#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and UBSan) in
# build/fuzz and runs one of them, or each in turn, for SECONDS:
#
#   scripts/fuzz.sh TARGET|all SECONDS
#   scripts/fuzz.sh build              # build only (scripts/test.sh does this)
#
# Targets: address_file startup calendar paste import
# exchange_round_trip.  The repository's corpus is
# only read; new inputs go to build/fuzz/scratch/TARGET, crash inputs to
# build/fuzz/crashes/TARGET.  A crash does not end the run.  The log of a run
# is build/fuzz/TARGET.log; its last line gives the executions.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
targets=(address_file startup calendar paste import exchange_round_trip)

cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DLUMO_FUZZ=ON >/dev/null
ninja -C build/fuzz -j2 | grep -v '^\[' || true
[[ ${1:-} == build ]] && exit 0

if [[ $# -ne 2 || ! $2 =~ ^[0-9]+$ ]]; then
  echo "usage: scripts/fuzz.sh TARGET|all SECONDS   (targets: ${targets[*]})" >&2
  exit 1
fi
[[ $1 == all ]] || targets=("$1")

# A small quarantine: the default one cycles through fresh pages so often
# that page faults take most of the time; this keeps use-after-free finds
# for memory freed shortly before.  Scratch files (the address file target
# writes its inputs to files) go to memory when there is a tmpfs.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=8}
[[ -d /dev/shm && -z ${TMPDIR:-} ]] && export TMPDIR=/dev/shm

for target in "${targets[@]}"; do
  program=build/fuzz/tests/fuzz/fuzz_$target
  [[ -x $program ]] || { echo "no fuzz target $target" >&2; exit 1; }
  scratch=build/fuzz/scratch/$target
  crashes=build/fuzz/crashes/$target
  mkdir -p "$scratch" "$crashes"
  echo "== $target for $2 s"
  "$program" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 -timeout=10 \
    -max_total_time="$2" -artifact_prefix="$crashes/" "$scratch" "tests/fuzz/corpus/$target" \
    >"build/fuzz/$target.log" 2>&1 || true
  grep -E '^#[0-9]+:' "build/fuzz/$target.log" | tail -n 1
  echo "crash inputs: $(find "$crashes" -type f | wc -l) in $crashes"
done
