// A launcher is written beside its final name and renamed into place only
// when it is complete and checked, so an interrupted or failed run never
// leaves a half-written launcher under that name (nor a half-replaced old
// one). A signal that ends lxpack meanwhile removes the unfinished file too.
#pragma once

#include <sys/types.h>

#include <cstdio>
#include <memory>
#include <string>

#include "base/FileReplacement.h"

class AtomicOutput {
 public:
  // Creates the temporary file in target's directory; throws PackError.
  explicit AtomicOutput(const std::string& target);
  // Removes the temporary file unless commit ran.
  ~AtomicOutput();
  AtomicOutput(const AtomicOutput&) = delete;
  AtomicOutput& operator=(const AtomicOutput&) = delete;

  FILE* stream() const { return replacement_->stream(); }
  const std::string& temporaryPath() const { return temporaryPath_; }
  // Writes out what the stream holds, closes it; throws PackError.
  void finish(mode_t mode);
  // Renames the finished file to the target; throws PackError.
  void commit();

 private:
  std::string target_;
  std::string temporaryPath_;
  std::unique_ptr<FileReplacement> replacement_;
};

// Writes text as the whole of target (with mode) in the same way; throws
// PackError.
void writeWholeFile(const std::string& target, const std::string& text, mode_t mode);
