#include "launcher/DialogTools.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "fsutil/Platform.h"

namespace {

// --no-markup: the text is shown as it is, not read as Pango markup (where
// "<JAVA HOME DIR>" is a broken tag and the text would not show at all).
const char* const kZenity[] = {"--error", "--title=%T", "--text=%X", "--no-markup", nullptr};
const char* const kKdialog[] = {"--title", "%T", "--error", "%X", nullptr};
const char* const kYad[] = {"--title=%T",        "--text=%X", "--no-markup", "--image=dialog-error",
                            "--button=gtk-ok:0", "--center",  nullptr};
// The two zeros let Xdialog size the box to the text.
const char* const kXdialog[] = {"--title", "%T", "--msgbox", "%X", "0", "0", nullptr};
// Without -encoding gxmessage reads the text in the locale's character set.
const char* const kGxmessage[] = {"-title", "%T", "-center", "-wrap", "-encoding", "UTF-8", "%X", nullptr};
const char* const kXmessage[] = {"-title", "%T", "-center", "%X", nullptr};

SString doubleBackslashes(const SString& text) {
  SString result;
  for (SString::size_type i = 0; i < text.length(); ++i) {
    if (text[i] == '\\') result += '\\';
    result += text[i];
  }
  return result;
}

bool isRunnableFile(const SString& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

const DialogTool kDialogTools[] = {
    {"zenity", kZenity, false, false},   {"kdialog", kKdialog, false, false},    {"yad", kYad, true, false},
    {"Xdialog", kXdialog, false, false}, {"gxmessage", kGxmessage, false, true}, {"xmessage", kXmessage, false, true},
};
const int kDialogToolCount = sizeof kDialogTools / sizeof kDialogTools[0];

StringDeque dialogArguments(const DialogTool& tool, const SString& title, const SString& text) {
  SString shownText = tool.readsEscapes ? doubleBackslashes(text) : text;
  if (tool.textStandsAlone && !shownText.empty() && shownText[0] == '-') shownText = " " + shownText;
  StringDeque words;
  for (const char* const* word = tool.arguments; *word; ++word) {
    size_t length = std::strlen(*word);
    bool placeholder = length >= 2 && (*word)[length - 2] == '%';
    if (!placeholder) {
      words.add(*word);
      continue;
    }
    SString prefix(*word, static_cast<SString::size_type>(length - 2));
    words.add(prefix + ((*word)[length - 1] == 'T' ? title : shownText));
  }
  return words;
}

SString dialogToolNames() {
  SString names;
  for (int i = 0; i < kDialogToolCount; ++i) names += (i > 0 ? ", " : "") + SString(kDialogTools[i].name);
  return names;
}

const DialogTool* findDialogTool(SString& path) {
  StringDeque dirs;
  GetPathDirs(dirs);
  for (int t = 0; t < kDialogToolCount; ++t) {
    for (int d = 0; d < dirs.count(); ++d) {
      const SString& dir = dirs.get(d);
      if (dir.empty() || dir[0] != '/') continue;
      SString candidate = dir + (dir[dir.length() - 1] == '/' ? "" : "/") + kDialogTools[t].name;
      if (isRunnableFile(candidate)) {
        path = candidate;
        return &kDialogTools[t];
      }
    }
  }
  return nullptr;
}
