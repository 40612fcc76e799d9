#include "LauncherScripts.h"

#include <cstdio>

#include "JvmOptionFolders.h"

const char kInstructionsName[] = "instructions.txt";
const char kJvmDescriptionName[] = "java.jvm";
const char kLaunchScriptName[] = "launch.txt";
const char kVerifyJarName[] = "Verify.jar";

namespace {

bool plainShellCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::string("._+-=:,/").find(c) != std::string::npos;
}

bool isMarker(char c) { return c == '%' || c == '@' || c == '#'; }

// Both kinds of program run where the user is, so that relative file
// names on their command lines are found (a wizard too: a desktop program
// opens the user's documents), and the launcher's own lines go to standard
// error, so that standard output is the program's alone. A wizard also gets
// the system properties through which the launcher tells it where things
// are, and the user's side files. Both are programs, whose user is told
// which Java they need (NO_JVM_MESSAGE); a command-line program's caller
// may be a build tool that no dialog may hold (FAILURE_DIALOG).
std::string launchScript(const JarLauncherOptions& options, const MainJar& jar, const std::string& title) {
  std::string script;
  // A command-line program's launcher shows no title unless the packager
  // gives one; it then names the launcher (its line on standard error) as a
  // wizard's does.
  if (!options.cli || options.titleGiven) script += "DESC: " + tagValue(title) + "\n";
  script += "MESSAGES_TO_STDERR: 1\nDISPLAY_CONSOLE: 1\nAUTO_SET_WORKING_DIR: 0\n";
  script += "NO_JVM_MESSAGE: program\n";
  if (options.cli) script += "FAILURE_DIALOG: 0\n";
  if (!options.javaDownloadUrl.empty()) script += "JAVA_DOWNLOAD_URL: " + tagValue(options.javaDownloadUrl) + "\n";
  // exec: java takes the shell's place, so it gets the user's signals and
  // its status is the launcher's.
  std::string command = "exec \"@JVM_HOME@/@JVM_EXE@\" %CP%(\"\"\"%APPLICATION_ARCHIVE%()\"\"\")";
  if (!options.cli) {
    command +=
        " %SYSTEMPROP%(\"temp.dir\", \"\"\"%TEMP_DIR%()\"\"\")"
        " %SYSTEMPROP%(\"lx.jvm.home\", \"\"\"@JVM_HOME@\"\"\")"
        " %SYSTEMPROP%(\"lx.jvm.temp\", \"\"\"@JVM_TEMP@\"\"\")"
        " %SYSTEMPROP%(\"lx.media.home\", \"\"\"%APPLICATION_ARCHIVE%()\"\"\")"
        " %SYSTEMPROP%(\"lx.launcher.file\", \"\"\"%LAUNCHER_FILE%()\"\"\")"
        " %SYSTEMPROP%(\"lx.jvm.file\", \"\"\"@JVM_FILE@\"\"\")"
        " %SYSTEMPROP%(\"lx.external.home\", \"\"\"%LAUNCHER_DIR%()\"\"\")";
  }
  if (!options.appDir.empty()) {
    command += " %SYSTEMPROP%(\"" + options.appDirProperty + "\", \"\"\"%APP_DIR%()\"\"\")";
  }
  for (const std::string& option : options.jvmOptions) command += " " + jvmOptionWord(option);
  // The user's side files (.sp, .ja next to the launcher) come last, so
  // that they can change what the packager chose.
  if (!options.cli) command += " %RUNTIME_SYSTEMPROP%() %RUNTIME_JAVAARGS%()";
  command += " " + commandWord(jar.mainClass);
  return script + "COMMAND: " + command + "\n";
}

}  // namespace

std::string commandWord(const std::string& text) {
  bool plain = !text.empty();
  for (char c : text) plain = plain && plainShellCharacter(c);
  if (plain) return text;
  std::string word;
  bool quoted = false;
  for (char c : text) {
    if (isMarker(c)) {
      if (quoted) word += '\'';
      quoted = false;
      char octal[8];
      std::snprintf(octal, sizeof octal, "%03o", static_cast<unsigned char>(c));
      word += "\"$(printf '\\" + std::string(octal) + "')\"";
      continue;
    }
    if (!quoted) word += '\'';
    quoted = true;
    word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  if (quoted) word += '\'';
  return word.empty() ? "''" : word;
}

std::string jvmOptionWord(const std::string& option) {
  const JvmOption parsed = readJvmOption(option);
  if (parsed.parts.empty()) return commandWord(std::string());
  std::string word;
  for (const JvmOptionPart& part : parsed.parts) {
    switch (part.kind) {
      case JvmOptionPart::kText:
        word += commandWord(part.text);
        break;
      case JvmOptionPart::kAppDir:
        word += "%APP_DIR%()";
        break;
      case JvmOptionPart::kLauncherDir:
        word += "%LAUNCHER_DIR%()";
        break;
    }
  }
  return word;
}

std::string tagValue(const std::string& text) {
  const bool needsQuotes = text.empty() || text.front() == '"' || text.front() == ' ' || text.front() == '\t' ||
                           text.back() == ' ' || text.back() == '\t';
  if (!needsQuotes) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

LauncherScripts makeLauncherScripts(const JarLauncherOptions& options, const MainJar& jar) {
  LauncherScripts scripts;
  // Without a user interface nothing but a failure is shown.
  scripts.instructions = std::string("INSTRUCTIONS:\n") + (options.cli ? "" : "  INITIALIZE_UI\n") +
                         (options.cli ? "  FIND_JVM 0 1\n" : "  FIND_JVM 1 1\n") +
                         "  JMP0 @N1@ DONE\n"
                         "  LAUNCH @S2@ 0\n"
                         "  :DONE\n"
                         "/:\n";
  // java.version=... reports the version to the verification whatever the
  // launcher's age; JAVA_VERSION decides which versions match.
  scripts.jvmDescription = "DESC: " + tagValue("Java " + options.javaRange) +
                           "\n"
                           "JVM_EXE: bin/java\n"
                           "JAVA_VERSION: " +
                           tagValue(options.javaRange) +
                           "\n"
                           "JVM_PROPERTIES:\n"
                           "  java.version=...\n"
                           "/:\n"
                           "PLATFORM_HINT:\n"
                           "  JAVA_HOME\n"
                           "  JDK_HOME\n"
                           "/:\n"
                           "KNOWN_LOCATIONS: 1\n" +
                           // A desktop program's windows need a JVM that
                           // can open them, where there is a display.
                           std::string(options.cli ? "" : "NEEDS_WINDOWS: 1\n") +
                           "CLASSPATH: \"-cp \"\n"
                           "CLASSPATH_SEPARATOR: :\n"
                           "SYSTEM: -D\n"
                           "SYSTEM_SEPARATOR: =\n";
  scripts.launchScript = launchScript(options, jar, options.titleGiven ? options.title : jar.defaultTitle);
  return scripts;
}
