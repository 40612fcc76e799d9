#include "AtomicOutput.h"

#include <cstdio>

#include "SignalCleanup.h"
#include "Usage.h"
#include "base/SystemError.h"

namespace {

const char kTemporaryInfix[] = ".lxpack-";
const size_t kMostPathBytes = 4096;

}  // namespace

AtomicOutput::AtomicOutput(const std::string& target) : target_(target) {
  if (target.size() + sizeof kTemporaryInfix + 6 > kMostPathBytes) throw PackError("output path too long: " + target);
  replacement_.reset(new FileReplacement(target.c_str(), kTemporaryInfix));
  if (replacement_->stream() == nullptr) {
    throw PackError("cannot create a temporary file beside " + target + ": " + systemError().c_str());
  }
  temporaryPath_ = replacement_->path().c_str();
  removeOnSignal(temporaryPath_);
}

AtomicOutput::~AtomicOutput() {
  // The file goes before the signal handler forgets it.
  replacement_.reset();
  keepOnSignal(temporaryPath_);
}

void AtomicOutput::finish(mode_t mode) {
  if (!replacement_->finish(mode)) throw PackError("cannot write " + temporaryPath_ + ": " + systemError().c_str());
}

void AtomicOutput::commit() {
  if (!replacement_->commit()) {
    throw PackError("cannot rename " + temporaryPath_ + " to " + target_ + ": " + systemError().c_str());
  }
}

void writeWholeFile(const std::string& target, const std::string& text, mode_t mode) {
  AtomicOutput output(target);
  if (std::fwrite(text.data(), 1, text.size(), output.stream()) != text.size()) {
    throw PackError("cannot write " + output.temporaryPath() + ": " + systemError().c_str());
  }
  output.finish(mode);
  output.commit();
}
