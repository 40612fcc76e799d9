// The unit tests verify candidate JVMs as the launcher does: through a
// launch script. The launcher sets this up when it starts; for the tests it
// is done before any test runs.
#include "jvm/VerificationRunner.h"
#include "launch/LaunchVerification.h"

namespace {

const bool kVerificationRunnerSet = (setVerificationRunner(&launchScriptVerificationRunner()), true);

}  // namespace
