#include "DeflateFile.h"

#include <cerrno>
#include <cstring>

#include "Usage.h"

DeflateFile::DeflateFile(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "wb")) {
  if (!file_) throw PackError("cannot create " + path + ": " + std::strerror(errno));
  std::memset(&stream_, 0, sizeof stream_);
  if (deflateInit2(&stream_, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK) {
    std::fclose(file_);
    throw PackError("cannot start compressing " + path);
  }
}

DeflateFile::~DeflateFile() {
  deflateEnd(&stream_);
  if (file_) std::fclose(file_);
}

void DeflateFile::finish() {
  run(nullptr, 0, Z_FINISH);
  const int closed = std::fclose(file_);
  file_ = nullptr;
  if (closed != 0) throw PackError("cannot write " + path_ + ": " + std::strerror(errno));
}

void DeflateFile::run(const void* bytes, size_t count, int flush) {
  stream_.next_in = static_cast<Bytef*>(const_cast<void*>(bytes));
  stream_.avail_in = static_cast<uInt>(count);
  unsigned char out[65536];
  int result;
  do {
    stream_.next_out = out;
    stream_.avail_out = sizeof out;
    result = deflate(&stream_, flush);
    const size_t produced = sizeof out - stream_.avail_out;
    if (produced > 0 && std::fwrite(out, 1, produced, file_) != produced) {
      throw PackError("cannot write " + path_ + ": " + std::strerror(errno));
    }
    written_ += produced;
  } while (stream_.avail_out == 0 || (flush == Z_FINISH && result != Z_STREAM_END));
}
