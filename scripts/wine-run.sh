#!/usr/bin/env bash
# Runs Windows programs under Wine for the tests and the run script.
#
#   scripts/wine-run.sh PROGRAM.exe [ARGUMENTS...]
#       runs one program; the exit status is the program's.
#   scripts/wine-run.sh --session COMMAND [ARGUMENTS...]
#       runs a Linux command (ctest, say) whose Windows programs should all
#       share one X display.
#
# Wine uses a private prefix, build/wineprefix, made on first use.  Without
# DISPLAY, an Xvfb server is started for the program or the session, and the
# Wine session is ended before that display goes.
# LUMO_WINEDEBUG, when set, replaces WINEDEBUG=-all for a debugging run.
set -uo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
screen='-screen 0 1024x768x24'

export WINEPREFIX=$repo/build/wineprefix
export WINEARCH=win64
export WINEDEBUG=${LUMO_WINEDEBUG:--all}
# No Mono or Gecko install prompts, and no desktop menu entries: the menu
# builder also keeps the first session alive for seconds after wineboot.
export WINEDLLOVERRIDES='mscoree,mshtml=;winemenubuilder.exe=d'
# Wine takes the Windows locale from the Unix one: pin it, so that the ANSI
# code page is 1252 and the English resources load on every machine.
export LC_ALL=C.UTF-8

# Debian keeps the 64-bit loader out of PATH; /usr/bin/wine would only
# forward to it after warning that the 32-bit half is not installed.
if [[ -x /usr/lib/wine/wine64 ]]; then
  wine=/usr/lib/wine/wine64
  wineserver=/usr/lib/wine/wineserver
else
  wine=$(command -v wine64 || command -v wine) || { echo "wine-run: wine is not installed" >&2; exit 127; }
  wineserver=$(command -v wineserver) || { echo "wine-run: wineserver is not installed" >&2; exit 127; }
fi

# Makes the prefix once.  Concurrent test jobs wait on the lock; the marker
# is written last, so a prefix left half made by an interrupted run is
# thrown away and made again.
make_prefix() {
  [[ -e $WINEPREFIX/.lumo-ready ]] && return 0
  mkdir -p "$repo/build"
  (
    flock 9 || exit 1
    [[ -e $WINEPREFIX/.lumo-ready ]] && exit 0
    rm -rf "$WINEPREFIX"
    log=$repo/build/wineboot.log
    # The Wine processes must not inherit the lock.  The desktop process is
    # left out: it is not needed to fill the prefix, and the first session
    # would wait seconds at its end for it to give up starting an RPC service.
    if ! WINEDLLOVERRIDES="$WINEDLLOVERRIDES;explorer.exe=d" \
         "$wine" wineboot --init >"$log" 2>&1 9>&-; then
      echo "wine-run: wineboot --init failed:" >&2
      cat "$log" >&2
      exit 1
    fi
    "$wineserver" -w 9>&-
    touch "$WINEPREFIX/.lumo-ready"
  ) 9>"$repo/build/wineprefix.lock"
}

# Starts the Wine session (the server and the system processes such as
# services.exe) when none is running.  The system processes keep the
# standard error of the process that started them, so they are started here
# with nothing open: otherwise ctest would wait for the first test's stderr
# to close, that is until the session ends.  The server stays a second
# after its last program, so the next test finds the session ready.
start_session() {
  # Exit status 2: a server for this prefix is already running.
  if "$wineserver" -p$linger </dev/null >/dev/null 2>&1; then
    "$wine" cmd.exe /c exit </dev/null >/dev/null 2>&1
  fi
}
linger=1

# Waits for the Wine session to end, so that its desktop process is not
# left holding a display that is about to go.  A program that never ends
# must not hang the caller: after the timeout the session is killed.
end_session() {
  timeout 30 "$wineserver" -w || {
    echo "wine-run: Wine processes still running after 30 s; killing them" >&2
    "$wineserver" -k
  }
}

if [[ $# -eq 0 ]]; then
  echo "usage: wine-run.sh PROGRAM.exe [ARGUMENTS...] | --session COMMAND [ARGUMENTS...]" >&2
  exit 2
fi

make_prefix || exit 1

case $1 in
  --session)
    shift
    [[ -n ${DISPLAY:-} ]] && exec "$@"
    exec xvfb-run -a -s "$screen" "${BASH_SOURCE[0]}" --on-own-display "$@"
    ;;
  --on-own-display)   # inside xvfb-run, called from this script only
    shift
    start_session
    "$@"
    status=$?
    end_session
    exit $status
    ;;
esac

if [[ -n ${DISPLAY:-} ]]; then
  start_session
  exec "$wine" "$@"
fi
exec xvfb-run -a -s "$screen" "${BASH_SOURCE[0]}" --on-own-display "$wine" "$@"
