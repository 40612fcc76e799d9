#include "base/LauncherException.h"
#include "launcher/Controller.h"

// The JVM search is being wired in; until then these operations fail with a
// clear message instead of answering wrongly.
namespace {
[[noreturn]] void NotAvailable(const char* what) {
  throw LauncherException(SString(what) + " is not available in this build of the launcher.");
}
}  // namespace

void Controller::findJVM(bool, bool) { NotAvailable("FIND_JVM"); }
void Controller::verifyJVMFile(bool, bool, long) { NotAvailable("VERIFY"); }
void Controller::verifyAgainstHome(bool, bool, TagFile*, const SString&) { NotAvailable("VERIFY_JVM"); }
