#!/usr/bin/env python3
"""Runs commands in turn, REPEATS rounds, with their output discarded, and
prints the best wall time of each in seconds, one per line. Taking turns
lets every command meet the same load of a shared machine.
usage: best_times.py REPEATS COMMAND... [-- COMMAND...]..."""
import subprocess
import sys
import time

repeats = int(sys.argv[1])
commands = [[]]
for arg in sys.argv[2:]:
    if arg == "--":
        commands.append([])
    else:
        commands[-1].append(arg)
best = [None] * len(commands)
for _ in range(repeats):
    for i, command in enumerate(commands):
        start = time.perf_counter()
        subprocess.run(command, stdout=subprocess.DEVNULL, check=True)
        elapsed = time.perf_counter() - start
        best[i] = elapsed if best[i] is None else min(best[i], elapsed)
for seconds in best:
    print("%.6f" % seconds)
