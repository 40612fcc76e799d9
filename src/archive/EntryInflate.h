// Inflating an entry straight from the launcher file: its stored bytes are
// read in bounded pieces and pass through the entry's checksum on their way
// to the decoder, and the decoded bytes go on to a sink as they come.
// Neither the stored nor the unpacked entry is ever held whole in memory.
#pragma once

#include "archive/FileIndexEntry.h"
#include "base/Inflate.h"
#include "base/SString.h"

// Decodes the entry's stored bytes from the launcher file into sink, one
// progress step per kExtractChunkSize stored bytes. When the entry has a
// checksum and its stored bytes do not match it (or the file ends inside
// them), throws DamagedLauncherException whatever else failed, since
// damage explains any other failure; otherwise a failure of the decoder or
// of the sink passes through, and so does a signal to end.
void inflateEntry(int launcher, const FileIndexEntry& entry, InflateSink& sink);

// Writes a deflated entry (isDeflated()) unpacked to output, which path
// names. Throws DamagedLauncherException as inflateEntry does and also when
// the unpacked bytes are not the size and checksum the index announces,
// LauncherException for a stream the decoder refuses, and WriteFailure
// when writing fails.
void inflateEntryToFile(int launcher, const FileIndexEntry& entry, int output, const SString& path);
