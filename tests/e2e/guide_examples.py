"""Runs the examples marked in the packaging guide (see the comment at the
top of docs/packaging.md for the marking).

Every example has a directory of its own, with `demo` linked to the demo's
sources and `build` a directory of links to the build's files (`build/demo`
one of links to the built demo's files), so the guide's command lines run as
they are written from the project's root, and one that writes a launcher
into build/ (lxpack renames it into place) replaces a link, never the build's
own file. Files are written, and command blocks run, in the order the guide
shows them.
"""
import os
import re
import subprocess
import sys

MARKER = re.compile(r"^<!-- example-(file|run): (\S+)((?: \S+=\S+)*) -->$")
FENCE = re.compile(r"^(\s*)```")
TIMEOUT = 300


def blocks(guide):
    """(line number, kind, example, options, lines of the fenced block)."""
    lines = open(guide, encoding="utf-8").read().split("\n")
    i = 0
    while i < len(lines):
        m = MARKER.match(lines[i].strip())
        i += 1
        if not m:
            continue
        where = i
        if i >= len(lines) or not FENCE.match(lines[i]):
            raise SystemExit(f"{guide}:{where}: the marker is not followed by a fenced block")
        indent = len(FENCE.match(lines[i]).group(1))
        i += 1
        body = []
        while i < len(lines) and not FENCE.match(lines[i]):
            body.append(lines[i][indent:])
            i += 1
        i += 1
        options = dict(o.split("=", 1) for o in m.group(3).split())
        yield where, m.group(1), m.group(2), options, body


def commands(body):
    """(command, expected output lines) for a console block with $ prompts;
    a block without prompts is all commands."""
    prompted = any(l.startswith("$ ") for l in body)
    result = []
    pending = None
    for line in body:
        if pending is not None:
            result[-1][0] += "\n" + line
            pending = line.endswith("\\") or None
            continue
        if prompted and line.startswith("$ "):
            result.append([line[2:], []])
            pending = line.endswith("\\") or None
        elif not prompted and line.strip() and not line.lstrip().startswith("#"):
            result.append([line, []])
            pending = line.endswith("\\") or None
        elif prompted and result:
            result[-1][1].append(line)
    return result


def example_dir(root, name, build, source):
    path = os.path.join(root, name)
    if not os.path.isdir(path):
        os.makedirs(path)
        for here, there in ((os.path.join(path, "build"), build),
                            (os.path.join(path, "build", "demo"), os.path.join(build, "demo"))):
            os.makedirs(here, exist_ok=True)
            for entry in os.listdir(there):
                if not (here == os.path.join(path, "build") and entry == "demo"):
                    os.symlink(os.path.join(there, entry), os.path.join(here, entry))
        os.symlink(os.path.join(source, "demo"), os.path.join(path, "demo"))
    return path


def matches(want, line):
    """A line shown matches a line of output that is the same, "..." in it
    (with the blanks around it) standing for any text: a line ending in
    "..." matches any line that starts with the text before it, and a
    column shown as "..." any value, however wide."""
    if "..." not in want:
        return line == want
    pattern = ".*".join(re.escape(part) for part in re.split(r" *\.\.\. *", want))
    return re.fullmatch(pattern, line, re.S) is not None


def check_output(where, command, mode, expected, actual):
    shown = [l.rstrip() for l in expected]
    got = [l.rstrip() for l in actual.split("\n")]
    while got and got[-1] == "":
        got.pop()
    if mode == "none":
        return None
    if mode == "exact":
        same = len(shown) == len(got) and all(matches(w, l) for w, l in zip(shown, got))
        return None if same else "differs"
    # lines: every line the guide shows appears in the output, in order; a
    # line "..." stands for lines the guide leaves out, and "..." in a line
    # for any text.
    at = 0
    for line in shown:
        if line == "...":
            continue
        while at < len(got) and not matches(line, got[at]):
            at += 1
        if at == len(got):
            return f"has no line {line!r} (in this order)"
        at += 1
    return None


def main(guide, root, build, source):
    failures = []
    ran = 0
    env = dict(os.environ, LANG="C", LC_ALL="", TMPDIR=os.path.join(root, "tmp"))
    # A failing example must not open a dialog on the developer's desktop
    # and wait for it to be closed.
    env.pop("DISPLAY", None)
    env.pop("WAYLAND_DISPLAY", None)
    os.makedirs(env["TMPDIR"], exist_ok=True)
    for where, kind, name, options, body in blocks(guide):
        directory = example_dir(root, name, build, source)
        if kind == "file":
            path = os.path.join(directory, options.get("name", ""))
            if "name" not in options:
                failures.append(f"{guide}:{where}: example-file needs name=FILE")
                continue
            os.makedirs(os.path.dirname(path), exist_ok=True)
            with open(path, "w", encoding="utf-8") as f:
                f.write("\n".join(body) + "\n")
            if "same" in options:
                # The block shows a file of the project (the demo's): line
                # for line the same, "..." in a line standing for any text.
                with open(os.path.join(directory, options["same"]), encoding="utf-8") as f:
                    real = f.read().split("\n")
                if real[-1] == "":
                    real.pop()
                if len(real) != len(body) or not all(matches(w, l) for w, l in zip(body, real)):
                    failures.append(f"{guide}:{where}: [{name}] the block is not {options['same']}:\n"
                                    + "\n".join(body) + f"\n--- {options['same']} is ---\n" + "\n".join(real))
            continue
        missing = [p for p in options.get("needs", "").split(",") if p and not os.path.exists(os.path.join(directory, p))]
        if missing:
            # Programs this build or machine may lack (build/lxlauncher-aarch64
            # needs a cross compiler, /usr/bin/qemu-aarch64 qemu-user): said,
            # not passed over in silence.
            print(f"{guide}:{where}: [{name}] not run: there is no {' and no '.join(missing)}")
            continue
        before = set(os.listdir(env["TMPDIR"]))
        want_status = int(options.get("status", "0"))
        mode = options.get("output", "lines")
        listed = commands(body)
        for n, (command, expected) in enumerate(listed):
            ran += 1
            last = n == len(listed) - 1
            try:
                done = subprocess.run(["bash", "-c", command], cwd=directory, env=env, stdin=subprocess.DEVNULL,
                                      stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=TIMEOUT)
            except subprocess.TimeoutExpired:
                failures.append(f"{guide}:{where}: [{name}] {command!r} did not end within {TIMEOUT} s")
                break
            output = done.stdout.decode("utf-8", "replace")
            status = want_status if last else 0
            if done.returncode != status:
                failures.append(f"{guide}:{where}: [{name}] {command!r} ended with {done.returncode}, "
                                f"not {status}:\n{output}")
                break
            problem = check_output(where, command, mode, expected, output)
            if problem:
                failures.append(f"{guide}:{where}: [{name}] the output of {command!r} {problem}:\n"
                                f"--- the guide shows ---\n" + "\n".join(expected) + f"\n--- it was ---\n{output}")
                break
        if options.get("tmp") == "kept":
            # Files the guide says outlive the launcher (the answers of
            # SEARCH); the caller would remove them.
            for entry in set(os.listdir(env["TMPDIR"])) - before:
                os.remove(os.path.join(env["TMPDIR"], entry))
    if ran == 0:
        failures.append(f"{guide}: no marked example ran")
    leftovers = os.listdir(env["TMPDIR"])
    if leftovers:
        failures.append(f"temporary files left behind by the examples: {leftovers}")
    for failure in failures:
        print("FAIL:", failure, file=sys.stderr)
    print(f"{ran} commands of the guide ran")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
