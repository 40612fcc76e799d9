#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "launcher/DialogTools.h"
#include "messages/ConsoleFixture.h"
#include "support/TempDir.h"

namespace {

void makeProgram(const TempDir& dir, const std::string& name, mode_t mode = 0755) {
  mkdir(dir.file("a").c_str(), 0755);
  mkdir(dir.file("b").c_str(), 0755);
  std::string path = dir.write(name, "#!/bin/sh\n");
  chmod(path.c_str(), mode);
}

std::string found() {
  SString path;
  const DialogTool* tool = findDialogTool(path);
  return tool ? std::string(tool->name) + " " + path.c_str() : "none";
}

std::vector<std::string> argumentsOf(const char* tool, const char* title, const char* text) {
  for (int i = 0; i < kDialogToolCount; ++i) {
    if (std::string(kDialogTools[i].name) != tool) continue;
    StringDeque words = dialogArguments(kDialogTools[i], title, text);
    std::vector<std::string> result;
    for (int w = 0; w < words.count(); ++w) result.push_back(words.get(w).c_str());
    return result;
  }
  return {"(no such tool)"};
}

}  // namespace

// The list decides, not the order of PATH: zenity anywhere on PATH wins
// over xmessage earlier on it.
TEST(DialogTools, TheFirstToolOfTheListOnPathIsTaken) {
  TempDir dir;
  makeProgram(dir, "a/xmessage");
  makeProgram(dir, "b/kdialog");
  makeProgram(dir, "b/gxmessage");
  std::string a = dir.file("a"), b = dir.file("b");
  {
    ScopedVariable path("PATH", (a + ":" + b).c_str());
    EXPECT_EQ("kdialog " + b + "/kdialog", found());
  }
  {
    ScopedVariable path("PATH", (a + "/:/nonexistent").c_str());
    EXPECT_EQ("xmessage " + a + "/xmessage", found());
  }
  ScopedVariable path("PATH", "/nonexistent:");
  EXPECT_EQ("none", found());
}

// What cannot be run is passed over, and so is a directory of PATH that
// is not absolute: it would be whatever directory the launcher runs in.
TEST(DialogTools, OnlyRunnableFilesInAbsoluteDirectoriesCount) {
  TempDir dir;
  makeProgram(dir, "a/zenity", 0644);
  mkdir(dir.file("a/kdialog").c_str(), 0755);
  makeProgram(dir, "b/yad");
  makeProgram(dir, "b/xmessage");
  char cwd[4096];
  ASSERT_NE(nullptr, getcwd(cwd, sizeof cwd));
  ASSERT_EQ(0, chdir(dir.path().c_str()));
  {
    ScopedVariable path("PATH", ("b::" + dir.file("a") + ":.:" + dir.file("b")).c_str());
    EXPECT_EQ("yad " + dir.file("b") + "/yad", found());
  }
  {
    ScopedVariable path("PATH", ("b:" + dir.file("a")).c_str());
    EXPECT_EQ("none", found());
  }
  ASSERT_EQ(0, chdir(cwd));
}

// Each tool as its manual describes it; the text must show as it is,
// whatever markup, escapes or leading dash it holds.
TEST(DialogTools, EachToolGetsTitleAndTextInItsOwnConvention) {
  typedef std::vector<std::string> Words;
  const char* text = "a\\tb <b>";
  EXPECT_EQ(Words({"--error", "--title=T", "--text=a\\tb <b>", "--no-markup"}), argumentsOf("zenity", "T", text));
  EXPECT_EQ(Words({"--title", "T", "--error", "a\\tb <b>"}), argumentsOf("kdialog", "T", text));
  EXPECT_EQ(Words({"--title=T", "--text=a\\\\tb <b>", "--no-markup", "--image=dialog-error", "--button=gtk-ok:0",
                   "--center"}),
            argumentsOf("yad", "T", text));
  EXPECT_EQ(Words({"--title", "T", "--msgbox", "a\\tb <b>", "0", "0"}), argumentsOf("Xdialog", "T", text));
  EXPECT_EQ(Words({"-title", "T", "-center", "-wrap", "-encoding", "UTF-8", " -x"}),
            argumentsOf("gxmessage", "T", "-x"));
  EXPECT_EQ(Words({"-title", "-T", "-center", " -x"}), argumentsOf("xmessage", "-T", "-x"));
  EXPECT_EQ(Words({"-title", "T", "-center", "x -"}), argumentsOf("xmessage", "T", "x -"));
  EXPECT_EQ("zenity, kdialog, yad, Xdialog, gxmessage, xmessage", std::string(dialogToolNames().c_str()));
}
