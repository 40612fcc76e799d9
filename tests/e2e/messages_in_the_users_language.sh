#!/usr/bin/env bash
# Console messages come in the language LANG selects, converted to the
# terminal's character set when LANG names one.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET N1 = 1"

lang_out() { LANG=$1 ./setup.bin -lx:in "$T/missing.tag" 2>/dev/null | tail -1 || true; }

# The UTF-8 text is the legacy table's text converted, and not English.
for pair in ru_RU:ISO-8859-5 ja_JP:EUC-JP; do
  lang=${pair%%:*} charset=${pair#*:}
  utf8=$(lang_out "$lang.UTF-8")
  printf '%s' "$utf8" | iconv -f UTF-8 -t UTF-8 >/dev/null 2>&1 || fail "$lang.UTF-8 output is not UTF-8: $utf8"
  printf '%s' "$utf8" | LC_ALL=C grep -q $'[\x80-\xff]' || fail "$lang.UTF-8 output is plain ASCII: $utf8"
  legacy=$(lang_out "$lang" | iconv -f "$charset" -t UTF-8)
  expect_eq "$lang without a character set prints $charset" "$utf8" "$legacy"
done
ru=$(lang_out ru_RU.UTF-8)
printf '%s' "$ru" | python3 -c 'import sys; t = sys.stdin.buffer.read().decode("utf-8"); sys.exit(0 if any("\u0400" <= c <= "\u04ff" for c in t) else 1)' \
  || fail "ru_RU.UTF-8 output is not Cyrillic: $ru"

de=$(lang_out de_DE.UTF-8)
en=$(lang_out C)
expect_eq "English" "Unable to open input file specified on the command line after the -in option." "$en"
[ "$de" != "$en" ] && [ -n "$de" ] || fail "de_DE.UTF-8 output is not German: $de"
