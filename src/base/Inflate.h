// Decompresses a raw deflate stream (the format zlib writes with negative
// window bits, without its header or trailer). The launcher program is
// linked statically for every architecture it ships for, so it carries this
// small decoder of its own rather than a library that each cross build
// would need a copy of.
#pragma once

#include <cstddef>

// Receives the decompressed bytes in order, in pieces of any size.
class InflateSink {
 public:
  virtual ~InflateSink() = default;
  virtual void write(const unsigned char* bytes, size_t count) = 0;
};

// Decodes the whole stream held in input and hands every byte to sink.
// Throws LauncherException("... deflate stream ...") when the stream is cut
// short, malformed, or followed by bytes of something else; whatever the
// sink throws passes through.
void inflateRaw(const unsigned char* input, size_t size, InflateSink& sink);
