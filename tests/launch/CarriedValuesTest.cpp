// The launcher's own values reach the program byte for byte wherever a
// launch script puts them in the command, checked through the real /bin/sh.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "launch/CarriedValues.h"
#include "support/Processes.h"
#include "support/TempDir.h"
#include "support/Thrown.h"

namespace {

const char* const kValues[] = {
    "/plain/path",
    "/two words/x",
    "/x$(touch PWNED)/y",
    "/back`touch PWNED`quote",
    "/dq\"; touch PWNED; \"",
    "/sq'; touch PWNED; '",
    "/end\\",
    "/markers %TEMP_DIR%() @JVM_HOME@ #HOME# %% @@",
    "/line\nbreak; touch PWNED",
    "/glob * ? [a] ~ ; & | < > ( )",
    "/ünïcödé 日本",
};

// Runs command through /bin/sh in dir and returns what it printed.
std::string ThroughShell(const std::string& dir, const SString& command) {
  return ShellOutput("cd '" + dir + "' && " + std::string(command.c_str()));
}

}  // namespace

TEST(CarriedValues, ReachTheProgramUnchangedInEveryQuotingContext) {
  TempDir dir;
  // Each template prints the value between brackets; %s is where the
  // launch script put it.
  const char* const templates[] = {
      "printf '[%%s]' %s",
      "printf '[%%s]' \"%s\"",
      "printf '[%%s]' '%s'",
      "printf '[%%s]' \"pre-%s-post\"",
      "printf '[%%s]' -Dx=%s",
      "printf '[%%s]' \"$(printf '%%s' %s)\"",
      "printf '[%%s]' \"$(printf '%%s' \"%s\")\"",
  };
  for (const char* value : kValues) {
    for (const char* shape : templates) {
      CarriedValues carried;
      std::string token = carried.token(value).c_str();
      char command[256];
      std::snprintf(command, sizeof command, shape, token.c_str());
      std::string want = std::string(shape).find("pre-") != std::string::npos   ? std::string("pre-") + value + "-post"
                         : std::string(shape).find("-Dx=") != std::string::npos ? std::string("-Dx=") + value
                                                                                : value;
      SCOPED_TRACE(std::string(shape) + " with " + value);
      EXPECT_EQ("[" + want + "]", ThroughShell(dir.path(), carried.forShell(command)));
      EXPECT_FALSE(std::ifstream(dir.file("PWNED")).good()) << "a command in the value was run";
    }
  }
}

TEST(CarriedValues, TokensHoldNoMacroMarkerAndComeBackPlain) {
  CarriedValues carried;
  SString first = carried.token("/a b/%x%");
  SString second = carried.token("/c");
  EXPECT_TRUE((first + second).find_first_of("%@#") == SString::npos);
  EXPECT_EQ(SString(""), carried.token(""));
  EXPECT_EQ(SString("-cp /a b/%x%:/c"), carried.plain("-cp " + first + ":" + second));
  // A stray control character is left as it is.
  EXPECT_EQ(SString("\x01x\x02 \x01"
                    "99\x02"),
            carried.plain("\x01x\x02 \x01"
                          "99\x02"));
}

TEST(CarriedValues, PlacesNoQuotingCarriesAreRefused) {
  const char* const shapes[] = {"echo `echo %s`", "echo ${X:-%s}", "echo \\%s", "echo \"`%s`\""};
  for (const char* shape : shapes) {
    CarriedValues carried;
    std::string token = carried.token("/x$(touch PWNED)").c_str();
    char command[128];
    std::snprintf(command, sizeof command, shape, token.c_str());
    SCOPED_TRACE(shape);
    EXPECT_NE(std::string::npos, ThrownBy([&] { carried.forShell(command); }).find("/x$(touch PWNED)"));
  }
}

TEST(CarriedValues, ACommentKeepsNoValue) {
  CarriedValues carried;
  SString token = carried.token("/x\ntouch PWNED");
  EXPECT_EQ(SString("echo a # b  c\necho d"), carried.forShell("echo a # b " + token + " c\necho d"));
}
