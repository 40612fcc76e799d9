#!/usr/bin/env bash
# lxpack init writes the files lxpack create --main-jar packs into a
# directory, and shows the lxpack create command that packs them: run as
# shown, it makes the very launcher create --main-jar makes, byte for byte.
# The launch script carries JAVA_DOWNLOAD_URL when --java-download is
# given. The jars go deflated where create --main-jar would deflate them
# (these small ones shrink by more than a tenth). A second init never
# replaces a file, so a packager's edits stay.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"

main_source
java_jar app.jar Main src/Main.java
java_jar lib.jar "" src/Main.java
options=(--main-jar app.jar --class-path lib.jar --java 17-21 --title "My App" --jvm-option -Xmx64m
  --java-download https://example.com/java)

run shown "$LXPACK" init "${options[@]}" -o files
expect_eq "init status ($(cat "$T/.stderr"))" 0 "$status"
expect_eq "files written" "Verify.jar instructions.txt java.jvm launch.txt" "$(cd files && echo *)"
expect_eq "what init shows" "Wrote files/instructions.txt, files/java.jvm, files/launch.txt and files/Verify.jar. Pack them into a launcher with:
  lxpack create -o app.bin verify=files/Verify.jar instructions=files/instructions.txt launch-script=files/launch.txt jvm=files/java.jvm --compress application=app.jar --compress classpath=lib.jar" "$shown"
grep -qxF "JAVA_DOWNLOAD_URL: https://example.com/java" files/launch.txt ||
  fail "the launch script has no JAVA_DOWNLOAD_URL: $(cat files/launch.txt)"
grep -qxF "JAVA_VERSION: 17-21" files/java.jvm || fail "the description has no JAVA_VERSION: $(cat files/java.jvm)"

# The command as shown, with this build's lxpack.
eval "\"\$LXPACK\" ${shown##*lxpack }" || fail "the command init shows failed"
"$LXPACK" create "${options[@]}" -o direct.bin || fail "create --main-jar failed"
cmp -s app.bin direct.bin || fail "the launcher of init's files differs from the one create --main-jar makes"
expect_eq "lxpack check" "app.bin: OK, x86_64, 6 entries" "$("$LXPACK" check app.bin)"

echo "edited" >> files/launch.txt
cp files/launch.txt edited.txt
run again "$LXPACK" init "${options[@]}" -o files
expect_eq "status of a second init" 1 "$status"
expect_contains "message of a second init" "lxpack: files/instructions.txt exists already" "$(cat "$T/.stderr")"
cmp -s edited.txt files/launch.txt || fail "a second init changed the packager's file"
expect_clean_tmp "lxpack init and create"
