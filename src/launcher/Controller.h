// The operations the instructions script calls: find, verify and install a
// JVM, launch the application, hand over to an embedded launcher. Each
// reports back through its result and the log.
#pragma once

#include "base/SString.h"
#include "instructions/ControllerOperations.h"

class JvmStartWatch;
class LaunchScript;
class TagFile;
struct LaunchEnd;

class Controller : public ControllerOperations {
 public:
  FoundJvm findJVM(bool showUI, bool showFailMsg) override;
  void initializeUI() override;
  InstalledJvm installBundledJVM(long mode) override;
  int launchJVMFile(const SString& path, short seconds) override;
  int launchInternal(long fileId, short seconds) override;
  VerifiedJvm verifyJVMFile(bool showUI, bool showFailMsg, long fileId) override;
  void executeEmbeddedLauncher(long position) override;

  // Shared by VERIFY and the VERIFY_JVM action: an empty home verifies the
  // home that the description names itself.
  VerifiedJvm verifyAgainstHome(bool showUI, bool showFailMsg, TagFile* description, const SString& home);

  // Whether the instructions stand on their "no suitable JVM" path: the
  // last FIND_JVM, VERIFY or INSTALL_JVM got no JVM, and nothing was
  // launched after it.
  bool endsWithoutJvm() const { return withoutJvm_; }
  void forgetJvmOutcome() { withoutJvm_ = false; }
  // What the step that got no JVM says about it, whether or not it was
  // asked to print it, for the dialog of a user who has no console
  // (FailureDialog.h): the no-JVM text, and the download address when the
  // launch script gives one. A program's user there is not told of
  // command-line options.
  const SString& noJvmDialogText() const { return noJvmDialogText_; }
  // The end of what the last launched application wrote to its error
  // output, for the entry point to show after a failing run.
  const SString& childErrorOutput() const { return childErrorOutput_; }

 private:
  // Records and logs the no-JVM text with the download address, and prints
  // both when showFailMsg; dialogText, when given, stands for text in the
  // dialog.
  void reportNoJvm(const SString& text, bool showFailMsg, const SString& dialogText = SString());
  bool mayNotHaveStarted(const SString& executable, const LaunchEnd& end);
  bool stillVerifies(TagFile* description, const SString& home, const SString& executable);
  int launchWith(LaunchScript* script, TagFile* description, short seconds, JvmStartWatch* watch = nullptr);

  bool withoutJvm_ = false;
  SString noJvmDialogText_;
  SString childErrorOutput_;
};

// The one controller of the process.
Controller& controller();

// The description file "jvm" that an installed JVM brings in its directory.
SString jvmDescriptionPath(const SString& directory);
