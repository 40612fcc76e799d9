// Everything the launcher shows on the console. Output goes to standard
// output (standard error when the launch script asks so) and is flushed at
// once, so that each progress dot appears as it is ticked and nothing is
// lost when the process image is replaced.
#include "messages/Console.h"

#include <cerrno>
#include <climits>

#include "messages/Messages.h"
#include "messages/TitleText.h"
#include "messages/UserLocale.h"
#include "messages/Utf8Text.h"

ConsoleState consoleState;

namespace {

const int kDotsPerLine = 70;
const int kMaxDirectoryLength = 1023;

FILE* Out() {
  if (consoleState.out != nullptr) return consoleState.out;
  return consoleState.toStandardError ? stderr : stdout;
}
FILE* In() { return consoleState.in != nullptr ? consoleState.in : stdin; }

bool IsBlank(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// One blank-separated word of at most size - 1 characters, as "%1023s"
// reads it (the blank after it stays unread), without the scanf machinery,
// which would add a tenth to the static launcher program.
bool ReadWord(FILE* in, char* word, size_t size) {
  int c = std::getc(in);
  while (c != EOF && IsBlank(c)) c = std::getc(in);
  size_t length = 0;
  while (c != EOF && !IsBlank(c) && length + 1 < size) {
    word[length++] = static_cast<char>(c);
    if (length + 1 < size) c = std::getc(in);
  }
  if (c != EOF && IsBlank(c)) std::ungetc(c, in);
  word[length] = '\0';
  return length > 0;
}

// A console that went away (the output piped into a program that stopped
// reading) is written to no more: the run goes on to its end and clean-up.
FILE* closedConsole = nullptr;

void Flush() {
  if (std::fflush(Out()) != 0 && errno == EPIPE) closedConsole = Out();
}

void Write(const char* bytes, size_t n) {
  if (Out() == closedConsole) return;
  std::fwrite(bytes, 1, n, Out());
  Flush();
}

void WriteLineEnd() {
  Write("\n", 1);
  consoleState.dotLineOpen = false;
}

// A line of its own: a line of dots in progress is ended first.
void WriteLine(const SString& text) {
  EndProgressLine();
  if (Out() == closedConsole) return;
  std::fwrite(text.c_str(), 1, text.length(), Out());
  std::fputc('\n', Out());
  Flush();
}

// Status and step lines start with an empty line, which also ends a line
// of dots in progress.
void WriteStatusLine(const SString& text) {
  WriteLineEnd();
  WriteLine(text);
}

bool Displayed() { return !consoleState.silent && consoleState.progressOn; }

SString StepText(int kind, const char* arg) {
  bool named = arg != nullptr && *arg != '\0';
  switch (kind) {
    case STEP_SEARCHING_FOR:
      return named ? FormatMessage(MSG_SEARCHING_FOR, arg) : SString();
    case STEP_SCANNING:
      return FormatMessage(MSG_SCANNING_DISKS, nullptr);
    case STEP_VERIFYING:
      return named ? FormatMessage(MSG_VERIFYING, arg) : SString();
    default:
      return SString();
  }
}

}  // namespace

void PrintMessage(const SString& text) {
  if (!consoleState.silent) WriteLine(text);
}

void ShowStatus(int kind) {
  if (!Displayed()) return;
  const char* title = consoleState.title.c_str();
  switch (kind) {
    case STATUS_INITIALIZING:
      WriteStatusLine(FormatMessage(MSG_INITIALIZING, title));
      break;
    case STATUS_SEARCHING:
      WriteStatusLine(FormatMessage(MSG_SEARCHING_FOR_JVM, nullptr));
      break;
    case STATUS_RUNNING:
      WriteStatusLine(FormatMessage(MSG_RUNNING, title));
      break;
    case STATUS_PREPARING:
      WriteStatusLine(FormatMessage(MSG_PREPARING_JVM, nullptr));
      break;
    default:
      break;
  }
}

// A step is shown as a status line, so a long search tells what it is doing.
// A step that names nothing (the name is missing) is only remembered.
void ShowStep(int kind, const char* arg) {
  consoleState.lastStep = kind;
  if (!Displayed()) return;
  SString text = StepText(kind, arg);
  if (!text.empty()) WriteStatusLine(text);
}

int LastStep() { return consoleState.lastStep; }

void ProgressTick(int n) {
  if (consoleState.silent) return;
  if (consoleState.progressOn) {
    SString dot = FormatMessage(MSG_PROGRESS_DOT, nullptr);
    for (int i = 0; i < n; ++i) Write(dot.c_str(), dot.length());
    if (n > 0) consoleState.dotLineOpen = true;
  }
  // A position past INT_MAX would overflow; it stays there instead.
  long long position = static_cast<long long>(consoleState.progressPos) + n;
  if (position > INT_MAX) position = INT_MAX;
  if (position < INT_MIN) position = INT_MIN;
  SetProgress(static_cast<int>(position));
}

void SetProgress(int position) {
  if (consoleState.silent) return;
  consoleState.progressPos = position;
  int lines = position / kDotsPerLine;
  if (consoleState.progressOn && lines > consoleState.progressLines) {
    WriteLineEnd();
    consoleState.progressLines = lines;
  }
}

// Whatever follows the dots (a message, the program's own output) starts
// on a line of its own.
void EndProgressLine() {
  if (consoleState.dotLineOpen && !consoleState.silent) WriteLineEnd();
  consoleState.dotLineOpen = false;
}

void EnableProgress() { consoleState.progressOn = consoleState.silent ? 0 : 1; }

void DisableProgress() { consoleState.progressOn = 0; }

void SetSilent(int flag) { consoleState.silent = flag; }

void SetMessagesToStandardError(bool flag) {
  if (flag == consoleState.toStandardError) return;
  // The dots written so far end on the stream that holds them.
  EndProgressLine();
  consoleState.toStandardError = flag;
}

bool IsSilent() { return consoleState.silent != 0; }

// The title is shown inside catalogue texts, so it is written for the
// character set that chose those texts.
void SetTitle(const SString& text) {
  consoleState.rawTitle = text;
  consoleState.title = DecodeTitle(text, TerminalCharsetOf(MessageLocale()));
  // A launch script without a title (a command-line program's, often) adds
  // no empty line.
  if (Displayed() && !consoleState.title.empty()) WriteLine(consoleState.title);
}

SString GetTitle() { return consoleState.title; }

SString GetTitleInUtf8() { return ConsoleTextInUtf8(DecodeTitle(consoleState.rawTitle, TerminalCharset::kUtf8)); }

SString PromptForDirectory() {
  if (consoleState.silent) return SString();
  EndProgressLine();
  if (consoleState.progressOn) WriteLine(FormatMessage(MSG_SUPPLY_DESTINATION, nullptr));
  char directory[kMaxDirectoryLength + 1];
  // One word, at most 1023 characters; the rest of a longer one stays unread.
  if (!ReadWord(In(), directory, sizeof directory)) return SString();
  return SString(directory);
}

StepScope::StepScope(int kind, const char* arg) : previous_(LastStep()) { ShowStep(kind, arg); }

// The step returned to was shown when it began and is still under way, so
// it is only remembered again, not shown a second time.
StepScope::~StepScope() { consoleState.lastStep = previous_; }
