#!/usr/bin/env bash
# Installs what is missing, builds both programs and shows them working on
# the bundled sample address book: the headings as the lumo tool lists them,
# natively and from the Windows build under Wine.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

scripts/setup.sh
scripts/build.sh

sample=samples/sample.adr
echo "== build/native/lumo list $sample"
build/native/lumo list "$sample"
echo "== dist/lumo.exe list $sample (under Wine)"
scripts/wine-run.sh dist/lumo.exe list "$sample"
