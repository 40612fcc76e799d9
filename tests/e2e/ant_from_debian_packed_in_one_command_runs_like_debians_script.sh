#!/usr/bin/env bash
# Apache Ant from Debian's packages, a program that needs its own folder,
# packed with one lxpack command: its launcher jar, Debian's /usr/share/ant
# as the program's folder (its lib/ is made of links into /usr/share/java,
# carried as what they point to), and the folder named in the system
# properties Ant reads, as Debian's /usr/bin/ant names /usr/share/ant.
# Run from the user's folder with relative file names (the build file
# found in the folder, one named with -f, a build that fails), the
# launcher in another folder or reached through a link in a PATH folder,
# it writes the same bytes on standard output and error as Debian's script,
# ends with the same status and leaves the same files. Build files of the
# same name in the launcher's folder and the PATH folder would build
# something else. Ant tells how long a build took; that one line is left
# out of the comparison.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"
source "$(dirname "$0")/debian_programs.inc"
need_debian_files /usr/bin/ant /usr/share/ant/lib/ant-launcher.jar /usr/share/ant/lib/ant.jar

template=$T/template
mkdir -p "$template/sub"
cat > "$template/build.xml" <<'XML'
<project name="notes" default="all">
  <target name="all">
    <mkdir dir="out"/>
    <copy file="notes.txt" tofile="out/notes-copy.txt"/>
    <loadfile property="notes" srcfile="out/notes-copy.txt"/>
    <echo message="notes: ${notes}"/>
    <echo file="out/made.txt">made by ${ant.project.name}</echo>
    <available file="sub/build.xml" property="sub.there"/>
    <echo message="sub/build.xml there: ${sub.there}"/>
  </target>
  <target name="broken">
    <fail message="stopped on purpose"/>
  </target>
</project>
XML
cat > "$template/sub/build.xml" <<'XML'
<project name="sub" default="greet">
  <target name="greet">
    <concat destfile="greeting.txt">hello from ${ant.project.name} in ${basedir}</concat>
    <echo message="wrote greeting.txt"/>
  </target>
</project>
XML
printf 'first line\nsecond line\n' > "$template/notes.txt"
decoy build.xml '<project name="decoy" default="all"><target name="all"><echo message="decoy"/></target><target name="broken"/></project>'
decoy notes.txt "decoy notes"

# in_work_ant NAME CMD...: in_work, with the build's duration masked.
in_work_ant() {
  in_work "$@"
  sed -i 's/^Total time: .*/Total time: (masked)/' "$T/out/$1.out" "$T/out/$1.err"
}

cases=("" "-f sub/build.xml" "broken" "-version")
for i in "${!cases[@]}"; do
  fresh_work "$template"
  in_work_ant "debian.$i" /usr/bin/ant ${cases[$i]}
done
expect_contains "Debian's ant built the user's file" "notes: first line" "$(cat "$T/out/debian.0.out")"
expect_contains "Debian's ant ran the file given with -f" "./sub/greeting.txt" "$(cat "$T/out/debian.1.files")"
expect_eq "Debian's ant with a build that fails" "1" "$(cat "$T/out/debian.2.status")"

"$LXPACK" create --main-jar /usr/share/ant/lib/ant-launcher.jar --java 11+ --cli --app-dir /usr/share/ant \
  --jvm-option '-Dant.home=$APP_DIR' --jvm-option '-Dant.library.dir=$APP_DIR/lib' -o "$HOME/apps/ant.bin" \
  2>"$T/lxpack.err" || fail "lxpack create for Ant ended with $?: $(cat "$T/lxpack.err")"
link_in_path ant
remember_folders
for i in "${!cases[@]}"; do
  fresh_work "$template"
  in_work_ant "launcher.$i" ../apps/ant.bin ${cases[$i]}
  expect_same_run "the launcher at ../apps with '${cases[$i]}'" "debian.$i" "launcher.$i"
  fresh_work "$template"
  in_work_ant "path.$i" ant ${cases[$i]}
  expect_same_run "the launcher through a link in PATH with '${cases[$i]}'" "debian.$i" "path.$i"
done
expect_folders_untouched
expect_clean_tmp "the Ant launcher"
