#!/usr/bin/env python3
"""Builds the tree the walk benchmark searches: DIRS directories (fan-out
10, so a few levels deep) holding FILES empty files spread evenly, with a
Java home (jre/bin/java) in every thousandth directory, counted in both
totals. usage: make_tree.py ROOT DIRS FILES"""
import os
import sys


def main():
    root, dirs, files = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
    homes = max(1, dirs // 1000)
    plain_dirs = dirs - 2 * homes  # each home adds jre and jre/bin
    plain_files = files - homes
    os.mkdir(root)
    paths = [root]
    for i in range(1, plain_dirs + 1):
        path = os.path.join(paths[(i - 1) // 10], "d%d" % i)
        os.mkdir(path)
        paths.append(path)
    for j in range(plain_files):
        open(os.path.join(paths[1 + j % plain_dirs], "f%d" % j), "w").close()
    for k in range(homes):
        bin_dir = os.path.join(paths[1 + (k * 1000) % plain_dirs], "jre", "bin")
        os.makedirs(bin_dir)
        open(os.path.join(bin_dir, "java"), "w").close()
    print(homes)


main()
