#!/usr/bin/env bash
# An archive whose entry names a path outside the extraction directory is
# refused: -lx:extract fails, names the entry and writes nothing at all.
source "$(dirname "$0")/common.inc"
need_lxpack

mkdir -p out/inner
echo 'payload' > good.txt
echo 'evil' > evil.txt
# lxpack refuses such a name, so a harmless one of the same length is
# patched in the finished launcher; without checksums, which would tell the
# patch as damage, as a launcher of another writer could be.
make_launcher setup.bin --no-checksums application=good.txt --name ..Xescaped.txt application=evil.txt 2>/dev/null
offset=$(grep -obUa '\.\.Xescaped\.txt' setup.bin | cut -d: -f1)
[ -n "$offset" ] || fail "name not found in the launcher"
put_bytes setup.bin $((offset + 2)) '/'

status=0
(cd out/inner && "$T/setup.bin" -lx:extract > ../../console.txt) || status=$?
expect_eq "exit status" 255 "$status"
expect_contains "console" 'Invalid file name "../escaped.txt" of file id 1 in the file index' "$(cat console.txt)"
[ ! -e out/escaped.txt ] || fail "a file was written outside the extraction directory"
expect_eq "files written" "" "$(ls out/inner)"
