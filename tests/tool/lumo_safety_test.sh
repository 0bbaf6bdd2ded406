#!/usr/bin/env bash
# What a save through lumo does to the file it replaces: a link stays a
# link, the rights stay, a read-only file stays untouched, nothing planted
# beside the target is followed, and passwords need not be on the command
# line.
#
# usage: lumo_safety_test.sh LUMO SAMPLES_DIR [RUNNER]   (RUNNER as in lumo_tool_test.sh)
set -u
lumo=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
sample=$(cd "$2" && pwd)/sample.adr
runner=${3:-}
tmp=$(mktemp -d)
trap 'chmod -R u+w "$tmp"; rm -rf "$tmp"' EXIT
cd "$tmp" || exit 2
failed=0

run() { timeout 120 $runner "$lumo" "$@" >out.txt 2>err.txt; status=$?; }
expect() {
    local description=$1
    shift
    "$@" || { failed=$((failed + 1)); echo "FAIL $description"; }
}

run convert "$sample" expected.adr
printf 'old\r\n\r\n' >old.adr

# A book reached through a link; a book readable by its owner only.
mkdir real && cp old.adr real/book.adr && ln -s real/book.adr book.adr
run convert "$sample" book.adr
expect "the link stays a link" test -L book.adr
expect "the file behind the link gets the new book" cmp -s real/book.adr expected.adr
# Wine's ReplaceFile gives the file a new file's Unix mode; the Windows
# attributes it keeps are checked in the Windows unit tests.
if [ -z "$runner" ]; then
    cp old.adr private.adr && chmod 600 private.adr
    run convert "$sample" private.adr
    expect "the book keeps its rights" [ "$(stat -c %a private.adr)" = 600 ]
fi

# A read-only book is not replaced, although its folder allows it.
cp old.adr locked.adr && chmod 444 locked.adr
run convert "$sample" locked.adr
expect "a read-only OUT fails with exit 2" [ "$status" -eq 2 ]
expect "and says why" grep -q "read-only" err.txt
expect "and stays as it was" cmp -s locked.adr old.adr

# Links planted where a temporary file could go are never written through;
# temporary files left by a killed save of the same file are cleared away.
cp old.adr victim.adr && cp old.adr victim2.adr
ln -s victim.adr out.adr.lumo-tmp
ln -s victim2.adr out.adr.0123456789abcdef.lumo-tmp
printf 'left over' >out.adr.fedcba9876543210.lumo-tmp
run convert "$sample" out.adr
expect "convert writes OUT" cmp -s out.adr expected.adr
expect "no planted link was followed" cmp -s victim.adr old.adr
expect "stale temporary files are gone" [ ! -e out.adr.fedcba9876543210.lumo-tmp ] && [ ! -L out.adr.0123456789abcdef.lumo-tmp ]

# Passwords from the environment and from standard input.
run cat expected.adr && mv out.txt expected.txt
LUMO_NEW_PASSWORD=geheim run convert "$sample" secret.adr
expect "LUMO_NEW_PASSWORD protects OUT" [ "$(head -c 1 secret.adr)" = P ]
LUMO_PASSWORD=geheim run cat secret.adr
expect "LUMO_PASSWORD opens it" cmp -s out.txt expected.txt
echo geheim | run cat --password - secret.adr
expect "--password - reads it from standard input" cmp -s out.txt expected.txt

[ "$failed" -eq 0 ] && echo "all passed"
[ "$failed" -eq 0 ]
