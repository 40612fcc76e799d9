#!/usr/bin/env bash
# A launcher file with bytes after its trailer (a line added by `echo >>`,
# a signature appended by a user) is longer than what was packed, not cut
# short: it says so on the console and in the log, ends with status 255
# and runs nothing, with and without checksums. A cut-short file keeps its
# own message.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/damaged_launcher.inc"
message="The launcher file is damaged: it is longer than what was packed into it; something was added to its end. Please download the launcher again."

make_launcher plain.bin --no-checksums instructions=instructions.txt launch-script=launch.txt classpath=app.jar 2>/dev/null
signature=$(printf -- '-----BEGIN PGP SIGNATURE-----\n%s\n-----END PGP SIGNATURE-----' "$(head -c 600 /dev/urandom | base64)")
for launcher in good.bin plain.bin; do
  for added in "" x "$signature"; do
    cp "$launcher" longer.bin
    echo "$added" >> longer.bin
    rm -f log.txt
    run out ./longer.bin -lx:log "$T/log.txt"
    what="$launcher with $(( ${#added} + 1 )) bytes added"
    expect_eq "$what: status" 255 "$status"
    expect_eq "$what: output" "$message" "$out"
    expect_contains "$what: log" "ERROR: $message" "$(cat log.txt)"
    expect_nothing_ran "$what"
  done
done

head -c $((size - 3)) good.bin > cut.bin
chmod +x cut.bin
run out ./cut.bin
expect_eq "cut short: output" \
  "The launcher file is damaged: it is incomplete, probably cut short while it was downloaded. Please download the launcher again." \
  "$out"
