// Everything the launcher tells the user on the console: the message
// catalogue in 22 languages chosen from the user's locale, status texts,
// progress dots, the title and the directory prompt. All output goes to standard output and
// -lx:silent suppresses all of it.
#pragma once

#include <cstdio>
#include <initializer_list>

#include "base/SString.h"

// Catalogue ids (0..38) of the texts the launcher shows.
enum MessageId {
  MSG_LANGUAGE_CODE = 0,
  MSG_INITIALIZING = 1,  // "Initializing %s..."
  MSG_SEARCHING = 2,
  MSG_VERIFYING = 3,  // "Verifying %s"
  MSG_NO_JVM_FOUND = 4,
  MSG_COULD_NOT_LAUNCH = 5,
  MSG_DOWNLOAD_JVM = 6,
  MSG_RUNNING = 7,  // "Running %s..."
  MSG_PREPARING_JVM = 8,
  MSG_SEARCHING_FOR_JVM = 9,
  MSG_SEARCHING_FOR = 10,  // "Searching for %s"
  MSG_ERROR_TEMP_DIR = 11,
  MSG_ERROR_TEMP_FILE = 12,
  MSG_LAUNCHER_MAIN = 13,
  MSG_INVALID_PLATFORM_HINT = 14,
  MSG_CHILD_FAILED = 15,
  MSG_SCANNING_DISKS = 16,
  MSG_SUPPLY_DESTINATION = 17,
  MSG_PROGRESS_DOT = 18,
  // The launcher file's own checks (39..44).
  MSG_DAMAGED_ENTRY = 39,  // "... its embedded file %s is not what was packed ..."
  MSG_DAMAGED_INCOMPLETE = 40,
  MSG_DAMAGED_INDEX = 41,
  MSG_DAMAGED_LONGER = 42,  // "... it is longer than what was packed into it; ..."
  // Processes and paths (45..54).
  MSG_UNSAFE_TEMP_DIR = 45,       // "The temporary directory %s holds a character ..."
  MSG_UNQUOTABLE_VALUE = 46,      // "... places the value %s inside back quotes ..."
  MSG_COMMAND_TOO_LONG = 47,      // "The command to run is %s bytes long ..."
  MSG_SHELL_NOT_STARTED = 48,     // "... /bin/sh could not be started ...: %s"
  MSG_LAUNCHER_NOT_STARTED = 49,  // "The embedded launcher %s could not be started:"
  MSG_ANSWER_NOT_WRITTEN = 50,    // "... written to standard output: %s"
  MSG_OUT_OF_MEMORY = 51,
  MSG_NO_EXEC_TEMP_DIR = 52,    // "No temporary directory allows running programs; tried: %s. ..."
  MSG_NOEXEC_DESTINATION = 53,  // "The JVM installer cannot run from %s: ..."
  // The launcher's options and what it tells about them (55..79).
  MSG_LOG_NOT_WRITABLE = 55,    // "Cannot write the log file %s, ..." + system error
  MSG_JAVAHOME_MISSING = 56,    // "-lx:javahome needs a directory after it; ignored."
  MSG_JAVAHOME_NOT_A_DIR = 57,  // "-lx:javahome %s: not a directory, ..."
  MSG_HELP_HEADING = 59,        // the first line of -lx:help
  MSG_HELP_FIRST_OPTION = 60,   // 60..70: one description per option, in the order -lx:help lists them
  MSG_HELP_LAST_OPTION = 70,
  MSG_EXTRACT_SUMMARY = 71,  // "Extracted %s files (%s bytes) into %s"
  // No JVM for a program that is not an installer (80..94).
  MSG_JAVA_OR_NEWER = 80,       // "Java %s or newer"
  MSG_JAVA_FROM_TO = 81,        // "Java %s to %s"
  MSG_PROGRAM_NEEDS_JAVA = 82,  // "This program needs %s, and none was found ..."
  MSG_POINT_AT_JAVA = 83,       // "Install it, or name the one to use with ... -lx:javahome ... JAVA_HOME."
  MSG_NONE_FITS = 84,           // "This program needs %s, and no Java found on this computer fits:"
  // Why a Java found was passed over: version and home, or the home alone.
  MSG_JAVA_TOO_OLD = 85,        // "Java %s at %s is too old."
  MSG_JAVA_TOO_NEW = 86,        // "Java %s at %s is too new."
  MSG_JAVA_HEADLESS = 87,       // "... needs a Java that can open windows; the one at %s is headless."
  MSG_JAVA_OTHER_MACHINE = 88,  // "The Java at %s is built for another kind of computer."
  MSG_JAVA_NOT_STARTED = 89,    // "The Java at %s could not be started."
  MSG_JAVA_NOT_TRUSTED = 90,    // "The Java at %s was not started: other users could have changed it."
  MSG_JAVA_UNSAFE_PATH = 91,    // "The Java at %s was not started: its path holds a character ..."
  MSG_JAVA_UNFIT = 92,          // "The Java at %s does not have what this program requires."
  MSG_MORE_IN_LOG = 93,         // "and %s more, see the log."
  MSG_MORE = 94,                // "and %s more."
  // The dialog that shows a failure on the desktop (95..99).
  MSG_DIALOG_LOG_FILE = 95,      // "Details are in the log file %s"
  MSG_DIALOG_INSTALL_JAVA = 96,  // "Install such a Java and start this program again."
  MSG_COUNT = 100
};

// Error codes 0..17 for GetMessage: code n is catalogue id 19 + n up to 14,
// then 15..17 are ids 36..38.
enum ErrorCode {
  ERR_LOAD_INPUT_FILE = 0,
  ERR_LOAD_INSTRUCTIONS = 1,
  ERR_LOAD_LAUNCH_SCRIPT = 2,
  ERR_LOAD_JVM_FILE = 3,
  ERR_INVALID_JVM_FILE_ID = 4,
  ERR_INVALID_ACTION = 5,
  ERR_LOG_NAME_MISSING = 6,
  ERR_EXTRACT_FAILED = 7,
  ERR_LOAD_INDEX = 8,
  ERR_NO_JVM_INSTALLER = 9,
  ERR_JVM_NOT_VALID = 10,
  ERR_INPUT_NAME_MISSING = 11,
  ERR_NO_SUITABLE_JVM = 12,
  ERR_SEARCH_ALL_FAILED = 13,
  ERR_OPEN_INPUT_FILE = 14,
  ERR_WRITING_FILE = 15,
  ERR_DISK_SPACE_HINT = 16,
  ERR_CANCELED = 17
};

// Status kinds of ShowStatus and step kinds of ShowStep.
enum StatusKind { STATUS_INITIALIZING = 0, STATUS_SEARCHING = 1, STATUS_RUNNING = 3, STATUS_PREPARING = 4 };
enum StepKind { STEP_NONE = 0, STEP_SEARCHING_FOR = 1, STEP_SCANNING = 2, STEP_VERIFYING = 3 };

// The language of the locale that LC_ALL, LC_MESSAGES or LANG names (the
// first set and not empty), English when none names one of the catalogue.
int SelectLanguage();
// The text of id in the selected language with arg substituted; any id
// outside 0..38 gives "Error displaying message: id(<id>)". The catalogue
// text is in UTF-8 when the locale names UTF-8 as its character set, and in
// the language's legacy encoding otherwise; arg is inserted unconverted,
// and a null arg reads as an empty one. Results are cut at 1023 bytes.
SString FormatMessage(int id, const char* arg);
// The catalogue text of an error code, chosen like FormatMessage's; empty
// for a code outside 0..17.
SString GetMessage(int code);
// Fills values, in order, into the "%s" placeholders of a text that
// FormatMessage returned with "%s" as its argument: the catalogue itself
// fills one value only.
SString FillPlaceholders(const SString& text, std::initializer_list<SString> values);

// Writes text and a line feed as they are (no conversion), unless silent.
void PrintMessage(const SString& text);
void ShowStatus(int kind);
void ShowStep(int kind, const char* arg);
int LastStep();
void ProgressTick(int n);
void SetProgress(int position);
void EnableProgress();
void DisableProgress();
// Ends a line of dots in progress, so that what comes next (a message, an
// answer, a launched program's own output) starts on a line of its own.
void EndProgressLine();
void SetSilent(int flag);
bool IsSilent();
// From here on messages, status texts and dots go to standard error
// (true) or standard output (false).
void SetMessagesToStandardError(bool flag);
// Decodes the title's \u escapes for the terminal (see DecodeTitle) and
// shows it as a line when the display is on.
void SetTitle(const SString& text);
SString GetTitle();
// The title in UTF-8, for the desktop's dialog tools, whatever the
// terminal's character set.
SString GetTitleInUtf8();
SString PromptForDirectory();

// Shows a step for the lifetime of the object and puts the previous step
// kind back (with an empty argument) when it ends: searches and
// verifications nest inside each other.
class StepScope {
 public:
  StepScope(int kind, const char* arg);
  ~StepScope();
  StepScope(const StepScope&) = delete;
  StepScope& operator=(const StepScope&) = delete;

 private:
  int previous_;
};
