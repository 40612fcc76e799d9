#!/usr/bin/env bash
# On a terminal lxpack keys asks for the password twice and lxpack sign
# once, never showing what is typed, and the terminal echoes again
# afterwards; two passwords that differ make no key. Run on a real
# pseudo-terminal; what is typed is sent only after its prompt shows.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/signing.inc"

# on_terminal COMMAND PROMPT ANSWER...: runs COMMAND (a shell command line)
# on a new terminal, types each ANSWER after its PROMPT appears; prints what
# the terminal showed and ends with COMMAND's status.
cat > terminal.py <<'PY'
import os, pty, select, sys, time
command, pairs = sys.argv[1], sys.argv[2:]
pid, fd = pty.fork()
if pid == 0:
    os.execvp("bash", ["bash", "-c", command])
shown = b""
seen = 0

def read_some(deadline):
    global shown
    ready, _, _ = select.select([fd], [], [], max(0, deadline - time.monotonic()))
    if not ready:
        return False
    try:
        data = os.read(fd, 4096)
    except OSError:
        data = b""
    shown += data
    return bool(data)

for prompt, answer in zip(pairs[0::2], pairs[1::2]):
    deadline = time.monotonic() + 120
    while prompt.encode() not in shown[seen:]:
        if time.monotonic() > deadline or not read_some(deadline):
            sys.stdout.write(shown.decode(errors="replace"))
            sys.exit("no prompt %r within two minutes" % prompt)
    seen = shown.index(prompt.encode(), seen) + len(prompt)
    os.write(fd, answer.encode() + b"\n")
deadline = time.monotonic() + 300
while read_some(deadline):
    pass
_, status = os.waitpid(pid, 0)
sys.stdout.write(shown.decode(errors="replace"))
sys.exit(os.waitstatus_to_exitcode(status))
PY
on_terminal() {
  python3 terminal.py "$@"
}

# Two passwords that differ: no key, and the terminal echoes again.
run out on_terminal "'$LXPACK' keys -o differ; echo status=\$?; stty -a" \
  "Password: " "first secret" "Password (again): " "second secret"
expect_contains "the terminal" "the two passwords differ; no key written" "$out"
expect_contains "the terminal" "status=1" "$out"
[[ "$out" == *"first secret"* || "$out" == *"second secret"* ]] && fail "the terminal showed a password: $out"
grep -qE '(^|[ ;])echo( |;|$)' <<< "${out#*status=1}" || fail "echo is off after lxpack keys: $out"
[ ! -e differ.key ] && [ ! -e differ.pub ] || fail "keys wrote a key with two different passwords"

# The same password twice: a sealed key, which lxpack sign opens with it.
run out on_terminal "'$LXPACK' keys -o typed" \
  "Password: " "typed secret" "Password (again): " "typed secret"
expect_eq "keys on a terminal: status ($out)" 0 "$status"
[[ "$out" == *"typed secret"* ]] && fail "the terminal showed the password: $out"
expect_eq "the secret key's comment" "untrusted comment: minisign encrypted secret key" "$(head -n 1 typed.key)"
launcher_file setup.bin
run out on_terminal "'$LXPACK' sign -k typed.key setup.bin" "Password for typed.key: " "typed secret"
expect_eq "sign on a terminal: status ($out)" 0 "$status"
[[ "$out" == *"typed secret"* ]] && fail "the terminal showed the password: $out"
run out minisign -Vm setup.bin -p typed.pub
expect_eq "minisign -V of what lxpack signed with the typed password ($out $(cat "$T/.stderr"))" 0 "$status"
