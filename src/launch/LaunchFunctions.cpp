// The eleven functions a launch script command can call. Each gets its parsed
// string arguments and returns the text that replaces the call; the value
// is scanned again, so it may call functions itself. "JVM-expanded" text
// has the JVM description's @NAME@ macros replaced. Paths of the machine
// (the launcher's, temporary ones) are returned as carried tokens, which
// the rescans leave alone and the complete command gets quoted.
#include "base/LauncherException.h"
#include "fsutil/TempFiles.h"
#include "launch/AppDirectory.h"
#include "launch/ApplicationArchive.h"
#include "launch/ClassPath.h"
#include "launch/LaunchScript.h"
#include "launch/SideFiles.h"

const LaunchScript::FunctionEntry LaunchScript::kFunctions[] = {
    {"REPLACE", &LaunchScript::replaceFunction},
    {"RUNTIME_SYSTEMPROP", &LaunchScript::runtimeSystemPropFunction},
    {"RUNTIME_JAVAARGS", &LaunchScript::runtimeJavaArgsFunction},
    {"SYSTEMPROP", &LaunchScript::systemPropFunction},
    {"CP", &LaunchScript::classPathFunction},
    {"IF_EXISTS", &LaunchScript::ifExistsFunction},
    {"LAUNCHER_FILE", &LaunchScript::launcherFileFunction},
    {"LAUNCHER_DIR", &LaunchScript::launcherDirFunction},
    {"APPLICATION_ARCHIVE", &LaunchScript::applicationArchiveFunction},
    {"TEMP_DIR", &LaunchScript::tempDirFunction},
    {"APP_DIR", &LaunchScript::appDirFunction},
    {nullptr, nullptr},
};

// SYSTEM, the name, SYSTEM_SEPARATOR and the JVM-expanded value: "-Dname=value"
// with the usual descriptions.
SString LaunchScript::systemProperty(const SString& name, const SString& value) const {
  return jvmValue("SYSTEM") + name + jvmValue("SYSTEM_SEPARATOR") + jvmExpand(value);
}

// REPLACE(search, replacement, subject): the inserted text is never searched
// again, so a replacement that contains the search text ends.
SString LaunchScript::replaceFunction(const StringDeque& args, const SString& text) {
  if (args.count() != 3) scriptError(text, "REPLACE function requires 3 arguments.");
  SString search = jvmExpand(args.get(0));
  SString replacement = jvmExpand(args.get(1));
  SString subject = args.get(2);
  if (search.empty()) return subject;
  SString result;
  SString::size_type from = 0;
  for (SString::size_type found; (found = subject.find(search, from)) != SString::npos;) {
    result += subject.substr(from, found - from);
    result += replacement;
    from = found + search.length();
  }
  result += subject.substr(from);
  return result;
}

// Every "name=value" line of the .sp side file as a system property option.
SString LaunchScript::runtimeSystemPropFunction(const StringDeque& args, const SString& text) {
  if (args.count() != 0) scriptError(text, "RUNTIME_SYSTEMPROP function takes no arguments.");
  StringDeque lines;
  readTextLines(sideFilePath(context_.paths, ".sp"), lines);
  SString options;
  for (int i = 0; i < lines.count(); ++i) {
    const SString& line = lines.get(i);
    SString::size_type equals = line.find('=');
    if (equals == SString::npos) continue;
    if (!options.empty()) options += " ";
    options += systemProperty(line.substr(0, equals), line.substr(equals + 1));
  }
  return options;
}

// Every line of the .ja side file, JVM-expanded.
SString LaunchScript::runtimeJavaArgsFunction(const StringDeque& args, const SString& text) {
  if (args.count() != 0) scriptError(text, "RUNTIME_JAVAARGS function takes no arguments.");
  StringDeque lines;
  readTextLines(sideFilePath(context_.paths, ".ja"), lines);
  SString javaArgs;
  for (int i = 0; i < lines.count(); ++i) {
    SString arg = jvmExpand(lines.get(i));
    if (arg.empty()) continue;
    if (!javaArgs.empty()) javaArgs += " ";
    javaArgs += arg;
  }
  return javaArgs;
}

SString LaunchScript::systemPropFunction(const StringDeque& args, const SString& text) {
  if (args.count() != 2) scriptError(text, "SYSTEMPROP function requires 2 arguments.");
  return systemProperty(args.get(0), args.get(1));
}

SString LaunchScript::classPathFunction(const StringDeque& args, const SString& text) {
  // ARCHIVE may call functions, but not this one: it would expand ARCHIVE
  // again without end.
  if (expandingArchive_) scriptError(text, "The ARCHIVE value of the launch script must not call the CP function.");
  SString archive;
  if (!archive_.empty()) {
    expandingArchive_ = true;
    try {
      archive = expandMacros(this, archive_, '%');
    } catch (...) {
      expandingArchive_ = false;
      throw;
    }
    expandingArchive_ = false;
  }
  return buildClassPath(context_, currentJvm_, args, archive, addEmbeddedEntries_ != 0, carried_);
}

// IF_EXISTS(tag, text): the JVM-expanded text when the JVM description has
// a non-empty tag of that name.
SString LaunchScript::ifExistsFunction(const StringDeque& args, const SString& text) {
  if (args.count() != 2) scriptError(text, "IF_EXISTS function requires 2 arguments.");
  return jvmValue(args.get(0).c_str()).empty() ? SString() : jvmExpand(args.get(1));
}

SString LaunchScript::launcherFileFunction(const StringDeque& args, const SString& text) {
  if (args.count() != 0) scriptError(text, "LAUNCHER_FILE function takes 0 arguments.");
  return carried_.token(context_.paths.launcherPath);
}

SString LaunchScript::launcherDirFunction(const StringDeque& args, const SString& text) {
  if (args.count() != 0) scriptError(text, "LAUNCHER_DIR function takes 0 arguments.");
  return carried_.token(context_.paths.origLauncherDir());
}

// No argument: the archive embedded in the launcher; one: a file next to
// the original launcher.
SString LaunchScript::applicationArchiveFunction(const StringDeque& args, const SString& text) {
  if (args.count() > 1) scriptError(text, "APPLICATION_ARCHIVE function takes 0 arguments.");
  SString path =
      args.count() == 0 ? getApplicationArchive(context_.archive) : copyApplicationArchive(context_.paths, args.get(0));
  if (!path.empty()) programArchive_ = path;
  return path.empty() ? path : carried_.token(path);
}

SString LaunchScript::tempDirFunction(const StringDeque& args, const SString& text) {
  if (args.count() != 0) scriptError(text, "TEMP_DIR function takes 0 arguments.");
  // Where the launcher's own temporary files are, by the same rule.
  SString root = TempDirectory();
  if (endsWith(root, "\\") != SString::npos) root.erase(root.length() - 1, 1);
  return carried_.token(root);
}

// The program's own folder, unpacked; empty when the launcher carries none.
SString LaunchScript::appDirFunction(const StringDeque& args, const SString& text) {
  if (args.count() != 0) scriptError(text, "APP_DIR function takes 0 arguments.");
  SString path = getAppDirectory(context_.archive);
  return path.empty() ? path : carried_.token(path);
}
