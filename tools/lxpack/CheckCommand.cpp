// lxpack check: everything the launcher would trip over in a launcher file,
// reported at once.
#include <cstdio>
#include <string>

#include "Commands.h"
#include "LauncherImage.h"
#include "Usage.h"

int runCheck(Arguments& args) {
  if (args.done()) throw UsageError("missing LAUNCHER");
  std::string path = args.takeOperand();
  if (!args.done()) throw UsageError("check takes one LAUNCHER, got a second: '" + args.current() + "'");
  LauncherImage image(path);
  std::vector<Problem> problems = image.check();
  for (const Problem& p : problems) {
    if (p.entry < 0) {
      std::printf("%s: %s\n", path.c_str(), p.text.c_str());
    } else {
      std::printf("%s: entry %d (%s): %s\n", path.c_str(), p.entry, image.index().get(p.entry)->getName().c_str(),
                  p.text.c_str());
    }
  }
  if (!problems.empty()) {
    std::printf("%s: %zu problem%s\n", path.c_str(), problems.size(), problems.size() == 1 ? "" : "s");
    return 1;
  }
  std::printf("%s: OK, %s, %d entries%s\n", path.c_str(), image.architecture().c_str(), image.index().count(),
              image.hasChecksums() || image.index().isEmpty() ? "" : ", without checksums");
  return 0;
}
