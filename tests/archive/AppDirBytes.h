// Builds the bytes of a program's folder as lxpack carries it, record by
// record, so that tests can make good containers and hostile ones alike,
// and compresses them as lxpack does.
#pragma once

#include <zlib.h>

#include <stdexcept>
#include <string>

#include "archive/AppDirFormat.h"

class AppDirBytes {
 public:
  AppDirBytes() : bytes_(kAppDirMagic, sizeof kAppDirMagic) {}

  AppDirBytes& directory(const std::string& name) { return record(kAppDirDirectory, name); }
  AppDirBytes& file(const std::string& name, const std::string& data, bool executable = false) {
    record(executable ? kAppDirExecutable : kAppDirFile, name);
    return raw(bigEndian(static_cast<uint32_t>(data.size()), 4) + data);
  }
  AppDirBytes& record(unsigned char kind, const std::string& name) {
    return raw(std::string(1, static_cast<char>(kind)) + bigEndian(static_cast<uint32_t>(name.size()), 2) + name);
  }
  AppDirBytes& end() { return raw(std::string(1, static_cast<char>(kAppDirEnd))); }
  AppDirBytes& raw(const std::string& bytes) {
    bytes_ += bytes;
    return *this;
  }
  const std::string& bytes() const { return bytes_; }

 private:
  static std::string bigEndian(uint32_t value, int count) {
    std::string out(static_cast<size_t>(count), '\0');
    for (int i = count - 1; i >= 0; --i, value >>= 8) out[static_cast<size_t>(i)] = static_cast<char>(value & 0xFF);
    return out;
  }

  std::string bytes_;
};

// A raw deflate stream of data, as zlib makes it with these settings.
inline std::string deflateRawBytes(const std::string& data, int level = 9, int strategy = Z_DEFAULT_STRATEGY) {
  z_stream stream = {};
  if (deflateInit2(&stream, level, Z_DEFLATED, -15, 9, strategy) != Z_OK) throw std::runtime_error("deflateInit2");
  std::string out(deflateBound(&stream, data.size()) + 16, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
  stream.avail_in = static_cast<uInt>(data.size());
  stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
  stream.avail_out = static_cast<uInt>(out.size());
  int result = deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  if (result != Z_STREAM_END) throw std::runtime_error("deflate");
  return out;
}
