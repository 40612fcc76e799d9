#!/usr/bin/env bash
# The line of progress dots ends before anything else is written: the
# message that no JVM was found, the launched program's own output, and an
# input file's answers all start on a line of their own.
source "$(dirname "$0")/common.inc"
need_lxpack
mkdir tmp
export TMPDIR=$T/tmp

fake_jvm "$T/jvm" 'case "$*" in *Verify*) echo 1739021872; echo "Fake Vendor"; exit 0 ;; esac
echo "program output"'
printf 'DESC: Fake\nJVM_EXE: bin/java\nCLASSPATH: "-cp "\nJVM_PROPERTIES:\n  java.vendor=...\n/:\nPATH_HINT:\n  %s\n/:\n' \
  "$T/jvm" > found.jvm
printf 'DESC: None\nJVM_EXE: bin/java\nCLASSPATH: "-cp "\nJVM_PROPERTIES:\n  java.specification.version=0.9\n/:\nPATH_HINT:\n  %s\n/:\n' \
  "$T/jvm" > none.jvm
printf 'DESC: App\nDISPLAY_CONSOLE: 1\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" app"\n' > launch.txt
printf 'INSTRUCTIONS:\n  INITIALIZE_UI\n  FIND_JVM 1 1\n  JMP0 @N1@ DONE\n  LAUNCH @S2@ 0\n  :DONE\n/:\n' > instructions.txt
make_launcher setup.bin verify="$LX_BUILD_DIR/Verify.jar" instructions=instructions.txt launch-script=launch.txt >/dev/null

# no_text_after_dots WHAT OUTPUT: no line holds dots followed by other text.
no_text_after_dots() {
  if grep -qE '^\.+[^.]' <<<"$2"; then fail "$1: text follows the dots on their line:
$2"; fi
  grep -qE '^\.+$' <<<"$2" || fail "$1: the run showed no dots, so it shows nothing here:
$2"
}

# case: the JVM description | input file lines | a line the output must hold
cases=(
  "none.jvm|ACTION: RUN_INSTRUCTIONS|A suitable JVM could not be found. Please run the installer again using the option -lx:javahome <JAVA HOME DIR>"
  "found.jvm|ACTION: RUN_INSTRUCTIONS|program output"
  "found.jvm|ACTION: SEARCH;SHOW_PROGRESS: 1|1"
  "none.jvm|ACTION: SEARCH;SHOW_PROGRESS: 1|0"
)
for c in "${cases[@]}"; do
  IFS='|' read -r jvm tags line <<<"$c"
  { tr ';' '\n' <<<"$tags"; printf 'JVM: %s\n' "$jvm"; } > case.tag
  run out ./setup.bin -lx:in case.tag </dev/null
  no_text_after_dots "$tags with $jvm" "$out"
  grep -qxF "$line" <<<"$out" || fail "$tags with $jvm: no line \"$line\" of its own:
$out"
done
