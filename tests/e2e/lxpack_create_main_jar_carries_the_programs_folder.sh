#!/usr/bin/env bash
# lxpack create --main-jar --app-dir carries a folder the program needs
# beside its jar (subfolders, an empty directory, an executable file, a
# name with spaces) as one compressed entry, which lxpack list and check
# describe. The launcher unpacks it into its temporary directory before the
# start, where the program finds it through the system property the
# packager named, with the modes the launcher gives what it extracts;
# afterwards nothing is left in the temporary directory. Run on the real
# JDKs 17 and 25.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"
jdk17=$(real_jdk 17)
jdk25=$(real_jdk 25)

# Prints every file below the folder (relative name, mode, bytes' digest)
# and every directory (relative name, mode), sorted; ends with status 3
# when the folder's keymap is missing.
cat > Editor.java <<'JAVA'
import java.nio.file.*;
import java.nio.file.attribute.PosixFilePermissions;
import java.security.MessageDigest;
import java.util.*;
import java.util.stream.*;

public class Editor {
  public static void main(String[] args) throws Exception {
    Path home = Paths.get(System.getProperty("editor.home"));
    if (!Files.isRegularFile(home.resolve("keymaps/default.keys"))) {
      System.out.println("System keymap folder does not exist: " + home);
      System.exit(3);
    }
    List<String> lines = new ArrayList<>();
    try (Stream<Path> all = Files.walk(home)) {
      for (Path p : (Iterable<Path>) all::iterator) {
        if (p.equals(home)) continue;
        String mode = PosixFilePermissions.toString(Files.getPosixFilePermissions(p, LinkOption.NOFOLLOW_LINKS));
        String name = home.relativize(p).toString();
        if (Files.isDirectory(p, LinkOption.NOFOLLOW_LINKS)) {
          lines.add(name + "/ " + mode);
        } else {
          byte[] digest = MessageDigest.getInstance("SHA-256").digest(Files.readAllBytes(p));
          lines.add(name + " " + mode + " " + HexFormat.of().formatHex(digest));
        }
      }
    }
    Collections.sort(lines);
    for (String line : lines) System.out.println(line);
  }
}
JAVA
javac -d classes Editor.java || fail "javac failed"
jar --create --file editor.jar --main-class Editor -C classes . || fail "jar failed"

mkdir -p editor-home/keymaps editor-home/modes/sub editor-home/macros editor-home/doc/empty
echo "ctrl-s save" > editor-home/keymaps/default.keys
for i in $(seq 1 300); do printf 'mode %d\n' "$i" > "editor-home/modes/sub/mode $i.xml"; done
head -c 3000000 /dev/urandom > editor-home/doc/manual.bin
seq 1 200000 > editor-home/doc/numbers.txt
: > editor-home/macros/empty.bsh
printf '#!/bin/sh\necho run\n' > editor-home/macros/run.sh
chmod 755 editor-home/macros/run.sh
chmod 644 editor-home/keymaps/default.keys

# What the program must see: the packager's files with the launcher's modes
# (directories and programs 0700, other files 0600).
(cd editor-home && find . -mindepth 1 | sed 's|^\./||' | sort | while IFS= read -r name; do
  if [ -d "$name" ]; then
    echo "$name/ rwx------"
  elif [ -x "$name" ]; then
    echo "$name rwx------ $(sha256sum < "$name" | cut -d' ' -f1)"
  else
    echo "$name rw------- $(sha256sum < "$name" | cut -d' ' -f1)"
  fi
done) | LC_ALL=C sort > want.txt
files=$(cd editor-home && find . -mindepth 1 | wc -l)
bytes=$(cd editor-home && find . -type f -printf '%s\n' | awk '{s+=$1} END {print s}')

"$LXPACK" create --main-jar editor.jar --java 17+ --cli --app-dir editor-home/ --app-dir-property editor.home \
  -o editor.bin || fail "lxpack create --app-dir ended with $?"
expect_clean_tmp "lxpack create"
expect_eq "lxpack check" "editor.bin: OK, x86_64, 6 entries" "$("$LXPACK" check editor.bin)"
entry=$("$LXPACK" list --porcelain editor.bin | grep $'^entry\t8\t')
IFS=$'\t' read -r _ type _ length _ compressed count size checksum name <<< "$entry"
expect_eq "the folder's entry: compressed, count, size, name" "1 $files $bytes editor-home" \
  "$compressed $count $size $name"
[ "$length" -lt "$bytes" ] || fail "the folder was not compressed: $length bytes for $bytes"
[ "$checksum" != "-" ] || fail "the folder's entry has no checksum"
"$LXPACK" list editor.bin | grep -q "8 app-dir .*editor-home  (compressed: $files files, $bytes bytes)" ||
  fail "lxpack list does not describe the folder: $("$LXPACK" list editor.bin)"

for jdk in "$jdk17" "$jdk25"; do
  set +e
  JAVA_HOME=$jdk ./editor.bin > seen.txt 2> err.txt
  status=$?
  set -e
  expect_eq "status on $jdk (output: $(cat seen.txt) $(cat err.txt))" 0 "$status"
  LC_ALL=C sort seen.txt > seen.sorted
  diff want.txt seen.sorted > /dev/null || fail "the program saw another folder on $jdk: $(diff want.txt seen.sorted | head)"
  expect_clean_tmp "the launcher on $jdk"
done

# lxpack init writes the other files and shows the command that packs them
# with the folder; it makes the same launcher.
run said "$LXPACK" init --main-jar editor.jar --java 17+ --cli --app-dir editor-home/ --app-dir-property editor.home \
  -o files
expect_eq "lxpack init status" 0 "$status"
command=$(printf '%s\n' "$said" | sed -n 's/^  lxpack create /create /p')
expect_contains "lxpack init's command" " app-dir=editor-home" "$command"
mv editor.bin first.bin
eval "\"\$LXPACK\" $command" || fail "the command lxpack init showed ended with $?"
cmp -s first.bin editor.bin || fail "the command lxpack init showed made another launcher"
grep -qF '%SYSTEMPROP%("editor.home", """%APP_DIR%()""")' files/launch.txt ||
  fail "launch.txt does not pass the folder on: $(cat files/launch.txt)"

# Without --app-dir the program misses its folder, as the packager would
# find out.
"$LXPACK" create --main-jar editor.jar --java 17+ --cli --jvm-option -Deditor.home=/nonexistent -o bare.bin
set +e
JAVA_HOME=$jdk17 ./bare.bin > bare.txt 2>&1
status=$?
set -e
expect_eq "status without the folder" 3 "$status"
