// lxpack list: the launcher kind and the file index, as a table for people
// or as tab-separated records for scripts.
#include <cstdio>
#include <string>

#include "Commands.h"
#include "FileTypeNames.h"
#include "LauncherImage.h"
#include "Usage.h"

namespace {

void printTable(const LauncherImage& image) {
  std::printf("launcher kind: %d\n", image.kind());
  std::printf("architecture: %s\n", image.architecture().empty() ? "unknown" : image.architecture().c_str());
  std::printf("file index at byte %u, %d entries\n", image.indexOffset(), image.index().count());
  std::printf("checksums: %s\n", image.hasChecksums() ? "CRC-32C" : "none");
  std::printf("%3s  %-16s %11s %11s %11s  %-8s  %s\n", "#", "type", "id", "length", "offset", "checksum", "name");
  for (int i = 0; i < image.index().count(); ++i) {
    const FileIndexEntry* e = image.index().get(i);
    std::string type = std::to_string(e->getType()) + " " + fileTypeName(e->getType());
    std::printf("%3d  %-16s %11ld %11u %11u  %-8s  %s", i, type.c_str(), e->getId(), e->getLength(), e->getOffset(),
                checksumText(*e).c_str(), e->getName().c_str());
    if (e->isCompressed()) {
      std::printf("  (compressed: %u files, %u bytes)", e->getDecompressedFileCount(), e->getDecompressedSize());
    }
    if (e->isDeflated()) std::printf("  (deflated: %u bytes unpacked)", e->getDecompressedSize());
    std::putchar('\n');
  }
}

void printRecords(const LauncherImage& image) {
  std::printf("kind\t%d\n", image.kind());
  std::printf("arch\t%s\n", image.architecture().empty() ? "unknown" : image.architecture().c_str());
  for (int i = 0; i < image.index().count(); ++i) {
    const FileIndexEntry* e = image.index().get(i);
    std::printf("entry\t%d\t%ld\t%u\t%u\t%d\t%u\t%u\t%s\t%s\n", e->getType(), e->getId(), e->getLength(),
                e->getOffset(),
                e->isDeflated()     ? kDeflatedFlag
                : e->isCompressed() ? kCompressedFlag
                                    : 0,
                e->isDeflated() ? 1u : e->getDecompressedFileCount(), e->getDecompressedSize(),
                checksumText(*e).c_str(), e->getName().c_str());
  }
}

}  // namespace

int runList(Arguments& args) {
  bool porcelain = false;
  std::string path;
  while (!args.done()) {
    if (args.takeFlag("-p", "--porcelain")) {
      porcelain = true;
    } else if (path.empty()) {
      path = args.takeOperand();
    } else {
      throw UsageError("list takes one LAUNCHER, got a second: '" + args.current() + "'");
    }
  }
  if (path.empty()) throw UsageError("missing LAUNCHER");
  LauncherImage image(path);
  if (image.hasArchive()) {
    if (porcelain) {
      printRecords(image);
    } else {
      printTable(image);
    }
  }
  // What could be read is shown; the reason the rest could not follows.
  for (const Problem& p : image.readProblems()) std::fprintf(stderr, "lxpack: %s: %s\n", path.c_str(), p.text.c_str());
  return image.readProblems().empty() ? 0 : 1;
}
