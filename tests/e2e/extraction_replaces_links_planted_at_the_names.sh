#!/usr/bin/env bash
# -lx:extract and lxpack extract create every file anew: a symbolic link
# planted in the target directory under an entry's name (or input.tag's) is
# replaced by the extracted file, and the file it pointed to, outside the
# directory, is not touched.
source "$(dirname "$0")/common.inc"
need_lxpack

printf 'INSTRUCTIONS:\n  INITIALIZE_UI\n/:\n' > instr.txt
echo 'payload' > app.jar
make_launcher setup.bin instructions=instr.txt application=app.jar 2>/dev/null
echo 'precious' > precious.txt

plant() {
  rm -rf out && mkdir out
  ln -s "$T/precious.txt" out/app.jar
  ln -s "$T/precious.txt" out/input.tag
  ln -s "$T/nothing.txt" out/instr.txt
}

plant
(cd out && "$T/setup.bin" -lx:extract > /dev/null) || fail "-lx:extract failed"
expect_eq "-lx:extract: the file outside" "precious" "$(cat precious.txt)"
[ ! -e nothing.txt ] || fail "-lx:extract: a file was created through a dangling link"
for name in app.jar input.tag instr.txt; do
  [ -f "out/$name" ] && [ ! -L "out/$name" ] || fail "-lx:extract: $name is not a file of its own"
done
expect_eq "-lx:extract: app.jar" "payload" "$(cat out/app.jar)"

plant
"$LXPACK" extract -C out setup.bin || fail "lxpack extract failed"
expect_eq "lxpack extract: the file outside" "precious" "$(cat precious.txt)"
[ ! -e nothing.txt ] || fail "lxpack extract: a file was created through a dangling link"
[ -f out/app.jar ] && [ ! -L out/app.jar ] || fail "lxpack extract: app.jar is not a file of its own"
expect_eq "lxpack extract: app.jar" "payload" "$(cat out/app.jar)"
