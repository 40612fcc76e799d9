// The files lxpack stores deflated: each is written as a raw deflate stream
// to a file of its own, which the launcher is then written from, and its
// index entry announces the size and checksum it unpacks to (the launcher
// inflates it while extracting it, archive/EntryInflate.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "CreatePlan.h"
#include "LauncherFileSet.h"

struct DeflatedFile {
  uint64_t stored = 0;    // bytes of the deflate stream
  uint32_t size = 0;      // bytes of the file
  uint32_t checksum = 0;  // CRC-32C of the file's bytes
};

// Writes the file at source deflated to output. Throws PackError when it
// cannot be read, output cannot be written, or it has 4 GiB or more.
DeflatedFile deflateFile(const std::string& source, const std::string& output);

// A deflated file must save at least this share of the file's size to be
// stored so when the packager left the choice to lxpack: a jar's classes
// are mostly compressed already, and a launcher that inflates them on
// every start for a few percent would be slower for nothing.
const double kWorthwhileSaving = 0.1;

// Whether deflating the file at path saves kWorthwhileSaving of its size:
// the choice deflateMembers makes for kDeflateWhenWorthIt. Throws PackError.
bool worthDeflating(const std::string& path);

// Deflates the members that plan.compression asks for into a new directory
// (none when no member is deflated) and points them there.
std::unique_ptr<GeneratedDirectory> deflateMembers(CreatePlan& plan);
