#!/usr/bin/env bash
# The Windows installer under Wine, as a user meets it:
#   - a silent install into a chosen folder (/S /D=...) puts the three
#     programs, whatever dist/DOC holds, the uninstaller, the Start-menu
#     entries and the uninstall registration in place;
#   - the installed ORDANE-Lumo, started beside the installed stand-in,
#     shows its window and ends normally, writing O-LUMO.INF beside itself;
#   - the silent uninstall removes the programs, the Start-menu entries and
#     the registration, and keeps the user's address file and O-LUMO.INF;
#   - without /D the installer chooses a folder under the user's local
#     application data, and uninstalling leaves nothing there.
#
# usage: installer_test.sh SETUP.exe WINE-RUN SAMPLES_DIR
#   WINE-RUN runs a Windows program (scripts/wine-run.sh); the test runs on
#   an X display (DISPLAY set by wine-run.sh --session).
set -u

if [ $# -ne 3 ]; then
    echo "usage: $0 SETUP.exe WINE-RUN SAMPLES_DIR" >&2
    exit 2
fi
setup=$(realpath "$1")
wine_run=$(realpath "$2")
samples=$(realpath "$3")
dist=$(dirname "$setup")
if [ ! -f "$setup" ]; then
    echo "no installer at $setup: make it with ninja -C build/windows installer" >&2
    exit 1
fi

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
passed=0
failed=0

expect() {
    local description=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL $description"
    fi
}

windows() { "$wine_run" "$@" </dev/null; }
# A Windows folder of the prefix (%LOCALAPPDATA%, ...) as a Unix path.
windows_folder() {
    local folder
    folder=$(windows cmd.exe /c echo "%$1%" | tr -d '\r')
    windows winepath.exe -u "$folder" | tr -d '\r'
}
windows_path() { windows winepath.exe -w "$1" | tr -d '\r'; }

# Waits up to SECONDS for COMMAND to succeed, looking every 0.2 s.
wait_for() {
    local seconds=$1
    shift
    local tries=$((seconds * 5))
    until "$@"; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.2
    done
}

same_file() { cmp -s "$1" "$2"; }
missing() { [ ! -e "$1" ]; }
registered() { windows reg.exe query 'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\ORDANE-Lumo' >/dev/null 2>&1; }
not_registered() { ! registered; }

# Runs the installed uninstaller as the Start-menu entry would, silently.
# It copies itself away and goes on from there, so the end is when it has
# removed itself.
uninstall() {
    windows "$1/Uninstall.exe" /S
    wait_for 60 missing "$1/Uninstall.exe"
}

appdata=$(windows_folder APPDATA)
localappdata=$(windows_folder LOCALAPPDATA)
menu="$appdata/Microsoft/Windows/Start Menu/Programs/ORDANE-Lumo"

# ---- install into a chosen folder, with a blank in its name ----
# /D= takes the rest of the command line as it stands, blanks and all, but
# no quotes: cmd passes it on that way (Wine would quote a single argument
# with blanks).
target="$tmp/My Programs/Lumo"
windows cmd.exe /c "$(windows_path "$setup") /S /D=$(windows_path "$target")"
expect "the silent install exits 0" [ $? -eq 0 ]
for program in ORDANE-Lumo.exe ORDANE.exe lumo.exe; do
    expect "$program is installed as built" same_file "$dist/$program" "$target/$program"
done
if [ -d "$dist/DOC" ]; then
    expect "dist/DOC is installed as DOC" diff -r "$dist/DOC" "$target/DOC"
fi
expect "the uninstaller is installed" [ -f "$target/Uninstall.exe" ]
expect "the Start menu holds ORDANE-Lumo" [ -f "$menu/ORDANE-Lumo.lnk" ]
expect "the Start menu holds the stand-in" [ -f "$menu/ORDANE stand-in.lnk" ]
expect "the Start menu holds the uninstaller" [ -f "$menu/Uninstall ORDANE-Lumo.lnk" ]
expect "the install is registered for uninstalling" registered

# ---- the installed program beside the installed stand-in ----
cp "$samples/sample.adr" "$target/my-book.adr"
quit_flag=$tmp/quit-now
printf '%s\r\n' '@wait-window' "@wait-file $(windows_path "$quit_flag")" 'OrdaneQuit' '@wait-text LumoQuit' '@quit' \
    >"$tmp/script.txt"
windows "$target/ORDANE.exe" --script "$(windows_path "$tmp/script.txt")" --log "$(windows_path "$tmp/calendar.log")" \
    --ready "$(windows_path "$tmp/ready")" &
standin=$!
expect "the installed stand-in starts" wait_for 30 [ -e "$tmp/ready" ]
# Started the way the Start-menu entry starts it: from its own folder.
(cd "$target" && windows "$target/ORDANE-Lumo.exe") &
lumo=$!
# Its main window is the visible top-level window of its process that is
# not a tool window: Wine names the X window's class after the program.
window=$(timeout 30 xdotool search --sync --onlyvisible --classname '^ordane-lumo\.exe$' 2>/dev/null | head -n 1)
expect "the installed ORDANE-Lumo shows its window" [ -n "$window" ]
if [ -n "$window" ] && [ -n "${LUMO_INSTALLER_SHOT:-}" ]; then
    xwd -id "$window" -silent | convert xwd:- "$LUMO_INSTALLER_SHOT"
fi
touch "$quit_flag"
timeout 60 bash -c "while kill -0 $lumo 2>/dev/null; do sleep 0.2; done"
wait "$lumo"
expect "ORDANE-Lumo ends normally when the calendar quits" [ $? -eq 0 ]
wait "$standin"
expect "the stand-in saw the greeting and the goodbye" grep -q LumoQuit "$tmp/calendar.log"
expect "ORDANE-Lumo wrote O-LUMO.INF beside itself" [ -f "$target/O-LUMO.INF" ]
cp "$target/O-LUMO.INF" "$tmp/settings-before"

# ---- uninstall: the programs go, the user's files stay ----
uninstall "$target"
expect "the uninstaller removes itself" missing "$target/Uninstall.exe"
for program in ORDANE-Lumo.exe ORDANE.exe lumo.exe; do
    expect "uninstall removes $program" missing "$target/$program"
done
expect "uninstall removes DOC" missing "$target/DOC"
expect "uninstall keeps the address file" same_file "$samples/sample.adr" "$target/my-book.adr"
expect "uninstall keeps O-LUMO.INF" same_file "$tmp/settings-before" "$target/O-LUMO.INF"
expect "uninstall removes the Start-menu entries" missing "$menu"
expect "uninstall removes the registration" not_registered

# ---- the default folder ----
default="$localappdata/Programs/ORDANE-Lumo"
windows "$setup" /S
expect "without /D the program goes under the local application data" [ -f "$default/ORDANE-Lumo.exe" ]
uninstall "$default"
expect "uninstalling a folder without user files removes the folder" missing "$default"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
