#!/usr/bin/env bash
# Runs inside the Xvfb session of scripts/run.sh: starts the stand-in and
# ORDANE-Lumo, waits until the main window has painted, saves the
# screenshot, and lets the stand-in send "OrdaneQuit".
set -euo pipefail
run=$1
shot=$2
cd "$(dirname "${BASH_SOURCE[0]}")/.."

windows_path() { printf 'Z:%s' "$(realpath -m "$1" | tr / '\\')"; }
quit_flag=$run/quit-now
rm -f "$quit_flag" "$run/ready" "$run/calendar.log"
printf '%s\n' '@wait-window' "@wait-file $(windows_path "$quit_flag")" 'OrdaneQuit' \
  '@wait-text LumoQuit' '@quit' >"$run/script.txt"

scripts/wine-run.sh "$run/ORDANE.exe" --script "$(windows_path "$run/script.txt")" \
  --log "$(windows_path "$run/calendar.log")" --ready "$(windows_path "$run/ready")" &
standin=$!
for _ in $(seq 150); do [[ -e $run/ready ]] && break; sleep 0.2; done
scripts/wine-run.sh "$run/ORDANE-Lumo.exe" &
lumo=$!

# Painted: the Overview's grey (230,230,230) covers a good part of the screen.
painted=no
for _ in $(seq 150); do
  share=$(xwd -root -silent | convert xwd:- -fill black +opaque 'rgb(230,230,230)' -format '%[fx:mean]' info: 2>/dev/null || echo 0)
  if awk -v s="$share" 'BEGIN { exit !(s > 0.02) }'; then
    painted=yes
    break
  fi
  sleep 0.2
done
sleep 0.5   # the last strips of the paint
xwd -root -silent | convert xwd:- "$shot"
echo "screenshot: $shot (main window painted: $painted)"

touch "$quit_flag"
status=0
wait "$lumo" || status=$?
wait "$standin" || true
echo "ORDANE-Lumo ended with exit code $status; the stand-in received:"
cat "$run/calendar.log" 2>/dev/null || true
exit "$status"
