#!/usr/bin/env python3
"""Times quarnel-list and the desktop drop against bfs, find, fd and sort on generated trees of
several shapes, side by side in one run, and prints one Markdown table: every median ratio with
its target.

    bench/run.py [--runs N] [--trees DIR] [--build DIR] [--write-readme] [--smoke]

The trees (bench/make_tree.py) are made once and kept in DIR. Every command writes to
/dev/null in the C.UTF-8 locale with warm caches, as for a folder a user has just looked at.
bfs, fd-find and hyperfine come from `scripts/install-deps bench`; a tool that is missing leaves
its column empty. --smoke runs once over a 2,000-entry tree, as the tests do, to see that the
bench still works.
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from pathlib import Path

HERE = Path(__file__).resolve().parent
DEFAULTS = "01010101000110"   # sorted, names only, files only, expanded
ARRIVAL = "10100011000110"    # arrival order, full paths, files and folders, expanded
C_LOCALE = dict(os.environ, LC_ALL="C.UTF-8")
C_LOCALE.setdefault("XDG_RUNTIME_DIR", tempfile.mkdtemp())  # Qt wants one of its own
WIDE = ["regular", "irregular", "flat", "1m"]
MiB = 1024 * 1024


def timed(command, env=C_LOCALE):
    """Wall time in seconds, peak memory in bytes and output size of one run."""
    with tempfile.TemporaryFile() as out:
        start = time.perf_counter()
        process = subprocess.Popen(command, stdout=out, env=env)
        _, status, usage = os.wait4(process.pid, 0)
        elapsed = time.perf_counter() - start
        if os.waitstatus_to_exitcode(status) != 0:
            sys.exit("failed: %s" % " ".join(command))
        size = out.seek(0, os.SEEK_END)
    return elapsed, usage.ru_maxrss * 1024, size


def DesktopDrops(drop_bench, options, runs, tree, quarnel_list=None):
    """The desktop drop's times in seconds (each process warms up with a first drop, left out),
    each paired with a run of quarnel-list made right after it, so that both meet the machine in
    the same mood; the longest pause in handling events; and the peak memory in bytes of a
    process that dropped once (a second drop would count the first one's list, still on the
    clipboard, too)."""
    seconds, paired, gap = [], [], 0.0
    for _ in range(runs):
        process = subprocess.Popen([drop_bench, options, "2", tree], stdout=subprocess.PIPE,
                                   text=True, env=C_LOCALE)
        output = process.stdout.read()
        _, status, _ = os.wait4(process.pid, 0)
        if os.waitstatus_to_exitcode(status) != 0:
            sys.exit("failed: drop_bench over %s" % tree)
        ms, pause = output.splitlines()[-1].split()
        seconds.append(float(ms) / 1000)
        gap = max(gap, float(pause) / 1000)
        if quarnel_list:
            paired.append(timed([quarnel_list, "--options", options, tree])[0])
    once = subprocess.Popen([drop_bench, options, "1", tree], stdout=subprocess.DEVNULL,
                            env=C_LOCALE)
    _, _, once_usage = os.wait4(once.pid, 0)
    return seconds, paired, gap, once_usage.ru_maxrss * 1024


def entries(tree):
    return sum(len(dirs) + len(files) for _, dirs, files in os.walk(tree))


class Row:
    def __init__(self, label, ours, reference, ratio, target, unit="s"):
        self.cells = (label, ours, reference, ratio, target, unit)

    def markdown(self):
        label, ours, reference, ratio, target, unit = self.cells
        show = (lambda v: "" if v is None else "%.3f s" % v) if unit == "s" else \
               (lambda v: "" if v is None else "%.1f MiB" % (v / MiB))
        verdict = "" if ratio is None or target == "" else ("yes" if ratio <= target else "**no**")
        return "| %s | %s | %s | %s | %s | %s |" % (
            label, show(ours), show(reference), "" if ratio is None else "%.2f" % ratio,
            "≤ %s" % target if target != "" else "", verdict)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--trees", default=os.path.join(tempfile.gettempdir(), "quarnel-bench"))
    parser.add_argument("--build", default=str(HERE.parent / "build" / "linux"))
    parser.add_argument("--write-readme", action="store_true")
    parser.add_argument("--smoke", action="store_true")
    args = parser.parse_args()

    quarnel_list = str(Path(args.build) / "app" / "quarnel-list")
    drop_bench = str(Path(args.build) / "bench" / "drop_bench")
    shapes = ["small"] if args.smoke else WIDE + ["deep"]
    runs = 1 if args.smoke else args.runs
    trees = {}
    for shape in shapes:
        trees[shape] = os.path.join(args.trees, shape)
        subprocess.run([sys.executable, str(HERE / "make_tree.py"), shape, trees[shape]],
                       check=True)
    have = {tool: shutil.which(tool) is not None for tool in ("bfs", "fdfind", "find")}
    # the base: a folder of one file (an empty list would only bring up a message)
    base_tree = tempfile.mkdtemp()
    Path(base_tree, "eine.txt").write_bytes(b"x")
    base = min(timed([quarnel_list, "--options", DEFAULTS, base_tree])[1] for _ in range(3))

    rows = []
    for shape, tree in trees.items():
        count = entries(tree)
        commands = {
            "arrival": [quarnel_list, "--options", ARRIVAL, tree],
            "defaults": [quarnel_list, "--options", DEFAULTS, tree],
            "find": ["find", tree],
            "find | sort": ["sh", "-c", "find \"$0\" -type f -printf '%f\\n' | sort -f", tree],
        }
        if have["bfs"]:
            commands["bfs"] = ["bfs", tree]
            commands["bfs | sort"] = ["sh", "-c", "bfs \"$0\" -type f -printf '%f\\n' | sort -f",
                                      tree]
        if have["fdfind"]:
            commands["fd"] = ["fdfind", "-u", ".", tree]
        times = {label: [] for label in commands}
        peaks = {label: [] for label in commands}
        sizes = {}
        for _ in range(runs):
            for label, command in commands.items():
                elapsed, peak, size = timed(command)
                times[label].append(elapsed)
                peaks[label].append(peak)
                sizes[label] = size
        median = {label: statistics.median(values) for label, values in times.items()}

        def ratio(ours, theirs):
            if theirs not in times:
                return None
            return statistics.median(a / b for a, b in zip(times[ours], times[theirs]))

        if shape == "deep":
            rows.append(Row("deep: defaults vs `find \\| sort -f`", median["defaults"],
                            median["find | sort"], ratio("defaults", "find | sort"), 2))
            rows.append(Row("deep: peak memory above base, defaults", max(peaks["defaults"]) - base,
                            None, (max(peaks["defaults"]) - base) / (64 * MiB), 1, unit="B"))
            rows.append(Row("deep: full paths, output %.0f MiB, peak memory" % (
                sizes["arrival"] / MiB), max(peaks["arrival"]) - base, None, None, "", unit="B"))
            continue
        reference = "bfs" if have["bfs"] else "find"
        rows.append(Row("%s: arrival order, full paths vs `%s`" % (shape, reference),
                        median["arrival"], median[reference], ratio("arrival", reference), 0.9))
        sorted_reference = "bfs | sort" if have["bfs"] else "find | sort"
        rows.append(Row("%s: defaults vs `%s -f`" % (shape, sorted_reference.replace("|", "\\|")),
                        median["defaults"], median[sorted_reference],
                        ratio("defaults", sorted_reference), 0.8))
        for label in ("find", "fd"):
            if label in times:
                rows.append(Row("%s: `%s` vs arrival order (for comparison)" % (shape, label),
                                median[label], median["arrival"], None, ""))
        if shape == "1m" or args.smoke:
            for label in ("arrival", "defaults"):
                above = max(peaks[label]) - base
                limit = 1.5 * sizes[label] + 32 * count
                rows.append(Row("%s: peak memory above base, %s (limit 1.5 x output + 32 B per "
                                "entry)" % (shape, label), above, limit, above / limit, 1,
                                unit="B"))
        if shape in ("1m", "flat") or args.smoke:
            desktop_base = DesktopDrops(drop_bench, DEFAULTS, 1, base_tree)[3]
            for label, option in (("defaults", DEFAULTS), ("arrival", ARRIVAL)):
                seconds, paired, gap, peak = DesktopDrops(drop_bench, option, runs, tree,
                                                          quarnel_list)
                rows.append(Row("%s: desktop drop vs `quarnel-list` run right after it, %s"
                                % (shape, label), statistics.median(seconds),
                                statistics.median(paired),
                                statistics.median(a / b for a, b in zip(seconds, paired)), 1.1))
                rows.append(Row("%s: longest the window went without handling its events, %s "
                                "(limit 0.1 s)" % (shape, label), gap, 0.1, gap / 0.1, 1))
                above = peak - desktop_base
                limit = 2 * sizes[label] + 48 * count
                rows.append(Row("%s: desktop peak memory above base, %s (limit 2 x output + "
                                "48 B per entry)" % (shape, label), above, limit, above / limit,
                                1, unit="B"))

    table = ["| measurement | ours | reference | ratio | target | met |",
             "|---|---:|---:|---:|---:|---|"] + [row.markdown() for row in rows]
    print("\n".join(table))
    if args.write_readme:
        readme = HERE / "README.md"
        text = readme.read_text(encoding="utf-8")
        start = text.index("<!-- results -->")
        end = text.index("<!-- /results -->")
        readme.write_text(text[:start] + "<!-- results -->\n" + "\n".join(table) + "\n" +
                          text[end:], encoding="utf-8")


if __name__ == "__main__":
    main()
