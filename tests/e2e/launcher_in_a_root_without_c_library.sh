#!/usr/bin/env bash
# The launcher starts where there is no C library at all: a root file system
# holding only a statically linked shell (busybox) and the launcher. There
# it tells its version, gives back every embedded byte with -lx:extract, and
# runs a launch command through the shell with the application's exit
# status, leaving nothing in the temporary directory. (A JVM needs a C
# library, so the JVM search is not run here.)
source "$(dirname "$0")/common.inc"
need_lxpack

if [ "${LX_SANITIZED:-0}" = "1" ]; then
  skip "the sanitizer build's launcher needs the sanitizer runtimes and the C library; the static program is tested in the release build"
fi
[ "$(id -u)" = 0 ] || skip "chroot needs root"
busybox=$(command -v busybox) || fail "busybox is missing (install busybox-static: scripts/install-deps)"
if grep -q INTERP <<<"$(readelf -lW "$busybox")"; then
  fail "$busybox is linked dynamically; the test needs busybox-static (scripts/install-deps)"
fi

root=$T/root
mkdir -p "$root/bin" "$root/app/jvm/bin" "$root/out" "$root/tmp"
chmod 1777 "$root/tmp"
cp "$busybox" "$root/bin/busybox"
ln -s busybox "$root/bin/sh"
# Nothing in the root but busybox, the launcher and plain files.
libraries=$(find "$root" -name 'ld-*' -o -name 'lib*.so*')
[ -z "$libraries" ] || fail "the root holds a C library: $libraries"

# A stand-in JVM (a shell script) and a launch script that runs it.
printf '#!/bin/sh\nprintf "java in a root without libc:"\nprintf " [%%s]" "$@"\necho\nexit 7\n' > "$root/app/jvm/bin/java"
chmod +x "$root/app/jvm/bin/java"
jvm_description app.jvm /app/jvm
cp app.jvm "$root/app/app.jvm"
cat > launch.txt <<'SCRIPT'
DESC: Root Without C Library
COMMAND: """@JVM_HOME@/@JVM_EXE@"" %CP%(""app.jar"") Main "
SCRIPT
printf 'INSTRUCTIONS:\n  LAUNCH "/app/app.jvm" 0\n/:\n' > instructions.txt
head -c 100000 /dev/urandom > data.bin
make_launcher "$root/app/setup.bin" instructions=instructions.txt launch-script=launch.txt application=data.bin >/dev/null

run out chroot "$root" /app/setup.bin -lx:version
expect_eq "-lx:version exit status" 0 "$status"
expect_eq "-lx:version" "$("$LXLAUNCHER" -lx:version)" "$out"

run out chroot "$root" /bin/sh -c 'cd /out && /app/setup.bin -lx:extract'
expect_eq "-lx:extract exit status (stderr: $(cat "$T/.stderr"))" 0 "$status"
for f in instructions.txt launch.txt data.bin; do
  cmp "$f" "$root/out/$f" || fail "-lx:extract gave back $f changed"
done

run out chroot "$root" /bin/sh -c 'TMPDIR=/tmp exec /app/setup.bin -lx:log /app/run.log "an argument"'
expect_eq "exit status of the launched command" 7 "$status"
grep -qxF "java in a root without libc: [-cp] [app.jar] [Main] [an argument]" "$root/app/run.log" ||
  { cat "$root/app/run.log"; fail "the launch command's output is not in the log"; }
[ -z "$(ls -A "$root/tmp")" ] || fail "temporary files left behind: $(ls -A "$root/tmp")"
