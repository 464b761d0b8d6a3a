#!/usr/bin/env python3
"""The pay-in day side by side: the program, the old tool's algorithms and a
pandas script, on the same generated files, in one run.

    bench/compare_day.py [--build DIR] [--data DIR] [--sizes 10000,100000,1000000]
                         [--old-sizes 5000,10000,20000] [--repeat 3] [--no-build]

Builds gen_day and day_pipeline in release mode, writes the days that are not
there yet, checks at every size the old algorithms can do that both pipelines
leave the same grid, boxes, holding message, report and file, then times
each pipeline (best of --repeat runs) and prints one table. The old
algorithms' time beyond the sizes they are run at is extrapolated step by
step from their measured growth. Times are CPU seconds of the process (user +
system): on a shared machine the wall clock also counts other people's work.
"""
import argparse
import math
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


def best(command, repeat):
    runs = [parse(run(["nice", "-n", "5"] + command)) for _ in range(repeat)]
    return min(runs, key=lambda r: r["cpu"])


def growth(points):
    """Least-squares slope of log(time) over log(size); never below 1."""
    xs = [math.log(n) for n, t in points if t > 0]
    ys = [math.log(t) for n, t in points if t > 0]
    if len(xs) < 2:
        return 1.0
    mx, my = sum(xs) / len(xs), sum(ys) / len(ys)
    slope = sum((x - mx) * (y - my) for x, y in zip(xs, ys)) / sum((x - mx) ** 2 for x in xs)
    return max(1.0, slope)


def extrapolate(old, lines):
    """Sum over steps of the largest measured time scaled by the step's growth."""
    sizes = sorted(old)
    largest = sizes[-1]
    total, exponents = 0.0, {}
    for k, (name, _, _) in enumerate(old[largest]["steps"][1:], start=1):
        points = [(n, old[n]["steps"][k][2]) for n in sizes]
        exponents[name] = growth(points)
        total += old[largest]["steps"][k][2] * (lines / largest) ** exponents[name]
    return total, exponents


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
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--no-build", action="store_true")
    args = parser.parse_args()
    sizes = [int(s) for s in args.sizes.split(",")]
    old_sizes = [int(s) for s in args.old_sizes.split(",")]
    every = sorted(set(sizes) | set(old_sizes))

    if not args.no_build:
        build(args.build)
    pipeline = os.path.join(args.build, "bench", "day_pipeline")
    folders = {n: day_folder(args.data, args.build, n) for n in every}

    for n in old_sizes:  # a difference ends the run: its figures would mean nothing
        print(run([pipeline, folders[n], "--verify"]).strip(), flush=True)

    quorvin, old, peer = {}, {}, {}
    for n in every:
        quorvin[n] = best([pipeline, folders[n], "--tsv"], args.repeat)
    for n in old_sizes:
        old[n] = best([pipeline, folders[n], "--transcription", "--tsv"], args.repeat)
    pandas_ok = subprocess.run([PANDAS_PYTHON, "-c", "import pandas"],
                               stderr=subprocess.DEVNULL).returncode == 0
    if pandas_ok:
        script = os.path.join(ROOT, "bench", "peers", "pandas_day.py")
        for n in every:
            peer[n] = best([PANDAS_PYTHON, script, folders[n]], args.repeat)

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
    _, exponents = extrapolate(old, largest)
    print("\nThe old algorithms' measured growth per step (time ~ lines^k, k at least 1):")
    for name, k in exponents.items():
        print(f"  {name:<44} k = {k:.2f}")

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
    for n in every:
        if n in peer and (quorvin[n]["rows_left"], quorvin[n]["holding_failures"]) != (
                peer[n]["rows_left"], peer[n]["holding_failures"]):
            print(f"  WARNING: at {n:,} lines pandas summed {peer[n]['rows_left']} rows with "
                  f"{peer[n]['holding_failures']} not covered, Quorvin "
                  f"{quorvin[n]['rows_left']} with {quorvin[n]['holding_failures']}")
    if not pandas_ok:
        print("  pandas is not installed (apt-get install python3-pandas)")


if __name__ == "__main__":
    main()
