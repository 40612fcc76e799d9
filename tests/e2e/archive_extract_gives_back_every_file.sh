#!/usr/bin/env bash
# A launcher made by lxpack and unpacked with -lx:extract gives back every
# file byte for byte, with the execute bits on programs, and an input.tag
# that names the instructions, the launch script and the JVM descriptions.
source "$(dirname "$0")/common.inc"
need_lxpack

mkdir src out
demo=$LX_SOURCE_DIR/demo
cp "$demo/instructions.txt" "$demo/launch.txt" "$demo/jdk11.jvm" "$demo/jdk17.jvm" src/
# Sizes around the 61439-byte copy chunk, and an empty file.
for size in 0 144 61439 61440 200003; do
  head -c "$size" /dev/urandom > "src/data$size.bin"
done
printf '#!/bin/sh\necho installer\n' > src/install.sh

make_launcher setup.bin \
  application=src/data0.bin \
  instructions=src/instructions.txt \
  classpath=src/data144.bin \
  launch-script=src/launch.txt \
  jvm=src/jdk11.jvm \
  verify=src/data61439.bin \
  --id 40 jvm=src/jdk17.jvm \
  application=src/data61440.bin \
  jvm-installer=src/install.sh \
  launcher=src/data200003.bin

(cd out && "$T/setup.bin" -lx:extract > ../console.txt) || fail "-lx:extract failed: $(cat console.txt)"

for f in src/*; do
  cmp "$f" "out/$(basename "$f")" || fail "$(basename "$f") differs after extraction"
done
[ -x out/install.sh ] || fail "the JVM installer is not executable"
[ -x out/data200003.bin ] || fail "the embedded launcher is not executable"
[ ! -x out/data61440.bin ] || fail "an application archive became executable"

expect_eq "input.tag" "ACTION:  RUN_INSTRUCTIONS
INSTRUCTIONS:  instructions.txt
LAUNCHSCRIPT:  launch.txt
JVM:
  jdk11.jvm
  jdk17.jvm
/:" "$(cat out/input.tag)"
expect_eq "files written" "$( (ls src; echo input.tag) | sort)" "$(ls out | sort)"
