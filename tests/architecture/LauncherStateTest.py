#!/usr/bin/env python3
"""The launcher's state reaches the folders below src/launcher/ only through
the run context it hands them.

The launcher's settings, its archive object and its run context are
process-wide objects behind accessors; code below the launcher that calls
one of them, or declares one of its own under the same name, depends on the
launcher again without an include showing it. Every .cpp and .h of src/
outside src/launcher/, and of tools/, fails on such a name, comments
included.

usage: LauncherStateTest.py SOURCE_ROOT
"""
import os
import re
import sys

# The launcher's accessors, and the global verification runner that the run
# context replaced.
ACCESSOR = re.compile(r"\b(settings|launcherFile|runContext|verificationRunner|setVerificationRunner)\s*\(")
ALLOWED = os.path.join("src", "launcher")


def problems(root):
    found = []
    for top in ("src", "tools"):
        for directory, _, files in os.walk(os.path.join(root, top)):
            relative = os.path.relpath(directory, root)
            if relative == ALLOWED or relative.startswith(ALLOWED + os.sep):
                continue
            for name in sorted(files):
                if not name.endswith((".cpp", ".h")):
                    continue
                path = os.path.join(directory, name)
                with open(path, encoding="utf-8") as source:
                    for number, line in enumerate(source, 1):
                        match = ACCESSOR.search(line)
                        if match:
                            found.append("%s:%d reaches the launcher's state through %s(); hand it the run context"
                                         % (os.path.relpath(path, root), number, match.group(1)))
    return found


def main():
    found = problems(sys.argv[1])
    for problem in found:
        print("FAIL: " + problem)
    if found:
        return 1
    print("no folder below src/launcher/ reaches the launcher's state but through the run context")
    return 0


if __name__ == "__main__":
    sys.exit(main())
