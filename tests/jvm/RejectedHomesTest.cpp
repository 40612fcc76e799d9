// The homes a search turned down, as the user without a fitting Java reads
// them: a sentence per home with its reason, the first three by name and
// the rest counted.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "jvm/RejectedHomes.h"
#include "messages/ConsoleFixture.h"

namespace {

TEST(RejectedHomes, EachReasonHasItsOwnSentence) {
  ScopedLang english("C");
  const struct {
    Rejection reason;
    const char* version;
    const char* text;
  } cases[] = {
      {Rejection::kTooOld, "17", "Java 17 at /jvm/a is too old."},
      {Rejection::kTooNew, "25.0.1", "Java 25.0.1 at /jvm/a is too new."},
      {Rejection::kHeadless, "", "This program needs a Java that can open windows; the one at /jvm/a is headless."},
      {Rejection::kOtherMachine, "", "The Java at /jvm/a is built for another kind of computer."},
      {Rejection::kNotStarted, "", "The Java at /jvm/a could not be started."},
      {Rejection::kNotTrusted, "", "The Java at /jvm/a was not started: other users could have changed it."},
      {Rejection::kUnsafePath, "",
       "The Java at /jvm/a was not started: its path holds a character that cannot be passed on safely."},
      {Rejection::kUnfit, "", "The Java at /jvm/a does not have what this program requires."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_STREQ(c.text, rejectionText(RejectedHome{"/jvm/a", c.reason, c.version}).c_str());
  }
}

// A path can hold "%s": it is a value, never a placeholder.
TEST(RejectedHomes, HomesAndVersionsAreValuesNotFormats) {
  ScopedLang english("C");
  EXPECT_STREQ("Java 17 at /jvm/%s%d is too old.",
               rejectionText(RejectedHome{"/jvm/%s%d", Rejection::kTooOld, "17"}).c_str());
  EXPECT_STREQ("The Java at /jvm/%s could not be started.",
               rejectionText(RejectedHome{"/jvm/%s", Rejection::kNotStarted, ""}).c_str());
}

TEST(RejectedHomes, ShowsThreeByNameAndCountsTheRest) {
  ScopedLang english("C");
  const struct {
    int homes;
    bool logged;
    const char* last;  // the last line, or the whole text for none
  } cases[] = {
      {0, true, ""},
      {1, false, "Java 1 at /jvm/1 is too old."},
      {3, true, "Java 3 at /jvm/3 is too old."},
      {4, true, "and 1 more, see the log."},
      {4, false, "and 1 more."},
      {25, true, "and 22 more, see the log."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.homes) + (c.logged ? " logged" : ""));
    RejectedHomes rejected;
    for (int i = 1; i <= c.homes; ++i) {
      rejected.add("/jvm/" + fromLong(i), Rejection::kTooOld, fromLong(i));
      rejected.add("/jvm/" + fromLong(i), Rejection::kNotStarted);  // the same home again: ignored
    }
    EXPECT_EQ(c.homes, rejected.count());
    const std::string lines = rejected.lines(c.logged).c_str();
    const size_t lastBreak = lines.rfind('\n');
    EXPECT_EQ(c.last, lastBreak == std::string::npos ? lines : lines.substr(lastBreak + 1)) << lines;
    if (c.homes > 0) {
      EXPECT_EQ(0u, lines.find("Java 1 at /jvm/1 is too old.")) << lines;
    }
    const int lineCount = lines.empty() ? 0 : 1 + static_cast<int>(std::count(lines.begin(), lines.end(), '\n'));
    EXPECT_EQ(c.homes > 3 ? 4 : c.homes, lineCount) << lines;
  }
}

// Several descriptions may turn down the same home: the user hears of it
// once, with the first reason.
TEST(RejectedHomes, AddingAnotherSearchsHomesKeepsEachOnce) {
  ScopedLang english("C");
  RejectedHomes first, second, all;
  first.add("/jvm/a", Rejection::kTooOld, "11");
  second.add("/jvm/a", Rejection::kHeadless);
  second.add("/jvm/b", Rejection::kOtherMachine);
  for (int i = 0; i < 30; ++i) second.add("/walk/" + fromLong(i), Rejection::kNotTrusted);
  all.addAll(first);
  all.addAll(second);
  EXPECT_EQ(32, all.count());
  EXPECT_STREQ(
      "Java 11 at /jvm/a is too old.\n"
      "The Java at /jvm/b is built for another kind of computer.\n"
      "The Java at /walk/0 was not started: other users could have changed it.\n"
      "and 29 more.",
      all.lines(false).c_str());
  all.clear();
  EXPECT_EQ(0, all.count());
  EXPECT_STREQ("", all.lines(true).c_str());
}

}  // namespace
