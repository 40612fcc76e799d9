#!/usr/bin/env bash
# lxpack create --sign KEY writes OUTPUT.minisig beside the launcher, in
# both forms of create: stock minisign accepts it, its trusted comment
# names the launcher (not the temporary file it was written as) and its
# size, and the launcher, which carries nothing of it, still runs. A key
# that cannot be opened stops create before anything is written, and a
# launcher made again gets a signature of its own.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/signing.inc"
source "$(dirname "$0")/jar_launcher.inc"

"$LXPACK" keys --no-password -o release > /dev/null

# The one-command form, run for real.
mkdir -p src
cat > src/Main.java <<'JAVA'
public class Main {
  public static void main(String[] args) { System.out.println("signed and running"); }
}
JAVA
java_jar app.jar Main src/Main.java
run out "$LXPACK" create --main-jar app.jar --java 17+ --cli --sign release.key -o app.bin
expect_eq "create --main-jar --sign: status ($(cat "$T/.stderr"))" 0 "$status"
run out minisign -Vm app.bin -p release.pub
expect_eq "minisign -V of the launcher create signed: status ($out $(cat "$T/.stderr"))" 0 "$status"
expect_contains "trusted comment" "	file:app.bin	size:$(file_size app.bin)	lxpack:" "$out"
expect_eq "lxpack check" "app.bin: OK, x86_64, 5 entries" "$("$LXPACK" check app.bin)"
run out env JAVA_HOME="$(find_jdk)" ./app.bin
expect_eq "the signed launcher's output ($(cat "$T/.stderr"))" "signed and running" "$out"
expect_eq "the signed launcher's status" 0 "$status"
expect_clean_tmp "create --main-jar --sign"

# The form with the files given one by one.
printf 'INSTRUCTIONS:\n  SET N1 = 1\n/:\n' > first.txt
printf 'INSTRUCTIONS:\n  SET N1 = 2\n/:\n' > second.txt
make_launcher setup.bin --sign release.key --name instructions.txt instructions=first.txt 2> /dev/null ||
  fail "create --sign ended with $?"
run out "$LXPACK" verify -p release.pub setup.bin
expect_eq "lxpack verify of create's signature: status ($(cat "$T/.stderr"))" 0 "$status"
expect_contains "trusted comment" "	file:setup.bin	size:$(file_size setup.bin)	lxpack:" "$out"
cp setup.bin first.bin
cp setup.bin.minisig first.bin.minisig

# A key create cannot open: nothing written, the old launcher and its
# signature as they were, no temporary file beside them.
for key in release.pub missing.key; do
  run out make_launcher setup.bin --sign "$key" --name instructions.txt instructions=second.txt
  expect_eq "create --sign $key: status" 1 "$status"
  case $key in
    release.pub) message="lxpack: release.pub: not a secret key: expected a comment line and the base64 of 158 bytes, as minisign writes it" ;;
    missing.key) message="lxpack: cannot read missing.key: No such file or directory" ;;
  esac
  expect_eq "create --sign $key: message" "$message" "$(cat "$T/.stderr")"
  cmp -s setup.bin first.bin || fail "create --sign $key replaced the launcher"
  cmp -s setup.bin.minisig first.bin.minisig || fail "create --sign $key replaced the signature"
done
leftovers=$(ls -A | grep -F '.lxpack-' || true)
[ -z "$leftovers" ] || fail "create --sign left temporary files: $leftovers"

# Made again, the launcher gets a new signature; the old one would not fit.
make_launcher setup.bin --sign release.key --name instructions.txt instructions=second.txt 2> /dev/null
cmp -s setup.bin first.bin && fail "the second launcher is the first one"
run out minisign -Vm setup.bin -p release.pub
expect_eq "minisign -V of the launcher made again: status ($out $(cat "$T/.stderr"))" 0 "$status"
run out "$LXPACK" verify -p release.pub -x first.bin.minisig setup.bin
expect_eq "the first signature does not fit the second launcher" 1 "$status"

# Without --sign create writes no signature.
make_launcher unsigned.bin --name instructions.txt instructions=first.txt 2> /dev/null
[ ! -e unsigned.bin.minisig ] || fail "create without --sign wrote a signature"
