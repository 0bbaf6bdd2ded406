#!/usr/bin/env bash
# Installs what is missing, builds everything and runs ORDANE-Lumo under
# Wine beside the ORDANE stand-in, with the sample address book loaded.
#
# With DISPLAY set the windows open there and stay until you quit
# ORDANE-Lumo (Ctrl+Q).  Without DISPLAY the programs run on an Xvfb
# display; once the main window has painted, a screenshot is saved to
# shots/ordane-lumo.png and both programs are told to quit.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
repo=$(pwd)

scripts/setup.sh
scripts/build.sh

echo "== the sample address book, as lumo lists it"
build/native/lumo list samples/sample.adr

# A program folder of its own: ORDANE-Lumo keeps O-LUMO.INF beside itself.
run=build/run
rm -rf "$run"
mkdir -p "$run" shots
cp dist/ORDANE-Lumo.exe dist/ORDANE.exe "$run/"
cp -r dist/DOC "$run/"
cp samples/sample.adr "$run/"
windows_path() { printf 'Z:%s' "$(realpath "$1" | tr / '\\')"; }
# A configuration that names the sample; the fields behind the path are
# left out, and the program fills them with their defaults.
{
  printf 'O-Lumo '
  head -c 48 /dev/zero
  printf '%s\0' "$(windows_path "$run/sample.adr")"
} >"$run/O-LUMO.INF"

if [[ -n ${DISPLAY:-} ]]; then
  echo "== starting the ORDANE stand-in and ORDANE-Lumo on $DISPLAY"
  scripts/wine-run.sh "$run/ORDANE.exe" --ready "$run/ready" &
  for _ in $(seq 100); do [[ -e $run/ready ]] && break; sleep 0.2; done
  scripts/wine-run.sh "$run/ORDANE-Lumo.exe" || true
  echo "== ORDANE-Lumo has ended; close the stand-in window when you are done"
  wait
  exit 0
fi

echo "== no DISPLAY: running on Xvfb, screenshot to shots/ordane-lumo.png"
exec scripts/wine-run.sh --session "$repo/scripts/run-headless.sh" "$run" "$repo/shots/ordane-lumo.png"
