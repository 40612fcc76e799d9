#!/usr/bin/env bash
# VERIFY checks an embedded JVM description against the user's java home
# (or, without one, the home the description names) and leaves N1 (1 when
# it matched) and S1 (the home) for the script to go on with.
source "$(dirname "$0")/common.inc"
need_lxpack
jdk=$(find_jdk)
fake_jvm "$T/fake" 'echo "not a JVM"'
printf 'DESC: Any\nJVM_EXE: bin/java\nCLASSPATH: "-cp "\nJVM_HOME: %s\nJVM_PROPERTIES:\n  java.vendor=...\n/:\n' "$jdk" > any.jvm
cat > instructions.txt <<'SCRIPT'
INSTRUCTIONS:
  VERIFY 0 1 3
  JMP0 @N1@ INVALID
  SET N2 = valid:@S1@
  :INVALID
  SET N2 = invalid
/:
SCRIPT
make_launcher setup.bin --id 1 instructions=instructions.txt --id 2 verify="$LX_BUILD_DIR/Verify.jar" --id 3 jvm=any.jvm >/dev/null

run out ./setup.bin
expect_eq "verified against the description's own home" "Invalid value specified for SET command Invalid numeric expression in valid:$jdk" "$out"
run out ./setup.bin -lx:javahome "$T/fake"
expect_eq "a home that is no JVM" "The JVM is not valid.
Invalid value specified for SET command Invalid numeric expression in invalid" "$out"
