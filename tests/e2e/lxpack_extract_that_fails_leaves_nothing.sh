#!/usr/bin/env bash
# lxpack extract writes the whole set or nothing: a launcher with an entry
# name that is no plain file name is refused before anything is written,
# and a disk that fills up half-way takes back what was written. The advice
# is lxpack's own (--directory), not the launcher's -lx:tempdir.
source "$(dirname "$0")/common.inc"
need_lxpack

echo 'payload' > good.txt
echo 'evil' > evil.txt
# lxpack create refuses such a name: a harmless one of the same length is
# patched in, without checksums, as a launcher of another writer could be.
make_launcher badname.bin --no-checksums application=good.txt --name ..Xescaped.txt application=evil.txt 2>/dev/null
offset=$(grep -obUa '\.\.Xescaped\.txt' badname.bin | cut -d: -f1)
[ -n "$offset" ] || fail "name not found in the launcher"
put_bytes badname.bin $((offset + 2)) '/'
mkdir -p out/inner
status=0
"$LXPACK" extract -C out/inner badname.bin 2> err.txt || status=$?
expect_eq "bad name status" 1 "$status"
expect_eq "files written for a bad name" "inner" "$(ls -A out)"
expect_eq "files written inside for a bad name" "" "$(ls -A out/inner)"
expect_contains "bad name message" "lxpack: badname.bin: entry '../escaped.txt' has a name that is not a plain file name" "$(cat err.txt)"
expect_contains "bad name outcome" "nothing was extracted" "$(cat err.txt)"

# A small file first, then one the file system cannot hold.
mount_tmpfs small size=64k
head -c 1000 /dev/urandom > first.bin
head -c 200000 /dev/urandom > second.bin
make_launcher full.bin application=first.bin application=second.bin 2>/dev/null
status=0
"$LXPACK" extract -C small full.bin 2> err.txt || status=$?
expect_eq "full disk status" 1 "$status"
expect_eq "files left on the full disk" "" "$(ls -A small)"
expect_contains "full disk message" "lxpack: full.bin: cannot write small/second.bin: No space left on device (not enough free space in small: choose another directory with --directory); nothing was extracted" "$(cat err.txt)"
case "$(cat err.txt)" in *-lx:tempdir*) fail "lxpack gives the launcher's -lx:tempdir advice: $(cat err.txt)" ;; esac
