#!/usr/bin/env bash
# Writes the seed inputs of the fuzz targets into tests/fuzz/corpus/TARGET/.
# Inputs that once found a fault are kept there too (regression-*).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"
samples=../../samples
add=$'\\0ADD\\0'   # between the file to open and the file to add

seed() {   # seed TARGET NAME PRINTF-FORMAT [FILES...]: format bytes, then the files
  local target=$1 name=$2 format=$3
  shift 3
  mkdir -p "$(dirname "corpus/$target/$name")"
  { printf "$format"; [[ $# -eq 0 ]] || cat "$@"; } >"corpus/$target/$name"
}

# Address files: flags, open password, add password, file [, marker, file].
seed address_file open-plain '\0\0\0' $samples/sample.adr
seed address_file open-protected '\0lumo2026\0\0' $samples/sample-protected.adr
seed address_file open-wrong-password '\0lumo\0\0' $samples/sample-protected.adr
seed address_file open-empty '\0\0\0'
seed address_file save-protected '\2\0sesame\0' $samples/sample.adr
{ printf '\1\0lumo2026\0'; cat $samples/sample.adr; printf "$add"; cat $samples/sample-protected.adr; } \
  >corpus/address_file/add-protected-check
# A book ending in a lone CR, then an Add of a plain file beginning with "P".
seed address_file regression-lone-cr-add-p "\\1\\0\\0Anna\\r\\n\\r\\nBert\\r${add}Pxxxxxxx\\n\\r\\nZed\\r\\n\\r\\n"

# Start-up: command line, NUL, configuration file.
path() { printf '%s' "$1"; [[ ${#1} -ge 512 ]] || printf '\0'; }   # NUL-ended unless 512 long
config() {   # config PATH RECENT: a whole file with these two paths
  printf 'O-Lumo '
  head -c 48 /dev/zero
  path "$1"
  head -c 28 /dev/zero | tr '\0' '\377'
  head -c 510 /dev/zero | tr '\0' 'x'
  printf '\1\0\1'
  head -c 120 /dev/zero
  printf ',\0\0\0\0123\0\0\0\1\0\0\1'
  path "$2"
  head -c 9 /dev/zero
  printf '\3\4'
}
mkdir -p corpus/startup
{ printf '"C:\\Lumo\\ORDANE-Lumo.exe" \0'; config 'C:\BOOKS\HOME.ADR' 'C:\BOOKS\OLD.ADR'; } \
  >corpus/startup/whole-config
printf 'C:\\Lumo\\ORDANE-Lumo.exe\0O-Lumo ' >corpus/startup/magic-only
printf '"C:\\Program Files\\Lumo\\ORDANE-Lumo.exe' >corpus/startup/no-config
# Paths that fill their 512 bytes without a NUL.
long="C:\\$(head -c 509 /dev/zero | tr '\0' 'x')"
{ printf 'L.EXE\0'; config "$long" "$long"; } >corpus/startup/regression-paths-without-nul

# Calendar link: (position, value) pairs, little-endian 32 bit.
message() { printf "\\x$(printf %02x $(($1 & 255)))\\x$(printf %02x $(($1 >> 8 & 255)))\\x$(printf %02x $(($1 >> 16 & 255)))\\x$(printf %02x $(($1 >> 24 & 255)))"; printf "\\x$(printf %02x $2)\\0\\0\\0"; }
text() {   # the messages of a text, the count first when $2 is "count-first"
  local s=$1 n=${#1} i
  [[ ${2:-} == count-first ]] && message 999999 $((n + 1))
  for ((i = 0; i < n; i++)); do message $i "$(printf %d "'${s:i:1}")"; done
  message $((n + 1)) 0
  [[ ${2:-} == count-first ]] || message 999999 $((n + 1))
}
mkdir -p corpus/calendar
text OpenKal1 >corpus/calendar/open
text ORDANE101010 count-first >corpus/calendar/status
text "ASMueller" >corpus/calendar/search
{ text OrdaneQuit; message 5000 65; message 0 0; message 1024 0; } >corpus/calendar/quit-and-stray

# Paste: clipboard text, NUL, entry, caret line, caret column, store text.
seed paste two-lines 'Erika\r\n\r\nMustermann\0\1\1\3Anna\r\nStreet 1\r\n\r\nBert\r\n\r\n'
seed paste tab-and-end 'a\tb\r\n\0\0\0\0'
seed paste long-line "$(head -c 300 /dev/zero | tr '\0' 'y')"'\0\0\0\0 \r\n\r\n'
seed paste no-entry 'x\r\ny\0\0\0\0text without an entry'
