#!/usr/bin/env bash
# Debian's jflex, a command-line tool, packed with one lxpack command from
# its jar (whose manifest names cup.jar and cup_runtime.jar by absolute
# paths), behaves like Debian's /usr/bin/jflex for a user: run from the
# user's folder with relative file names, the launcher in another folder
# or reached through a link in a PATH folder, it reads the user's files
# and writes its output beside them, with the same bytes on standard output
# and error and the same status, also for a file that does not exist. The
# launcher's folder and the PATH folder hold files of the same names that
# a program run there would compile instead. Both kinds of launcher: with
# --cli, and the desktop kind, whose own lines go to standard error.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/jar_launcher.inc"
source "$(dirname "$0")/debian_programs.inc"
need_debian_files /usr/bin/jflex /usr/share/java/jflex.jar

# The user's folder: a lexer specification at the top and one in a
# subfolder. The decoys are lexers of their own that would compile too.
template=$T/template
mkdir -p "$template/grammar"
cat > "$template/Lexer.flex" <<'FLEX'
%%
%class Lexer
%standalone
%%
[a-z]+ { System.out.println("word " + yytext()); }
[^]    { }
FLEX
cat > "$template/grammar/Calc.flex" <<'FLEX'
%%
%class Calc
%standalone
%unicode
%line
%column
DIGIT = [0-9]
%%
{DIGIT}+  { System.out.println("number " + yytext() + " at " + yyline + ":" + yycolumn); }
"+"|"-"|"*"|"/" { System.out.println("operator " + yytext()); }
[ \t\n]   { }
FLEX
decoy Lexer.flex $'%%\n%class Decoy\n%standalone\n%%\n"x" { }'
mkdir -p "$HOME/apps/grammar" "$HOME/bin/grammar"
cp "$HOME/apps/Lexer.flex" "$HOME/apps/grammar/Calc.flex"
cp "$HOME/apps/Lexer.flex" "$HOME/bin/grammar/Calc.flex"

# What Debian's script does: a lexer at the top, one into another folder,
# and a file that is not there.
cases=("Lexer.flex" "-d gen grammar/Calc.flex" "Missing.flex")
for i in "${!cases[@]}"; do
  fresh_work "$template"
  # The arguments are words without blanks, which Debian's script passes
  # on unquoted.
  in_work "debian.$i" /usr/bin/jflex ${cases[$i]}
done
expect_eq "Debian's jflex compiled the user's lexer" "0" "$(cat "$T/out/debian.0.status")"
expect_contains "Debian's jflex wrote Lexer.java" "./Lexer.java" "$(cat "$T/out/debian.0.files")"
expect_contains "Debian's jflex wrote gen/Calc.java" "./gen/Calc.java" "$(cat "$T/out/debian.1.files")"
expect_eq "Debian's jflex without the file" "1" "$(cat "$T/out/debian.2.status")"

for kind in cli desktop; do
  options=()
  streams="out err"
  if [ "$kind" = cli ]; then
    options=(--cli)
  else
    streams=out
  fi
  rm -f "$HOME/apps/jflex.bin" "$HOME/bin/jflex"
  "$LXPACK" create --main-jar /usr/share/java/jflex.jar --java 11+ "${options[@]}" -o "$HOME/apps/jflex.bin" \
    2>"$T/lxpack.err" || fail "lxpack create for jflex ($kind) ended with $?: $(cat "$T/lxpack.err")"
  link_in_path jflex
  remember_folders
  for i in "${!cases[@]}"; do
    fresh_work "$template"
    in_work "$kind.$i" ../apps/jflex.bin ${cases[$i]}
    expect_same_run "the $kind launcher at ../apps with ${cases[$i]}" "debian.$i" "$kind.$i" "$streams"
    fresh_work "$template"
    in_work "$kind.path.$i" jflex ${cases[$i]}
    expect_same_run "the $kind launcher through a link in PATH with ${cases[$i]}" "debian.$i" "$kind.path.$i" "$streams"
  done
  expect_folders_untouched
done
expect_clean_tmp "the jflex launchers"
