#!/usr/bin/env python3
"""lumo sync against a real Radicale, with a "phone" writing to it as well.

usage: radicale_sync_test.py LUMO SOURCE_DIR
"""
import os
import subprocess
import sys
import tempfile
import time

LUMO, SOURCE = sys.argv[1], sys.argv[2]
sys.path.insert(0, os.path.join(SOURCE, "tools", "sync"))
from radicale import Radicale  # noqa: E402

MUELLER = "Mueller, Juergen\r\nKoenigstrasse 5\r\n70173 Stuttgart\r\nPhoneNumber: 0711 123456\r\nFriend from school"
SCHMIDT = "Schmidt, Anna, 089 555123\r\neMail: anna@example.de"
VOGEL_CARD = "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:v1\r\nFN:Lena Vogel\r\nN:Vogel;Lena;;;\r\nTEL;TYPE=CELL:0170 1234567\r\nEND:VCARD\r\n"
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED:", what, flush=True)


def write_book(path, entries):
    with open(path, "wb") as f:
        f.write("".join(e + "\r\n\r\n" for e in entries).encode("cp1252"))


def book_entries(path):
    text = subprocess.run([LUMO, "cat", path], capture_output=True, check=True).stdout.decode("cp1252")
    return [e for e in text.split("\r\n\r\n") if e]


def sync(server, book, password="secret", wait=True, collection="contacts", options=()):
    env = dict(os.environ, LUMO_SYNC_PASSWORD=password)
    command = [LUMO, "sync", "--user", "anna", *options, server.url(collection), book]
    if not wait:
        return subprocess.Popen(command, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    result = subprocess.run(command, env=env, capture_output=True, text=True)
    return result.returncode, result.stdout.strip(), result.stderr.strip()


def summary(up, down, here, there, conflicts):
    return f"sync: {up} up, {down} down, {here} deleted here, {there} deleted there, {conflicts} conflicts"


def card_hrefs(server):
    return ["/anna/contacts/" + name for name in server.card_files()]


def card_of(server, name):
    """The href, ETag and text of the card whose FN is name."""
    for href in card_hrefs(server):
        status, headers, body = server.request("GET", href)
        if f"FN:{name}" in body.decode():
            return href, headers["ETag"], body.decode()
    return None, None, None


def snapshot(*paths):
    return [(open(p, "rb").read(), os.stat(p).st_mtime_ns) for p in paths]


def main():
    folder = tempfile.mkdtemp(prefix="lumo-sync-")
    server = Radicale(folder).start()
    book, state = os.path.join(folder, "book.adr"), os.path.join(folder, "book.adr.sync")
    try:
        server.make_book()
        server.request("PUT", "/anna/contacts/v1.vcf", VOGEL_CARD.encode(), {"If-None-Match": "*"})
        write_book(book, [MUELLER, SCHMIDT])

        # First sync, both ways.
        check(sync(server, book)[:2] == (0, summary(2, 1, 0, 0, 0)), "first sync")
        check("Vogel, Lena, 0170 1234567" in book_entries(book), "the phone's card reached the book")
        check(len(server.card_files()) == 3, "the book's entries reached the server")

        # A new number on the phone reaches the entry; its other lines stay.
        href, etag, card = card_of(server, "Juergen Mueller")
        card = card.replace("TEL;TYPE=voice:0711 123456", "TEL;TYPE=CELL:0711 999999")
        check(server.request("PUT", href, card.encode(), {"If-Match": etag})[0] in (201, 204), "phone edit")
        check(sync(server, book)[:2] == (0, summary(0, 1, 0, 0, 0)), "sync after the phone's edit")
        check(MUELLER.replace("0711 123456", "0711 999999 (mobile)") in book_entries(book), "number changed, lines kept")

        # Edited and deleted in the book.
        entries = [e for e in book_entries(book) if not e.startswith("Vogel")]
        write_book(book, [e.replace("anna@example.de", "anna@new.example") for e in entries])
        before, cards = snapshot(book, state), card_hrefs(server)
        dry = sync(server, book, options=["--dry-run"])[:2]
        check(dry == (0, summary(1, 0, 0, 1, 0) + " (dry run: nothing changed)"), f"dry run: {dry}")
        check(snapshot(book, state) == before and card_hrefs(server) == cards, "a dry run changes nothing")
        check(sync(server, book)[:2] == (0, summary(1, 0, 0, 1, 0)), "sync after the book's edit and deletion")
        check("anna@new.example" in card_of(server, "Anna Schmidt")[2], "the edit reached the server")
        check(card_of(server, "Lena Vogel")[0] is None, "the deletion reached the server")

        # Deleted on the phone.
        href, etag, _ = card_of(server, "Juergen Mueller")
        server.request("DELETE", href, None, {"If-Match": etag})
        check(sync(server, book)[:2] == (0, summary(0, 0, 1, 0, 0)), "sync after the phone's deletion")
        check(not any(e.startswith("Mueller") for e in book_entries(book)), "the deletion reached the book")

        # A wrong password changes nothing.
        before = snapshot(book, state)
        code, _, error = sync(server, book, password="wrong")
        check(code == 2 and "password" in error, f"wrong password: exit {code}, {error}")
        check(snapshot(book, state) == before, "wrong password left book and state alone")

        # Nothing changed: one request, no card downloaded, nothing written.
        logged = len(server.requests_logged())
        check(sync(server, book)[:2] == (0, summary(0, 0, 0, 0, 0)), "sync without changes")
        requests = server.requests_logged()[logged:]
        check(len(requests) == 1 and "GET" not in requests[0], f"requests without changes: {requests}")
        check(snapshot(book, state) == before, "a sync without changes writes nothing")

        # The server killed in the middle of a sync; the next one completes it.
        added = [f"Tester, Nr{n:03d}\r\nPhoneNumber: 0170 {n:07d}" for n in range(200)]
        write_book(book, book_entries(book) + added)
        before = snapshot(book, state)
        cards = len(server.card_files())
        running = sync(server, book, wait=False)
        deadline = time.monotonic() + 60
        while len(server.card_files()) < cards + 20 and time.monotonic() < deadline and running.poll() is None:
            time.sleep(0.02)
        server.stop(kill=True)
        check(running.wait(60) == 2, "a sync whose server went away fails")
        check(snapshot(book, state) == before, "a failed sync leaves book and state alone")
        server.start()
        code, out, error = sync(server, book)
        check(code == 0, f"the next sync completes: {error}")
        entries = book_entries(book)
        check(len(entries) == len(set(entries)) == 201 and len(server.card_files()) == 201,
              f"nothing lost or doubled: {len(entries)} entries, {len(server.card_files())} cards")
        check(sync(server, book)[:2] == (0, summary(0, 0, 0, 0, 0)), "then nothing is left to do")

        # Many entries into an empty address book: sent in one request; the
        # book keeps its name, and every card is paired.
        server.make_book("big")
        big = os.path.join(folder, "big.adr")
        write_book(big, added[:150])
        check(sync(server, big, collection="big")[:2] == (0, summary(150, 0, 0, 0, 0)), "first sync, many entries")
        check(len(server.card_files("big")) == 150 and server.display_name("big") == "Big", "the whole upload")
        check(sync(server, big, collection="big")[:2] == (0, summary(0, 0, 0, 0, 0)), "every uploaded card paired")
    finally:
        server.stop()
    print("radicale sync test:", "FAILED" if failures else "passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
