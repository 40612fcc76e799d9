#!/usr/bin/env python3
"""Runs a command REPEATS times with its output discarded and prints the
best wall time in seconds. usage: best_time.py REPEATS COMMAND..."""
import subprocess
import sys
import time

repeats, command = int(sys.argv[1]), sys.argv[2:]
best = None
for _ in range(repeats):
    start = time.perf_counter()
    subprocess.run(command, stdout=subprocess.DEVNULL, check=True)
    elapsed = time.perf_counter() - start
    best = elapsed if best is None else min(best, elapsed)
print("%.6f" % best)
