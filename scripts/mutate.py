#!/usr/bin/env python3
"""Mutation run: plants one fault at a time (scripts/mutants.txt), rebuilds,
runs the tests chosen for it and records which of them fail. Run by hand:

  scripts/mutate.py                 every fault
  scripts/mutate.py codec.* lzari.suffix-case   a subset (shell-style patterns)
  scripts/mutate.py --tests 'native:^Codec' codec.*   another test set for them
  scripts/mutate.py --resume        go on after an interruption
  scripts/mutate.py --resume ID     run ID again, keep the other rows
  scripts/mutate.py --baseline      run each test set once on the clean tree
  scripts/mutate.py --list          show the faults

Output under build/mutation/: report.tsv (one row per fault), tests.tsv (per
test: the faults it killed), summary.txt. A fault whose text is not found
exactly once is "stale". The file is restored after each fault, also on
Ctrl-C or SIGTERM, and checked with `git diff --quiet`; a backup left by a
killed run is put back first.
"""
import argparse, fnmatch, os, re, shutil, signal, subprocess, sys, time
import xml.etree.ElementTree as ET

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "build", "mutation")
BACKUP = os.path.join(OUT, "backup")
# The Wine side runs in the x64 build: its whole suite runs on every machine.
BUILDS = {"native": "build/native", "windows": "build/windows-x64"}
# Left out of every native run: the 50 MB round trip (label slow).
CTEST_EXTRA = {"native": ["-LE", "slow"], "windows": []}
LINE_BREAK = "\u23ce"


def parse_faults(path):
    """Tab-separated: id, file, text, replacement, tests; a line break in a
    text is written as LINE_BREAK. '@name' in the tests column names a set
    line: '@name<TAB>side:regex ...'."""
    sets, faults = {}, []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.rstrip("\n")
            if not line.strip() or line.startswith("#"):
                continue
            cols = line.split("\t")
            if cols[0].startswith("@"):
                sets[cols[0]] = cols[1].split()
            elif len(cols) == 5:
                cols[2:4] = [text.replace(LINE_BREAK, "\n") for text in cols[2:4]]
                faults.append(dict(zip(("id", "file", "old", "new", "tests"), cols)))
            else:
                sys.exit(f"{path}:{number}: expected 5 tab-separated columns, got {len(cols)}")
    for fault in faults:
        fault["tests"] = expand(fault["tests"].split(), sets, fault["id"])
    return faults, sets


def expand(tokens, sets, fault_id, depth=0):
    """side:regex pairs and @sets (which may name sets), merged per side
    into one alternation."""
    per_side = {}
    for token in tokens:
        if token.startswith("@"):
            if token not in sets or depth > 3:
                sys.exit(f"{fault_id}: unknown or circular set {token}")
            items = expand(sets[token], sets, fault_id, depth + 1).items()
        else:
            side, _, regex = token.partition(":")
            if side not in BUILDS or not regex:
                sys.exit(f"{fault_id}: bad test selection {token!r} (native:REGEX or windows:REGEX)")
            items = [(side, f"({regex})")]
        for side, regex in items:
            per_side.setdefault(side, []).append(regex)
    return {side: "|".join(regexes) for side, regexes in per_side.items()}


def run(cmd, log, cwd=ROOT):
    with open(log, "a") as out:
        out.write(f"\n$ {' '.join(cmd)}\n")
        out.flush()
        return subprocess.run(cmd, cwd=cwd, stdout=out, stderr=subprocess.STDOUT).returncode


def build(side, log):
    return run(["cmake", "--build", BUILDS[side], "-j", "2"], log) == 0


def table_test(name):
    """A table test's rows show their values in the ctest name, pointers
    included, which change from build to build: the rows of a table count as
    one test, the named rows keep their names."""
    name = re.sub(r"\s+# GetParam\(\) = .*$", "", name)
    return re.sub(r"/\d+-byte object <.*$", "", name)


def ctest(side, regex, log, tag):
    """Runs the tests matching regex; returns (tests run, tests failed)."""
    junit = os.path.join(OUT, "junit", f"{tag}-{side}.xml")
    os.makedirs(os.path.dirname(junit), exist_ok=True)
    if os.path.exists(junit):
        os.remove(junit)
    run(["ctest", "--test-dir", BUILDS[side], "-j", "2", "-R", regex, "--output-junit", junit]
        + CTEST_EXTRA[side], log)
    if not os.path.exists(junit):
        return set(), {"ctest"}
    return read_junit(junit)


def read_junit(junit):
    ran, failed = set(), set()
    for case in ET.parse(junit).getroot().iter("testcase"):
        name, status = table_test(case.get("name")), case.get("status")
        if status in ("run", "fail"):
            ran.add(name)
        if status == "fail":
            failed.add(name)
    return ran, failed


def from_junit(row):
    """The row again from the saved ctest results (after a change in how
    test names are read); a build that failed stays a kill."""
    ran, failed = set(), set()
    for side in BUILDS:
        junit = os.path.join(OUT, "junit", f"{row['id']}-{side}.xml")
        if os.path.exists(junit):
            side_ran, side_failed = read_junit(junit)
            ran |= side_ran
            failed |= side_failed
    killers = [k for k in row["killers"] if k.startswith("build:")] + sorted(failed - load_baseline())
    result = row["result"] if row["result"] == "stale" else ("killed" if killers else "survived")
    return {**row, "result": result, "killers": killers, "ran": sorted(ran)}


def git_clean(path):
    return subprocess.run(["git", "diff", "--quiet", "--", path], cwd=ROOT).returncode == 0


def restore_leftovers():
    """A backup left by a run that was killed outright goes back first."""
    for folder, _, names in os.walk(BACKUP):
        for name in names:
            backup = os.path.join(folder, name)
            target = os.path.join(ROOT, os.path.relpath(backup, BACKUP))
            shutil.copyfile(backup, target)
            os.remove(backup)
            print(f"restored {os.path.relpath(target, ROOT)} from a backup left by an earlier run")


class Planted:
    """The fault in place for the with-block; the original back after it."""

    def __init__(self, fault, original):
        self.path = os.path.join(ROOT, fault["file"])
        self.backup = os.path.join(BACKUP, fault["file"])
        self.original, self.fault = original, fault

    def __enter__(self):
        os.makedirs(os.path.dirname(self.backup), exist_ok=True)
        with open(self.backup, "wb") as f:
            f.write(self.original)
        mutated = self.original.replace(self.fault["old"].encode(), self.fault["new"].encode(), 1)
        with open(self.path, "wb") as f:
            f.write(mutated)
        return self

    def __exit__(self, *exc):
        # Written anew: its new time makes the next build compile it again.
        with open(self.path, "wb") as f:
            f.write(self.original)
        os.remove(self.backup)
        if not git_clean(self.path):
            sys.exit(f"FATAL: {self.fault['file']} differs from git after restoring it")
        return False


def interrupt(*_):
    raise KeyboardInterrupt


def area_of(fault_id):
    return fault_id.split(".", 1)[0]


def try_fault(fault, baseline_failures, log):
    path = os.path.join(ROOT, fault["file"])
    with open(path, "rb") as f:
        original = f.read()
    count = original.count(fault["old"].encode())
    if count != 1 or fault["old"] == fault["new"]:
        return "stale", [f"found {count} times"], set()
    killers, ran = [], set()
    with Planted(fault, original):
        for side, regex in fault["tests"].items():
            if not build(side, log):
                killers.append(f"build:{side}")
                continue
            side_ran, failed = ctest(side, regex, log, fault["id"])
            ran |= side_ran
            killers += sorted(failed - baseline_failures)
    return ("killed" if killers else "survived"), killers, ran


def write_tests_table(rows):
    kills = {}
    for row in rows:
        for name in row["ran"]:
            kills.setdefault(name, [])
        for name in row["killers"]:
            if row["result"] == "killed":
                kills.setdefault(name, []).append(row["id"])
    with open(os.path.join(OUT, "tests.tsv"), "w") as f:
        f.write("test\tkills\tfaults\n")
        for name, ids in sorted(kills.items(), key=lambda kv: (-len(kv[1]), kv[0])):
            f.write(f"{name}\t{len(ids)}\t{' '.join(ids)}\n")


def load_baseline():
    path = os.path.join(OUT, "baseline.tsv")
    if not os.path.exists(path):
        return set()
    with open(path) as f:
        return {line.split("\t")[1].strip() for line in f if line.startswith("fail\t")}


def baseline(faults, log):
    """Each side's chosen tests, once, on the clean tree: each selection on
    its own (ctest takes no pattern of many groups), and one that runs no
    test stops the run, as it would let every fault of it survive unseen."""
    per_side = {}
    for fault in faults:
        for side, regex in fault["tests"].items():
            per_side.setdefault(side, set()).add(regex)
    with open(os.path.join(OUT, "baseline.tsv"), "w") as f:
        for side, regexes in per_side.items():
            start = time.time()
            if not build(side, log):
                sys.exit(f"the clean {side} build fails; see {log}")
            ran, failed = set(), set()
            for number, regex in enumerate(sorted(regexes)):
                selection_ran, selection_failed = ctest(side, regex, log, f"baseline-{number}")
                if not selection_ran:
                    sys.exit(f"the tests {regex!r} of the {side} build run nothing; see {log}")
                ran |= selection_ran
                failed |= selection_failed
            f.write(f"ran\t{side}\t{len(ran)} tests in {time.time() - start:.0f} s\n")
            f.writelines(f"fail\t{name}\n" for name in sorted(failed))
            print(f"baseline {side}: {len(ran)} tests, {len(failed)} failing, {time.time() - start:.0f} s")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("ids", nargs="*", help="fault ids or shell-style patterns (default: all)")
    parser.add_argument("--faults", default=os.path.join(ROOT, "scripts", "mutants.txt"))
    parser.add_argument("--tests", help="test selection for every chosen fault, e.g. 'native:^Codec windows:install\\.'")
    parser.add_argument("--list", action="store_true", help="list the faults and their tests")
    parser.add_argument("--baseline", action="store_true", help="run the chosen faults' tests on the clean tree")
    parser.add_argument("--resume", action="store_true", help="keep report.tsv rows and skip their faults, but for those named")
    parser.add_argument("--from-junit", action="store_true", help="with --resume: read the kept rows again from their ctest results")
    args = parser.parse_args()

    faults, sets = parse_faults(args.faults)
    order = {f["id"]: i for i, f in enumerate(faults)}
    if args.ids:
        faults = [f for f in faults if any(fnmatch.fnmatchcase(f["id"], p) for p in args.ids)]
    if args.tests:
        for fault in faults:
            fault["tests"] = expand(args.tests.split(), sets, fault["id"])
    if args.list:
        for f in faults:
            with open(os.path.join(ROOT, f["file"]), encoding="utf-8") as source:
                found = source.read().count(f["old"])
            mark = "" if found == 1 else f"  STALE (found {found} times)"
            print(f"{f['id']:36} {f['file']:36} " + " ".join(f"{s}:{r}" for s, r in f["tests"].items()) + mark)
        return
    os.makedirs(OUT, exist_ok=True)
    restore_leftovers()
    dirty = sorted({f["file"] for f in faults if not git_clean(os.path.join(ROOT, f["file"]))})
    if dirty:
        sys.exit("uncommitted changes in " + ", ".join(dirty) + ": commit or stash them first")
    log = os.path.join(OUT, "run.log")
    for sig in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(sig, interrupt)
    if args.baseline:
        return baseline(faults, log)

    report = os.path.join(OUT, "report.tsv")
    rows = []
    if args.resume and os.path.exists(report):
        with open(report) as f:
            for line in list(f)[1:]:
                i, _, result, killers, ran = (line.rstrip("\n").split("\t") + [""] * 5)[:5]
                rows.append({"id": i, "result": result, "killers": names(killers), "ran": names(ran)})
    if args.from_junit:
        rows = [from_junit(r) for r in rows]
    if args.ids:  # named again: done again
        rows = [r for r in rows if r["id"] not in {f["id"] for f in faults}]
    done = {r["id"] for r in rows}
    baseline_failures = load_baseline()
    interrupted = False
    try:
        for fault in faults:
            if fault["id"] in done:
                continue
            start = time.time()
            result, killers, ran = try_fault(fault, baseline_failures, log)
            rows.append({"id": fault["id"], "result": result, "killers": killers, "ran": sorted(ran)})
            print(f"{fault['id']:36} {result:8} {time.time() - start:5.0f} s  {' '.join(killers)}", flush=True)
            save(report, rows)
    except KeyboardInterrupt:
        print("interrupted: the faulted file is restored; the report holds the faults done so far")
        interrupted = True
    rows.sort(key=lambda r: order.get(r["id"], len(order)))
    save(report, rows)
    write_tests_table(rows)
    counted = [r for r in rows if r["result"] != "stale"]
    killed = sum(r["result"] == "killed" for r in counted)
    stale = len(rows) - len(counted)
    line = (f"{len(counted)} faults, {killed} killed ({100.0 * killed / max(len(counted), 1):.0f}%)"
            + (f", {stale} stale" if stale else ""))
    with open(os.path.join(OUT, "summary.txt"), "w") as f:
        f.write(line + "\n")
    print(line)
    sys.exit(130 if interrupted else 0)


SEPARATOR = " | "  # between test names, which may hold commas


def names(column):
    return sorted({table_test(name) for name in column.split(SEPARATOR) if name})


def save(report, rows):
    with open(report, "w") as f:
        f.write("fault\tarea\tresult\tkilled_by\ttests_run\n")
        for r in rows:
            f.write(f"{r['id']}\t{area_of(r['id'])}\t{r['result']}\t{SEPARATOR.join(r['killers'])}\t"
                    f"{SEPARATOR.join(r['ran'])}\n")


if __name__ == "__main__":
    main()
