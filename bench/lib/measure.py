#!/usr/bin/env python3
"""Whole-process timings of commands run in turn.

usage: measure.py RUNS COMMAND ::: COMMAND ...

Each command runs once unmeasured (it warms the page cache and the binary), then RUNS times, the commands
alternating (A B C A B C ...), so that a drift of the machine's speed touches all of them alike. Standard
output and error go to /dev/null. Prints one line per command:
    median_wall_seconds median_wall_ratio median_cpu_seconds median_cpu_ratio peak_rss_kib exit_status
where a ratio is taken run by run against the first command's run of the same round, cpu is user + system
time, and the peak is the largest resident set of any measured run (from the kernel's accounting of the
finished child). On a busy machine the wall times include waiting for a processor; the cpu times do not.
"""
import os
import statistics
import subprocess
import sys
import time


def run(argv):
    start = time.perf_counter()
    child = subprocess.Popen(argv, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    seconds = time.perf_counter() - start
    child.returncode = os.waitstatus_to_exitcode(status)
    return seconds, usage.ru_utime + usage.ru_stime, usage.ru_maxrss, child.returncode


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

    for argv in commands:
        run(argv)
    times = [[] for _ in commands]
    cpus = [[] for _ in commands]
    peaks = [0 for _ in commands]
    status = [0 for _ in commands]
    for _ in range(runs):
        for i, argv in enumerate(commands):
            seconds, cpu, rss, code = run(argv)
            times[i].append(seconds)
            cpus[i].append(cpu)
            peaks[i] = max(peaks[i], rss)
            status[i] = status[i] or code
    for i in range(len(commands)):
        ratio = statistics.median(t / b for t, b in zip(times[i], times[0]))
        cpu_ratio = statistics.median(t / max(b, 1e-6) for t, b in zip(cpus[i], cpus[0]))
        print(f"{statistics.median(times[i]):.6f} {ratio:.4f} {statistics.median(cpus[i]):.6f} {cpu_ratio:.4f} "
              f"{peaks[i]} {status[i]}")


if __name__ == "__main__":
    main()
