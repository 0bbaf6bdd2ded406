#!/usr/bin/env bash
# Makes a printer that Wine can print to and that writes every job to a
# PDF file: the CUPS queue "LumoPDF" on the cups-pdf backend, made the
# default printer.  Wine finds the CUPS printers by itself (its PostScript
# driver renders the pages, CUPS hands them to cups-pdf).
#
#   scripts/printer.sh        sets it up and prints the folder of the PDFs
#
# The PDFs go to /tmp/lumo-printouts (LUMO_PRINTOUTS changes it), one per
# job.  The CUPS scheduler is started when none is running: containers
# without systemd have none.  Needs root (or sudo) for the scheduler and
# lpadmin; scripts/setup.sh installs the packages.
set -euo pipefail

queue=LumoPDF
out=${LUMO_PRINTOUTS:-/tmp/lumo-printouts}
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
# The queue's device cups-pdf:/lumo reads its own settings file.
conf=/etc/cups/cups-pdf-lumo.conf

as_root=()
if [[ $(id -u) -ne 0 ]]; then
  command -v sudo >/dev/null || { echo "printer: needs root or sudo" >&2; exit 1; }
  as_root=(sudo)
fi

for tool in cupsd lpadmin lpstat; do
  command -v "$tool" >/dev/null || [[ -x /usr/sbin/$tool ]] ||
    { echo "printer: $tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
[[ -e $ppd ]] || { echo "printer: $ppd is missing (printer-driver-cups-pdf)" >&2; exit 1; }

scheduler_running() { LC_ALL=C lpstat -r 2>/dev/null | grep -q 'is running'; }
if ! scheduler_running; then
  "${as_root[@]}" /usr/sbin/cupsd
  for _ in $(seq 50); do scheduler_running && break; sleep 0.2; done
  scheduler_running || { echo "printer: the CUPS scheduler did not start" >&2; exit 1; }
fi

wanted_conf="Out $out
AnonDirName $out
Label 2
UserUMask 0022"
if [[ ! -e $conf || $(cat "$conf") != "$wanted_conf" ]]; then
  printf '%s\n' "$wanted_conf" | "${as_root[@]}" tee "$conf" >/dev/null
fi
"${as_root[@]}" mkdir -p "$out"
"${as_root[@]}" chmod 1777 "$out"

if ! LC_ALL=C lpstat -v "$queue" >/dev/null 2>&1; then
  # lpadmin warns that printer drivers are deprecated; cups-pdf has no other way.
  "${as_root[@]}" lpadmin -p "$queue" -E -v cups-pdf:/lumo -P "$ppd" 2>/dev/null
fi
"${as_root[@]}" lpadmin -d "$queue"
"${as_root[@]}" cupsenable "$queue" 2>/dev/null || true
"${as_root[@]}" cupsaccept "$queue" 2>/dev/null || true
echo "$out"
