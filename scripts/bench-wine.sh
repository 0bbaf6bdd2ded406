#!/usr/bin/env bash
# Figures of the real program under Wine, for the table in the README:
# start-up with books of 1,000,000 entries (in order and shuffled) against
# no book at all, peak memory, typing in books of 100,000 and of 5 entries
# from outside, and the in-process GUI benchmark.  Builds first; the books
# are made once by lumo_bench (same seed, same books) in build/bench-books.
# Prints figures; asserts nothing.
#
#   scripts/bench-wine.sh [RUNS]
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
runs=${1:-3}

scripts/build.sh >/dev/null
books=build/bench-books
mkdir -p "$books"
book() {   # entries order name
  [[ -e $books/$3 ]] || nice build/native/lumo_bench book "$1" "$2" "$books/$3" >/dev/null
  echo "Z:$(realpath "$books/$3" | tr / '\\')"
}
sorted=$(book 1000000 sorted book-1m-sorted.adr)
shuffled=$(book 1000000 shuffled book-1m-shuffled.adr)
large=$(book 100000 sorted book-100k.adr)
small=$(book 5 sorted book-5.adr)

bench=build/windows/lumo_wine_bench.exe
echo "== start-up (best of $runs; the first line is the floor: no book)"
for b in - "$sorted" "$shuffled"; do
  scripts/wine-run.sh "$bench" startup "$b" "$runs"
done
echo "== typing, from outside"
for b in "$large" "$small"; do
  scripts/wine-run.sh "$bench" typing "$b" 200 "$runs"
done
echo "== in-process GUI benchmark"
scripts/wine-run.sh build/windows/lumo_gui_bench.exe
