#include "launch/LaunchScript.h"

#include "archive/LauncherKind.h"
#include "base/LauncherException.h"
#include "base/Log.h"
#include "fsutil/Platform.h"
#include "fsutil/TempFiles.h"
#include "launch/ConsoleMode.h"
#include "launch/FunctionArguments.h"
#include "launch/Quoting.h"

namespace {

// Sets the JVM description the functions read for as long as one expansion
// runs, however it ends.
class CurrentJvmScope {
 public:
  CurrentJvmScope(JVMFile*& slot, JVMFile* jvm) : slot_(slot) { slot_ = jvm; }
  ~CurrentJvmScope() { slot_ = nullptr; }
  CurrentJvmScope(const CurrentJvmScope&) = delete;
  CurrentJvmScope& operator=(const CurrentJvmScope&) = delete;

 private:
  JVMFile*& slot_;
};

// The JVM description's @NAME@ macros, with the path of the description
// file the launcher wrote (JVM_FILE) carried like the launcher's other
// paths.
class JvmMacros final : public MacroHandler {
 public:
  JvmMacros(JVMFile& jvm, CarriedValues& carried) : jvm_(jvm), carried_(carried) {}
  void resolveMacro(SString& text, char marker, SString::size_type start, SString::size_type& end) override {
    if (text.substr(start + 1, end - start - 1) != "JVM_FILE") {
      jvm_.resolveMacro(text, marker, start, end);
      return;
    }
    text.replace(start, end - start + 1, carried_.token(jvm_.getTagFile()->getValue("JVM_FILE", 0)));
  }

 private:
  JVMFile& jvm_;
  CarriedValues& carried_;
};

// SET_ENV_FOR_WIZARD lines, NAME=value each; they stay set for the rest of
// the run.
void applyWizardEnvironment(const TagFile& tags) {
  for (int i = 0; i < tags.getValueCount("SET_ENV_FOR_WIZARD"); ++i) {
    SString line = trim(tags.getValue("SET_ENV_FOR_WIZARD", static_cast<unsigned>(i)), kWhiteSpace);
    if (line.empty()) continue;
    SString::size_type equals = line.find('=');
    SString name = trim(equals == SString::npos ? line : line.substr(0, equals), kWhiteSpace);
    SString value = equals == SString::npos ? SString() : trim(line.substr(equals + 1), kWhiteSpace);
    SetEnv(name.c_str(), value);
  }
}

// The directory of the running launcher, not of -lx:orig: the wizard's
// files are unpacked next to the program that runs.
SString launcherDirectory(const LauncherPaths& paths) {
  const SString& path = paths.launcherPath;
  SString::size_type slash = path.rfind('/');
  return slash == SString::npos ? SString() : path.substr(0, slash);
}

}  // namespace

LaunchScript::LaunchScript(const RunContext& context, const TagFile* script, int captureOutput)
    : context_(context),
      command_(script->getValue("COMMAND", 0)),
      captureOutput_(captureOutput),
      displayConsole_(script->getBool("DISPLAY_CONSOLE", false)),
      autoSetWorkingDir_(script->getBool("AUTO_SET_WORKING_DIR", true)),
      execTempDir_(script->getBool("EXEC_TEMP_DIR", false)),
      currentJvm_(nullptr),
      addEmbeddedEntries_(1),
      description_(script->getValue("DESC", 0)),
      archive_(script->getValue("ARCHIVE", 0)),
      javaDownloadUrl_(script->getValue("JAVA_DOWNLOAD_URL", 0)),
      programNoJvmMessage_(script->getValue("NO_JVM_MESSAGE", 0) == "program"),
      failureDialog_(script->getBool("FAILURE_DIALOG", true)),
      consoleModeValues_(consoleModeValues(*script)),
      expandingArchive_(false) {
  // The wizard's output may be far larger than memory: it goes to the log
  // as it comes, and only the end of each stream is kept, for the error
  // output shown after a failure.
  limits_.tail = kWizardOutputTail;
}

LaunchScript::LaunchScript(const RunContext& context, const SString& command, int captureOutput, int addEmbeddedEntries)
    : context_(context),
      command_(command),
      captureOutput_(captureOutput),
      displayConsole_(0),
      autoSetWorkingDir_(1),
      execTempDir_(false),
      currentJvm_(nullptr),
      addEmbeddedEntries_(addEmbeddedEntries),
      programNoJvmMessage_(false),
      failureDialog_(true),
      expandingArchive_(false) {}

void LaunchScript::setTimeLimit(int seconds) {
  limits_.timeoutSeconds = seconds > 0 ? seconds : 0;
  limits_.ownProcessGroup = seconds > 0;
}

SString LaunchScript::expandCommand(JVMFile* jvm) {
  CurrentJvmScope scope(currentJvm_, jvm);
  carried_.clear();
  try {
    SString text = expandMacros(this, command_, '%');
    text = jvmExpand(text);
    return carried_.forShell(expandMacros(this, text, '#'));
  } catch (const MacroLoopException& e) {
    scriptError(e.getText(), e.getMessage());
  }
}

void LaunchScript::resolveMacro(SString& text, char marker, SString::size_type start, SString::size_type& end) {
  if (marker == '%') {
    callFunction(text, start, end);
  } else if (marker == '#') {
    SString name = text.substr(start + 1, end - start - 1);
    text.replace(start, end - start + 1, GetEnv(name.c_str()));
  }
}

void LaunchScript::callFunction(SString& text, SString::size_type start, SString::size_type end) {
  SString name = text.substr(start + 1, end - start - 1);
  const FunctionEntry* entry = nullptr;
  for (const FunctionEntry* f = kFunctions; f->name && !entry; ++f) {
    if (name == f->name) entry = f;
  }
  if (!entry) scriptError(text, "Invalid function name (" + name + ").");
  SString::size_type pos = end + 1;
  StringDeque args;
  SString complaint = parseFunctionArguments(text, pos, args);
  if (!complaint.empty()) scriptError(text, complaint);
  SString value = (this->*entry->function)(args, text);
  SString::size_type callEnd = pos == SString::npos ? text.length() : pos;
  text.replace(start, callEnd - start, value);
}

void LaunchScript::scriptError(const SString& text, const SString& message) const {
  log("Launch command:", INFO);
  log(carried_.plain(text), INFO);
  throw LauncherException("Launch script error: " + message);
}

SString LaunchScript::jvmValue(const char* tag) const {
  return currentJvm_ ? currentJvm_->getTagFile()->getValue(tag, 0) : SString();
}

SString LaunchScript::jvmExpand(const SString& text) const {
  if (!currentJvm_) return text;
  JvmMacros macros(*currentJvm_, carried_);
  return expandMacros(&macros, text, '@');
}

int LaunchScript::launch(JVMFile* jvm, StringDeque* extraArgs, int forceConsole, JvmStartWatch* watch) {
  // Before the expansion extracts the class path and %TEMP_DIR%() names
  // the directory: the wizard unpacks native code there.
  if (execTempDir_) UseExecutableTempDirectory("the launch script asks for it (EXEC_TEMP_DIR)");
  programArchive_ = SString();
  SString command = expandCommand(jvm);
  if (watch) watch->watchProgramArchive(programArchive_);
  SString workingDir = autoSetWorkingDir_ ? launcherDirectory(context_.paths) : SString();
  TagFile noTags;
  const TagFile& tags = jvm ? *jvm->getTagFile() : noTags;
  StringDeque consoleWords = consoleModeWords(consoleModeValues_);
  if (consoleWords.count() > 0 && consoleModeNeeded(tags.getValue("JVM_HOME", 0))) {
    for (int i = 0; i < consoleWords.count(); ++i) command += " " + quoteForShell(consoleWords.get(i));
  }
  if (extraArgs) {
    for (int i = 0; i < extraArgs->count(); ++i) command += " " + quoteForShell(extraArgs->get(i));
  }
  log("Executing launch script command: " + command +
          (autoSetWorkingDir_ ? " in working directory " + workingDir : SString(" in current working directory")),
      INFO);

  SString previousJavaHome = GetEnv("JAVA_HOME");
  SetEnv("JAVA_HOME", tags.getValue("JVM_HOME", 0));
  // Launcher kind 1 leaves the wizard's environment alone.
  int kind = runningLauncherKind(context_.paths);
  if (kind == 0 || kind == 2) applyWizardEnvironment(tags);

  int console = displayConsole_ || forceConsole;
  int capture = !console && captureOutput_;
  stdoutText_ = "";
  stderrText_ = "";
  const bool streamed = capture && limits_.tail > 0;
  if (streamed) log("Output from the launch script execution", INFO);
  CommandOptions options = CommandOptions().inDirectory(workingDir).limitedBy(&limits_);
  if (capture) options.captureInto(&stdoutText_, &stderrText_);
  int exitCode = runCommand(command, options);
  SetEnv("JAVA_HOME", previousJavaHome);

  if (capture && !streamed) {
    log("Output from the launch script execution", INFO);
    log("StdOut:", INFO);
    log(stdoutText_, INFO);
    log("ErrOut:", INFO);
    log(stderrText_, INFO);
  }
  return exitCode;
}
