// Decompresses a raw deflate stream (the format zlib writes with negative
// window bits, without its header or trailer). The launcher program is
// linked statically for every architecture it ships for, so it carries this
// small decoder of its own rather than a library that each cross build
// would need a copy of.
//
// The decoder streams: it takes the compressed bytes in pieces from an
// InflateSource and hands the decoded ones on in pieces, keeping only the
// last 32 KiB window and one output buffer, so an entry of any size is
// unpacked in the same bounded memory.
#pragma once

#include <cstddef>

// Hands out the compressed bytes in order, in pieces of any size.
class InflateSource {
 public:
  virtual ~InflateSource() = default;
  // Points bytes at the next piece and returns its length; 0 once the
  // stream's bytes are all given. The piece stays valid until the next call.
  virtual size_t read(const unsigned char*& bytes) = 0;
};

// Receives the decompressed bytes in order, in pieces of any size.
class InflateSink {
 public:
  virtual ~InflateSink() = default;
  virtual void write(const unsigned char* bytes, size_t count) = 0;
};

// Decodes the whole stream that source gives and hands every byte to sink.
// Throws LauncherException("... deflate stream ...") when the stream is cut
// short, malformed, or followed by bytes of something else; whatever the
// source or the sink throws passes through.
void inflateRaw(InflateSource& source, InflateSink& sink);
// The same for a stream held whole in memory.
void inflateRaw(const unsigned char* input, size_t size, InflateSink& sink);
