#!/usr/bin/env python3
"""Measures the power of the test suite: applies a fixed, seeded sample of
small faults (mutants) to the sources under src/, one at a time, rebuilds,
runs the suite and prints the share of mutants the suite kills.

    tools/mutation/mutate.py [--build DIR] [--seed N] [--count N] [--list]

The same seed over the same sources gives the same mutants, so two runs
(before and after a change to the tests) compare like with like; when the
sources changed in between, --mutants-of RESULTS --at COMMIT tests the
mutants of the earlier run again. A mutant that does not compile is
replaced by the next candidate of the sample.
Every file is restored after each mutant, also when interrupted.
"""
import argparse
import json
import pathlib
import random
import re
import subprocess
import sys

ROOT = pathlib.Path(__file__).resolve().parents[2]

COMPARISONS = {"==": "!=", "!=": "==", "<=": ">", ">=": "<", "<": ">=", ">": "<="}
SPACED_COMPARISON = re.compile(r"(?<=\s)(==|!=|<=|>=|<|>)(?=\s)")
INTEGER = re.compile(r"(?<![\w.'])(\d+)(?![\w.'])")
BOOLEAN = re.compile(r"\b(true|false)\b")
# A statement that is a call, an assignment or an increment of one name.
STATEMENT = re.compile(r"^\s*(\+\+|--)?[A-Za-z_][\w.:\->\[\]]*\s*(\(|=[^=]|\+=|-=|\+\+|--|<<)")
SKIPPED_STATEMENT = re.compile(r"^\s*(return|case|default|if|for|while|switch|else|using|namespace)\b")


def code_part(line):
    """The line with string and character literals blanked and without its comment."""
    out, quote, i = [], None, 0
    while i < len(line):
        ch = line[i]
        if quote:
            if ch == "\\":
                out.append("  ")
                i += 2
                continue
            out.append(" " if ch != quote else ch)
            if ch == quote:
                quote = None
        elif ch in "\"'":
            quote = ch
            out.append(ch)
        elif line.startswith("//", i):
            break
        else:
            out.append(ch)
        i += 1
    return "".join(out)


def file_sites(rel, text):
    """Every mutation site of one source file."""
    sites = []
    for number, line in enumerate(text.splitlines(), 1):
        code = code_part(line)
        if code.lstrip().startswith(("#", "static_assert")) or "template" in code:
            continue
        for m in SPACED_COMPARISON.finditer(code):
            sites.append((rel, number, m.start(), m.group(1), COMPARISONS[m.group(1)], "flip"))
        for m in INTEGER.finditer(code):
            value = int(m.group(1))
            new = str(value + 1 if value % 2 == 0 else value - 1)
            sites.append((rel, number, m.start(), m.group(1), new, "constant"))
        for m in BOOLEAN.finditer(code):
            new = "false" if m.group(1) == "true" else "true"
            sites.append((rel, number, m.start(), m.group(1), new, "boolean"))
        stripped = code.strip()
        if (stripped.endswith(";") and STATEMENT.match(code)
                and not SKIPPED_STATEMENT.match(code) and code.count("(") == code.count(")")):
            start = len(line) - len(line.lstrip())
            sites.append((rel, number, start, line[start:], ";", "drop"))
    return sites


def candidates():
    """Every mutation site of the sources, in a stable order."""
    sites = []
    for path in sorted((ROOT / "src").rglob("*.cpp")):
        sites += file_sites(str(path.relative_to(ROOT)), path.read_text())
    return sites


def label_of(site):
    return "%s:%d %s %r -> %r" % (site[0], site[1], site[5], site[3].strip(), site[4])


def same_mutants(results, commit, moved=()):
    """The mutants of an earlier run, found again in today's sources: each
    is looked up in the sources of the commit that run was made on and
    located by its line's text (the nearest identical line), so that lines
    added or removed elsewhere do not change the sample. A line that was
    rewritten is named in `moved` ("FILE:OLD=NEW"): the same mutation (kind,
    old and new text) is made on line NEW, which must hold exactly one."""
    moved = dict(m.split("=", 1) for m in moved)
    found = []
    for entry in json.loads(pathlib.Path(results).read_text()):
        label = entry["mutant"]
        rel = label.split(":", 1)[0]
        number = int(label.split(":", 1)[1].split(" ", 1)[0])
        old_text = subprocess.run(["git", "show", "%s:%s" % (commit, rel)], cwd=ROOT, check=True,
                                  capture_output=True, text=True).stdout
        old_site = next(s for s in file_sites(rel, old_text) if label_of(s) == label)
        old_line = old_text.splitlines()[number - 1]
        lines = (ROOT / rel).read_text().splitlines()
        matches = [i + 1 for i, line in enumerate(lines) if line == old_line]
        where = "%s:%d" % (rel, number)
        if not matches and where in moved:
            line = int(moved[where])
            same = [t for t in file_sites(rel, (ROOT / rel).read_text())
                    if t[1] == line and t[3:] == old_site[3:]]
            if len(same) != 1:
                sys.exit("mutate.py: %s: line %d holds %d such sites" % (label, line, len(same)))
            found.append(same[0])
            continue
        if not matches:
            sys.exit("mutate.py: %s: the line is no longer in the sources (name it with --moved)"
                     % label)
        new_number = min(matches, key=lambda n: abs(n - number))
        found.append((rel, new_number) + old_site[2:])
    return found


def apply(site):
    rel, number, column, old, new, _ = site
    path = ROOT / rel
    original = path.read_text()
    lines = original.splitlines(keepends=True)
    line = lines[number - 1]
    assert line[column:column + len(old)] == old, site
    lines[number - 1] = line[:column] + new + line[column + len(old):].rstrip("\n") + (
        "\n" if line.endswith("\n") else "")
    if site[5] == "drop":
        lines[number - 1] = line[:column] + ";\n"
    path.write_text("".join(lines))
    return original


def run(cmd, timeout, failed=None):
    """The command's exit status; with `failed`, the names of the tests ctest
    reports as failed are added to it."""
    try:
        done = subprocess.run(cmd, cwd=ROOT, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                              timeout=timeout, text=True, errors="replace")
    except subprocess.TimeoutExpired:
        return -1
    if failed is not None:
        failed += re.findall(r"^\s*\d+ - (\S+)", done.stdout.split("tests FAILED:")[-1], re.M)
    return done.returncode


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default="build-mutation")
    parser.add_argument("--seed", type=int, default=837)
    parser.add_argument("--count", type=int, default=60)
    parser.add_argument("--list", action="store_true", help="print the sample and stop")
    parser.add_argument("--results", default=None, help="write the outcome as JSON here")
    parser.add_argument("--mutants-of", default=None,
                        help="a --results file: test the same mutants again, found in "
                             "today's sources (needs --at)")
    parser.add_argument("--at", default=None,
                        help="the commit whose sources the --mutants-of run mutated")
    parser.add_argument("--moved", action="append", default=[], metavar="FILE:OLD=NEW",
                        help="with --mutants-of: a mutant whose line was rewritten is made "
                             "on line NEW of today's FILE instead")
    parser.add_argument("--who-kills", action="store_true",
                        help="run the whole suite for each mutant and keep the names of "
                             "the tests that failed in the results")
    parser.add_argument("--survivors-of", default=None,
                        help="a --results file of the same seed and count: run only the "
                             "mutants that survived it (tests added since cannot revive a "
                             "killed mutant)")
    args = parser.parse_args()

    build = str(pathlib.Path(args.build).resolve())
    if args.mutants_of:
        if not args.at:
            sys.exit("mutate.py: --mutants-of needs --at COMMIT")
        order = same_mutants(args.mutants_of, args.at, args.moved)
        args.count = len(order)
    else:
        order = candidates()
        random.Random(args.seed).shuffle(order)
    if args.list:
        for site in order[:args.count]:
            print(label_of(site))
        return 0

    subprocess.run(["cmake", "-S", str(ROOT), "-B", build, "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=RelWithDebInfo", "-DWCOMP837_QUICK_RELINK=ON"], check=True, stdout=subprocess.DEVNULL)
    if run(["cmake", "--build", build], 3600) != 0:
        sys.exit("mutate.py: the unmutated tree does not build")
    # The packaging test checks the installed layout of a normal build, not
    # the library's behaviour; the shared library of this build is not installed.
    test = ["ctest", "--test-dir", build, "-j2", "--stop-on-failure", "--timeout", "120",
            "-E", "^packaging[.]"]
    if run(test, 3600) != 0:
        sys.exit("mutate.py: the suite fails without any mutant")

    earlier = None
    if args.survivors_of:
        earlier = {t["mutant"]: t["killed"] for t in json.loads(pathlib.Path(args.survivors_of).read_text())}
    tested, survivors = [], []
    for site in order:
        if len(tested) == args.count:
            break
        label = label_of(site)
        if earlier is not None:
            if label not in earlier:
                continue  # did not compile last time either
            if earlier[label]:
                tested.append({"mutant": label, "killed": True})
                print("killed   %s (earlier run)" % label, flush=True)
                continue
        original = apply(site)
        try:
            if run(["cmake", "--build", build], 1800) != 0:
                continue  # does not compile: the next candidate takes its place
            failed = []
            suite = [a for a in test if a != "--stop-on-failure"] if args.who_kills else test
            killed = run(suite, 1800, failed) != 0
        finally:
            (ROOT / site[0]).write_text(original)
        tested.append({"mutant": label, "killed": killed})
        if args.who_kills:
            tested[-1]["failed"] = failed
        if not killed:
            survivors.append(label)
        print("%s %s" % ("killed  " if killed else "SURVIVED", label), flush=True)
    run(["cmake", "--build", build], 3600)

    killed = sum(1 for t in tested if t["killed"])
    print("\n%d of %d mutants killed (%.0f%%), seed %d" %
          (killed, len(tested), 100.0 * killed / max(len(tested), 1), args.seed))
    for label in survivors:
        print("survived: " + label)
    if args.results:
        pathlib.Path(args.results).write_text(json.dumps(tested, indent=1))
    return 0


if __name__ == "__main__":
    sys.exit(main())
