#!/usr/bin/env bash
# Console messages come in the language of the user's locale (LC_ALL, then
# LC_MESSAGES, then LANG): in UTF-8 when the locale names UTF-8, otherwise in
# the language's legacy encoding, and the title's \u escapes likewise. The
# launcher carries both encodings itself and reads none of the machine's
# converter (gconv) or locale files: all of them are hidden while it runs.
source "$(dirname "$0")/common.inc"
need_lxpack

HIDDEN_DIRS="/usr/lib/*/gconv /usr/lib/gconv /usr/lib64/gconv /usr/lib/locale /usr/share/locale /usr/share/i18n"

# hidden CMD...: runs CMD in a mount namespace of its own, with an empty
# tmpfs over every directory of converter and locale data.
hidden() {
  unshare -m -- bash -c '
    for d in '"$HIDDEN_DIRS"'; do
      if [ -d "$d" ]; then mount -t tmpfs -o size=1m hidden "$d" || exit 99; fi
    done
    exec env -u GCONV_PATH -u LOCPATH -u LOCALE_ARCHIVE "$@"' hidden "$@"
}

# Without the namespace the test would prove nothing: fail, never skip.
hidden true || fail "cannot hide the locale and converter files: 'unshare -m' and mount were refused (the test needs root)"
# The hiding works: the C library's own converter finds no module.
if printf 'x' | iconv -f UTF-8 -t ISO-8859-5 >/dev/null 2>&1; then
  if printf 'x' | hidden iconv -f UTF-8 -t ISO-8859-5 >/dev/null 2>&1; then
    fail "iconv still converts to ISO-8859-5 with the converter files hidden"
  fi
fi
leftover=$(hidden bash -c 'for d in '"$HIDDEN_DIRS"'; do [ -d "$d" ] && ls -A "$d"; done; true')
expect_eq "hidden directories are empty" "" "$leftover"

# The translator's text of an id (a missing input file shows id 33 last),
# encoded as the launcher should write it.
translation() {
  python3 - "$LX_SOURCE_DIR/src/messages/translations/$1.txt" "$2" "$3" <<'PY'
import re, sys
path, ident, encoding = sys.argv[1], sys.argv[2], sys.argv[3]
for line in open(path, encoding="utf-8"):
    m = re.match(r'^\s*(\d+)\s+"(.*)"\s*$', line)
    if m and m.group(1) == ident:
        sys.stdout.buffer.write(m.group(2).encode(encoding) + b"\n")
PY
}

script_launcher setup.bin "SET N1 = 1"
# last_line FILE VAR=VALUE...: the launcher's last line for a missing input
# file, run in the given locale environment with the data hidden.
last_line() {
  local out=$1; shift
  hidden env -u LC_ALL -u LC_MESSAGES -u LANG "$@" ./setup.bin -lx:in "$T/missing.tag" >"$out.all" 2>/dev/null || true
  tail -n 1 "$out.all" >"$out"
}

# locale variables | language | encoding of the expected text
cases=(
  "LANG=de_DE.UTF-8|de|utf-8"
  "LANG=C LC_ALL=de_DE.UTF-8|de|utf-8"
  "LANG=ru_RU.ISO-8859-5 LC_MESSAGES=ja_JP.utf8|ja|utf-8"
  "LANG=ru_RU.UTF-8|ru|utf-8"
  "LANG=ru_RU.UTF-8 LC_ALL=|ru|utf-8"
  "LANG=ru_RU|ru|iso8859_5"
  "LANG=ru_RU.ISO-8859-5|ru|iso8859_5"
  "LANG=ru_RU.KOI8-R|ru|iso8859_5"
  "LANG=ja_JP.eucJP|ja|euc_jp"
  "LANG=ja_JP|ja|euc_jp"
  "LANG=C|en|ascii"
  "LC_MESSAGES=|en|ascii"
)
n=0
for c in "${cases[@]}"; do
  IFS='|' read -r vars code encoding <<<"$c"
  n=$((n + 1))
  # shellcheck disable=SC2086 # the variables are separate words
  last_line "case$n" $vars
  translation "$code" 33 "$encoding" >"want$n"
  [ -s "want$n" ] || fail "no text 33 for $code"
  cmp -s "want$n" "case$n" ||
    fail "$vars: expected $code text 33 in $encoding: $(cat -v "want$n")
got: $(cat -v "case$n")"
done
# German in UTF-8 has its real letters, not a spelling without them.
grep -q "geöffnet" case1 || fail "de_DE.UTF-8 lacks the letter ö: $(cat case1)"

# The title: the launch script's DESC with escapes, shown when it loads.
printf 'DESC: Caf\\u00e9 \\u20ac\nCOMMAND: true\n' >launch.txt
printf 'INSTRUCTIONS:\n  SET N1 = 1\n/:\n' >instructions.txt
make_launcher titled.bin instructions=instructions.txt launch-script=launch.txt >/dev/null
title() {
  hidden env -u LC_ALL -u LC_MESSAGES LANG="$1" ./titled.bin 2>/dev/null | head -n 1 | tr -d '\n' | od -An -tx1 | tr -d ' \n'
}
hex() { printf "$1" | od -An -tx1 | tr -d ' \n'; }
expect_eq "title on a UTF-8 terminal" "$(hex 'Caf\303\251 \342\202\254')" "$(title de_DE.UTF-8)"
expect_eq "title on a Latin-1 terminal" "$(hex 'Caf\351 ')" "$(title fr_FR.ISO-8859-1)"
expect_eq "title on a terminal of another character set" "$(hex 'Caf')" "$(title ru_RU.KOI8-R)"
