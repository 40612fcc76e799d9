#!/usr/bin/env bash
# A GUI wizard cannot open a window without a display, nor on a headless
# JVM: the launch script's CONSOLE_MODE_ARGS then come before the user's
# arguments, so that a wizard with a console mode starts in it, and the log
# says which case applied. With a display and a JVM that has AWT's windowing
# library the wizard gets the user's arguments alone.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp
wizard=$LX_BUILD_DIR/demo/DemoWizard.jar
[ -f "$wizard" ] || fail "the demo wizard was not built: $wizard"
jdk17=
for d in /usr/lib/jvm/java-17-openjdk-*/ /usr/lib/jvm/*17*/; do
  d=${d%/}
  if [ ! -L "$d" ] && [ -x "$d/bin/java" ] && [ -f "$d/lib/libawt_xawt.so" ]; then jdk17=$d; break; fi
done
[ -n "$jdk17" ] || fail "no JDK 17 with lib/libawt_xawt.so under /usr/lib/jvm (scripts/install-deps installs openjdk-17-jre)"

cat > launch.txt <<'SCRIPT'
DESC: Console Mode
DISPLAY_CONSOLE: 1
CONSOLE_MODE_ARGS: -console "text mode"
COMMAND: """@JVM_HOME@/@JVM_EXE@"" %CP%(""""""%APPLICATION_ARCHIVE%()"""""") DemoWizard run "
SCRIPT
jvm_description jdk17.jvm "$jdk17"
printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/jdk17.jvm" > instructions.txt
make_launcher real.bin instructions=instructions.txt launch-script=launch.txt application="$wizard" >/dev/null

# A real launch: display variables | the arguments the wizard got | the log's reason
cases=(
  "|[run] [-console] [text mode] [user arg]|No display (neither DISPLAY nor WAYLAND_DISPLAY is set): the launch script's CONSOLE_MODE_ARGS go before the arguments."
  "DISPLAY= WAYLAND_DISPLAY=|[run] [-console] [text mode] [user arg]|No display (neither DISPLAY nor WAYLAND_DISPLAY is set)"
  "DISPLAY=:0|[run] [user arg]|A display is there and the JVM can open windows: the launch script's CONSOLE_MODE_ARGS are not used."
  "WAYLAND_DISPLAY=wayland-0|[run] [user arg]|A display is there and the JVM can open windows"
)
for c in "${cases[@]}"; do
  IFS='|' read -r display want logged <<<"$c"
  rm -f real.log
  run out env $display ./real.bin -lx:log real.log 'user arg' </dev/null
  expect_eq "JDK 17 with [$display]: status" 0 "$status"
  expect_contains "JDK 17 with [$display]: the wizard's arguments" "arguments = $want" "$out"
  expect_contains "JDK 17 with [$display]: the log" "$logged" "$(cat real.log)"
done

# Stand-in homes, one headless and one that can open windows, both with a
# display: only the headless one gets the words.
fake_jvm "$T/headless" 'for a in "$@"; do printf "[%s] " "$a"; done'
fake_jvm "$T/headful" 'for a in "$@"; do printf "[%s] " "$a"; done'
mkdir -p "$T/headful/lib" && : > "$T/headful/lib/libawt_xawt.so"
printf 'DISPLAY_CONSOLE: 1\nCONSOLE_MODE_ARGS: -console\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" run"\n' > stand-in-launch.txt
for home in headless headful; do
  jvm_description "$home.jvm" "$T/$home"
  printf 'INSTRUCTIONS:\n  LAUNCH "%s" 0\n/:\n' "$T/$home.jvm" > "$home-instructions.txt"
  make_launcher "$home.bin" instructions="$home-instructions.txt" launch-script=stand-in-launch.txt >/dev/null
done
run out env DISPLAY=:0 ./headless.bin -lx:log headless.log 'user arg' </dev/null
expect_eq "headless home with a display" "[run] [-console] [user arg] " "$out"
expect_contains "headless home: the log" "The JVM $T/headless cannot open windows (it has no libawt_xawt.so): the launch script's CONSOLE_MODE_ARGS go before the arguments." "$(cat headless.log)"
run out env DISPLAY=:0 ./headful.bin 'user arg' </dev/null
expect_eq "home with the windowing library and a display" "[run] [user arg] " "$out"
run out ./headful.bin 'user arg' </dev/null
expect_eq "home with the windowing library, no display" "[run] [-console] [user arg] " "$out"
[ -z "$(ls -A tmp)" ] || fail "temporary files left behind: $(ls -A tmp)"
