// A launch script turns the template of the command that starts the Java
// application into a real command line for one JVM description, and runs it.
// The template (COMMAND) is expanded in three passes:
//
//   %NAME%("arg", ...)   launch script functions (class path, system
//                        properties, launcher paths, ...)
//   @NAME@               tags of the JVM description
//   #NAME#               environment variables
//
// The application's launch script is a tag file from the archive; the JVM
// verification builds a throw-away script from a command string. The
// launcher's paths, the user's class path options and the archive come from
// the run context.
#pragma once

#include "base/Deque.h"
#include "base/SString.h"
#include "jvm/JVMFile.h"
#include "jvm/MacroHandler.h"
#include "jvm/RunContext.h"
#include "launch/CarriedValues.h"
#include "launch/JvmStartWatch.h"
#include "launch/RunCommand.h"
#include "tagfile/TagFile.h"

// How much of the end of each output stream of a wizard run without a
// console is kept in memory (the rest is only in the log).
const size_t kWizardOutputTail = 64 * 1024;

class LaunchScript final : public MacroHandler {
 public:
  // Reads COMMAND, DISPLAY_CONSOLE, AUTO_SET_WORKING_DIR, EXEC_TEMP_DIR, DESC,
  // ARCHIVE, JAVA_DOWNLOAD_URL, NO_JVM_MESSAGE, FAILURE_DIALOG and
  // CONSOLE_MODE_ARGS.
  LaunchScript(const RunContext& context, const TagFile* script, int captureOutput);
  // Runs in the launcher's directory without a console.
  LaunchScript(const RunContext& context, const SString& command, int captureOutput, int addEmbeddedEntries);
  LaunchScript(const LaunchScript&) = delete;
  LaunchScript& operator=(const LaunchScript&) = delete;

  // Throws LauncherException "Launch script error: ..." for a malformed
  // template and logs the text it stopped at. The launcher's own paths in
  // the result are quoted for where they stand in the shell command.
  SString expandCommand(JVMFile* jvm);
  void resolveMacro(SString& text, char marker, SString::size_type start, SString::size_type& end) override;

  // Expands the command for jvm, appends the CONSOLE_MODE_ARGS words when
  // the wizard cannot open windows (see ConsoleMode.h) and each extra
  // argument, each as one quoted shell word, runs it with JAVA_HOME set to the JVM's home and returns its
  // exit code. forceConsole runs it on the launcher's terminal without
  // capturing its output. A watch, when given, is told the program's
  // archive that the command passes, before the command starts.
  int launch(JVMFile* jvm, StringDeque* extraArgs, int forceConsole, JvmStartWatch* watch = nullptr);

  const SString& getStdoutText() const { return stdoutText_; }
  const SString& getStderrText() const { return stderrText_; }
  const SString& getDescription() const { return description_; }
  // Where a user without a suitable JVM can get one; empty when not given.
  const SString& getJavaDownloadUrl() const { return javaDownloadUrl_; }
  // NO_JVM_MESSAGE: program. The launcher starts a program rather than an
  // installer, so a user without Java is told which Java it needs and how
  // to name one, not to run an installer again.
  bool programNoJvmMessage() const { return programNoJvmMessage_; }
  // FAILURE_DIALOG: 0. The program runs on a console, and whoever started
  // it reads its standard error: a failure is never shown in a dialog.
  bool failureDialog() const { return failureDialog_; }

  // Runs of this script end after seconds (0: no limit), with every process
  // the command started; limitExpired tells whether the last run was ended
  // so. For verification runs, where a broken JVM must not hang the search.
  void setTimeLimit(int seconds);
  bool limitExpired() const { return limits_.expired; }
  // Captured runs keep at most bytes of each stream (0: all); a run that
  // prints more is ended, and outputLimitExceeded tells so.
  void setOutputLimit(size_t bytes) { limits_.outputLimit = bytes; }
  bool outputLimitExceeded() const { return limits_.outputExceeded; }

 private:
  typedef SString (LaunchScript::*Function)(const StringDeque& args, const SString& text);
  struct FunctionEntry {
    const char* name;
    Function function;
  };
  static const FunctionEntry kFunctions[];

  void callFunction(SString& text, SString::size_type start, SString::size_type end);
  [[noreturn]] void scriptError(const SString& text, const SString& message) const;
  SString jvmValue(const char* tag) const;
  SString jvmExpand(const SString& text) const;
  SString systemProperty(const SString& name, const SString& value) const;

  SString replaceFunction(const StringDeque& args, const SString& text);
  SString runtimeSystemPropFunction(const StringDeque& args, const SString& text);
  SString runtimeJavaArgsFunction(const StringDeque& args, const SString& text);
  SString systemPropFunction(const StringDeque& args, const SString& text);
  SString classPathFunction(const StringDeque& args, const SString& text);
  SString ifExistsFunction(const StringDeque& args, const SString& text);
  SString launcherFileFunction(const StringDeque& args, const SString& text);
  SString launcherDirFunction(const StringDeque& args, const SString& text);
  SString applicationArchiveFunction(const StringDeque& args, const SString& text);
  SString tempDirFunction(const StringDeque& args, const SString& text);
  SString appDirFunction(const StringDeque& args, const SString& text);

  const RunContext& context_;
  SString command_;
  int captureOutput_;
  int displayConsole_;
  int autoSetWorkingDir_;
  bool execTempDir_;  // the wizard runs programs from the temporary directory
  SString stdoutText_;
  SString stderrText_;
  JVMFile* currentJvm_;  // only while expandCommand runs
  int addEmbeddedEntries_;
  SString description_;
  SString archive_;
  // The application archive the last expansion passed, unquoted.
  SString programArchive_;
  SString javaDownloadUrl_;
  bool programNoJvmMessage_;
  bool failureDialog_;
  StringDeque consoleModeValues_;
  bool expandingArchive_;
  RunLimits limits_;
  // The values of the expansion under way; the JVM-expanding helpers,
  // const otherwise, add to it.
  mutable CarriedValues carried_;
};
