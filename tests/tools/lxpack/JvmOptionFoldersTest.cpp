#include <gtest/gtest.h>

#include <string>

#include "lxpack/JvmOptionFolders.h"

namespace {

// The parts as text: folders as <APP_DIR> and <LAUNCHER_DIR>, text in [].
std::string shown(const JvmOption& option) {
  std::string text;
  for (const JvmOptionPart& part : option.parts) {
    if (part.kind == JvmOptionPart::kAppDir) text += "<APP_DIR>";
    if (part.kind == JvmOptionPart::kLauncherDir) text += "<LAUNCHER_DIR>";
    if (part.kind == JvmOptionPart::kText) text += "[" + part.text + "]";
  }
  return text;
}

std::string joined(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "" : " ") + name;
  return text;
}

}  // namespace

TEST(JvmOptionFolders, ReplacesTheTwoFolderNamesAndLeavesEveryOtherDollar) {
  const struct {
    const char* option;
    const char* parts;
    const char* unknown;
  } cases[] = {
      {"-Xmx1g", "[-Xmx1g]", ""},
      {"-Dant.home=$APP_DIR", "[-Dant.home=]<APP_DIR>", ""},
      {"-Dant.library.dir=$APP_DIR/lib", "[-Dant.library.dir=]<APP_DIR>[/lib]", ""},
      {"-Dconf=$LAUNCHER_DIR/app.conf", "[-Dconf=]<LAUNCHER_DIR>[/app.conf]", ""},
      {"$APP_DIR", "<APP_DIR>", ""},
      {"-Dpath=$APP_DIR:$LAUNCHER_DIR", "[-Dpath=]<APP_DIR>[:]<LAUNCHER_DIR>", ""},
      {"-Dx=${APP_DIR}lib", "[-Dx=]<APP_DIR>[lib]", ""},
      {"-Dprice=$$5", "[-Dprice=$5]", ""},
      {"-Dx=$$APP_DIR", "[-Dx=$APP_DIR]", ""},
      {"-Dx=$$$APP_DIR", "[-Dx=$]<APP_DIR>", ""},
      {"-Dimpl=com.example.Outer$Inner", "[-Dimpl=com.example.Outer$Inner]", ""},
      {"-Dpattern=^a.*$", "[-Dpattern=^a.*$]", ""},
      {"-Dx=$1 $-", "[-Dx=$1 $-]", ""},
      {"-Dx=${APP_DIR", "[-Dx=${APP_DIR]", ""},
      {"-Dx=${}", "[-Dx=${}]", ""},
      {"-Dx=$APP_DIRS", "[-Dx=$APP_DIRS]", "$APP_DIRS"},
      {"-Dhome=$HOME/.app", "[-Dhome=$HOME/.app]", "$HOME"},
      {"-Dx=${APPDIR}/lib:$app_dir", "[-Dx=${APPDIR}/lib:$app_dir]", "${APPDIR}"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.option);
    const JvmOption option = readJvmOption(c.option);
    EXPECT_EQ(c.parts, shown(option));
    EXPECT_EQ(c.unknown, joined(option.unknownNames));
  }
  EXPECT_TRUE(readJvmOption("-Dx=$APP_DIR").names(JvmOptionPart::kAppDir));
  EXPECT_FALSE(readJvmOption("-Dx=$$APP_DIR").names(JvmOptionPart::kAppDir));
  EXPECT_FALSE(readJvmOption("-Dx=$LAUNCHER_DIR").names(JvmOptionPart::kAppDir));
}
