// What the run takes from the launcher's files: the instructions script,
// the launch script and the set of JVM descriptions, made from the tag files
// that the archive chose for the run (an input file's, else the embedded
// ones). The archive only chooses the files; the objects that use them are
// composed here, above the folders they come from. One set per process.
#pragma once

#include <memory>

#include "jvm/JVMFiles.h"

class Instructions;
class LaunchScript;
class TagFile;

class RunFiles {
 public:
  RunFiles();
  ~RunFiles();
  RunFiles(const RunFiles&) = delete;
  RunFiles& operator=(const RunFiles&) = delete;

  // Each follows the archive's current choice: a file chosen later (the
  // embedded one once the index is loaded) replaces what was made before.
  // Null when no such file was chosen.
  Instructions* getInstructions();
  LaunchScript* getLaunchScript();
  // Every chosen JVM description, in the order chosen, and the input file's
  // verification class when it named one.
  JVMFiles& getJVMFiles();

 private:
  std::unique_ptr<Instructions> instructions_;
  const TagFile* instructionsSource_ = nullptr;
  std::unique_ptr<LaunchScript> launchScript_;
  const TagFile* launchScriptSource_ = nullptr;
  JVMFiles jvmFiles_;
  size_t jvmSourcesUsed_ = 0;
};

RunFiles& runFiles();
