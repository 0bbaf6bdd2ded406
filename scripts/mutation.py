#!/usr/bin/env python3
"""Mutation run over the portable core: how many small, plausible faults do
the native core tests catch?

    scripts/mutation.py [--count N] [--seed S] [PATH ...]

PATH: source files or folders below src/ (default: every .cpp file the
portable core library is built from).  The run copies the tree to a scratch
folder, builds lumo_core_tests there once, then for each mutant changes one
line, rebuilds, runs the tests and puts the line back.  A mutant is killed
when a test fails (or the tests crash or hang); a mutant that does not
compile is not counted.  Prints every survivor with its place, then the
figures per folder.  The working tree is never touched.
"""

import argparse
import random
import re
import shutil
import subprocess
import sys
import tempfile
from collections import defaultdict
from pathlib import Path

REPO = Path(__file__).resolve().parent.parent

# (name, pattern, replacement): each match of pattern on a line is one site.
OPERATORS = [
    ("< to <=", r"(?<= )<(?= )", "<="),
    ("<= to <", r"<=", "<"),
    ("> to >=", r"(?<= )>(?= )", ">="),
    (">= to >", r">=", ">"),
    ("== to !=", r"==", "!="),
    ("!= to ==", r"!=", "=="),
    ("&& to ||", r"&&", "||"),
    ("|| to &&", r"\|\|", "&&"),
    ("+ 1 to - 1", r"\+ 1\b", "- 1"),
    ("- 1 to + 1", r"- 1\b", "+ 1"),
    ("drop + 1", r" \+ 1\b", ""),
    ("drop - 1", r" - 1\b", ""),
    ("true to false", r"\btrue\b", "false"),
    ("false to true", r"\bfalse\b", "true"),
    ("drop !", r"\(!(?=[a-zA-Z_(])", "("),
    ("0 to 1", r"(?<![\w.])0(?![\w.x])", "1"),
]
# A statement that is one call: removing it is a skipped step.
CALL_STATEMENT = re.compile(r"^\s*[A-Za-z_][\w:.>-]*\(.*\);\s*$")


def core_sources():
    text = (REPO / "CMakeLists.txt").read_text()
    block = text[text.index("add_library(lumo_core STATIC"):]
    block = block[: block.index(")")]
    return [REPO / p for p in re.findall(r"src/\S+\.cpp", block)]


def candidate_sites(path):
    sites = []
    in_comment = False
    for number, line in enumerate(path.read_text(encoding="latin-1").splitlines()):
        stripped = line.strip()
        if in_comment:
            in_comment = "*/" not in stripped
            continue
        if stripped.startswith("/*"):
            in_comment = "*/" not in stripped
            continue
        if not stripped or stripped.startswith(("//", "#", "static_assert")):
            continue
        code = line.split("//")[0]
        if '"' in code:
            code = re.sub(r'"(\\.|[^"\\])*"', lambda m: " " * len(m.group(0)), code)
        if "'" in code:
            code = re.sub(r"'(\\.|[^'\\])*'", lambda m: " " * len(m.group(0)), code)
        for name, pattern, replacement in OPERATORS:
            if "template" in code or "#include" in code:
                continue
            for match in re.finditer(pattern, code):
                sites.append((number, name, match.start(), match.end(), replacement))
        if CALL_STATEMENT.match(code) and not stripped.startswith(("return", "delete")):
            sites.append((number, "skip the call", 0, len(line), None))
    return sites


def apply(line, site):
    _, name, start, end, replacement = site
    if replacement is None:
        return re.sub(r"\S.*$", ";   // mutant: call skipped", line)
    return line[:start] + replacement + line[end:]


def run(command, cwd, timeout):
    try:
        return subprocess.run(command, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=timeout).returncode
    except subprocess.TimeoutExpired:
        return "timeout"


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--count", type=int, default=70)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("paths", nargs="*")
    args = parser.parse_args()

    if args.paths:
        files = []
        for p in args.paths:
            p = (REPO / p).resolve()
            files += sorted(p.rglob("*.cpp")) if p.is_dir() else [p]
        core = set(core_sources())
        files = [f for f in files if f in core]
    else:
        files = core_sources()
    sites = [(f, s) for f in files for s in candidate_sites(f)]
    if not sites:
        sys.exit("no mutation sites")
    random.Random(args.seed).shuffle(sites)

    scratch = Path(tempfile.mkdtemp(prefix="lumo-mutation-"))
    try:
        tree = scratch / "tree"
        shutil.copytree(REPO, tree, ignore=shutil.ignore_patterns("build", "dist", ".git", "shots"))
        build = scratch / "build"
        # Two jobs: the machines have two cores.
        ninja = ["ninja", "-C", str(build), "-j2", "lumo_core_tests"]
        if run(["cmake", "-S", tree, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release"], tree, 600) != 0 \
                or run(ninja, tree, 1800) != 0:
            sys.exit("the unmutated tree does not build")
        tests = [str(build / "lumo_core_tests"), "--gtest_brief=1", "--gtest_fail_fast"]
        if run(tests, tree, 300) != 0:
            sys.exit("the core tests fail without any mutant")

        counts = defaultdict(lambda: [0, 0])
        survivors = []
        tried = 0
        for source, site in sites:
            if tried == args.count:
                break
            relative = source.relative_to(REPO)
            target = tree / relative
            original = target.read_text(encoding="latin-1")
            lines = original.split("\n")
            number = site[0]
            mutated = apply(lines[number], site)
            if mutated == lines[number]:
                continue
            lines[number] = mutated
            target.write_text("\n".join(lines), encoding="latin-1")
            try:
                if run(ninja, tree, 600) != 0:
                    continue   # does not compile: not a mutant
                tried += 1
                # Generous: a busy machine must not pass for a hang.
                killed = run(tests, tree, 600) != 0
            finally:
                target.write_text(original, encoding="latin-1")
            folder = str(relative.parent)
            counts[folder][0] += killed
            counts[folder][1] += 1
            mark = "killed " if killed else "SURVIVED"
            print(f"{mark} {relative}:{number + 1}: {site[1]}: {mutated.strip()}", flush=True)
            if not killed:
                survivors.append((relative, number + 1, site[1]))
        # Leave the scratch build consistent with the unmutated tree.
        run(ninja, tree, 600)

        print()
        total_killed = sum(k for k, _ in counts.values())
        total = sum(n for _, n in counts.values())
        for folder in sorted(counts):
            killed, n = counts[folder]
            print(f"{folder:20} {killed:3} of {n:3} killed")
        print(f"{'all':20} {total_killed:3} of {total:3} killed ({100 * total_killed // max(total, 1)} %)")
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
