#!/usr/bin/env bash
# lxpack verify gives status 0 only for a good signature and says what is
# wrong otherwise (a wrong key, a changed file, a damaged signature or an
# edited trusted comment), and minisign -V gives the same status on each
# case, for signatures of both tools and legacy ones (minisign -l, which
# both accept as minisign does by default).
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/signing.inc"

"$LXPACK" keys --no-password -o publisher > /dev/null
"$LXPACK" keys --no-password -o stranger > /dev/null

# check_case NAME SIGNER STATUS MESSAGE CHANGE: a launcher signed by SIGNER
# (lxpack, minisign, or minisign-legacy), then CHANGE run (a shell command on
# $file and $sig), then checked with publisher.pub unless CHANGE sets
# pub; lxpack must end with STATUS and minisign agree (good or not), lxpack saying
# MESSAGE ("" for a good signature), FILE in it standing for the launcher.
case_number=0
check_case() {
  local name=$1 signer=$2 want=$3 message=$4 change=$5
  case_number=$((case_number + 1))
  file=case$case_number.bin
  sig=$file.minisig
  pub=publisher.pub
  launcher_file "$file"
  case $signer in
    lxpack) "$LXPACK" sign -k publisher.key "$file" > /dev/null ;;
    minisign) minisign -S -s publisher.key -m "$file" < /dev/null > /dev/null ;;
    minisign-legacy) minisign -S -l -s publisher.key -m "$file" < /dev/null > /dev/null ;;
  esac
  eval "$change"
  run out "$LXPACK" verify -p "$pub" "$file"
  local errors
  errors=$(cat "$T/.stderr")
  expect_eq "$name ($signer): lxpack's status ($out$errors)" "$want" "$status"
  if [ -z "$message" ]; then
    expect_eq "$name ($signer): lxpack's error output" "" "$errors"
  else
    expect_eq "$name ($signer): lxpack's message" "lxpack: ${message//FILE/$file}" "$errors"
    expect_eq "$name ($signer): nothing on standard output" "" "$out"
  fi
  # minisign ends with 1 for a signature that does not hold and 2 for one
  # it cannot read; lxpack with 1 for both (2 is a wrong command line).
  run out minisign -V -p "$pub" -m "$file"
  [ "$status" -gt 1 ] && status=1
  expect_eq "$name ($signer): minisign's answer ($out $(cat "$T/.stderr"))" "$want" "$status"
}

changed='FILE does not match its signature FILE.minisig: the file was changed after it was signed (or damaged on its way)'
edited='FILE.minisig: damaged signature: its trusted comment or its signature was changed after it was signed'
publisher=$(sed -n 's/^untrusted comment: minisign public key //p' publisher.pub)
stranger=$(sed -n 's/^untrusted comment: minisign public key //p' stranger.pub)
wrong="FILE.minisig: made with the key $publisher, not with the key given ($stranger): a wrong public key, or not the publisher's signature"

for signer in lxpack minisign minisign-legacy; do
  check_case "as signed" $signer 0 "" ':'
  check_case "a byte changed in the program" $signer 1 "$changed" 'flip_byte "$file" 1000'
  check_case "a byte changed in the last block" $signer 1 "$changed" 'flip_byte "$file" $(( $(file_size "$file") - 3 ))'
  check_case "a line appended" $signer 1 "$changed" 'echo >> "$file"'
  check_case "checked with another key" $signer 1 "$wrong" 'pub=stranger.pub'
  check_case "the trusted comment edited" $signer 1 "$edited" 'sed -i "3s/\$/ (edited)/" "$sig"'
  check_case "the trusted comment replaced by a signed one of another file" $signer 1 "$edited" \
    'launcher_file other.bin; "$LXPACK" sign -k publisher.key other.bin > /dev/null
     { sed -n 1,2p "$sig"; sed -n 3p other.bin.minisig; sed -n 4p "$sig"; } > new.sig && mv new.sig "$sig"'
  check_case "a byte of the signature changed" $signer 1 "$edited" \
    'line=$(sed -n 2p "$sig"); c=${line:30:1}; [ "$c" = A ] && n=B || n=A; sed -i "2s/^\(.\{30\}\)./\1$n/" "$sig"'
done
check_case "a signature cut short" lxpack 1 \
  'FILE.minisig: damaged signature: not a signature file (an untrusted comment, the signature, a trusted comment and its signature, a line each)' \
  'sed -i "3,4d" "$sig"'
