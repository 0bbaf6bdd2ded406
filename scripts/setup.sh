#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the run scripts need,
# when any of them is missing.  Does nothing (and takes no time) when all are
# there, so the other scripts call it every time.
set -euo pipefail

packages=(
  cmake ninja-build g++ googletest
  g++-mingw-w64-x86-64 g++-mingw-w64-x86-64-posix
  # The fuzz targets: clang with libFuzzer and the sanitizer runtimes.
  clang libclang-rt-14-dev
  wine wine64
  # Wine's own window fonts and the X extensions its display driver uses;
  # they are only recommended by libwine, and installs here skip recommends.
  fonts-wine fonts-liberation
  libxrender1 libxrandr2 libxcursor1 libxi6 libxinerama1 libxcomposite1
  libxfixes3 libxxf86vm1
  xvfb xauth x11-apps imagemagick
  libc-bin util-linux
  # Printing onto pages: a CUPS queue whose backend writes PDF files
  # (scripts/printer.sh makes it), and the tools that turn them into
  # text and pictures for the tests.
  cups-daemon cups-client printer-driver-cups-pdf ghostscript poppler-utils
  # The Windows installer (CPack's NSIS generator) and the independent
  # vCard parser the export test checks its cards with.
  nsis python3 python3-vobject
  # The installer test finds the installed program's window.
  xdotool
  # lumo sync talks to CardDAV servers through libcurl; its tests and
  # benchmark run against a real Radicale.
  libcurl4-openssl-dev radicale
)

# One dpkg-query for all: it prints nothing for a package it has never seen.
declare -A installed=()
while read -r status package; do
  [[ $status == ii ]] && installed[$package]=1
done < <(dpkg-query -W -f='${db:Status-Abbrev} ${Package}\n' "${packages[@]}" 2>/dev/null || true)
missing=()
for package in "${packages[@]}"; do
  [[ -n ${installed[$package]:-} ]] || missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "setup: installing ${missing[*]}"
as_root=()
if [[ $(id -u) -ne 0 ]]; then
  if command -v sudo >/dev/null; then
    as_root=(sudo)
  else
    echo "setup: not root and no sudo; please install: ${missing[*]}" >&2
    exit 1
  fi
fi
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
