#!/usr/bin/env bash
# lxpack list without --porcelain describes a launcher for people: its
# kind, architecture, where the index is and how many entries it holds, and
# each entry with its compressed contents.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/packed_layout.inc"

listing=$("$LXPACK" list setup.bin)
expect_contains "list" "launcher kind: 3" "$listing"
expect_contains "list" "architecture: $(uname -m)" "$listing"
expect_contains "list" "file index at byte $i, 3 entries" "$listing"
expect_contains "list" "checksums: CRC-32C" "$listing"
expect_contains "list" "Application.jar  (compressed: 12 files, 34567 bytes)" "$listing"
