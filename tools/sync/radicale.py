#!/usr/bin/env python3
"""A private CardDAV server for trying and testing `lumo sync`: Debian's
Radicale on 127.0.0.1 with a free port, one htpasswd user and its storage
in a folder of its own; plus the requests another client (a phone) makes.

    python3 tools/sync/radicale.py [FOLDER]   # runs until Ctrl+C, prints the URL
"""
import base64
import os
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.error
import urllib.request

MKCOL_ADDRESSBOOK = ('<?xml version="1.0"?><mkcol xmlns="DAV:" xmlns:C="urn:ietf:params:xml:ns:carddav">'
                     '<set><prop><resourcetype><collection/><C:addressbook/></resourcetype>'
                     '<displayname>{}</displayname></prop></set></mkcol>')


# Radicale as its command line starts it, with one internal switch that the
# command line does not offer: no fsync after each file it writes.
UNSYNCED_SERVER = """
import sys
from radicale import config, log, server
log.setup()
configuration = config.load([])
arguments = sys.argv[1:]
configuration.update({section: {key: value} for section, key, value in
                      zip(arguments[0::3], arguments[1::3], arguments[2::3])}, "arguments")
configuration.update({"storage": {"_filesystem_fsync": "False"}}, "internal", privileged=True)
log.set_level(configuration.get("logging", "level"))
server.serve(configuration)
"""


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class Radicale:
    def __init__(self, folder, user="anna", password="secret", fsync=True):
        self.folder, self.user, self.password, self.fsync = folder, user, password, fsync
        self.port = free_port()
        self.process = None
        self.log_path = os.path.join(folder, "radicale.log")
        with open(os.path.join(folder, "users"), "w") as users:
            users.write(f"{user}:{password}\n")

    def start(self):
        options = [("server", "hosts", f"127.0.0.1:{self.port}"),
                   ("storage", "filesystem_folder", os.path.join(self.folder, "storage")),
                   ("auth", "type", "htpasswd"), ("auth", "htpasswd_encryption", "plain"),
                   ("auth", "htpasswd_filename", os.path.join(self.folder, "users")),
                   ("rights", "type", "owner_only"), ("logging", "level", "info")]
        if self.fsync:
            command = ["radicale", "--config", ""]
            for section, key, value in options:
                command += [f"--{section}-{key.replace('_', '-')}", value]
        else:
            command = ["/usr/bin/python3", "-c", UNSYNCED_SERVER] + [part for option in options for part in option]
        self.process = subprocess.Popen(command, stdout=open(self.log_path, "a"), stderr=subprocess.STDOUT)
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                raise RuntimeError("radicale ended; see " + self.log_path)
            try:
                socket.create_connection(("127.0.0.1", self.port), timeout=1).close()
                return self
            except OSError:
                time.sleep(0.05)
        raise RuntimeError("radicale did not start")

    def stop(self, kill=False):
        if self.process and self.process.poll() is None:
            self.process.send_signal(signal.SIGKILL if kill else signal.SIGTERM)
            self.process.wait(20)

    def url(self, book="contacts"):
        return f"http://127.0.0.1:{self.port}/{self.user}/{book}/"

    def card_files(self, book="contacts"):
        folder = os.path.join(self.folder, "storage", "collection-root", self.user, book)
        return sorted(name for name in os.listdir(folder) if name.endswith(".vcf")) if os.path.isdir(folder) else []

    def requests_logged(self):
        with open(self.log_path) as log:
            return [line for line in log if " request for " in line]

    # A client of the server, as a phone is.
    def request(self, method, path, body=None, headers=None):
        url = path if path.startswith("http") else f"http://127.0.0.1:{self.port}{path}"
        auth = base64.b64encode(f"{self.user}:{self.password}".encode()).decode()
        req = urllib.request.Request(url, data=body, method=method,
                                     headers={"Authorization": "Basic " + auth, **(headers or {})})
        try:
            with urllib.request.urlopen(req, timeout=60) as answer:
                return answer.status, answer.headers, answer.read()
        except urllib.error.HTTPError as error:
            return error.code, error.headers, error.read()

    def make_book(self, book="contacts"):
        body = MKCOL_ADDRESSBOOK.format(book.capitalize()).encode()
        status, _, _ = self.request("MKCOL", self.url(book), body, {"Content-Type": "application/xml"})
        assert status == 201, status

    def display_name(self, book="contacts"):
        body = b'<propfind xmlns="DAV:"><prop><displayname/></prop></propfind>'
        _, _, answer = self.request("PROPFIND", self.url(book), body, {"Depth": "0"})
        text = answer.decode()
        return text[text.find(">", text.find("displayname")) + 1:text.find("</", text.find("displayname"))]


if __name__ == "__main__":
    folder = sys.argv[1] if len(sys.argv) > 1 else tempfile.mkdtemp(prefix="radicale-")
    server = Radicale(folder).start()
    if not server.card_files() and not os.path.isdir(os.path.join(folder, "storage", "collection-root", "anna")):
        server.make_book()
    print(f"{server.url()}  user anna, password secret, storage {folder}; Ctrl+C ends it", flush=True)
    try:
        server.process.wait()
    except KeyboardInterrupt:
        server.stop()
