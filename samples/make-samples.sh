#!/usr/bin/env bash
# Rebuilds the sample address books from sample-book.txt:
#   sample.adr            plain
#   sample-protected.adr  protected with the password "lumo2026"
# Both are written by the lumo tool itself, so they are sorted and carry the
# German letters at their file positions exactly as the program saves them.
#
# usage: samples/make-samples.sh [path-to-lumo]   (default build/native/lumo)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
lumo=${1:-$here/../build/native/lumo}
if [ ! -x "$lumo" ]; then
    echo "make-samples: no lumo binary at $lumo (build it with: ninja -C build/native lumo)" >&2
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# UTF-8 with LF -> Windows-1252 with CR LF, the program's text in memory.
iconv -f UTF-8 -t WINDOWS-1252 "$here/sample-book.txt" | LC_ALL=C sed 's/$/\r/' > "$work/book.txt"

"$lumo" convert "$work/book.txt" "$here/sample.adr"
"$lumo" convert --new-password lumo2026 "$work/book.txt" "$here/sample-protected.adr"
echo "make-samples: wrote $here/sample.adr and $here/sample-protected.adr"
