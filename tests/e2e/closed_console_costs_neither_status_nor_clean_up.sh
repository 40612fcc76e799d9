#!/usr/bin/env bash
# The launcher's output piped into a program that stops reading
# (setup.bin | head -1): writing to the closed pipe does not kill the
# launcher. It stops writing to the console, removes its temporary files
# and ends with the status of the run; the programs it starts get SIGPIPE
# as usual.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp

# The wizard waits until head has surely gone, notes whether it ignores
# SIGPIPE, and fails with an error output that the launcher then prints.
fake_jvm "$T/jvm" "sleep 1; grep SigIgn /proc/\$\$/status > '$T/sigign'; echo 'it failed' >&2; exit 3"
jvm_description app.jvm "$T/jvm"
printf 'DESC: App\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" %%CP%%() Main"\n' > launch.txt
printf 'INSTRUCTIONS:\n  INITIALIZE_UI\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
echo app > app.jar
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt classpath=app.jar >/dev/null

set +e
first=$(./setup.bin -lx:log "$T/run.log" | head -1)
statuses=("${PIPESTATUS[@]}")
set -e
[ -n "$first" ] || fail "head read nothing"
expect_eq "status of the launcher" 3 "${statuses[0]}"
[ -z "$(ls -A tmp)" ] || fail "left in TMPDIR: $(ls -A tmp)"
ignored=$(awk '{print $2}' sigign)
(( (16#$ignored & 0x1000) == 0 )) || fail "the wizard was started with SIGPIPE ignored ($ignored)"
