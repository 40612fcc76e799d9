#include "ClassFileVersion.h"

#include "jvm/JavaVersionRange.h"

namespace {

const unsigned char kMagic[] = {0xCA, 0xFE, 0xBA, 0xBE};
// Java 1.0 and 1.1 both wrote 45; no class file is older.
const int kFirstMajor = 45;
const int kJava5Major = 49;

}  // namespace

int classFileMajorVersion(const std::string& bytes) {
  if (bytes.size() < 8) return -1;
  for (size_t i = 0; i < sizeof kMagic; ++i) {
    if (static_cast<unsigned char>(bytes[i]) != kMagic[i]) return -1;
  }
  const int major = static_cast<unsigned char>(bytes[6]) << 8 | static_cast<unsigned char>(bytes[7]);
  return major >= kFirstMajor ? major : -1;
}

std::string javaForClassFile(int major) {
  const int release = major - 44;
  return major < kJava5Major ? "1." + std::to_string(release) : std::to_string(release);
}

std::string olderJavaAdmitted(const std::string& range, unsigned long release) {
  JavaVersionRange parsed;
  SString why;
  JavaVersion lowest;
  if (!parsed.parse(range.c_str(), why) || !parseJavaVersion(parsed.lowest(), lowest)) return std::string();
  // The lowest bound counts by its release alone: 17.0.5+ admits no Java
  // that 17 does not.
  return lowest.parts[0] < release ? parsed.lowest().c_str() : std::string();
}

std::string classVersionMistake(const std::string& classFileName, int major, const std::string& range) {
  const std::string lowest = olderJavaAdmitted(range, static_cast<unsigned long>(major - 44));
  if (lowest.empty()) return std::string();
  return classFileName + " needs Java " + javaForClassFile(major) + " (class file " + std::to_string(major) +
         "); --java " + range + " admits " + lowest;
}
