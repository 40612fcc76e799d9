#!/usr/bin/env bash
# A launcher starts a real Java program with a JDK of the machine: the demo
# wizard sees the launcher's values and the pass-on arguments unchanged, and
# its exit status becomes the launcher's.
source "$(dirname "$0")/common.inc"
need_lxpack
jdk=$(find_jdk)
wizard=$LX_BUILD_DIR/demo/DemoWizard.jar
[ -f "$wizard" ] || fail "the demo wizard was not built: $wizard"

jvm_description app.jvm "$jdk"
cat > launch.txt <<'SCRIPT'
DESC: Real Java
DISPLAY_CONSOLE: 1
COMMAND: """@JVM_HOME@/@JVM_EXE@"" %CP%(""""""%APPLICATION_ARCHIVE%()"""""") %SYSTEMPROP%(""lx.launcher.file"", """"""%LAUNCHER_FILE%()"""""") %SYSTEMPROP%(""lx.jvm.home"", """"""@JVM_HOME@"""""") DemoWizard run "
SCRIPT
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt application="$wizard" >/dev/null
mkdir tmp
export TMPDIR=$T/tmp

run out ./setup.bin 'a b' '$HOME' 'q"x' 'trail\' '' --exit=3 </dev/null
expect_eq "the wizard's exit status" 3 "$status"
expect_contains "greeting" "Welcome to the demo setup wizard." "$out"
expect_contains "launcher file" "lx.launcher.file = $T/./setup.bin" "$out"
expect_contains "JVM home" "lx.jvm.home = $jdk" "$out"
expect_contains "arguments byte for byte" 'arguments = [run] [a b] [$HOME] [q"x] [trail\] [] [--exit=3]' "$out"
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"
