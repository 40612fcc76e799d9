#include <gtest/gtest.h>

#include "jvm/JVMFile.h"
#include "support/TestRunContext.h"
#include "tagfile/TagFile.h"

namespace {

// Macros and keys read the tag file alone: no search uses the context.
const RunContext& unusedContext() {
  static TestRunContext run;
  return run.context;
}

}  // namespace

TEST(JVMFile, ExpandsTagsAsMacros) {
  TagFile tags;
  tags.setValue("JVM_EXE", "jre/bin/java");
  tags.setValue("DESC", "IBM JRE");
  tags.setValue("TITLE", "Java: @DESC@");
  tags.setValue("JVM_HOME", "C:\\jdk\\\\");
  tags.setValue("OTHER", "C:\\dir\\");
  JVMFile jvm(&tags, unusedContext());
  const struct {
    const char* text;
    const char* want;
  } cases[] = {
      {"\"@JVM_EXE@\"", "\"jre/bin/java\""},
      {"@NOSUCH@x", "x"},
      {"x@y", "x@y"},
      {"a@@b", "a@b"},
      {"a@@b@c", "ac"},
      {"@TITLE@", "Java: IBM JRE"},  // a value holding a macro is expanded again
      {"@JVM_HOME@", "C:\\jdk\\"},   // exactly one trailing backslash goes
      {"@OTHER@", "C:\\dir\\"},      // only from JVM_HOME
      {"%DESC% #DESC#", "%DESC% #DESC#"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(SString(c.want), jvm.expand(c.text));
  }
}

TEST(JVMFile, JvmHomeWithOneBackslash) {
  TagFile tags;
  tags.setValue("JVM_HOME", "C:\\jdk\\");
  JVMFile jvm(&tags, unusedContext());
  EXPECT_EQ(SString("C:\\jdk/bin"), jvm.expand("@JVM_HOME@/bin"));
}

TEST(JVMFile, KeysAndDefaults) {
  TagFile empty;
  JVMFile none(&empty, unusedContext());
  EXPECT_EQ(SString(""), none.getJvmExe());
  EXPECT_FALSE(none.getSearchAll());
  EXPECT_EQ(&empty, none.getTagFile());

  const struct {
    const char* value;
    bool want;
  } searchAll[] = {{"1", true}, {"0", false}, {"yes", false}, {"", false}};
  for (const auto& c : searchAll) {
    SCOPED_TRACE(c.value);
    TagFile tags;
    tags.setValue("SEARCH_ALL", c.value);
    tags.setValue("JVM_EXE", "bin/java");
    tags.addValue("JVM_EXE", "ignored/java");
    JVMFile jvm(&tags, unusedContext());
    EXPECT_EQ(c.want, jvm.getSearchAll());
    EXPECT_EQ(SString("bin/java"), jvm.getJvmExe());
  }
}

TEST(JVMFile, SelfReferringTagIsReported) {
  TagFile tags;
  tags.setValue("LOOP", "-X@LOOP@");
  JVMFile jvm(&tags, unusedContext());
  EXPECT_THROW(jvm.expand("java @LOOP@"), MacroLoopException);
}

TEST(JVMFilePtrDeque, DeletesOnlyTheFilesItOwns) {
  TagFile tags;
  JVMFile borrowed(&tags, unusedContext());
  JVMFile* owned = new JVMFile(&tags, unusedContext());
  {
    JVMFilePtrDeque files;
    files.add(&borrowed, false);
    files.add(owned, true);
    EXPECT_EQ(&borrowed, files.get(0));
    EXPECT_EQ(owned, files.get(1));
    EXPECT_EQ(nullptr, files.get(2));
  }
  // The deque is gone; the borrowed file must still be whole (the sanitizer
  // build also reports a leak of the owned one or a delete of a stack object).
  EXPECT_EQ(&tags, borrowed.getTagFile());
}
