#include "jvm/VerificationRunner.h"

namespace {

VerificationRunner* current = nullptr;

}  // namespace

void setVerificationRunner(VerificationRunner* runner) { current = runner; }

VerificationRunner* verificationRunner() { return current; }
