// The jobs an input file's ACTION can ask for, one row each with the keys
// whose values it needs: running the instructions, or one of the actions
// that answer a calling program (Actions.h).
#pragma once

#include "base/SString.h"

class TagFile;

struct InputFileAction {
  // The ACTION value, compared exactly.
  const char* name;
  // The keys whose values the action needs, both non-empty; null where it
  // needs fewer.
  const char* neededKeys[2];
  // The job, given SHOW_PROGRESS, SHOW_FAIL_MSG and the needed values in
  // order. Null for running the instructions, which happens after the
  // options.
  void (*perform)(bool showProgress, bool showFailMsg, const SString& first, const SString& second);
  // What a missing value does instead; true when it fails the run. Null
  // where no value is needed.
  bool (*withoutValues)();
};

extern const InputFileAction kInputFileActions[];
extern const int kInputFileActionCount;

struct ActionOutcome {
  // The instructions run after the options (unless a later option says
  // otherwise).
  bool runInstructions;
  // The run's result becomes -1.
  bool failed;
};

// Switches the progress display as SHOW_PROGRESS and SHOW_FAIL_MSG ask and
// performs the ACTION. An action that is none of the table's is printed
// and thrown.
ActionOutcome performInputFileAction(const TagFile& input);
