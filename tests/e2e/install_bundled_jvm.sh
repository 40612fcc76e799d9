#!/usr/bin/env bash
# INSTALL_JVM runs the installer carried in the archive in a fresh directory,
# completes the jvm description it leaves there and hands it to LAUNCH; the
# INSTALL_JVM action of an input file does the same for a calling program.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp

# The installer writes a JVM (a stand-in java) and its description into the
# directory it runs in.
cat > installer.sh <<'SH'
#!/bin/sh
mkdir -p bin
printf '#!/bin/sh\necho "installed java $*"\nexit 6\n' > bin/java
chmod +x bin/java
printf 'DESC: Bundled\nJVM_EXE: bin/java\n' > jvm
echo "installer ran in $(pwd)"
SH
chmod +x installer.sh
printf 'DESC: App\nDISPLAY_CONSOLE: 1\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" temp=@JVM_TEMP@ "\n' > launch.txt
cat > instructions.txt <<'SCRIPT'
INSTRUCTIONS:
  INSTALL_JVM 0
  JMP0 @N1@ NONE
  LAUNCH @S1@ 0
  GOTO DONE
  :NONE
  SET N2 = not-installed
  :DONE
/:
SCRIPT
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt jvm-installer=installer.sh >/dev/null
run out ./setup.bin -lx:log "$T/install.log"
expect_eq "launched with the installed JVM" 6 "$status"
expect_contains "JVM_TEMP of an installed JVM" "installed java temp=1" "$out"
case "$out" in *"installer ran"*) fail "the installer's output was not captured: $out" ;; esac
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"

# Without an installer in the archive the script fails with the catalogue text.
make_launcher none.bin instructions=instructions.txt launch-script=launch.txt >/dev/null
run out ./none.bin
expect_eq "no installer" "App
No JVM installer was included in the launcher." "$out"
expect_eq "no installer status" 255 "$status"

# An installer that leaves no description: N1 stays 0 and the error is logged.
printf '#!/bin/sh\ntrue\n' > empty-installer.sh
make_launcher empty.bin instructions=instructions.txt launch-script=launch.txt jvm-installer=empty-installer.sh >/dev/null
run out ./empty.bin -lx:log "$T/empty.log"
expect_contains "no jvm file: the script went on to its label" "Invalid numeric expression in not-installed" "$out"
grep -qx "ERROR: Invalid bundled JVM. Missing 'jvm' file." empty.log || fail "missing jvm file not logged"

# The INSTALL_JVM action: the answer is the path of the completed description.
mkdir dest
printf 'ACTION: INSTALL_JVM\nINSTALL_JVM_EXE: %s\nINSTALL_JVM_DEST: %s\n' "$T/installer.sh" "$T/dest" > action.tag
run out ./none.bin -lx:silent -lx:in action.tag
expect_eq "action status" 0 "$status"
# The installer writes to the same standard output; the answer is the last line.
expect_eq "installer output, then the answer" "installer ran in $T/dest
$T/dest/jvm" "$out"
grep -qx "JVM_HOME:  $T/dest" dest/jvm || fail "JVM_HOME not written: $(cat dest/jvm)"
grep -qx "JVM_FILE:  $T/dest/jvm" dest/jvm || fail "JVM_FILE not written"
grep -qx "JVM_TEMP:  0" dest/jvm || fail "JVM_TEMP not 0"
