#!/usr/bin/env python3
"""The folders of src/ and tools/ use each other only as ARCHITECTURE.md says.

Reads every #include "folder/..." of the sources and compares the folder
edges they make with the "uses" column of ARCHITECTURE.md's table: an edge
in the code that the table does not list fails, and so does a listed edge
that the code no longer has, a folder without a row, and two folders that
use each other without being named as a seam.

usage: IncludeEdgesTest.py SOURCE_ROOT
"""
import os
import re
import sys

INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"/]+)/[^"]*"')
ROW = re.compile(r"^\|\s*`((?:src|tools)/[^`]+?)/?`\s*\|.*\|\s*([^|]*?)\s*\|\s*$")
SEAM = re.compile(r"^\|\s*([a-z]+),\s*([a-z]+)\s*\|")


def folder_name(path):
    """'src/jvm' -> 'jvm', 'tools/lxpack' -> 'tools/lxpack'."""
    return path[len("src/"):] if path.startswith("src/") else path


def listed_uses(architecture):
    uses, seams, in_seams = {}, set(), False
    for line in architecture.splitlines():
        if line.startswith("Seams"):
            in_seams = True
        row = ROW.match(line)
        if row and not in_seams:
            names = [] if row.group(2) in ("nothing", "") else [n.strip() for n in row.group(2).split(",")]
            uses[folder_name(row.group(1))] = set(names)
        seam = SEAM.match(line) if in_seams else None
        if seam:
            seams.add(frozenset(seam.groups()))
    return uses, seams


def code_edges(root):
    src_folders = {d for d in os.listdir(os.path.join(root, "src")) if os.path.isdir(os.path.join(root, "src", d))}
    edges, folders = {}, set()
    for top in ("src", "tools"):
        for directory, _, files in os.walk(os.path.join(root, top)):
            relative = os.path.relpath(directory, root).split(os.sep)
            if len(relative) < 2:
                continue
            folder = folder_name("/".join(relative[:2]))
            folders.add(folder)
            for name in files:
                if not name.endswith((".cpp", ".h")):
                    continue
                with open(os.path.join(directory, name), encoding="utf-8") as source:
                    for number, line in enumerate(source, 1):
                        match = INCLUDE.match(line)
                        if match and match.group(1) in src_folders and match.group(1) != folder:
                            where = "%s:%d" % (os.path.relpath(os.path.join(directory, name), root), number)
                            edges.setdefault((folder, match.group(1)), where)
    return edges, folders


def problems(root):
    with open(os.path.join(root, "ARCHITECTURE.md"), encoding="utf-8") as f:
        uses, seams = listed_uses(f.read())
    edges, folders = code_edges(root)
    found = []
    for folder in sorted(folders - set(uses)):
        found.append("folder %s has no row in ARCHITECTURE.md" % folder)
    for (user, used), where in sorted(edges.items()):
        if used not in uses.get(user, set()):
            found.append("%s uses %s (%s), which ARCHITECTURE.md does not list" % (user, used, where))
    for user in sorted(uses):
        for used in sorted(uses[user]):
            if (user, used) not in edges:
                found.append("ARCHITECTURE.md lists %s -> %s, which no #include makes" % (user, used))
    for user, used in sorted(edges):
        if user < used and (used, user) in edges and frozenset((user, used)) not in seams:
            found.append("%s and %s use each other without a seam in ARCHITECTURE.md" % (user, used))
    for seam in sorted(seams, key=sorted):
        a, b = sorted(seam)
        if not ((a, b) in edges and (b, a) in edges):
            found.append("the seam %s, %s is no longer a two-way tie: remove it from ARCHITECTURE.md" % (a, b))
    return found, len(edges)


def main():
    found, count = problems(sys.argv[1])
    for problem in found:
        print("FAIL: " + problem)
    if found:
        return 1
    print("%d folder edges, all as ARCHITECTURE.md lists them" % count)
    return 0


if __name__ == "__main__":
    sys.exit(main())
