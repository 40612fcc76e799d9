#!/usr/bin/env bash
# Keys made by lxpack and by minisign, signatures made by each with either
# key, and each tool checks what the other signed: stock minisign accepts
# lxpack's signatures, and lxpack minisign's, the legacy ones (of the file
# itself, minisign -l) too. The keys here carry no password (see
# lxpack_keys_protect_the_secret_key_with_a_password for those).
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/signing.inc"

"$LXPACK" keys --no-password -o lx > keys.out || fail "lxpack keys ended with $?"
minisign -G -W -p ms.pub -s ms.key > /dev/null || fail "minisign -G ended with $?"
[ "$(stat -c %a lx.key)" = 600 ] || fail "lx.key has mode $(stat -c %a lx.key), not 600"
lxid=$(sed -n 's/^untrusted comment: minisign public key //p' lx.pub)
[ ${#lxid} = 16 ] || fail "lx.pub names no key id: $(cat lx.pub)"
lxkey=$(sed -n 2p lx.pub)
expect_contains "lxpack keys tells how users check" "minisign -Vm LAUNCHER -P $lxkey" "$(cat keys.out)"

for key in lx ms; do
  # Signed by lxpack with either key, checked by both tools.
  launcher_file "by-lxpack-$key.bin"
  run out "$LXPACK" sign -k "$key.key" "by-lxpack-$key.bin"
  expect_eq "lxpack sign with $key.key: status ($(cat "$T/.stderr"))" 0 "$status"
  comment="file:by-lxpack-$key.bin	size:$(file_size "by-lxpack-$key.bin")	lxpack:"
  run out minisign -Vm "by-lxpack-$key.bin" -p "$key.pub"
  expect_eq "minisign -V of lxpack's signature with $key.pub: status ($out $(cat "$T/.stderr"))" 0 "$status"
  expect_contains "minisign shows lxpack's trusted comment" "$comment" "$out"
  run out "$LXPACK" verify -p "$key.pub" "by-lxpack-$key.bin"
  expect_eq "lxpack verify of its own signature with $key.pub: status ($(cat "$T/.stderr"))" 0 "$status"
  expect_contains "lxpack verify shows the trusted comment" "Trusted comment: timestamp:" "$out"
  expect_contains "lxpack verify shows the trusted comment" "$comment" "$out"

  # Signed by minisign with either key, prehashed and legacy, checked by
  # lxpack with the key file and with the key as text.
  for format in prehashed legacy; do
    file="by-minisign-$key-$format.bin"
    launcher_file "$file"
    flag=()
    [ $format = legacy ] && flag=(-l)
    minisign -S "${flag[@]}" -s "$key.key" -m "$file" -t "minisign $format" < /dev/null > /dev/null ||
      fail "minisign -S $format with $key.key ended with $?"
    for how in -p -P; do
      value=$key.pub
      [ $how = -P ] && value=$(sed -n 2p "$key.pub")
      run out "$LXPACK" verify "$how" "$value" "$file"
      expect_eq "lxpack verify $how of minisign's $format signature with $key: status ($(cat "$T/.stderr"))" 0 "$status"
      expect_contains "lxpack verify of minisign's $format signature" "Trusted comment: minisign $format" "$out"
    done
  done
done

# A signature elsewhere than FILE.minisig (-x), by both tools.
launcher_file elsewhere.bin
minisign -S -s ms.key -m elsewhere.bin -x sig.txt < /dev/null > /dev/null
run out "$LXPACK" verify -p ms.pub -x sig.txt elsewhere.bin
expect_eq "lxpack verify -x: status ($(cat "$T/.stderr"))" 0 "$status"
[ ! -e elsewhere.bin.minisig ] || fail "minisign -x wrote elsewhere.bin.minisig"
