#!/usr/bin/env python3
"""Whole-process timings of commands run in turn.

usage: measure.py RUNS COMMAND ::: COMMAND ...

Each command runs once unmeasured (it warms the page cache and the binary), then RUNS times, the commands
alternating (A B C A B C ...), so that a drift of the machine's speed touches all of them alike. Standard
output and error go to /dev/null. Prints one line per command:
    median_wall_seconds median_wall_ratio median_cpu_seconds median_cpu_ratio peak_rss_kib exit_status
where a ratio is taken run by run against the first command's run of the same round, cpu is user + system
time, and the peak is the resident set of the unmeasured run, taken by /usr/bin/time (0 without it). The
kernel's accounting of a child of this script would not do: a forked child keeps the peak of the Python
process it was forked from across its exec, about 14 MB, more with a long argument list. On a busy
machine the wall times include waiting for a processor; the cpu times do not.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

GNU_TIME = "/usr/bin/time"


def run(argv):
    start = time.perf_counter()
    child = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    seconds = time.perf_counter() - start
    child.returncode = os.waitstatus_to_exitcode(status)
    return seconds, usage.ru_utime + usage.ru_stime, child.returncode


def peak_rss_kib(argv):
    """Peak resident set of one run, measured by a small parent of the command's own."""
    if not os.access(GNU_TIME, os.X_OK):
        run(argv)
        return 0
    with tempfile.NamedTemporaryFile("r") as out:
        run([GNU_TIME, "-q", "-f", "%M", "-o", out.name] + argv)
        text = out.read().strip().splitlines()
    return int(text[-1]) if text and text[-1].isdigit() else 0


def main():
    runs = int(sys.argv[1])
    commands, current = [], []
    for word in sys.argv[2:]:
        if word == ":::":
            commands.append(current)
            current = []
        else:
            current.append(word)
    commands.append(current)

    peaks = [peak_rss_kib(argv) for argv in commands]
    times = [[] for _ in commands]
    cpus = [[] for _ in commands]
    status = [0 for _ in commands]
    for _ in range(runs):
        for i, argv in enumerate(commands):
            seconds, cpu, code = run(argv)
            times[i].append(seconds)
            cpus[i].append(cpu)
            status[i] = status[i] or code
    for i in range(len(commands)):
        ratio = statistics.median(t / b for t, b in zip(times[i], times[0]))
        cpu_ratio = statistics.median(t / max(b, 1e-6) for t, b in zip(cpus[i], cpus[0]))
        print(f"{statistics.median(times[i]):.6f} {ratio:.4f} {statistics.median(cpus[i]):.6f} {cpu_ratio:.4f} "
              f"{peaks[i]} {status[i]}")


if __name__ == "__main__":
    main()
