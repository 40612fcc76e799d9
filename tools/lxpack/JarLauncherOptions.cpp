#include "JarLauncherOptions.h"

#include <cstring>

#include "JvmOptionFolders.h"
#include "ProgramArchitecture.h"
#include "Usage.h"
#include "jvm/JavaVersionRange.h"

namespace {

// Every value lands in a line of a tag file, which has no way to hold a
// line break.
std::string oneLine(const std::string& option, const std::string& value) {
  if (value.empty()) throw UsageError(option + " needs a value that is not empty");
  if (value.find_first_of("\r\n") != std::string::npos) throw UsageError(option + " cannot hold a line break");
  return value;
}

// A system property name lands inside a quoted function argument of the
// launch script; plain names are all a program reads.
std::string propertyName(const std::string& option, const std::string& value) {
  bool plain = !value.empty();
  for (char c : value) {
    plain = plain && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      std::strchr("._-", c) != nullptr);
  }
  if (!plain) throw UsageError(option + " takes a system property name of letters, digits, '.', '_' and '-'");
  return value;
}

// A --jvm-option naming the program's folder needs one to name.
void refuseFolderWithoutAppDir(const JarLauncherOptions& options) {
  if (!options.appDir.empty()) return;
  for (const std::string& option : options.jvmOptions) {
    if (readJvmOption(option).names(JvmOptionPart::kAppDir)) {
      throw UsageError("--jvm-option '" + option +
                       "' names $APP_DIR, the program's folder, but the launcher carries none: give it with "
                       "--app-dir DIR (or write $$ for a dollar)");
    }
  }
}

}  // namespace

std::string javaRangeMistake(const std::string& range) {
  JavaVersionRange parsed;
  SString why;
  if (parsed.parse(range.c_str(), why)) return std::string();
  // The launcher's reason speaks of a JVM description; the packager wrote
  // an option. A range whose ends are the wrong way round is shown turned.
  const std::string::size_type dash = range.find('-');
  if (dash != std::string::npos && range.find('-', dash + 1) == std::string::npos) {
    JavaVersionRange turned;
    const std::string turnedText = range.substr(dash + 1) + "-" + range.substr(0, dash);
    if (turned.parse(turnedText.c_str(), why)) {
      return "--java " + range + " ends before it starts: write " + turnedText;
    }
  }
  return "--java '" + range + "' is no range of Java versions: write 17+, 17 or 11-21";
}

bool usesJarForm(int argc, char** argv, int first) {
  const char* const jarOptions[] = {"--main-jar", "--main-class",      "--java",       "--cli",
                                    "--title",    "--java-download",   "--jvm-option", "--class-path",
                                    "--app-dir",  "--app-dir-property"};
  for (int i = first; i < argc; ++i) {
    if (std::strcmp(argv[i], "--") == 0) return false;
    for (const char* option : jarOptions) {
      const size_t length = std::strlen(option);
      if (std::strncmp(argv[i], option, length) == 0 && (argv[i][length] == '\0' || argv[i][length] == '=')) {
        return true;
      }
    }
  }
  return false;
}

JarLauncherOptions parseJarLauncherOptions(Arguments& args, bool withProgram) {
  JarLauncherOptions options;
  std::string value;
  std::string stray;  // the first operand, which this form takes none of
  while (!args.done()) {
    if (args.takeOption(nullptr, "--main-jar", value)) {
      options.mainJar = oneLine("--main-jar", value);
    } else if (args.takeOption(nullptr, "--main-class", value)) {
      options.mainClass = oneLine("--main-class", value);
    } else if (args.takeOption(nullptr, "--java", value)) {
      options.javaRange = oneLine("--java", value);
    } else if (args.takeFlag(nullptr, "--cli")) {
      options.cli = true;
    } else if (args.takeOption(nullptr, "--title", value)) {
      options.titleGiven = true;
      options.title = oneLine("--title", value);
    } else if (args.takeOption(nullptr, "--java-download", value)) {
      options.javaDownloadUrl = oneLine("--java-download", value);
    } else if (args.takeOption(nullptr, "--jvm-option", value)) {
      options.jvmOptions.push_back(oneLine("--jvm-option", value));
    } else if (args.takeOption(nullptr, "--class-path", value)) {
      options.classPathJars.push_back(oneLine("--class-path", value));
    } else if (args.takeOption(nullptr, "--app-dir", value)) {
      options.appDir = oneLine("--app-dir", value);
      while (options.appDir.size() > 1 && options.appDir.back() == '/') options.appDir.pop_back();
    } else if (args.takeOption(nullptr, "--app-dir-property", value)) {
      options.appDirProperty = propertyName("--app-dir-property", value);
    } else if (args.takeOption("-o", "--output", value)) {
      options.output = value;
    } else if (withProgram && args.takeOption("-s", "--stub", value)) {
      options.stub = value;
    } else if (withProgram && args.takeOption(nullptr, "--sign", value)) {
      options.signingKey = value;
    } else if (withProgram && args.takeFlag(nullptr, "--compress")) {
      options.jarCompression = EntryCompression::kDeflate;
    } else if (withProgram && args.takeFlag(nullptr, "--no-compress")) {
      options.jarCompression = EntryCompression::kNone;
    } else if (withProgram && args.takeOption("-a", "--arch", value)) {
      options.architecture = canonicalArchitecture(value);
      if (options.architecture.empty()) {
        throw UsageError("unknown architecture '" + value + "': expected x86_64 or aarch64");
      }
    } else if (stray.empty()) {
      stray = args.takeOperand();
    } else {
      args.takeOperand();
    }
  }
  // A jar given without its option is the jar missing, not a file too many.
  if (options.mainJar.empty()) {
    const bool strayJar =
        stray.size() > 4 && stray.compare(stray.size() - 4, 4, ".jar") == 0 && stray.find('=') == std::string::npos;
    throw UsageError("missing --main-jar JAR: the program's jar" +
                     (strayJar ? " (to pack " + stray + ", give --main-jar " + stray + ")" : std::string()));
  }
  if (!stray.empty()) {
    throw UsageError("unexpected '" + stray +
                     "': with --main-jar lxpack makes every file of the launcher itself (TYPE=FILE belongs to "
                     "the form without --main-jar)");
  }
  if (options.javaRange.empty()) {
    throw UsageError(
        "missing --java RANGE: the Java versions the program runs on, such as 17+ (17 or newer), 17 or "
        "11-21");
  }
  const std::string rangeMistake = javaRangeMistake(options.javaRange);
  if (!rangeMistake.empty()) throw UsageError(rangeMistake);
  refuseFolderWithoutAppDir(options);
  if (options.output.empty()) {
    throw UsageError(withProgram ? "missing --output FILE: the launcher to write"
                                 : "missing --output DIR: the directory to write the files into");
  }
  return options;
}
