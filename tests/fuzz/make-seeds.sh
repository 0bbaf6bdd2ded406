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

# vCards: the three versions, folding, quoted-printable, charsets, escapes.
seed import v21-quoted-printable 'BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=ISO-8859-1:M\374ller;J\374rgen\r\nFN;ENCODING=QUOTED-PRINTABLE;CHARSET=UTF-8:J=C3=BCrgen M=C3=BC=\r\nller\r\nTEL;CELL;VOICE:+49 170 1234567\r\nNOTE;QUOTED-PRINTABLE:one=0D=0Atwo\\; three=\r\n four\r\nADR;HOME:;;Tal 5\\; Hinterhaus;Stuttgart;;70173;Germany\r\nPHOTO;ENCODING=BASE64;TYPE=JPEG:\r\n /9j/4AAQ\r\nAAAQ\r\n\r\nEND:VCARD\r\n'
seed import v30-folded-escaped 'BEGIN:VCARD\nVERSION:3.0\nitem1.EMAIL;TYPE=INTERNET,pref:a@example.org\nN:Stevenson;John;Philip,Paul;Dr.;Jr.,M.D.\nFN:Dr. John\n\tStevenson\nTEL;TYPE=work;TYPE=fax:+1 555 0100\nORG:ABC\\, Inc.;Marketing\nAGENT:BEGIN:VCARD\nBDAY:1985-04-12T10:00:00Z\nNOTE:semi\\;colon\\, comma\\N next \\\\ back \342\220\211\nURL:http://example.org/a,b\nEND:VCARD\n'
seed import v40-org 'BEGIN:VCARD\r\nVERSION:4.0\r\nKIND:org\r\nFN:Example Ltd\r\nTEL;VALUE=uri;TYPE="cell,voice":tel:+1-555\r\nEMAIL:mailto:info@example.com\r\nBDAY:--0412\r\nN;CHARSET=SHIFT_JIS:\223\372\r\nBEGIN:VCARD\r\nEND:VCARD\r\n'
seed import utf16 '\377\376B\0E\0G\0I\0N\0:\0V\0C\0A\0R\0D\0\n\0F\0N\0:\0\074\330\012\337\n\0'

# CSV: the export's columns and those of mail programs.
seed import outlook '\357\273\277First Name,Last Name,Company,Business Street,Business City,Business Postal Code,Home Street,Mobile Phone,Business Fax,E-mail Address,Web Page,Birthday,Notes\r\nAnna,Schmidt,Example AG,Hauptstr. 1,Berlin,10115,Seeweg 2,+49 170 1,030 9,a@example.org,https://example.org,6/30/1970,"one\r\n""two"""\r\n,,,,,,,,,,,0/0/00,\r\n'
seed import google 'Name,Given Name,Family Name,Birthday,E-mail 1 - Type,E-mail 1 - Value,Phone 1 - Type,Phone 1 - Value,Address 1 - Street,Address 1 - City,Address 1 - Postal Code,Address 1 - Country,Organization 1 - Name,Organization 1 - Title\r\nAnna Schmidt,Anna,Schmidt,1970-06-30,* Home,a@example.org,Mobile,+49 170 1,Tal 5,Stuttgart,70173,Germany,Example AG,Lektorin\r\n'
seed import semicolons 'Vorname;Nachname;Telefon;Notizen\r\nJ\374rgen;M\374ller;0711 1;"a;b\nc"\r\n'
seed import open-quote 'Name,Phone\r\nAdler,0711 0\r\n"Smith,0711 1\r\nJones,0711 2\r\n'
seed import gmail-thunderbird "Name,E-mail 1 - Type,E-mail 1 - Value,Phone 1 - Type,Phone 1 - Value,Birth Year,Birth Month,Birth Day\\r\\nJan,* Home,a@x.nl ::: b@x.nl,Home Fax,'+31 20 1,1970,1,31\\r\\n"
seed import export-form 'Name,Phone,Fax,Email,URL,Birthday,Notes\r\nJ\303\274rgen M\303\274ller,0711 1,,,,--02-14,"M\303\274ller, J\303\274rgen\r\n\342\220\211tab"\r\n,,,,,,\r\n'

# Books for the round trip: the sample, and entries no editor makes.
seed exchange_round_trip sample '' $samples/sample.adr
seed exchange_round_trip odd-entries '\r\n\r\n\r\nsecond line\r\n\r\na\rb\r\n\nlone LF\r\nends in CR\r\r\n\r\nTab\there\1\37\177\r\n\r\nPhoneNumber: x\r\n\r\ntrailing text'

# A note of blanks only is the whole of an entry whose heading is blanks:
# once dropped as empty, which gave the entry back as one blank.
seed import regression-blank-notes 'Name,Notes\r\n,"   "\r\n'
seed import regression-blank-note 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:\r\nN:;;;;\r\nNOTE:   \r\nEND:VCARD\r\n'
seed exchange_round_trip regression-blank-heading '   \r\n\r\n'

# A quoted web address with a backslash in a note: written as a URL, it
# read back with the backslash taken for an escape.
seed import regression-url-backslash 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:A\r\nNOTE:A\\nsee "http://x.org/a\\\\nb"\r\nEND:VCARD\r\n'

# A mail address written with "mailto:" in an entry: the vCard and CSV
# readers take the scheme off, and the import added the bare address as a
# second eMail line.
seed exchange_round_trip regression-mailto-firm 'Firma X\r\neMail: mailto:info@example.com\r\n\r\n'
seed exchange_round_trip regression-mailto-person 'Berg, Otto\r\neMail: MAILTO:Otto@Example.com\r\nPhoneNumber: 1\r\n\r\n'

# " ::: " between values is split only in the numbered columns of web
# services: the export's own Email column once came back as two lines.
seed import regression-email-with-separator 'Name,Notes\r\nJan,"Jan\r\neMail: a@x.nl ::: b@x.nl"\r\n'
seed exchange_round_trip regression-email-with-separator 'Jan\r\neMail: a@x.nl ::: b@x.nl\r\n\r\n'

# The exports of the sample book, when a native lumo is built.
lumo=${LUMO:-../../build/native/lumo}
if [[ -x $lumo ]]; then
  "$lumo" export $samples/sample.adr corpus/import/sample-3.0
  "$lumo" export --format vcard4 $samples/sample.adr corpus/import/sample-4.0
  "$lumo" export --format csv $samples/sample.adr corpus/import/sample
fi
