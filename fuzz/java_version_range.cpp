// Version ranges as a JVM description gives them (JAVA_VERSION), against a
// version as a JVM or its release file reports it: the parser refuses
// what it cannot read, and the order of versions is a proper order.
//
// Input: the range, a line feed, then the version.
#include "FuzzTarget.h"
#include "jvm/JavaVersionRange.h"

namespace {

int sign(int value) { return value < 0 ? -1 : value > 0 ? 1 : 0; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const SString input(reinterpret_cast<const char*>(data), static_cast<SString::size_type>(size));
  const SString::size_type split = input.find('\n');
  const SString rangeText = input.substr(0, split);
  const SString versionText = split == SString::npos ? SString() : input.substr(split + 1);

  JavaVersionRange range;
  SString why;
  const bool parsed = range.parse(rangeText, why);
  FUZZ_CHECK(parsed == why.empty());
  FUZZ_CHECK(!parsed || range.text() == trim(rangeText, kWhiteSpace));

  JavaVersion version, bound;
  if (!parseJavaVersion(versionText, version)) {
    FUZZ_CHECK(!parsed || !range.contains(versionText));
    return 0;
  }
  FUZZ_CHECK(version.partCount > 0 && version.partCount <= JavaVersion::kMostParts);
  FUZZ_CHECK(compareJavaVersions(version, version) == 0);
  if (parseJavaVersion(rangeText, bound)) {
    FUZZ_CHECK(sign(compareJavaVersions(version, bound)) == -sign(compareJavaVersions(bound, version)));
  }
  // A range that names one version takes it (a pre-release counts as its
  // numbers).
  if (parsed && range.contains(version)) FUZZ_CHECK(range.contains(versionText));
  return 0;
}
