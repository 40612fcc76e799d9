// A file written through one raw deflate stream (zlib's deflate without its
// header or trailer, as the launcher's own decoder reads it): a program's
// folder and the files lxpack stores deflated.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <string>

class DeflateFile {
 public:
  // Creates path; throws PackError.
  explicit DeflateFile(const std::string& path);
  ~DeflateFile();
  DeflateFile(const DeflateFile&) = delete;
  DeflateFile& operator=(const DeflateFile&) = delete;

  void write(const void* bytes, size_t count) { run(bytes, count, Z_NO_FLUSH); }
  // Ends the stream and closes the file; throws PackError.
  void finish();
  // The compressed bytes written so far.
  uint64_t written() const { return written_; }

 private:
  void run(const void* bytes, size_t count, int flush);

  std::string path_;
  FILE* file_;
  z_stream stream_;
  uint64_t written_ = 0;
};
