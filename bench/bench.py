#!/usr/bin/env python3
"""Times commands the way the benchmark reports them: cold process, warm page cache, the
median wall time of N runs, and the peak resident set size of the child process.

    bench.py --runs 5 --label NAME -- COMMAND...

Prints one tab-separated line: label, median seconds, min seconds, peak RSS in MB, output lines.
"""
import argparse
import os
import statistics
import subprocess
import sys
import time


def run_once(command):
    start = time.perf_counter()
    proc = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
    lines = sum(1 for _ in proc.stdout)
    _, status, usage = os.wait4(proc.pid, 0)
    elapsed = time.perf_counter() - start
    code = os.waitstatus_to_exitcode(status)
    return elapsed, usage.ru_maxrss / 1024.0, lines, code


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("--label", required=True)
    parser.add_argument("--ok-codes", default="0,1")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    ok = {int(c) for c in args.ok_codes.split(",")}
    run_once(command)  # warms the page cache
    times, peak, lines = [], 0.0, 0
    for _ in range(args.runs):
        elapsed, rss, lines, code = run_once(command)
        if code not in ok:
            sys.exit(f"{args.label}: exit status {code}")
        times.append(elapsed)
        peak = max(peak, rss)
    print(f"{args.label}\t{statistics.median(times):.3f}\t{min(times):.3f}\t{peak:.1f}\t{lines}")


if __name__ == "__main__":
    main()
