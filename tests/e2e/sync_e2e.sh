#!/usr/bin/env bash
# The program's sync test against a real CardDAV server: Debian's radicale
# on 127.0.0.1 with a free port, a user with a password in an htpasswd
# file, a temporary storage folder, and one card on the server as a phone
# would have left it.  The server is stopped and its folder removed at the
# end.  Exit 77 (skipped) without radicale.
#
#   tests/e2e/sync_e2e.sh LUMO_E2E_TESTS.exe [RUNNER]
set -euo pipefail
tests=$1
runner=${2:-}

command -v radicale >/dev/null || { echo "radicale is not installed"; exit 77; }
work=$(mktemp -d)
server=
cleanup() {
  [[ -n $server ]] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
user=anna
password=Sync-7e2e
printf '%s:%s\n' "$user" "$password" >"$work/users"
radicale --server-hosts "127.0.0.1:$port" --storage-filesystem-folder "$work/storage" \
  --auth-type htpasswd --auth-htpasswd-filename "$work/users" --auth-htpasswd-encryption plain \
  --logging-level warning >"$work/radicale.log" 2>&1 &
server=$!

base=http://127.0.0.1:$port
for _ in $(seq 100); do
  curl -s -o /dev/null "$base/" && break
  sleep 0.1
done

url=$base/$user/contacts/
curl -sf -u "$user:$password" -X MKCOL "$url" -H 'Content-Type: application/xml' --data-binary \
  '<?xml version="1.0"?><mkcol xmlns="DAV:" xmlns:C="urn:ietf:params:xml:ns:carddav"><set><prop><resourcetype><collection/><C:addressbook/></resourcetype></prop></set></mkcol>' >/dev/null
curl -sf -u "$user:$password" -X PUT "${url}phone-1.vcf" -H 'Content-Type: text/vcard' --data-binary \
  $'BEGIN:VCARD\r\nVERSION:3.0\r\nUID:phone-1\r\nFN:Xaver Quast\r\nN:Quast;Xaver;;;\r\nTEL;TYPE=cell:+49 170 5550123\r\nEND:VCARD\r\n' >/dev/null

export LUMO_SYNC_URL=$url LUMO_SYNC_USER=$user LUMO_SYNC_PASSWORD=$password LUMO_SYNC_STORAGE=$work/storage
status=0
$runner "$tests" --gtest_brief=1 --gtest_filter='SyncInput.*' || status=$?
[[ $status -ne 0 ]] && cat "$work/radicale.log" >&2
exit $status
