#!/usr/bin/env bash
# Configures (when needed) and builds both programs, Release:
#   build/native    with the system g++, for the Linux tests and tools
#   build/windows   with MinGW-w64; the programs are also copied to dist/,
#                   and the installer is made: dist/ORDANE-Lumo-setup.exe
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

echo "== native build (build/native)"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
ninja -C build/native -j2

echo "== Windows build (build/windows)"
cmake -S . -B build/windows -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake >/dev/null
ninja -C build/windows -j2
ninja -C build/windows installer
