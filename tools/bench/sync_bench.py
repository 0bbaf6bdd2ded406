#!/usr/bin/env python3
"""Figures of `lumo sync` against a local Radicale; prints, asserts nothing.

usage: sync_bench.py [--no-fsync] LUMO LUMO_BENCH [ENTRIES]   (default 10,000)

First sync of a generated book to an empty address book, a sync without
changes, 10 entries edited in the book, 10 cards edited by another client.
Radicale writes each file with fsync, which on a slow disk is most of its
time; --no-fsync leaves that out to show the rest.
"""
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "sync"))
from radicale import Radicale  # noqa: E402

FSYNC = "--no-fsync" not in sys.argv
ARGUMENTS = [a for a in sys.argv[1:] if a != "--no-fsync"]
LUMO, LUMO_BENCH = ARGUMENTS[0], ARGUMENTS[1]
ENTRIES = int(ARGUMENTS[2]) if len(ARGUMENTS) > 2 else 10000


def timed_sync(server, book, what):
    logged = len(server.requests_logged())
    start = time.monotonic()
    result = subprocess.run([LUMO, "sync", "--user", "anna", server.url(), book], capture_output=True, text=True,
                            env=dict(os.environ, LUMO_SYNC_PASSWORD="secret"))
    seconds = time.monotonic() - start
    requests = len(server.requests_logged()) - logged
    print(f"{what:<34} {seconds:8.2f} s  {requests:6d} requests  {result.stdout.strip() or result.stderr.strip()}",
          flush=True)


def edit_book(path, count):
    """Adds a line to count entries spread over the plain file, in its own bytes."""
    data = open(path, "rb").read()
    ends = []
    at = data.find(b"\r\n\r\n")
    while at >= 0:
        ends.append(at)
        at = data.find(b"\r\n\r\n", at + 4)
    for k, end in enumerate(sorted((ends[i * len(ends) // count] for i in range(count)), reverse=True)):
        data = data[:end] + b"\r\nInfo: edited for the benchmark %d" % k + data[end:]
    open(path, "wb").write(data)


def edit_cards(server, count):
    names = server.card_files()
    for i in range(count):
        href = "/anna/contacts/" + names[i * len(names) // count]
        _, headers, body = server.request("GET", href)
        card = body.decode().replace("END:VCARD", "NOTE:edited on the phone\r\nEND:VCARD")
        server.request("PUT", href, card.encode(), {"If-Match": headers["ETag"]})


def main():
    folder = tempfile.mkdtemp(prefix="lumo-sync-bench-")
    book = os.path.join(folder, "book.adr")
    subprocess.run([LUMO_BENCH, "book", str(ENTRIES), "sorted", book], check=True, capture_output=True)
    server = Radicale(folder, fsync=FSYNC).start()
    try:
        server.make_book()
        print(f"lumo sync, {ENTRIES:,} entries, Radicale on 127.0.0.1{'' if FSYNC else ' without fsync'}; "
              f"load average {os.getloadavg()[0]:.1f}")
        timed_sync(server, book, "first sync, empty address book")
        timed_sync(server, book, "no changes")
        timed_sync(server, book, "no changes, again")
        edit_book(book, 10)
        timed_sync(server, book, "10 entries edited in the book")
        edit_cards(server, 10)
        timed_sync(server, book, "10 cards edited on the phone")
    finally:
        server.stop()


if __name__ == "__main__":
    main()
