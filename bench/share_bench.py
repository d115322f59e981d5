#!/usr/bin/python3
"""Times quarnel-list against bfs and fd on slow storage, side by side in one run, and prints
Markdown tables: the median time of every command and the median per-round ratios.

    /usr/bin/python3 bench/share_bench.py [--runs N] [--trees DIR] [--build DIR] [--cold]
                                          [--before QUARNEL_LIST]

Without --cold: a share. The "share" tree (800 folders, 8,000 files) is mounted through
slow_fs.py with 2 ms in every lookup, getattr, opendir and readdir, once with the kernel's entry
and attribute cache off and once with it on (1 s). Then one run of quarnel-list and one of bfs
under `strace -f -c` count their system calls, and the list read through the share is compared
with the one read from the plain disk; a last run of quarnel-list is counted on a share that
lists "." and ".." without their type.

With --cold: a cold disk. The page cache is dropped before every run of every command over the
"irregular" tree (220,000 entries); the first round, which only warms the host's own cache of
the disk, is left out.

--before times another quarnel-list (an earlier build) in the same rounds, for before/after
ratios without a target.

All arrival order with full paths; every command writes to a file in the C.UTF-8 locale. Needs
root, and `scripts/install-deps bench`.
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

from run import ARRIVAL, C_LOCALE, HERE, Row, timed
from slow_fs import SlowShare

THREADS = (2, 8, 16, 32)
COUNTED_CALLS = ("openat", "getdents64", "newfstatat", "fstat", "close")


BEFORE = "quarnel-list before"


def Commands(quarnel_list, tree, before=None):
    commands = {
        "quarnel-list": [quarnel_list, "--options", ARRIVAL, tree],
        "bfs": ["bfs", tree],
        "fdfind -u": ["fdfind", "-u", ".", tree],
    }
    for n in THREADS:
        commands["fdfind -u -j %d" % n] = ["fdfind", "-u", "-j", str(n), ".", tree]
    if before:
        commands[BEFORE] = [before, "--options", ARRIVAL, tree]
    return commands


def DropPageCache():
    os.sync()
    Path("/proc/sys/vm/drop_caches").write_text("3")


def Rounds(commands, runs, before=None):
    """Each command's times over `runs` rounds, the commands taking turns within a round."""
    times = {label: [] for label in commands}
    for _ in range(runs):
        for label, command in commands.items():
            if before:
                before()
            times[label].append(timed(command)[0])
    return times


def Rows(case, times, targets):
    """The ratios the targets use: quarnel-list against bfs, fdfind -u and the fdfind -j N of
    the lowest median."""
    median = {label: statistics.median(values) for label, values in times.items()}
    best = min(("fdfind -u -j %d" % n for n in THREADS), key=median.get)
    rows = []
    for ours in [label for label in ("quarnel-list", BEFORE) if label in times]:
        for reference in ("bfs", "fdfind -u", best):
            ratio = statistics.median(a / b for a, b in zip(times[ours], times[reference]))
            target = targets.get(reference if reference != best else "best", "")
            label = "best `fdfind -u -j N` (`%s`)" % reference if reference == best else \
                    "`%s`" % reference
            rows.append(Row("%s: %s vs %s" % (case, ours, label), median[ours],
                            median[reference], ratio, target if ours != BEFORE else ""))
    return rows


def Table(header, lines):
    return "\n".join([header, "|---|" + "---:|" * (header.count("|") - 2)] + lines)


def CallCounts(command):
    """The number of calls of each of COUNTED_CALLS in one run under `strace -f -c`."""
    with tempfile.NamedTemporaryFile(mode="r") as summary:
        subprocess.run(["strace", "-f", "-c", "-o", summary.name] + command, check=True,
                       stdout=subprocess.DEVNULL, env=C_LOCALE)
        counts = {}
        for line in summary:
            fields = line.split()
            if len(fields) >= 5 and fields[-1] in COUNTED_CALLS:
                counts[fields[-1]] = int(fields[3])
    return counts


def Output(command):
    return subprocess.run(command, env=C_LOCALE, check=True, capture_output=True).stdout


def Share(quarnel_list, tree, runs, before):
    folders = sum(1 for _ in os.walk(tree))
    times, rows, counts = {}, [], {}
    for cache, seconds, targets in (("cache off", 0, {"bfs": 0.25, "best": 0.8}),
                                    ("cache on", 1, {"bfs": 0.25, "best": 1.0})):
        with SlowShare(tree, delay_ms=2, cache_seconds=seconds) as mounted:
            # Each command begins once what the one before it left in the kernel's cache has
            # expired, so that none is timed with another's lookups.
            expire = (lambda: time.sleep(seconds + 0.1)) if seconds else None
            times[cache] = Rounds(Commands(quarnel_list, mounted, before), runs, expire)
            rows += Rows("share, " + cache, times[cache], targets)
            if seconds == 0:
                commands = Commands(quarnel_list, mounted)
                for label in ("quarnel-list", "bfs"):
                    counts[label] = CallCounts(commands[label])
                through = Output(commands["quarnel-list"]).replace(mounted.encode(), tree.encode())
                same = through == Output(Commands(quarnel_list, tree)["quarnel-list"])
    with SlowShare(tree, delay_ms=2, untyped_dots=True) as mounted:
        counts['quarnel-list, "." and ".." without a type'] = CallCounts(
            Commands(quarnel_list, mounted)["quarnel-list"])
    lines = ["| %s | %s | %s |" % (label, *("%.3f s" % statistics.median(times[c][label])
                                            for c in times)) for label in times["cache off"]]
    print(Table("| command, %d folders, 2 ms a request | cache off | cache on |" % folders,
                lines))
    print()
    print(Table("| measurement | ours | reference | ratio | target | met |",
                [row.markdown() for row in rows]))
    print()
    lines = ["| %s | %s |" % (label, " | ".join(str(counts[label].get(call, 0))
                                                 for call in COUNTED_CALLS)) for label in counts]
    print(Table("| one run, cache off | %s |" % " | ".join(COUNTED_CALLS), lines))
    print()
    print("The list read through the share is %s the one read from the plain disk." %
          ("byte for byte" if same else "**not**"))


def Cold(quarnel_list, tree, runs, before):
    commands = Commands(quarnel_list, tree, before)
    Rounds(commands, 1, DropPageCache)  # warms the host's cache of the disk, not ours
    times = Rounds(commands, runs, DropPageCache)
    count = sum(len(dirs) + len(files) for _, dirs, files in os.walk(tree))
    lines = ["| %s | %.3f s |" % (label, statistics.median(values))
             for label, values in times.items()]
    print(Table("| command, %d entries, page cache dropped | median |" % count, lines))
    print()
    rows = Rows("cold", times, {"fdfind -u": 0.5, "bfs": 0.6})
    print(Table("| measurement | ours | reference | ratio | target | met |",
                [row.markdown() for row in rows]))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--trees", default=os.path.join(tempfile.gettempdir(), "quarnel-bench"))
    parser.add_argument("--build", default=str(HERE.parent / "build" / "linux"))
    parser.add_argument("--cold", action="store_true")
    parser.add_argument("--before")
    args = parser.parse_args()
    if os.geteuid() != 0:
        sys.exit("mounting a share and dropping the page cache need root")

    quarnel_list = str(Path(args.build) / "app" / "quarnel-list")
    shape = "irregular" if args.cold else "share"
    tree = os.path.join(args.trees, shape)
    subprocess.run([sys.executable, str(HERE / "make_tree.py"), shape, tree], check=True)
    (Cold if args.cold else Share)(quarnel_list, tree, args.runs, args.before)


if __name__ == "__main__":
    main()
