#include "instructions/Instructions.h"

#include "base/Termination.h"
#include "base/Tokenizer.h"
#include "instructions/Commands.h"
#include "tagfile/TagFile.h"

Instructions::Instructions(TagFile* tagFile, ControllerOperations* controller)
    : tagFile_(tagFile), controller_(controller), currentLine_(0), lastResult_(0), lineLimit_(0), expandedPerRun_(0) {}

const StringDeque* Instructions::scriptLines() const {
  return tagFile_ ? tagFile_->findValues("INSTRUCTIONS") : nullptr;
}

int Instructions::execute() {
  const StringDeque* lines = scriptLines();
  const int32_t count = lines ? lines->count() : 0;
  lastResult_ = 0;
  currentLine_ = 0;
  expandedPerRun_ = 0;
  unsigned long executed = 0;
  while (currentLine_ < count) {
    // A script may loop; a signal must be able to end it between lines.
    CheckTermination();
    if (lineLimit_ != 0 && executed == lineLimit_) break;
    ++executed;
    const SString line = lines->get(currentLine_);
    SString::size_type pos = 0;
    bool noWord = false;
    const SString command = nextWord(line, pos, noWord);
    if (noWord) raiseError("No command specified.");
    // A label line only marks a place to jump to.
    if (command[0] != ':' && !runCommand(*this, command, line, pos)) {
      raiseError("Invalid command (" + command + "). ");
    }
    ++currentLine_;
  }
  return lastResult_;
}

void Instructions::raiseError(const SString& message) const {
  throw InstructionsException(message, static_cast<long>(currentLine_) + 1);
}

int32_t Instructions::findLabel(const SString& label) const {
  SString target = ":" + label;
  expandVariables(target, "Invalid label specified.");
  if (target == ":") raiseError("Label " + label + " resolved to a blank string. Labels cannot be blank.");
  const StringDeque* lines = scriptLines();
  const int32_t count = lines ? lines->count() : 0;
  for (int32_t i = 0; i < count; ++i) {
    if (lines->get(i) == target) return i;
  }
  raiseError("Label not found (" + label + ")");
}
