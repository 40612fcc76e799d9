// A program's own folder travels in the launcher as one entry: a small
// container of its directories and files, compressed as one raw deflate
// stream. The decompressed container reads:
//
//   magic "LXD1"
//   records, each:  kind u8 | name length u16 | name | [size u32 | bytes]
//   an end record:  kind 'E', nothing after it
//
// Integers are big-endian. Kinds: 'D' a directory, 'F' a file, 'X' a file
// its owner may run; only files carry a size and their bytes. A name is a
// path relative to the folder, its parts joined by "/", each part a plain
// file name; a directory comes before everything inside it. There are no
// links, devices or other kinds: what the launcher unpacks is always the
// folder's own files.
#pragma once

#include <cstdint>

const char kAppDirMagic[4] = {'L', 'X', 'D', '1'};
const unsigned char kAppDirDirectory = 'D';
const unsigned char kAppDirFile = 'F';
const unsigned char kAppDirExecutable = 'X';
const unsigned char kAppDirEnd = 'E';
// The longest relative name a record may carry (PATH_MAX less the room
// for the directory it is unpacked into).
const uint16_t kAppDirMaxNameLength = 3072;
