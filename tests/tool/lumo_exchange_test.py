#!/usr/bin/python3
"""lumo export and lumo import seen from outside.

The vCards are read with an independent parser (Debian's python3-vobject),
the CSV with Python's csv module; each card and record must carry the whole
entry it came from (the way back in is the core tests' round trip; here
import is seen as a command).  Besides the sample books, books made up here (not by
the project's own generator) with awkward characters go through.

usage: lumo_exchange_test.py LUMO SAMPLES_DIR [RUNNER]
  RUNNER is empty for a native build, or a command that runs a Windows exe
  (scripts/wine-run.sh); every call runs in a fresh temporary folder with
  relative file names, so the same paths work natively and under Wine.
"""
import csv
import io
import os
import random
import shutil
import subprocess
import sys
import tempfile

import vobject

if len(sys.argv) < 3:
    sys.exit(__doc__)
LUMO = os.path.abspath(sys.argv[1])
SAMPLES = os.path.abspath(sys.argv[2])
RUNNER = sys.argv[3] if len(sys.argv) > 3 and sys.argv[3] else None
PASSWORD = "lumo2026"

failures = []
passed = 0
group = ""


def begin(name):
    global group
    group = name
    print("--", name)


def expect(condition, description):
    global passed
    if condition:
        passed += 1
    else:
        failures.append(f"[{group}] {description}")
        print(f"FAIL [{group}] {description}")


def lumo(*args, stdin=b"", env=None):
    """Runs lumo; returns (exit status, stdout bytes, stderr text)."""
    command = ([RUNNER] if RUNNER else []) + [LUMO] + list(args)
    full_env = dict(os.environ)
    full_env.update(env or {})
    result = subprocess.run(command, input=stdin, capture_output=True, timeout=300, env=full_env)
    return result.returncode, result.stdout, result.stderr.decode("utf-8", "replace")


def read(path):
    with open(path, "rb") as f:
        return f.read()


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def entries_of(text_1252):
    """The entries of a book's text (Windows-1252, CR LF) as lists of lines."""
    text = text_1252.decode("cp1252", "surrogateescape")
    entries = []
    for block in text.split("\r\n\r\n")[:-1]:
        entries.append(block.split("\r\n"))
    return entries


def cat(path, *options):
    status, out, err = lumo("cat", "--sorted", *options, path)
    expect(status == 0, f"cat {path} exits 0 ({err.strip()})")
    return out


def pictured(text):
    """Control characters as the export writes them: their control pictures."""
    return "".join(chr(0x2400 + ord(c)) if ord(c) < 32 else "\u2421" if c == "\x7f" else c for c in text)


def physical_lines_ok(data):
    """CR LF line ends only, at most 75 octets a line, valid UTF-8."""
    try:
        data.decode("utf-8")
    except UnicodeDecodeError:
        return False
    if b"\n" in data.replace(b"\r\n", b"") or b"\r" in data.replace(b"\r\n", b""):
        return False
    return all(len(line) <= 75 for line in data.split(b"\r\n"))


def value_after(line, word):
    return line[len(word):].strip() if line.lower().startswith(word.lower()) else None


def check_cards(data, entries, version, what):
    """Every card parses, carries its entry whole in NOTE and the entry's
    pre-definition lines as properties."""
    expect(physical_lines_ok(data), f"{what}: CR LF, at most 75 octets a line, UTF-8")
    cards = list(vobject.readComponents(data.decode("utf-8"), validate=True))
    expect(len(cards) == len(entries), f"{what}: {len(cards)} cards for {len(entries)} entries")
    bad_note = bad_props = bad_name = 0
    for card, entry in zip(cards, entries):
        if card.version.value != version:
            bad_props += 1
        note = card.note.value if hasattr(card, "note") else ""
        if note != "\n".join(pictured(line) for line in entry):
            bad_note += 1
        tels = sorted(t.value for t in card.contents.get("tel", []))
        wanted = []
        for line in entry[1:]:
            for word in ("PhoneNumber:", "FaxNumber:"):
                value = value_after(line, word)
                if value:
                    wanted.append(value)
        if not set(wanted) <= set(tels):
            bad_props += 1
        mails = [e.value for e in card.contents.get("email", [])]
        if [value_after(l, "eMail:") for l in entry[1:] if value_after(l, "eMail:")] != mails:
            bad_props += 1
        # The formatted name comes from the heading: every word of it is there.
        heading = entry[0]
        if any(word.strip(",") not in heading for word in card.fn.value.split()):
            bad_name += 1
    expect(bad_note == 0, f"{what}: {bad_note} cards whose NOTE is not the whole entry")
    expect(bad_props == 0, f"{what}: {bad_props} cards missing a property of a pre-definition line")
    expect(bad_name == 0, f"{what}: {bad_name} cards whose FN is not taken from the heading")
    return cards


def unguarded(field):
    """A field without the apostrophe that keeps spreadsheets from reading a formula."""
    return field[1:] if len(field) > 1 and field[0] == "'" and field[1] in "'=+-@\t\r" else field


def check_csv(data, entries, cards, what):
    expect(not data.startswith(b"\xef\xbb\xbf"), f"{what}: no byte order mark")
    rows = [[unguarded(f) for f in row] for row in csv.reader(io.StringIO(data.decode("utf-8"), newline=""))]
    expect(not any(f[:1] in ("=", "+", "-", "@", "\t", "\r") for row in csv.reader(io.StringIO(data.decode("utf-8"),
           newline="")) for f in row), f"{what}: no field a spreadsheet reads as a formula")
    expect(rows and rows[0] == ["Name", "Phone", "Fax", "Email", "URL", "Birthday", "Notes"], f"{what}: header row")
    records = rows[1:]
    expect(len(records) == len(entries), f"{what}: {len(records)} records for {len(entries)} entries")
    expect(all(len(r) == 7 for r in records), f"{what}: seven fields in every record")
    expect(all(r[6] == "\r\n".join(pictured(l) for l in e) for r, e in zip(records, entries)),
           f"{what}: Notes is the whole entry")
    expect(all(r[0] == c.fn.value for r, c in zip(records, cards)), f"{what}: Name is the vCard's FN")


def exported(book, what, *open_options):
    """Exports book in all formats (to BOOK.vcard3, BOOK.vcard4, BOOK.csv)
    and reads each back with the independent readers; returns the entries."""
    stem = os.path.splitext(book)[0]
    entries = entries_of(cat(book, *open_options))
    files = {}
    for fmt in ("vcard3", "vcard4", "csv"):
        status, _, err = lumo("export", *open_options, "--format", fmt, book, f"{stem}.{fmt}")
        expect(status == 0 and err == "", f"{what}: export {fmt} exits 0 quietly ({err.strip()})")
        files[fmt] = read(f"{stem}.{fmt}")
    cards = check_cards(files["vcard3"], entries, "3.0", f"{what} vCard 3.0")
    check_cards(files["vcard4"], entries, "4.0", f"{what} vCard 4.0")
    check_csv(files["csv"], entries, cards, f"{what} CSV")
    return entries


# ---- made-up books ----

FIRST = ["Anna", "Jürgen", "Zoë", "Åsa", "François", "Øyvind", "Ægir", "Chloé", "Renée"]
LAST = ["Müller", "Öztürk", "van der Berg", "O'Neill", "Weiß", "García", "Ørsted", "Šimek", "Dvorak"]
FIRMS = ["Bäckerei Sommer", "Praxis Dr. Lenz", "Weingut Haag GmbH", "Café Überall & Co."]
AWKWARD = ["a, b; c\\d: \"e\"", "   spaces around   ", " ", "€ … – — ‘’ “ • ‰ Œ œ Ÿ",
           "x" * 180, "äöü" * 40, "tab\there", "http:// www.example.org/a,b;c", "Web: \"https://ex.org/?a=1;b=2\""]


def made_up_entry(rng):
    forms = [lambda: f"{rng.choice(LAST)}, {rng.choice(FIRST)}",
             lambda: f"{rng.choice(LAST)} {rng.choice(FIRST)}",
             lambda: f"{rng.choice(LAST)}, {rng.choice(FIRST)}, 0{rng.randint(30, 999)} {rng.randint(10000, 9999999)}",
             lambda: rng.choice(FIRMS)]
    lines = [rng.choice(forms)()]
    if rng.random() < 0.7:
        lines += [f"Hauptstraße {rng.randint(1, 200)}", f"{rng.randint(10000, 99999)} Stadt"]
    for _ in range(rng.randint(0, 6)):
        kind = rng.randint(0, 7)
        if kind == 0:
            lines.append(f"PhoneNumber: 0{rng.randint(30, 999)} {rng.randint(1000, 999999)}")
        elif kind == 1:
            lines.append(f"FaxNumber: 0{rng.randint(30, 999)} {rng.randint(1000, 999999)}")
        elif kind == 2:
            lines.append(f"eMail: n{rng.randint(1, 999)}@example.org")
        elif kind == 3:
            lines.append(f"Birthday: {rng.randint(1, 28):02}.{rng.randint(1, 12):02}.{rng.randint(1920, 2020)}")
        elif kind == 4:
            lines.append("Profession: Lehrerin, Autorin; Übersetzerin")
        else:
            lines.append(rng.choice(AWKWARD))
    return lines


def made_up_book(seed, count):
    rng = random.Random(seed)
    text = "".join("\r\n".join(made_up_entry(rng)) + "\r\n\r\n" for _ in range(count))
    return text.encode("cp1252")


# ---- the tests ----

work = tempfile.mkdtemp()
os.chdir(work)
try:
    shutil.copy(os.path.join(SAMPLES, "sample.adr"), ".")
    shutil.copy(os.path.join(SAMPLES, "sample-protected.adr"), ".")

    begin("samples")
    sample_entries = exported("sample.adr", "sample")
    expect(len(sample_entries) == 38, "the sample book has 38 entries")
    status, out, _ = lumo("export", "sample.adr", "-")
    expect(status == 0 and out == read("sample.vcard3"), "export to - writes vCard 3.0 to standard output")
    status, out, _ = lumo("export", "--password", PASSWORD, "--format", "csv", "sample-protected.adr", "-")
    expect(status == 0 and out == read("sample.csv"), "a protected book exports as its plain twin")

    begin("made-up books")
    total = 0
    for seed in range(1, 4):
        write(f"made-up-{seed}.txt", made_up_book(seed, 400))
        total += len(exported(f"made-up-{seed}.txt", f"made-up book {seed}", "--plain"))
    print(f"   {total} made-up entries out in three formats")

    begin("import")
    status, _, err = lumo("import", "--password", PASSWORD, "sample.vcard4", "protected.adr")
    expect(status == 0 and read("protected.adr")[:1] == b"P", "import --password writes a protected book")
    expect(cat("protected.adr", "--password", PASSWORD) == cat("sample.adr"), "... that opens with the password")
    status, _, err = lumo("cat", "--password", "wrong", "protected.adr")
    expect(status == 2 and "Wrong password!" in err, "... and not without it")
    status, _, err = lumo("import", "-", "from-stdin.adr", stdin=read("sample.csv"))
    expect(status == 0 and cat("from-stdin.adr") == cat("sample.adr"), "import - reads standard input")


    begin("reports")
    write("open-quote.csv", b"Name,Phone\r\nAdler,0711 0\r\n\"Smith,0711 1\r\nJones,0711 2\r\nBrown,0711 3\r\n")
    status, _, err = lumo("import", "open-quote.csv", "open-quote.adr")
    expect(status == 2 and "line 3" in err and not os.path.exists("open-quote.adr"),
           f"a CSV quote never closed exits 2 naming its line, nothing written ({err.strip()})")
    status, _, err = lumo("import", "--lenient", "open-quote.csv", "open-quote.adr")
    expect(status == 0 and "lines 3 to 5 joined" in err and len(entries_of(cat("open-quote.adr"))) == 2,
           f"--lenient joins the rest and says so ({err.strip()})")
    write("names.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Şahin Öztürk\r\nEND:VCARD\r\n"
                       "BEGIN:VCARD\r\nVERSION:3.0\r\nNOTE:nobody\r\nEND:VCARD\r\n".encode("utf-8"))
    status, _, err = lumo("import", "names.vcf", "names.adr")
    expect(status == 0 and "1 contact without" in err and "1 character that an address file cannot hold written as" in err
           and cat("names.adr") == "Sahin Öztürk\r\n\r\n".encode("cp1252"),
           f"nearest letters by default, a contact without a heading skipped, both said ({err.strip()})")
    status, _, err = lumo("import", "--no-transliterate", "names.vcf", "names.adr")
    expect(status == 0 and cat("names.adr") == "?ahin Öztürk\r\n\r\n".encode("cp1252") and "U+015E" in err,
           f"--no-transliterate gives ? and names the character ({err.strip()})")

    begin("failures")
    write("empty.vcf", b"no cards here\r\n")
    status, _, err = lumo("import", "--format", "vcard", "empty.vcf", "never.adr")
    expect(status == 2 and "no vCard" in err and not os.path.exists("never.adr"), "a file without cards writes nothing")
    status, _, err = lumo("import", "missing.vcf", "never.adr")
    expect(status == 2 and "Cannot open file!" in err, "a missing IN exits 2 with Cannot open file!")
    status, _, err = lumo("export", "sample.adr", "no-such-dir/out.vcf")
    expect(status == 2 and "Cannot save file!" in err, "an OUT that cannot be written exits 2 with Cannot save file!")
    write("kept.vcf", b"old contents\r\n")
    status, _, err = lumo("export", "sample.adr", "kept.vcf", env={"LUMO_FAIL_WRITE_AFTER": "1000"})
    expect(status == 2 and read("kept.vcf") == b"old contents\r\n", "a write failing halfway leaves OUT as it was")
    write("kept.adr", b"old contents\r\n")
    status, _, err = lumo("import", "sample.vcard3", "kept.adr", env={"LUMO_FAIL_WRITE_AFTER": "1000"})
    expect(status == 2 and read("kept.adr") == b"old contents\r\n", "... on import too")
    expect(not [f for f in os.listdir(".") if f.endswith(".lumo-tmp")], "no temporary file is left behind")
    for args in (["export", "--format", "vcard5", "sample.adr", "x.vcf"], ["export", "sample.adr"],
                 ["import", "--plain", "sample.csv", "x.adr"], ["import", "--format", "vcard3", "sample.csv", "x.adr"],
                 ["import", "--password", "x" * 20, "sample.csv", "x.adr"]):
        status, out, err = lumo(*args)
        expect(status == 1 and out == b"" and err != "", "usage error: lumo " + " ".join(args))
finally:
    os.chdir("/")
    shutil.rmtree(work, ignore_errors=True)

print(f"{passed} passed, {len(failures)} failed")
sys.exit(1 if failures else 0)
