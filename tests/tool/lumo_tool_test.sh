#!/usr/bin/env bash
# The lumo tool seen from outside: what it prints, what it writes, how it
# fails.  Files are compared byte for byte; standard output is only compared
# where it is the product itself (cat, list).
#
# usage: lumo_tool_test.sh LUMO SAMPLES_DIR [RUNNER]
#   RUNNER is empty for a native build, or a command that runs a Windows
#   exe (wine, scripts/wine-run.sh); it is called as: RUNNER LUMO ARGS...
#
# Every lumo call runs inside a fresh temporary directory with relative file
# names, so the same paths work natively and under Wine.
set -u

if [ $# -lt 2 ]; then
    echo "usage: $0 LUMO SAMPLES_DIR [RUNNER]" >&2
    exit 2
fi
lumo=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
samples=$(cd "$2" && pwd)
runner=${3:-}

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cd "$tmp" || exit 2

export LC_ALL=C
passed=0
failed=0
group=""

# ---- helpers ----

begin_group() { group=$1; echo "-- $group"; }

# expect DESCRIPTION COMMAND...: counts a pass when COMMAND succeeds.
expect() {
    local description=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL [$group] $description"
    fi
}

# run OUTFILE ARGS...: runs lumo with stdout to OUTFILE and stderr to
# err.txt; the exit status lands in $status.  A hard timeout keeps a hung
# tool from hanging the suite.
run() {
    local out=$1
    shift
    if [ -n "$runner" ]; then
        timeout 120 "$runner" "$lumo" "$@" >"$out" 2>err.txt
    else
        timeout 120 "$lumo" "$@" >"$out" 2>err.txt
    fi
    status=$?
}

status_is() { [ "$status" -eq "$1" ]; }
stderr_has() { grep -qF -- "$1" err.txt; }
same_bytes() { cmp -s "$1" "$2"; }
is_empty() { [ ! -s "$1" ]; }
missing() { [ ! -e "$1" ]; }
no_temp_left() { ! ls ./*.lumo-tmp ./*/*.lumo-tmp >/dev/null 2>&1; }
first_byte_is() { [ "$(head -c 1 "$1")" = "$2" ]; }

# A CR LF file written with LF line ends in the here-document.
crlf() { sed 's/$/\r/' >"$1"; }

# The first line of every paragraph of the UTF-8 sample book.
book_headings() {
    awk 'BEGIN { RS = "" } { split($0, lines, "\n"); print lines[1] }' "$samples/sample-book.txt"
}

# ---- inputs ----

cp "$samples/sample.adr" "$samples/sample-protected.adr" .
# Every open except a plain cat sorts, and a sort puts equal headings in
# reverse order, so sorted texts are compared only when they went through
# the same number of sorts; the shipped samples have been sorted once.
#
# The sample book as the program holds it in memory: Windows-1252, CR LF,
# in the unsorted order in which it was typed.
iconv -f UTF-8 -t WINDOWS-1252 "$samples/sample-book.txt" | crlf book.txt
password=lumo2026

# ---- cat ----
begin_group "cat"
run out.txt cat book.txt
expect "cat exits 0" status_is 0
expect "cat writes the loaded text unchanged, byte for byte" same_bytes out.txt book.txt
run expected.txt cat sample.adr
run sorted.txt cat --sorted book.txt
expect "cat --sorted of the typed book is the text of the sample, German letters included" \
    same_bytes sorted.txt expected.txt
run out.txt cat --password "$password" sample-protected.adr
expect "cat of the protected sample shows the same text" same_bytes out.txt expected.txt

# ---- list ----
begin_group "list"
run list.txt list sample.adr
# The UTF-8 headings of the book, one a line with LF alone.
expect "list prints exactly the headings of the book" eval 'status_is 0 && [ "$(sort list.txt)" = "$(book_headings | sort)" ]'
run list2.txt list --password "$password" sample-protected.adr
expect "the protected sample lists the same headings" same_bytes list2.txt list.txt
printf 'Euro \200 \223q\224 \226 \212 \237\r\nx\r\n\r\nUndefined \215\220\235\r\n\r\n' >c1252.adr
run list2.txt list c1252.adr
printf 'Euro \342\202\254 \342\200\234q\303\266 \342\200\223 \305\240 \305\270\nUndefined \302\215\302\220\302\235\n' >expected.txt
expect "Windows-1252 specials become their UTF-8 characters" same_bytes list2.txt expected.txt

# ---- convert ----
begin_group "convert"
run out.txt convert --new-password "$password" sample.adr protected.adr
expect "convert exits 0 and prints nothing" eval 'status_is 0 && is_empty out.txt && is_empty err.txt'
expect "a protected file starts with P" first_byte_is protected.adr P
run out.txt convert --password "$password" --new-password "" protected.adr plain.adr
expect "protected back to plain exits 0" status_is 0
expect "plain -> protected -> plain gives the plain sample back" same_bytes plain.adr sample.adr
run out.txt convert --password "$password" sample-protected.adr kept.adr
run out.txt cat --password "$password" kept.adr
expect "without --new-password the opening password protects OUT" \
    eval 'status_is 0 && first_byte_is kept.adr P && [ -s out.txt ]'
run out.txt convert --password "$password" book.txt plain2.adr
expect "a password given for a plain file is never asked for, so OUT stays plain" \
    eval 'status_is 0 && same_bytes plain2.adr sample.adr'
long=abcdefghijklmnopqrs   # 19 characters, the most a password holds
run out.txt convert --new-password "$long" book.txt long.adr
run out.txt list --password "${long}tuvwxyz" long.adr
expect "an opening password is cut to 19 characters" eval 'status_is 0 && same_bytes out.txt list.txt'

# ---- passwords and failures ----
begin_group "failures"
run out.txt convert --password wrong sample-protected.adr bad.adr
expect "a wrong password exits 2 with Wrong password!" eval 'status_is 2 && stderr_has "Wrong password!"'
expect "a wrong password creates no OUT" missing bad.adr
cp sample.adr untouched.adr
run out.txt convert sample-protected.adr untouched.adr
expect "a missing password is a wrong password" eval 'status_is 2 && stderr_has "Wrong password!"'
expect "a failed open leaves an existing OUT untouched" same_bytes untouched.adr sample.adr
printf 'Peters, Paul\r\n\r\n' >starts-with-p.adr
run out.txt cat starts-with-p.adr
expect "a plain file starting with P is taken as protected" eval 'status_is 2 && stderr_has "Wrong password!"'
run out.txt cat no-such-file.adr
expect "a missing file exits 2 with Cannot open file!" eval 'status_is 2 && stderr_has "Cannot open file!" && is_empty out.txt'
run out.txt convert sample.adr no-such-dir/out.adr
expect "an OUT that cannot be created exits 2 with Cannot save file!" eval 'status_is 2 && stderr_has "Cannot save file!"'
mkdir a-directory.adr
run out.txt convert sample.adr a-directory.adr
expect "an OUT that cannot be replaced exits 2 with Cannot save file!" \
    eval 'status_is 2 && stderr_has "Cannot save file!" && [ -d a-directory.adr ]'
expect "no temporary file is left behind after a failed save" no_temp_left

# A disk that fills up at any byte of OUT: OUT stays as it was, no
# temporary file stays behind; with room for every byte the write succeeds.
size=$(wc -c <sample.adr)
printf 'old contents\r\n' >full-disk.adr
cp full-disk.adr full-disk-before.adr
for n in 0 $((size - 1)); do
    LUMO_FAIL_WRITE_AFTER=$n run out.txt convert book.txt full-disk.adr
    expect "a write failing after $n bytes exits 2 with Cannot save file!" \
        eval 'status_is 2 && stderr_has "Cannot save file!"'
    expect "a write failing after $n bytes leaves OUT as it was" same_bytes full-disk.adr full-disk-before.adr
    expect "a write failing after $n bytes leaves no temporary file" no_temp_left
done
LUMO_FAIL_WRITE_AFTER=$size run out.txt convert book.txt full-disk.adr
expect "with room for every byte the write replaces OUT" eval 'status_is 0 && same_bytes full-disk.adr sample.adr && no_temp_left'

# A plain book whose text begins with P reads back only with --plain; it
# can be protected from there.
run out.txt cat --plain starts-with-p.adr
expect "--plain reads a plain file starting with P" eval 'status_is 0 && same_bytes out.txt starts-with-p.adr'
run out.txt convert --plain --new-password "$password" starts-with-p.adr recovered.adr
run out.txt cat --password "$password" recovered.adr
expect "convert --plain --new-password recovers it protected" eval 'status_is 0 && same_bytes out.txt starts-with-p.adr'
run out.txt convert --password "$password" --new-password "" recovered.adr p-again.adr
expect "writing a plain OUT that begins with P warns about --plain" \
    eval 'status_is 0 && stderr_has "--plain" && same_bytes p-again.adr starts-with-p.adr'

# ---- usage ----
begin_group "usage"
usage_error() {
    run out.txt "$@"
    status_is 1 && ! is_empty err.txt && is_empty out.txt
}
expect "no arguments" usage_error
expect "unknown command" usage_error show sample.adr
expect "cat with two files" usage_error cat sample.adr book.txt
expect "convert without OUT" usage_error convert sample.adr
expect "--password without its value" usage_error cat sample.adr --password
expect "unknown option" usage_error cat --verbose sample.adr
expect "--sorted belongs to cat only" usage_error list --sorted sample.adr
expect "--plain and --password exclude each other" usage_error cat --plain --password x sample.adr
expect "a new password of 20 characters" usage_error convert --new-password "${long}t" sample.adr toolong.adr
expect "a usage error writes no OUT" missing toolong.adr
run out.txt --help
expect "--help prints the usage and exits 0" eval 'status_is 0 && grep -q "usage" out.txt'

# ---- check ----
begin_group "check"
printf 'Berg\r\nSee 2\r\n\r\nAdler\r\n\r\nBerg\r\nSee 2\r\n\r\n' >doubles.adr
cp doubles.adr doubles-before.adr
run out.txt check doubles.adr checked.adr
printf 'Adler\r\n\r\nBerg\r\nSee 2\r\n\r\n' >expected.adr
expect "check writes the book without its double" eval 'status_is 0 && same_bytes checked.adr expected.adr'
expect "check leaves the input file alone" same_bytes doubles.adr doubles-before.adr
run out.txt check --password "$password" sample-protected.adr checked.adr
run out.txt cat --password "$password" checked.adr
expect "check of a protected file writes it protected with the same password" \
    eval 'status_is 0 && first_byte_is checked.adr P && [ -s out.txt ]'
run out.txt check --password wrong sample-protected.adr never.adr
expect "check with a wrong password writes nothing" eval 'status_is 2 && missing never.adr'

# ---- killed while writing (native only: a Wine process is not killed this way) ----

if [ -z "$runner" ]; then
    begin_group "killed while writing"
    # A sorted book of about 24 MB, so that writing it takes a while.
    awk 'BEGIN { for (i = 0; i < 200000; i++)
                   printf "Name %07d\r\nStreet %d\r\nTown with a longer line of text, %d\r\n\r\n", i, i, i }' >big.adr
    cp sample.adr old.adr
    run out.txt convert big.adr new.adr
    expect "convert of the big book completes" status_is 0
    # Kill the tool at points spread over the time one convert takes; the
    # target must afterwards hold the old bytes or all of the new ones.
    start=$(date +%s%N)
    run out.txt convert big.adr timing.adr
    took_ms=$(( ($(date +%s%N) - start) / 1000000 ))
    torn=0
    for percent in 10 25 40 55 70 85 95; do
        cp old.adr target.adr
        "$lumo" convert big.adr target.adr >/dev/null 2>&1 &
        pid=$!
        sleep "$(awk -v t="$took_ms" -v p="$percent" 'BEGIN { printf "%.3f", t * p / 100000 }')"
        kill -9 "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
        if ! same_bytes target.adr old.adr && ! same_bytes target.adr new.adr; then
            torn=$((torn + 1))
            echo "   torn target after a kill at ${percent}% of ${took_ms} ms"
        fi
        rm -f target.adr.*.lumo-tmp
    done
    expect "a kill at any point leaves the old file or the complete new one" [ "$torn" -eq 0 ]
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
