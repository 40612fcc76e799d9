#!/usr/bin/env bash
# A static launcher must not read the machine's locale, message-catalogue,
# converter or name-service files: they belong to the machine's own C
# library, whose format may differ from the one linked in (and loading a
# converter module into a static program aborts it). Traced for what each
# of its file system calls touches, in locales of every kind, the launcher
# process itself (not the programs it starts) opens none of them.
source "$(dirname "$0")/common.inc"
need_lxpack

if [ "${LX_SANITIZED:-0}" = "1" ]; then
  skip "the sanitizer build's launcher is linked dynamically with the sanitizer runtimes; the static program is traced in the release build"
fi
command -v strace >/dev/null || fail "strace is missing (scripts/install-deps installs it)"

fake_jvm "$T/jvm" 'exit 3'
jvm_description app.jvm "$T/jvm"
printf 'DESC: T\\u00e9st \\u65e5\\u672c\nCOMMAND: """@JVM_HOME@/@JVM_EXE@"" Main "\n' > launch.txt
printf 'INSTRUCTIONS:\n  INITIALIZE_UI\n  LAUNCH "%s" 0\n/:\n' "$T/app.jvm" > instructions.txt
make_launcher setup.bin instructions=instructions.txt launch-script=launch.txt >/dev/null

host_data='/usr/lib/locale|/usr/share/locale|/usr/share/i18n|gconv|\.mo"|nsswitch|/etc/ld\.so|/etc/localtime|/usr/lib/x86_64-linux-gnu/lib|/usr/lib/aarch64-linux-gnu/lib'

# traced NAME ENV... -- ARGS...: runs setup.bin with ARGS in the environment,
# tracing the launcher process's file system calls into NAME.trace.
traced() {
  local name=$1; shift
  local envs=()
  while [ "$1" != "--" ]; do envs+=("$1"); shift; done
  shift
  env -u LC_ALL -u LC_MESSAGES -u LANG -u LANGUAGE "${envs[@]}" \
    strace -qq -e trace=%file,%desc -o "$T/$name.trace" ./setup.bin "$@" >"$T/$name.out" 2>&1 || true
  [ -s "$T/$name.trace" ] || fail "strace recorded nothing for $name"
  grep -q 'setup.bin' "$T/$name.trace" || fail "the trace of $name does not show the launcher reading its own file"
  # Only the names the calls touch count: a read of the launcher's own file
  # shows some of its bytes, and its symbol names (gconv_...) are no access
  # to host data.
  if grep -vE '^(read|pread64|readv|preadv|write|pwrite64|writev)\(' "$T/$name.trace" | grep -E "$host_data"; then
    fail "the launcher read the host's locale or library data in $name (lines above)"
  fi
}

traced utf8 LC_ALL=de_DE.UTF-8 LANGUAGE=de -- -lx:in "$T/missing.tag"
traced legacy LANG=ja_JP.eucJP -- -lx:in "$T/missing.tag"
traced foreign LC_MESSAGES=ru_RU.KOI8-R -- -lx:in "$T/missing.tag"
traced run LANG=fr_FR.UTF-8 LANGUAGE=fr --
traced version LANG=zh_TW.Big5 -- -lx:version
# The runs did what they should, so the traces cover real work.
expect_contains "message in the user's language" "$(sed -n 's/^33 "\(.*\)"$/\1/p' "$LX_SOURCE_DIR/src/messages/translations/de.txt" | cut -c1-20)" "$(cat "$T/utf8.out")"
expect_contains "title in UTF-8" "Tést 日本" "$(cat "$T/run.out")"
expect_eq "version" "$("$LXLAUNCHER" -lx:version)" "$(cat "$T/version.out")"
