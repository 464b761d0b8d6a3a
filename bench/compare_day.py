#!/usr/bin/env python3
"""The pay-in day side by side: the program, the old tool's algorithms and a
pandas script, on the same generated files, in one run.

    bench/compare_day.py [--build DIR] [--data DIR] [--sizes 10000,100000,1000000]
                         [--old-sizes 5000,10000,20000] [--repeat 5] [--no-build]
                         [--window-build DIR | --no-window]

Builds gen_day and day_pipeline in release mode, writes the days that are not
there yet, checks at every size the old algorithms can do that both pipelines
leave the same grid, boxes, holding message, report and file, then times
each pipeline (best of --repeat runs; the program's and the pandas script's
runs take turns) and prints one table. The old algorithms' time beyond the
sizes they are run at is extrapolated step by step from their measured growth. Times are CPU seconds of the process (user +
system): on a shared machine the wall clock also counts other people's work.
Unless --no-window is given, it also builds window_day (the program with its
windows, release mode) and times the largest day in the real main window.
"""
import argparse
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
PANDAS_PYTHON = "/usr/bin/python3" if os.path.exists("/usr/bin/python3") else sys.executable


def run(command, **kwargs):
    return subprocess.run(command, check=True, text=True, stdout=subprocess.PIPE, **kwargs).stdout


def build(build_dir):
    run(["cmake", "-S", ROOT, "-B", build_dir, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
         "-DQUORVIN_GUI=OFF"])
    subprocess.run(["nice", "-n", "5", "cmake", "--build", build_dir, "-j2", "--target",
                    "gen_day", "day_pipeline"], check=True, stdout=subprocess.DEVNULL)


def build_window(build_dir):
    run(["cmake", "-S", ROOT, "-B", build_dir, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
         "-DQUORVIN_TESTS=OFF"])
    subprocess.run(["nice", "-n", "5", "cmake", "--build", build_dir, "-j2", "--target",
                    "window_day"], check=True, stdout=subprocess.DEVNULL)


def day_folder(data, build_dir, lines):
    folder = os.path.join(data, str(lines))
    if not os.path.exists(os.path.join(folder, "11DPA6UX.TXT")):
        print(run([os.path.join(build_dir, "bench", "gen_day"), str(lines), folder]).strip(),
              file=sys.stderr)
    return folder


def parse(tsv):
    """day_pipeline --tsv and pandas_day.py output: a dict of rows."""
    result = {"steps": []}
    for line in tsv.splitlines():
        fields = line.split("\t")
        if fields[0] == "step":
            result["steps"].append((fields[1], float(fields[2]), float(fields[3])))
        elif fields[0] == "total":
            result["wall"], result["cpu"] = float(fields[1]), float(fields[2])
        elif len(fields) == 2:
            result[fields[0]] = fields[1]
    return result


def best(commands, repeat):
    """The quickest of `repeat` runs of each command, the commands taking
    turns so that each meets the machine in the same states as the others."""
    runs = [[] for _ in commands]
    for _ in range(repeat):
        for command, done in zip(commands, runs):
            done.append(parse(run(["nice", "-n", "5"] + command)))
    return [min(done, key=lambda r: r["cpu"]) for done in runs]


def fit(points):
    """Time of a step as a * n + b * n * n, a and b at least 0, fitted to the
    measured points by least squares on relative errors. Every old algorithm is
    linear or quadratic in the day's size (a list walk per row, a row shift per
    merge, a file scan per row), and the quadratic part only shows as the day
    grows, so a power law through small days would understate large ones."""
    def solve(columns):
        # Normal equations of min sum ((sum_j c_j f_j(n) - t) / t)^2.
        rows = [[f(n) / t for f in columns] + [1.0] for n, t in points if t > 0]
        k = len(columns)
        m = [[sum(r[i] * r[j] for r in rows) for j in range(k)] for i in range(k)]
        v = [sum(r[i] * r[k] for r in rows) for i in range(k)]
        if k == 1:
            return [v[0] / m[0][0]] if m[0][0] else [0.0]
        det = m[0][0] * m[1][1] - m[0][1] * m[1][0]
        if det == 0:
            return [-1.0, -1.0]
        return [(v[0] * m[1][1] - v[1] * m[0][1]) / det, (m[0][0] * v[1] - m[1][0] * v[0]) / det]

    def error(a, b):
        return sum(((a * n + b * n * n) - t) ** 2 / t ** 2 for n, t in points if t > 0)

    a, b = solve([lambda n: n, lambda n: n * n])
    if a >= 0 and b >= 0:
        return a, b
    (linear,) = solve([lambda n: n])
    (square,) = solve([lambda n: n * n])
    return min([(linear, 0.0), (0.0, square)], key=lambda ab: error(*ab))


def extrapolate(old, lines):
    """Sum over steps of each step's fitted time at `lines`."""
    total, models = 0.0, {}
    for k, (name, _, _) in enumerate(old[max(old)]["steps"][1:], start=1):
        models[name] = fit([(n, old[n]["steps"][k][2]) for n in sorted(old)])
        a, b = models[name]
        total += a * lines + b * lines * lines
    return total, models


def seconds(t):
    if t is None:
        return "n/a"
    if t >= 3600:
        return f"{t / 3600:.1f} h"
    if t >= 60:
        return f"{t / 60:.1f} min"
    return f"{t:.3f} s"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build-bench"))
    parser.add_argument("--data", default="/tmp/quorvin-bench-days")
    parser.add_argument("--sizes", default="10000,100000,1000000")
    parser.add_argument("--old-sizes", default="5000,10000,20000")
    parser.add_argument("--repeat", type=int, default=5)
    parser.add_argument("--no-build", action="store_true")
    parser.add_argument("--window-build", default=os.path.join(ROOT, "build-bench-gui"))
    parser.add_argument("--no-window", action="store_true")
    args = parser.parse_args()
    sizes = [int(s) for s in args.sizes.split(",")]
    old_sizes = [int(s) for s in args.old_sizes.split(",")]
    every = sorted(set(sizes) | set(old_sizes))

    if not args.no_build:
        build(args.build)
    pipeline = os.path.join(args.build, "bench", "day_pipeline")
    folders = {n: day_folder(args.data, args.build, n) for n in every}

    for n in old_sizes:  # a difference ends the run: its figures would mean nothing
        verdict = subprocess.run([pipeline, folders[n], "--verify"], text=True,
                                 stdout=subprocess.PIPE)
        print(verdict.stdout.strip(), flush=True)
        if verdict.returncode != 0:
            sys.exit(f"the pipelines differ at {n:,} lines")

    quorvin, old, peer = {}, {}, {}
    for n in old_sizes:
        (old[n],) = best([[pipeline, folders[n], "--transcription", "--tsv"]], args.repeat)
    pandas_ok = subprocess.run([PANDAS_PYTHON, "-c", "import pandas"],
                               stderr=subprocess.DEVNULL).returncode == 0
    script = os.path.join(ROOT, "bench", "peers", "pandas_day.py")
    for n in every:
        ours = [pipeline, folders[n], "--tsv"]
        if pandas_ok:
            quorvin[n], peer[n] = best([ours, [PANDAS_PYTHON, script, folders[n]]], args.repeat)
        else:
            (quorvin[n],) = best([ours], args.repeat)

    window = None
    if not args.no_window:
        if not args.no_build:
            build_window(args.window_build)
        window = subprocess.run(
            ["nice", "-n", "5", os.path.join(args.window_build, "bench", "window_day"),
             folders[max(sizes)]], text=True, stdout=subprocess.PIPE,
            env=dict(os.environ, QT_QPA_PLATFORM="offscreen"))

    print()
    print("| trade lines | Quorvin | per line | peak memory | old algorithms | pandas "
          "| old / Quorvin | pandas / Quorvin |")
    print("| ---: | ---: | ---: | ---: | ---: | ---: | ---: | ---: |")
    for n in every:
        q = quorvin[n]["cpu"]
        if n in old:
            o, how = old[n]["cpu"], "measured"
        else:
            o, how = extrapolate(old, n)[0], "extrapolated"
        p = peer[n]["cpu"] if n in peer else None
        print(f"| {n:,} | {seconds(q)} | {q / n * 1e6:.2f} µs | "
              f"{int(quorvin[n]['peak_kib']) / 1024:.0f} MiB | {seconds(o)} ({how}) | {seconds(p)} | "
              f"{o / q:,.0f}× | " + (f"{p / q:.2f}×" if p else "n/a") + " |")

    largest = max(sizes)
    print(f"\nQuorvin at {largest:,} trade lines, step by step (CPU; wall in brackets):")
    for name, wall, cpu in quorvin[largest]["steps"]:
        print(f"  {name:<44} {cpu * 1e3:9.1f} ms  ({wall * 1e3:.1f} ms)")
    _, models = extrapolate(old, largest)
    print(f"\nThe old algorithms per step: measured at {', '.join(f'{n:,}' for n in sorted(old))}"
          f" lines, fitted as a*n + b*n^2, extrapolated to {largest:,}:")
    for name, (a, b) in models.items():
        print(f"  {name:<44} a = {a * 1e6:8.3f} us  b = {b * 1e12:9.3f} ps  "
              f"-> {seconds(a * largest + b * largest * largest)}")

    print("\nTargets:")
    q = quorvin[largest]["cpu"]
    print(f"  {largest:,} lines under 0.5 s: {seconds(q)} -> {'met' if q < 0.5 else 'NOT met'}")
    if largest in peer:
        ratio = peer[largest]["cpu"] / q
        print(f"  at least 5x faster than pandas: {ratio:.2f}x -> "
              f"{'met' if ratio >= 5 else 'NOT met'}")
    peak = int(quorvin[largest]["peak_kib"]) / 1024
    print(f"  peak memory under 1 GiB: {peak:.0f} MiB -> {'met' if peak < 1024 else 'NOT met'}")
    if len(sizes) >= 2:
        below = sorted(sizes)[-2]
        g = (q / largest) / (quorvin[below]["cpu"] / below)
        print(f"  time per line at {largest:,} within 1.5x of {below:,}: {g:.2f}x -> "
              f"{'met' if g <= 1.5 else 'NOT met'}")
    if window is not None:
        print(f"  in the real window (load under 3 s, gestures under 100 ms): "
              f"{'met' if window.returncode == 0 else 'NOT met'}")
    for n in every:
        if n in peer and (quorvin[n]["rows_left"], quorvin[n]["holding_failures"]) != (
                peer[n]["rows_left"], peer[n]["holding_failures"]):
            print(f"  WARNING: at {n:,} lines pandas summed {peer[n]['rows_left']} rows with "
                  f"{peer[n]['holding_failures']} not covered, Quorvin "
                  f"{quorvin[n]['rows_left']} with {quorvin[n]['holding_failures']}")
    if not pandas_ok:
        print("  pandas is not installed (apt-get install python3-pandas)")
    if window is not None:
        print(f"\nThe main window at {max(sizes):,} trade lines (window_day, offscreen):")
        for line in window.stdout.strip().splitlines():
            print("  " + line)


if __name__ == "__main__":
    main()
