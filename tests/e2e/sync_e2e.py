#!/usr/bin/env python3
"""The program's sync test against a real CardDAV server: a private Radicale
(tools/sync/radicale.py) with one card on it, as a phone would have left it.
Exit 77 (skipped) without radicale.

    tests/e2e/sync_e2e.py LUMO_E2E_TESTS.exe [RUNNER]
"""
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools", "sync"))
from radicale import Radicale  # noqa: E402

if not shutil.which("radicale"):
    print("radicale is not installed")
    sys.exit(77)
work = tempfile.mkdtemp(prefix="lumo-e2e-sync-")
server = Radicale(work, password="Sync-7e2e").start()
try:
    server.make_book()
    card = b"BEGIN:VCARD\r\nVERSION:3.0\r\nUID:phone-1\r\nFN:Xaver Quast\r\nN:Quast;Xaver;;;\r\n" \
           b"TEL;TYPE=cell:+49 170 5550123\r\nEND:VCARD\r\n"
    status, _, _ = server.request("PUT", server.url() + "phone-1.vcf", card, {"Content-Type": "text/vcard"})
    assert status == 201, status
    environment = dict(os.environ, LUMO_SYNC_URL=server.url(), LUMO_SYNC_USER=server.user,
                       LUMO_SYNC_PASSWORD=server.password, LUMO_SYNC_STORAGE=os.path.join(work, "storage"))
    command = [part for part in sys.argv[2:3] if part] + [sys.argv[1], "--gtest_brief=1", "--gtest_filter=SyncInput.*"]
    result = subprocess.run(command, env=environment).returncode
    if result != 0:
        sys.stderr.write(open(server.log_path).read())
    sys.exit(result)
finally:
    server.stop()
    shutil.rmtree(work, ignore_errors=True)
