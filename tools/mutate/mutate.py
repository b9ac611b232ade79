#!/usr/bin/env python3
"""Plants one slip at a time in the game's rules, its computer driver or the look ahead and reports
whether the fast tests notice it.

Each slip in slips.txt names a file, a text snippet that occurs exactly once in it, and the text that
replaces it (`\\n` separates the lines of a longer snippet). For every slip the file is changed, the
script runner and the unit tests are rebuilt incrementally, the tests labelled `fast` run, and the file
is put back (always, even on Ctrl+C or kill).
A slip whose snippet is missing or no longer unique is STALE and does not count; a slip marked
`equivalent` behaves as the original does, so it is run but left out of the kill rate.

usage: mutate.py BUILD_DIR [--only TEXT] [--list]
"""
import argparse
import signal
import subprocess
import sys
import time
from pathlib import Path

TOP = Path(__file__).resolve().parents[2]
SLIPS = Path(__file__).with_name("slips.txt")
TIMEOUT = 300  # seconds for one slip's tests; a slip that makes the game hang is caught by it


def read_slips(path):
    """Blocks of `key: value` lines separated by blank lines; `#` lines are comments."""
    slips, current = [], {}
    for number, line in enumerate(path.read_text().splitlines() + [""], 1):
        if line.startswith("#"):
            continue
        if not line.strip():
            if current:
                for key in ("file", "find", "replace", "kind"):
                    if key not in current:
                        sys.exit(f"{path}:{number}: slip without '{key}'")
                slips.append(current)
                current = {}
            continue
        key, sep, value = line.partition(": ")
        if not sep and line.endswith(":"):  # an empty replacement drops the snippet
            key, sep, value = line[:-1], ":", ""
        if not sep:
            sys.exit(f"{path}:{number}: expected 'key: value', got {line!r}")
        current[key] = value.replace("\\n", "\n")  # a snippet of several lines
    return slips


def run(cmd, cwd, timeout=None):
    return subprocess.run(cmd, cwd=cwd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                          timeout=timeout).returncode


def try_slip(slip, build):
    """KILLED, SURVIVED or STALE, with what caught the slip."""
    path = TOP / slip["file"]
    original = path.read_text()
    if original.count(slip["find"]) != 1:
        return "STALE", "snippet not found once"
    try:
        path.write_text(original.replace(slip["find"], slip["replace"]))
        if run(["cmake", "--build", build, "-j2", "--target", "squeakrun-script", "unit_tests"], TOP) != 0:
            return "KILLED", "does not compile"
        try:
            if run(["ctest", "-L", "fast", "-j2", "--stop-on-failure", "--timeout", "60"], build,
                   TIMEOUT) != 0:
                return "KILLED", "tests failed"
        except subprocess.TimeoutExpired:
            return "KILLED", "tests hung"
        return "SURVIVED", ""
    finally:
        path.write_text(original)


def stop(signum, _frame):
    raise SystemExit(f"stopped by signal {signum}")  # unwinds through try_slip, which puts the file back


def main():
    # A run in the background ignores Ctrl+C; kill (TERM) and a closed terminal must restore the file too.
    for signum in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(signum, stop)
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--only", help="run only the slips whose file or snippet contains this text")
    parser.add_argument("--list", action="store_true", help="list the slips and whether they apply")
    args = parser.parse_args()
    build = str(Path(args.build).resolve())
    slips = read_slips(SLIPS)
    if args.only:
        slips = [s for s in slips if args.only in s["file"] or args.only in s["find"]]

    counts = {"KILLED": 0, "SURVIVED": 0, "STALE": 0, "equivalent": 0}
    survivors = []
    start = time.monotonic()
    for n, slip in enumerate(slips, 1):
        label = f"{slip['file']} [{slip['kind']}] {slip['find'].strip()!r} -> {slip['replace'].strip()!r}"
        if args.list:
            found = (TOP / slip["file"]).read_text().count(slip["find"]) == 1
            print(f"{n:3} {'ok   ' if found else 'STALE'} {label}")
            continue
        verdict, why = try_slip(slip, build)
        if "equivalent" in slip and verdict != "STALE":
            counts["equivalent"] += 1
            print(f"{n:3} EQUIVALENT ({verdict.lower()}: {slip['equivalent']}) {label}", flush=True)
            continue
        counts[verdict] += 1
        print(f"{n:3} {verdict:8} {label}{' (' + why + ')' if why else ''}", flush=True)
        if verdict == "SURVIVED":
            survivors.append(label)
    if args.list:
        return 0
    # Restore the build of the untouched code, so the next run and the tree agree.
    run(["cmake", "--build", build, "-j2", "--target", "squeakrun-script", "unit_tests"], TOP)
    counted = counts["KILLED"] + counts["SURVIVED"]
    rate = 100.0 * counts["KILLED"] / counted if counted else 0.0
    print(f"\n{counts['KILLED']} of {counted} slips killed ({rate:.1f} %); {counts['equivalent']} equivalent "
          f"and {counts['STALE']} stale not counted; {time.monotonic() - start:.0f} s")
    for label in survivors:
        print("survivor:", label)
    return 0


if __name__ == "__main__":
    sys.exit(main())
