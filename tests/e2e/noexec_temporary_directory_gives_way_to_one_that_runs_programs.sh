#!/usr/bin/env bash
# A hardened machine mounts its temporary directory noexec. When the
# launcher must run a program from its temporary files (a bundled JVM
# installer, an embedded launcher) or the launch script asks for it
# (EXEC_TEMP_DIR: 1, for wizards that unpack native code), it takes the
# next directory that allows running programs (here /tmp, after a noexec
# TMPDIR), says why in the log, and the run goes to its end; %TEMP_DIR%()
# names that directory. Nothing is left in either directory.
source "$(dirname "$0")/private_mounts.inc"
source "$(dirname "$0")/common.inc"
need_lxpack
tmpfs_at "$T/noexec" noexec
export TMPDIR=$T/noexec
moved="Temporary files go to /tmp from now on"
why="programs cannot run from $T/noexec (its file system is mounted noexec)."

# The bundled installer writes a java that tells where it was installed.
cat > installer.sh <<'SH'
#!/bin/sh
mkdir -p bin
printf '#!/bin/sh\necho "installed java runs in ${0%%/bin/java}"\nexit 6\n' > bin/java
chmod +x bin/java
printf 'DESC: Bundled\nJVM_EXE: bin/java\n' > jvm
SH
chmod +x installer.sh
printf 'DESC: App\nDISPLAY_CONSOLE: 1\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"""\n' > launch.txt
printf 'INSTRUCTIONS:\n  INSTALL_JVM 1\n  LAUNCH @S1@ 0\n/:\n' > install.txt
make_launcher install.bin instructions=install.txt launch-script=launch.txt jvm-installer=installer.sh >/dev/null
run out ./install.bin -lx:silent -lx:log "$T/install.log"
expect_eq "installer: the installed java's status" 6 "$status"
case "$out" in
  "installed java runs in /tmp/lxj"*) ;;
  *) fail "installer: the JVM was not installed in /tmp: $out" ;;
esac
expect_contains "installer: the log says why" "$moved: the JVM installer runs from it and $why" "$(cat install.log)"

# A destination the user types (mode 2) is taken as typed: on a noexec file
# system the run ends, before the installer is extracted, and says why.
printf 'INSTRUCTIONS:\n  INSTALL_JVM 2\n/:\n' > typed.txt
make_launcher typed.bin instructions=typed.txt jvm-installer=installer.sh >/dev/null
run out bash -c "echo '$T/noexec' | ./typed.bin"
expect_eq "typed destination: status" 255 "$status"
expect_contains "typed destination: the message" "The JVM installer cannot run from $T/noexec: its file system does not allow running programs. Choose a directory on another file system." "$out"

# The embedded launcher runs its own wizard, which ends with 4.
fake_jvm "$T/jvm" 'echo "inner wizard ran"; exit 4'
jvm_description inner.jvm "$T/jvm"
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/inner.jvm" > inner.txt
make_launcher inner.bin instructions=inner.txt launch-script=launch.txt >/dev/null
printf 'INSTRUCTIONS:\n  EXECUTE_LAUNCHER 1\n/:\n' > outer.txt
make_launcher outer.bin instructions=outer.txt launcher=inner.bin >/dev/null
run out ./outer.bin -lx:silent -lx:log "$T/outer.log"
expect_eq "embedded launcher: its wizard's status" 4 "$status"
expect_eq "embedded launcher: its wizard ran" "inner wizard ran" "$out"
expect_contains "embedded launcher: the log says why" "$moved: the embedded launcher runs from it and $why" \
  "$(cat outer.log)"

# A wizard that unpacks a program into %TEMP_DIR%() and runs it; its class
# path archive is extracted into the same directory.
fake_jvm "$T/wizard" 'cp /bin/true "$1/native" && "$1/native" && echo "ran a program from $1" || echo "cannot run from $1"
echo "class path in $(dirname "$(dirname "$3")")"
rm -f "$1/native"'
jvm_description wizard.jvm "$T/wizard"
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/wizard.jvm" > wizard.txt
echo app > app.jar
for key in 0 1; do
  printf 'DESC: App\nDISPLAY_CONSOLE: 1\nEXEC_TEMP_DIR: %s\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" ""%%TEMP_DIR%%()"" %%CP%%()"\n' \
    "$key" > wizard-launch.txt
  make_launcher wizard$key.bin instructions=wizard.txt launch-script=wizard-launch.txt classpath=app.jar >/dev/null
done
run out ./wizard1.bin -lx:silent -lx:log "$T/wizard.log"
expect_eq "EXEC_TEMP_DIR 1: status" 0 "$status"
expect_eq "EXEC_TEMP_DIR 1: %TEMP_DIR%() runs programs" "ran a program from /tmp
class path in /tmp" "$out"
expect_contains "EXEC_TEMP_DIR 1: the log says why" \
  "$moved: the launch script asks for it (EXEC_TEMP_DIR) and $why" "$(cat wizard.log)"
run out ./wizard0.bin -lx:silent
expect_eq "without EXEC_TEMP_DIR: TMPDIR as before" "cannot run from $T/noexec
class path in $T/noexec" "$out"

expect_eq "left in TMPDIR" "" "$(ls -A noexec)"
expect_eq "left in /tmp" "" "$(left_in /tmp)"
