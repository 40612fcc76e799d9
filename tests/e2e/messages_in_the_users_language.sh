#!/usr/bin/env bash
# Console messages come in the language LANG selects, converted to the
# terminal's character set when LANG names one.
source "$(dirname "$0")/common.inc"
need_lxpack
script_launcher setup.bin "SET N1 = 1"

lang_out() { LANG=$1 ./setup.bin -lx:in "$T/missing.tag" 2>/dev/null | tail -1 || true; }

out=$(lang_out ru_RU.UTF-8)
printf '%s' "$out" | iconv -f UTF-8 -t UTF-8 >/dev/null 2>&1 || fail "ru_RU.UTF-8 output is not UTF-8: $out"
printf '%s' "$out" | LC_ALL=C.UTF-8 grep -q '[А-Яа-я]' || fail "ru_RU.UTF-8 output is not Cyrillic: $out"

# Without a character set the table's own encoding (ISO-8859-5) is printed.
raw=$(lang_out ru_RU | iconv -f ISO-8859-5 -t UTF-8)
expect_eq "ru_RU gives the same text in ISO-8859-5" "$out" "$raw"

out=$(lang_out ja_JP.UTF-8)
printf '%s' "$out" | LC_ALL=C.UTF-8 grep -q '[ぁ-んァ-ン一-龯]' || fail "ja_JP.UTF-8 output is not Japanese: $out"

de=$(lang_out de_DE.UTF-8)
en=$(lang_out C)
expect_eq "English" "Unable to open input file specified on the command line after the -in option." "$en"
[ "$de" != "$en" ] && [ -n "$de" ] || fail "de_DE.UTF-8 output is not German: $de"
