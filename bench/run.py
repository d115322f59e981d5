#!/usr/bin/env python3
"""Times quarnel-list and the desktop drop pipeline against find and sort on generated trees,
side by side in one run, and prints the median ratios as a Markdown table.

    bench/run.py [--runs N] [--trees DIR] [--build DIR]

Trees are made once (bench/make_tree.py) and kept in DIR for later runs. Every command writes
to /dev/null; the caches are warm, as for a folder a user has just looked at.
"""
import argparse
import os
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
DEFAULTS = "01010101000110"   # sorted, names only, files only, expanded
ARRIVAL = "10100011000110"    # arrival order, full paths, files and folders, expanded
TREES = {  # name: (top folders, subfolders each, files in every folder)
    "200k": (100, 199, 10),   # 20,000 folders, 200,000 files
    "1m": (100, 999, 9),      # 100,000 folders, 900,000 files
}
C_LOCALE = dict(os.environ, LC_ALL="C.UTF-8")


def entries(tree):
    top, sub, files = TREES[tree]
    return top * (1 + sub) * (1 + files)


def timed(command, env=None):
    """Wall time in seconds and peak memory in bytes of one run."""
    start = time.perf_counter()
    process = subprocess.Popen(command, stdout=subprocess.DEVNULL, env=env)
    _, status, usage = os.wait4(process.pid, 0)
    elapsed = time.perf_counter() - start
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: %s" % " ".join(command))
    return elapsed, usage.ru_maxrss * 1024


def median_ratio(ours, theirs):
    return statistics.median(a / b for a, b in zip(ours, theirs))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--trees", default=os.path.join(tempfile.gettempdir(), "quarnel-bench"))
    parser.add_argument("--build", default=str(HERE.parent / "build" / "linux"))
    args = parser.parse_args()

    subprocess.run(["cmake", "--build", args.build, "--target", "quarnel-list", "drop_bench"],
                   check=True, stdout=subprocess.DEVNULL)
    quarnel_list = str(Path(args.build) / "app" / "quarnel-list")
    drop_bench = str(Path(args.build) / "bench" / "drop_bench")
    trees = {}
    for name, shape in TREES.items():
        trees[name] = os.path.join(args.trees, name)
        subprocess.run([sys.executable, str(HERE / "make_tree.py"), trees[name], *map(str, shape)],
                       check=True)
    empty = tempfile.mkdtemp()

    rows = []
    for name, tree in trees.items():
        commands = {
            "defaults": [quarnel_list, "--options", DEFAULTS, tree],
            "find | sort -f": ["sh", "-c", "find \"$0\" -type f -printf '%f\\n' | sort -f", tree],
            "arrival": [quarnel_list, "--options", ARRIVAL, tree],
            "find": ["find", tree],
        }
        times = {label: [] for label in commands}
        peaks = {label: [] for label in commands}
        for _ in range(args.runs):
            for label, command in commands.items():
                elapsed, peak = timed(command, C_LOCALE)
                times[label].append(elapsed)
                peaks[label].append(peak)
        median = {label: statistics.median(values) for label, values in times.items()}
        rows.append(("%s: defaults vs `find \\| sort -f`" % name, median["defaults"],
                     median["find | sort -f"], median_ratio(times["defaults"],
                                                             times["find | sort -f"]), 0.7))
        rows.append(("%s: arrival order, full paths vs `find`" % name, median["arrival"],
                     median["find"], median_ratio(times["arrival"], times["find"]), 0.7))
        if name == "1m":
            base = statistics.median(timed([quarnel_list, "--options", DEFAULTS, empty])[1]
                                     for _ in range(3))
            for label in ("defaults", "arrival"):
                per_entry = (max(peaks[label]) - base) / entries(name)
                rows.append(("%s: peak memory above base, %s (bytes per entry)" % (name, label),
                             None, None, per_entry, 200))
        if name == "200k":
            desktop = subprocess.run([drop_bench, DEFAULTS, str(args.runs + 1), tree], check=True,
                                     capture_output=True, text=True).stdout.split()
            desktop_times = [float(ms) / 1000 for ms in desktop[1:]]  # the first run warms up
            rows.append(("%s: desktop drop with the Qt yield vs `quarnel-list`, defaults" % name,
                         statistics.median(desktop_times), median["defaults"],
                         median_ratio(desktop_times, times["defaults"]), 1.25))

    print("| measurement | ours | reference | ratio | target |")
    print("|---|---:|---:|---:|---:|")
    for label, ours, reference, ratio, target in rows:
        seconds = lambda value: "" if value is None else "%.3f s" % value
        print("| %s | %s | %s | %.2f | %s %s |" % (label, seconds(ours), seconds(reference), ratio,
                                                    "≤", target))


if __name__ == "__main__":
    main()
