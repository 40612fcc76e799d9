// Hand-made archive bytes for the archive tests: the tests spell out every
// field themselves, so they check the reader against the layout and not
// against the writer.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "base/LauncherException.h"

inline std::string be32(uint32_t v) {
  return std::string{static_cast<char>(v >> 24), static_cast<char>(v >> 16), static_cast<char>(v >> 8),
                     static_cast<char>(v)};
}

inline std::string be16(uint16_t v) { return std::string{static_cast<char>(v >> 8), static_cast<char>(v)}; }

inline std::string byte(int v) { return std::string(1, static_cast<char>(v)); }

// An index entry without the compressed fields (flag 0).
inline std::string plainEntry(int type, uint32_t id, uint32_t length, uint32_t offset, const std::string& name) {
  return byte(type) + be32(id) + be32(length) + be32(offset) + be16(static_cast<uint16_t>(name.size())) + name +
         byte(0);
}

// Kind byte, index offset and identification value.
inline std::string trailer(uint32_t indexOffset, int kind = 0) {
  return byte(kind) + be32(indexOffset) + be32(0xCA82CA82u);
}

// A stream over bytes, positioned at the start; the caller closes it.
inline FILE* streamOf(const std::string& bytes) {
  FILE* f = std::tmpfile();
  if (!f) throw std::runtime_error("cannot create a temporary stream");
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::rewind(f);
  return f;
}

// The message of the LauncherException that call throws.
template <class Call>
std::string errorOf(Call call) {
  try {
    call();
  } catch (const LauncherException& e) {
    return e.getMessage().c_str();
  }
  return "(no error)";
}
