#include "launcher/DialogTools.h"

#include <sys/stat.h>
#include <unistd.h>

#include <initializer_list>

#include "fsutil/Platform.h"

namespace {

StringDeque words(std::initializer_list<SString> list) {
  StringDeque result;
  for (const SString& word : list) result.add(word);
  return result;
}

// A text that stands alone among the options, as xmessage's does, would be
// taken for an option when it begins with a dash; a blank in front keeps it
// text and does not show.
SString asPlainArgument(const SString& text) { return !text.empty() && text[0] == '-' ? " " + text : text; }

// yad reads C escapes (\n, \t, \101, \\) in its text, also without markup:
// each backslash is doubled so that the text comes out as it was.
SString escapeBackslashes(const SString& text) {
  SString result;
  for (SString::size_type i = 0; i < text.length(); ++i) {
    if (text[i] == '\\') result += '\\';
    result += text[i];
  }
  return result;
}

// --no-markup: the text is shown as it is, not read as Pango markup (where
// "<JAVA HOME DIR>" is a broken tag and the text would not show at all).
StringDeque zenity(const SString& title, const SString& text) {
  return words({"--error", "--title=" + title, "--text=" + text, "--no-markup"});
}

StringDeque kdialog(const SString& title, const SString& text) { return words({"--title", title, "--error", text}); }

StringDeque yad(const SString& title, const SString& text) {
  return words({"--title=" + title, "--text=" + escapeBackslashes(text), "--no-markup", "--image=dialog-error",
                "--button=gtk-ok:0", "--center"});
}

// The two zeros let Xdialog size the box to the text.
StringDeque xdialog(const SString& title, const SString& text) {
  return words({"--title", title, "--msgbox", text, "0", "0"});
}

// Without -encoding gxmessage reads the text in the locale's character set.
StringDeque gxmessage(const SString& title, const SString& text) {
  return words({"-title", title, "-center", "-wrap", "-encoding", "UTF-8", asPlainArgument(text)});
}

StringDeque xmessage(const SString& title, const SString& text) {
  return words({"-title", title, "-center", asPlainArgument(text)});
}

bool isRunnableFile(const SString& path) {
  struct stat status;
  return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

const DialogTool kDialogTools[] = {
    {"zenity", zenity},   {"kdialog", kdialog},     {"yad", yad},
    {"Xdialog", xdialog}, {"gxmessage", gxmessage}, {"xmessage", xmessage},
};
const int kDialogToolCount = sizeof kDialogTools / sizeof kDialogTools[0];

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
