#include <gtest/gtest.h>

#include <string>

#include "messages/ConsoleFixture.h"
#include "messages/Messages.h"

namespace {

std::string Str(const SString& s) { return std::string(s.c_str(), s.length()); }

// Sets the title without showing it.
void SetTitleQuietly(const char* title) {
  DisableProgress();
  SetTitle(title);
  EnableProgress();
}

}  // namespace

TEST_F(ConsoleTest, PrintMessageWritesTheTextAsItIs) {
  ScopedLang lang("ru_RU.UTF-8");
  PrintMessage("/opt/caf\xe9 failed");
  EXPECT_EQ("/opt/caf\xe9 failed\n", takeOutput());
  // A catalogue text arrives converted already and is not converted again.
  PrintMessage(GetMessage(ERR_CANCELED));
  EXPECT_EQ("Отменено пользователем.\n", takeOutput());
  DisableProgress();
  PrintMessage("shown without the display too");
  EXPECT_EQ("shown without the display too\n", takeOutput());
}

TEST_F(ConsoleTest, StatusTextsFollowAnEmptyLine) {
  SetTitleQuietly("Demo Setup");
  const struct {
    int kind;
    const char* want;
  } cases[] = {
      {STATUS_INITIALIZING, "\nInitializing Demo Setup...\n"},
      {STATUS_SEARCHING, "\nSearching for Java(tm) Virtual Machine...\n"},
      {STATUS_RUNNING, "\nRunning Demo Setup...\n"},
      {STATUS_PREPARING, "\nPreparing Java(tm) Virtual Machine...\n"},
      {2, ""},
      {5, ""},
      {-1, ""},
  };
  for (const auto& c : cases) {
    ShowStatus(c.kind);
    EXPECT_EQ(c.want, takeOutput()) << "kind " << c.kind;
  }
}

TEST_F(ConsoleTest, StatusTextsComeInTheUsersLanguage) {
  ScopedLang lang("de_DE.UTF-8");
  SetTitleQuietly("Demo");
  ShowStatus(STATUS_INITIALIZING);
  EXPECT_EQ("\nDemo wird initialisiert...\n", takeOutput());
}

TEST_F(ConsoleTest, DotsAppearAsTheyAreTicked) {
  ProgressTick(1);
  EXPECT_EQ(".", takeOutput());
  ProgressTick(3);
  EXPECT_EQ("...", takeOutput());
}

TEST_F(ConsoleTest, DotsBreakTheLineAfterEvery70) {
  for (int i = 0; i < 140; ++i) ProgressTick(1);
  EXPECT_EQ(std::string(70, '.') + "\n" + std::string(70, '.') + "\n", takeOutput());
}

TEST_F(ConsoleTest, ABigTickBreaksTheLineOnce) {
  ProgressTick(75);
  EXPECT_EQ(std::string(75, '.') + "\n", takeOutput());
  ProgressTick(64);
  EXPECT_EQ(std::string(64, '.'), takeOutput());
  ProgressTick(1);
  EXPECT_EQ(".\n", takeOutput());
}

TEST_F(ConsoleTest, SettingTheEndPositionEndsTheDottedLine) {
  SetProgress(0);
  ProgressTick(5);
  SetProgress(100);
  EXPECT_EQ(".....\n", takeOutput());
  SetProgress(120);
  EXPECT_EQ("", takeOutput());
  SetProgress(140);
  EXPECT_EQ("\n", takeOutput());
}

// Dots are ended before anything else is written, so no text ever follows
// them on their line: a message, the title, the prompt, or (through
// EndProgressLine) an answer or a launched program's output.
TEST_F(ConsoleTest, OutputAfterDotsStartsOnALineOfItsOwn) {
  setInput("/opt/java\n");
  const struct {
    const char* what;
    void (*write)();
    const char* want;
  } cases[] = {
      {"message", [] { PrintMessage("A suitable JVM could not be found."); },
       "...\nA suitable JVM could not be found.\n"},
      {"title", [] { SetTitle("Demo"); }, "...\nDemo\n"},
      {"prompt", [] { PromptForDirectory(); }, "...\nSupply the destination directory for the Java Virtual Machine:\n"},
      {"status", [] { ShowStatus(STATUS_SEARCHING); }, "...\nSearching for Java(tm) Virtual Machine...\n"},
      {"end of the line", [] { EndProgressLine(); }, "...\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ProgressTick(3);
    c.write();
    EXPECT_EQ(c.want, takeOutput());
  }
}

TEST_F(ConsoleTest, EndingTheLineOfDotsWritesOnlyWhenDotsAreOpen) {
  EndProgressLine();
  EXPECT_EQ("", takeOutput());
  ProgressTick(2);
  EndProgressLine();
  EndProgressLine();
  EXPECT_EQ("..\n", takeOutput());
  // A line the line rule ended already is not ended twice.
  ProgressTick(68);
  EndProgressLine();
  PrintMessage("next");
  EXPECT_EQ(std::string(68, '.') + "\nnext\n", takeOutput());
  // Dots that were not shown leave no line to end.
  DisableProgress();
  ProgressTick(5);
  PrintMessage("quiet");
  EXPECT_EQ("quiet\n", takeOutput());
  // Silent from here on: not even the line end.
  EnableProgress();
  ProgressTick(1);
  SetSilent(1);
  EndProgressLine();
  EXPECT_EQ(".", takeOutput());
}

TEST_F(ConsoleTest, ThePositionMovesOnWhileTheDisplayIsOff) {
  DisableProgress();
  ProgressTick(69);
  ShowStatus(STATUS_SEARCHING);
  EXPECT_EQ("", takeOutput());
  EnableProgress();
  ProgressTick(1);
  EXPECT_EQ(".\n", takeOutput());
}

TEST_F(ConsoleTest, SilentShowsNothingAtAll) {
  FILE* in = setInput("/opt/java\n");
  SetSilent(1);
  EXPECT_TRUE(IsSilent());
  EnableProgress();
  PrintMessage("an error");
  ShowStatus(STATUS_INITIALIZING);
  ShowStep(STEP_SCANNING, nullptr);
  ProgressTick(140);
  SetProgress(100);
  SetTitle("Demo");
  EXPECT_EQ("", Str(PromptForDirectory()));
  EXPECT_EQ("", takeOutput());
  EXPECT_EQ("Demo", GetTitle());

  // The prompt did not read the answer meant for someone else.
  char word[64] = "";
  EXPECT_EQ(1, std::fscanf(in, "%63s", word));
  EXPECT_STREQ("/opt/java", word);
}

TEST_F(ConsoleTest, SilentLeavesTheDisplayOffAndThePositionWhereItWas) {
  SetSilent(1);
  EnableProgress();
  ProgressTick(70);
  SetSilent(0);
  ShowStatus(STATUS_SEARCHING);
  EXPECT_EQ("", takeOutput());
  EnableProgress();
  ProgressTick(1);
  EXPECT_EQ(".", takeOutput());
}

// The title is written for the character set of the locale that messages
// follow, so that it fits the catalogue texts it is shown in.
TEST_F(ConsoleTest, TitleEscapesFollowTheCharsetOfTheMessageLocale) {
  const struct {
    const char* lcAll;
    const char* lang;
    const char* want;
  } cases[] = {
      {nullptr, "C.UTF-8", "Caf\xc3\xa9 \xe2\x82\xac"},
      {nullptr, "fr_FR.ISO-8859-1", "Caf\xe9 "},
      {nullptr, "fr_FR", "Caf"},
      {nullptr, "C", "Caf"},
      {nullptr, nullptr, "Caf"},
      {"fr_FR.UTF-8", "C", "Caf\xc3\xa9 \xe2\x82\xac"},
      {"fr_FR", "fr_FR.UTF-8", "Caf"},
  };
  DisableProgress();
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("LC_ALL ") + (c.lcAll == nullptr ? "(unset)" : c.lcAll) + ", LANG " +
                 (c.lang == nullptr ? "(unset)" : c.lang));
    ScopedLocale locale(c.lcAll, nullptr, c.lang);
    SetTitle("Caf\\u00e9 \\u20ac");
    EXPECT_EQ(c.want, Str(GetTitle()));
  }
}

TEST_F(ConsoleTest, TitleIsShownAsALineWithTheDisplayOn) {
  ScopedLang lang("C.UTF-8");
  SetTitle("Demo \\u00e9");
  EXPECT_EQ("Demo é\n", takeOutput());
  DisableProgress();
  SetTitle("Other");
  EXPECT_EQ("", takeOutput());
  EXPECT_EQ("Other", GetTitle());
  // No title, no empty line in its place.
  EnableProgress();
  SetTitle("");
  EXPECT_EQ("", takeOutput());
}

TEST_F(ConsoleTest, PromptReadsOneWordFromStandardInput) {
  setInput("  /opt/jdk17 more words\n");
  EXPECT_EQ("/opt/jdk17", PromptForDirectory());
  EXPECT_EQ("Supply the destination directory for the Java Virtual Machine:\n", takeOutput());
  EXPECT_EQ("more", PromptForDirectory());
}

TEST_F(ConsoleTest, PromptWithoutTheDisplayOnlyReads) {
  setInput("/opt/jdk17\n");
  DisableProgress();
  EXPECT_EQ("/opt/jdk17", PromptForDirectory());
  EXPECT_EQ("", takeOutput());
}

TEST_F(ConsoleTest, PromptCutsAnswersAt1023Characters) {
  setInput(std::string(2000, 'a') + "\n");
  EXPECT_EQ(std::string(1023, 'a'), Str(PromptForDirectory()));
}

TEST_F(ConsoleTest, PromptAtEndOfInputGivesTheEmptyString) {
  setInput("");
  EXPECT_EQ("", PromptForDirectory());
  setInput("   \n\t");
  EXPECT_EQ("", PromptForDirectory());
}

TEST_F(ConsoleTest, StepsAreShownAsStatusLines) {
  const struct {
    int kind;
    const char* arg;
    const char* want;
  } cases[] = {
      {STEP_SEARCHING_FOR, "JDK 17", "\nSearching for JDK 17\n"},
      {STEP_SCANNING, nullptr, "\nScanning disk(s) for a Java(tm) Virtual Machine...\n"},
      {STEP_VERIFYING, "/usr/lib/jvm/jdk17", "\nVerifying /usr/lib/jvm/jdk17\n"},
      {STEP_SEARCHING_FOR, "", ""},
      {STEP_VERIFYING, nullptr, ""},
      {STEP_NONE, "x", ""},
  };
  for (const auto& c : cases) {
    ShowStep(c.kind, c.arg);
    EXPECT_EQ(c.want, takeOutput()) << "kind " << c.kind;
    EXPECT_EQ(c.kind, LastStep());
  }
  DisableProgress();
  ShowStep(STEP_SCANNING, nullptr);
  EXPECT_EQ("", takeOutput());
  EXPECT_EQ(STEP_SCANNING, LastStep());
}

TEST_F(ConsoleTest, StepScopePutsThePreviousStepBackWithoutShowingItAgain) {
  ShowStep(STEP_SCANNING, nullptr);
  takeOutput();
  {
    StepScope verifying(STEP_VERIFYING, "/usr/lib/jvm/jdk17");
    EXPECT_EQ(STEP_VERIFYING, LastStep());
    {
      StepScope searching(STEP_SEARCHING_FOR, "JDK 17");
      EXPECT_EQ(STEP_SEARCHING_FOR, LastStep());
    }
    EXPECT_EQ(STEP_VERIFYING, LastStep());
  }
  EXPECT_EQ(STEP_SCANNING, LastStep());
  EXPECT_EQ("\nVerifying /usr/lib/jvm/jdk17\n\nSearching for JDK 17\n", takeOutput());
}
