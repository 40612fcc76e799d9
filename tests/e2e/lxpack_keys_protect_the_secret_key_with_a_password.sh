#!/usr/bin/env bash
# A secret key of lxpack keys is sealed with a password, read from standard
# input when it is no terminal (the first line, as minisign reads it):
# minisign opens such a key with that password, lxpack opens minisign's,
# and a wrong password signs nothing. Without a password on standard input
# no key is made. Each opening of a sealed key costs scrypt a second or
# more and 1 GiB of memory, so this test opens as few as it can.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/signing.inc"

# No password to read, or an empty one: no key.
for input in none empty; do
  set +e
  if [ $input = none ]; then
    "$LXPACK" keys -o refused < /dev/null > /dev/null 2> err.txt
  else
    printf '\n' | "$LXPACK" keys -o refused > /dev/null 2> err.txt
  fi
  status=$?
  set -e
  expect_eq "keys with $input password: status" 1 "$status"
  case $input in
    none) message="lxpack: no password for the new secret key: standard input, which is no terminal, ended before a line (give the password as its first line)" ;;
    empty) message="lxpack: an empty password protects nothing: give one, or make the key with --no-password" ;;
  esac
  expect_eq "keys with $input password: message" "$message" "$(cat err.txt)"
  [ ! -e refused.key ] && [ ! -e refused.pub ] || fail "keys with $input password wrote a key"
done

# A sealed key from lxpack, opened by minisign.
printf 'open sesame\nignored\n' | "$LXPACK" keys -o lx > /dev/null || fail "lxpack keys ended with $?"
expect_eq "mode of the secret key" 600 "$(stat -c %a lx.key)"
expect_eq "mode of the public key" 644 "$(stat -c %a lx.pub)"
expect_eq "the secret key's comment" "untrusted comment: minisign encrypted secret key" "$(head -n 1 lx.key)"
launcher_file setup.bin
printf 'open sesame\n' | minisign -S -s lx.key -m setup.bin > /dev/null 2>&1 ||
  fail "minisign could not sign with lxpack's key and its password"
run out "$LXPACK" verify -p lx.pub setup.bin
expect_eq "lxpack verify of minisign's signature with lxpack's sealed key ($(cat "$T/.stderr"))" 0 "$status"

# A wrong password signs nothing.
launcher_file other.bin
set +e
printf 'open sesame!\n' | "$LXPACK" sign -k lx.key other.bin > /dev/null 2> err.txt
status=$?
set -e
expect_eq "sign with a wrong password: status" 1 "$status"
expect_eq "sign with a wrong password: message" "lxpack: lx.key: wrong password (or the key file is damaged)" \
  "$(cat err.txt)"
[ ! -e other.bin.minisig ] || fail "a wrong password wrote a signature"

# A sealed key from minisign (which asks twice), opened by lxpack.
printf 'minisign pw\nminisign pw\n' | minisign -G -p ms.pub -s ms.key > /dev/null 2>&1 || fail "minisign -G ended with $?"
printf 'minisign pw\n' | "$LXPACK" sign -k ms.key other.bin > /dev/null 2> err.txt ||
  fail "lxpack could not sign with minisign's key and its password: $(cat err.txt)"
run out minisign -Vm other.bin -p ms.pub
expect_eq "minisign -V of lxpack's signature with minisign's sealed key ($out $(cat "$T/.stderr"))" 0 "$status"

# An existing key pair stays unless --force.
cp lx.key before.key
run out "$LXPACK" keys --no-password -o lx
expect_eq "keys over an existing pair: status" 1 "$status"
expect_eq "keys over an existing pair: message" \
  "lxpack: lx.key exists: a key pair is never replaced unless --force says so (whatever it signed could no longer be checked with a new key)" \
  "$(cat "$T/.stderr")"
cmp -s lx.key before.key || fail "keys replaced lx.key without --force"
"$LXPACK" keys --no-password --force -o lx > /dev/null
cmp -s lx.key before.key && fail "keys --force kept the old key"
expect_eq "the replaced key's comment" "untrusted comment: minisign secret key" "$(head -n 1 lx.key)"
