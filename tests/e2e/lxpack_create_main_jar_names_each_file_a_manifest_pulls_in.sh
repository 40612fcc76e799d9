#!/usr/bin/env bash
# A dependency's manifest can name any zip file of the packager's machine
# in its Class-Path: an absolute path, a file: URL, a path up out of the
# program's folder. lxpack create carries them, as java would read them,
# but names each on standard error with where it came from and the
# manifest that named it; a file that is no zip file is refused with
# status 2, and then no launcher is written and an older one is left as
# it was.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"

main_source
mkdir -p private secrets app/lib
java_jar app/app.jar Main src/Main.java
echo "the packager's key" > secrets/key.txt
jar --create --no-manifest --file private/keys.zip -C secrets .
jar --create --no-manifest --file "private/url keys.zip" -C secrets .
jar --create --no-manifest --file up.zip -C secrets .
echo "a text file, no zip file" > notes.txt
printf 'Class-Path: %s file://%s ../../up.zip ../../notes.txt\n' \
  "$T/private/keys.zip" "$T/private/url%20keys.zip" > hostile.mf
jar --create --file app/lib/dep.jar --manifest hostile.mf -C secrets .

carried="lxpack: carrying keys.zip from $T/private/keys.zip: the Class-Path of app/lib/dep.jar names $T/private/keys.zip
lxpack: carrying url keys.zip from $T/private/url keys.zip: the Class-Path of app/lib/dep.jar names file://$T/private/url%20keys.zip
lxpack: carrying up.zip from app/lib/../../up.zip: the Class-Path of app/lib/dep.jar names ../../up.zip"

# With the text file among them: refused, the three zips named all the
# same, and the launcher there before neither replaced nor cut short.
echo "an older launcher" > old.bin
for out in old.bin new.bin; do
  set +e
  "$LXPACK" create --main-jar app/app.jar --class-path app/lib/dep.jar --java 17+ -o "$out" 2> refused.err
  status=$?
  set -e
  expect_eq "status with a text file on the Class-Path ($out)" 2 "$status"
  expect_eq "what lxpack says ($out)" "$carried
lxpack: the Class-Path of app/lib/dep.jar names ../../notes.txt, which a launcher cannot carry: app/lib/../../notes.txt is not a jar: it is no zip file (it has no zip directory at its end)
lxpack: nothing written to $out: a manifest's Class-Path names what the launcher cannot carry
Try 'lxpack --help' for more information." "$(cat refused.err)"
  expect_clean_tmp "the refused lxpack create"
done
expect_eq "the older launcher" "an older launcher" "$(cat old.bin)"
[ ! -e new.bin ] || fail "a refused lxpack create made new.bin"
[ -z "$(ls -A | grep -F .lxpack-)" ] || fail "a refused lxpack create left a file: $(ls -A)"

# The three zips alone: carried, and named the same way.
printf 'Class-Path: %s file://%s ../../up.zip\n' "$T/private/keys.zip" "$T/private/url%20keys.zip" > zips.mf
jar --create --file app/lib/dep.jar --manifest zips.mf -C secrets .
"$LXPACK" create --main-jar app/app.jar --class-path app/lib/dep.jar --java 17+ -o app.bin 2> pack.err ||
  fail "lxpack create ended with $?: $(cat pack.err)"
expect_eq "what lxpack says" "$carried" "$(cat pack.err)"
expect_eq "the entries carried" "$(printf '%s\n' dep.jar keys.zip up.zip 'url keys.zip')" \
  "$("$LXPACK" list app.bin | grep -oE 'dep\.jar|(url )?keys\.zip|up\.zip' | LC_ALL=C sort)"
