#include "DeflatedEntries.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "DeflateFile.h"
#include "Usage.h"
#include "archive/Crc32c.h"

DeflatedFile deflateFile(const std::string& source, const std::string& output) {
  FILE* in = std::fopen(source.c_str(), "rb");
  if (!in) throw PackError("cannot read " + source + ": " + std::strerror(errno));
  DeflatedFile result;
  try {
    DeflateFile out(output);
    Crc32c checksum;
    std::vector<char> buffer(256 * 1024);
    uint64_t size = 0;
    for (size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), in)) > 0;) {
      size += n;
      if (size > 0xFFFFFFFFu) throw PackError(source + " has 4 GiB or more: it cannot be stored deflated");
      checksum.update(buffer.data(), n);
      out.write(buffer.data(), n);
    }
    if (std::ferror(in)) throw PackError("cannot read " + source + ": " + std::strerror(errno));
    out.finish();
    result.stored = out.written();
    result.size = static_cast<uint32_t>(size);
    result.checksum = checksum.value();
  } catch (...) {
    std::fclose(in);
    throw;
  }
  std::fclose(in);
  return result;
}

namespace {

bool savesEnough(const DeflatedFile& file) {
  return static_cast<double>(file.stored) <= (1 - kWorthwhileSaving) * file.size;
}

}  // namespace

bool worthDeflating(const std::string& path) { return savesEnough(deflateFile(path, "/dev/null")); }

std::unique_ptr<GeneratedDirectory> deflateMembers(CreatePlan& plan) {
  std::unique_ptr<GeneratedDirectory> deflated;
  for (size_t i = 0; i < plan.members.size() && i < plan.compression.size(); ++i) {
    if (plan.compression[i] == EntryCompression::kNone) continue;
    ArchiveMember& m = plan.members[i];
    if (!deflated) deflated.reset(new GeneratedDirectory);
    const std::string stream = deflated->path() + "/" + std::to_string(i) + ".deflated";
    deflated->adopt({stream});
    const DeflatedFile file = deflateFile(m.sourcePath.c_str(), stream);
    if (plan.compression[i] == EntryCompression::kDeflateWhenWorthIt && !savesEnough(file)) {
      std::remove(stream.c_str());
      continue;
    }
    m.sourcePath = stream.c_str();
    m.deflated = true;
    m.decompressedSize = file.size;
    m.unpackedChecksum = file.checksum;
  }
  return deflated;
}
