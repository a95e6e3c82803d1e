#!/usr/bin/env python3
"""Converts generated schematic sets with `vesk -F` and prints, per set:
input MB, components, wall seconds (with the user and system seconds of
that run), MB/s, components/s, peak resident memory (with its limit:
1.1 x input + 8 MB for one file, the memory of the process itself
included; input / 2 + 8 MB for many), and beside them two references:
`wc -l` over the same files, one plain pass over the bytes, and a naive
extractor in Python (bench/naive_extract.py), what a user might write
instead; for each the ratio of vesk's time to it. Missing sets are
generated first. The peak memory is taken with GNU time (/usr/bin/time).

usage: run_bench.py VESK DATA_DIR
"""
import os
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
SETS = [("1 MB, 1 file", 1, 1), ("10 MB, 1 file", 10, 1), ("100 MB, 1 file", 100, 1),
        ("100 MB, 64 files", 100, 64), ("200 MB, 1 file", 200, 1)]
# Timed runs per set, of which the fastest counts; one untimed run comes
# first. On a virtual machine the first run after a pause also pays for the
# host handing out fresh memory (its system time can be ten times that of
# the runs after it), which is not the program's cost.
RUNS = 5
# The naive extractor takes seconds on the large sets: fewer runs of it.
NAIVE_RUNS = 2


def schematics_in(folder):
    """The schematic files of a set; anything else left in its folder (a
    parts list written next to its input, say) is no part of it."""
    if not os.path.isdir(folder):
        return []
    return sorted(os.path.join(folder, f) for f in os.listdir(folder) if f.endswith(".ce3"))


def ensure_set(data_dir, mb, files):
    folder = os.path.join(data_dir, "set-%dmb-%d" % (mb, files))
    if len(schematics_in(folder)) != files:
        subprocess.run([sys.executable, os.path.join(HERE, "gen_schematics.py"), folder,
                        str(mb), str(files)], check=True)
    return schematics_in(folder)


def timed(cmd):
    """Wall seconds, user and system seconds of one run of cmd."""
    start = time.perf_counter()
    proc = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: %s" % " ".join(cmd[:3]))
    return wall, usage.ru_utime, usage.ru_stime


def peak_mb(cmd, data_dir):
    """Peak resident memory (MB) of one run of cmd, as GNU time reports it.
    The peak that wait4 gives this script for a child is no use here: it
    counts at least what this script held when it started the child (13 MB
    for /bin/true), more than a small set's conversion needs."""
    report = os.path.join(data_dir, "peak.txt")
    proc = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report] + cmd,
                          stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if proc.returncode != 0:
        sys.exit("failed: %s" % " ".join(cmd[:3]))
    with open(report) as f:
        return int(f.read().split()[-1]) / 1024.0


def main():
    vesk, data_dir = sys.argv[1], sys.argv[2]
    print("%-18s %9s %10s %8s %7s %7s %8s %12s %9s %9s %9s %7s %9s %7s" % (
        "set", "input MB", "components", "wall s", "user s", "sys s", "MB/s", "comp/s",
        "peak MB", "limit MB", "wc -l s", "ratio", "python s", "ratio"))
    walls = {}
    for label, mb, files in SETS:
        paths = ensure_set(data_dir, mb, files)
        size_mb = sum(os.path.getsize(p) for p in paths) / (1024.0 * 1024.0)
        out = os.path.join(data_dir, "out.csv")
        for p in paths:  # into the page cache
            with open(p, "rb") as f:
                while f.read(1 << 20):
                    pass
        peak = peak_mb([vesk, "-F"] + paths + ["-o", out], data_dir)  # the untimed first run
        runs = [timed([vesk, "-F"] + paths + ["-o", out]) for _ in range(RUNS)]
        wall, user, system = min(runs)
        with open(out, "rb") as f:
            components = f.read().count(b"\r\n")
        wc = min(timed(["wc", "-l"] + paths)[0] for _ in range(RUNS))
        naive = [sys.executable, os.path.join(HERE, "naive_extract.py"),
                 os.path.join(data_dir, "naive.csv")] + paths
        python = min(timed(naive)[0] for _ in range(NAIVE_RUNS))
        limit = (1.1 if files == 1 else 0.5) * size_mb + 8
        walls[(mb, files)] = wall
        print("%-18s %9.1f %10d %8.3f %7.3f %7.3f %8.0f %12.0f %9.1f %9.0f %9.3f %7.1f %9.3f %7.2f"
              % (label, size_mb, components, wall, user, system, size_mb / wall,
                 components / wall, peak, limit, wc, wall / wc, python, wall / python))
    if (100, 1) in walls and (200, 1) in walls:
        print("200 MB / 100 MB wall time: %.2f (limit 2.1)" % (walls[(200, 1)] / walls[(100, 1)]))


if __name__ == "__main__":
    main()
