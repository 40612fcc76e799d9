#!/usr/bin/env python3
"""Start to exit of `PROGRAM -lx:version`, for the static program against
the dynamic one: rounds of 200 starts each, the two taking turns so that
both meet the same machine load; the best round of each counts.

usage: start_time.py STATIC DYNAMIC
"""
import os
import sys
import time

ROUNDS = 7
STARTS = 200
LIMIT = 1.0


def round_time(program):
    devnull = os.open(os.devnull, os.O_WRONLY)
    start = time.perf_counter()
    for _ in range(STARTS):
        pid = os.posix_spawn(program, [program, "-lx:version"], os.environ,
                             file_actions=[(os.POSIX_SPAWN_DUP2, devnull, 1)])
        _, status = os.waitpid(pid, 0)
        if os.waitstatus_to_exitcode(status) != 0:
            sys.exit(f"{program} -lx:version failed")
    elapsed = time.perf_counter() - start
    os.close(devnull)
    return elapsed / STARTS


def main():
    static, dynamic = sys.argv[1], sys.argv[2]
    best = {static: float("inf"), dynamic: float("inf")}
    for _ in range(ROUNDS):
        for program in (static, dynamic):
            best[program] = min(best[program], round_time(program))
    ratio = best[static] / best[dynamic]
    print(f"start to -lx:version exit: static {best[static] * 1000:.2f} ms, "
          f"dynamic {best[dynamic] * 1000:.2f} ms, ratio {ratio:.2f} (limit {LIMIT})")
    return 0 if ratio <= LIMIT else 1


if __name__ == "__main__":
    sys.exit(main())
