#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "base/LauncherException.h"
#include "base/Log.h"
#include "support/Processes.h"
#include "support/TempDir.h"
#include "tagfile/TagFile.h"

namespace {

class TagFileTest : public ::testing::Test {
 protected:
  // Loads text as a whole file named "t.tag".
  void loadText(TagFile& tags, const std::string& text) {
    std::string path = dir.write("t.tag", text);
    FILE* f = std::fopen(path.c_str(), "rb");
    ASSERT_NE(nullptr, f);
    try {
      tags.load(f, "t.tag", 0, -1);
    } catch (...) {
      std::fclose(f);
      throw;
    }
    std::fclose(f);
  }

  std::string loadError(const std::string& text) {
    TagFile tags;
    try {
      loadText(tags, text);
    } catch (const LauncherException& e) {
      return e.getMessage().c_str();
    }
    return "(loaded without error)";
  }

  std::vector<std::string> names(const TagFile& tags) {
    std::vector<std::string> out;
    for (int i = 0; i < tags.count(); ++i) out.push_back(tags.get(i)->getName().c_str());
    return out;
  }

  TempDir dir;
};

}  // namespace

TEST_F(TagFileTest, SingleValueForms) {
  TagFile tags;
  loadText(tags,
           "NAME:value\n"
           "A: b: c\n"
           "C:\\dir\n"
           "  INDENTED :   spaced value  \n"
           "Q: \"a \"\"b\"\" c\" rest\n"
           "CP: \"-cp \"\n");
  EXPECT_EQ(SString("value"), tags.getValue("NAME", 0));
  EXPECT_EQ(SString("b: c"), tags.getValue("A", 0));
  EXPECT_EQ(SString("\\dir"), tags.getValue("C", 0));
  EXPECT_EQ(SString("spaced value"), tags.getValue("INDENTED", 0));
  EXPECT_EQ(SString("a \"b\" c"), tags.getValue("Q", 0));
  EXPECT_EQ(SString("-cp "), tags.getValue("CP", 0));
  EXPECT_EQ(SString(""), tags.getValue("MISSING", 0));
  EXPECT_EQ(SString(""), tags.getValue("NAME", 1));
  EXPECT_EQ(0, tags.getValueCount("MISSING"));
}

TEST_F(TagFileTest, BlocksCollectOneValuePerLine) {
  TagFile tags;
  loadText(tags,
           "PATH_HINT:\n"
           "  \"/usr/lib/java\"\n"
           "\n"
           "  /opt/jre\n"
           "  \"\"\n"
           "  \"say \"\"hi\"\"\" trailing\n"
           "  /opt/jre\n"
           "\"/:\"\n"
           ":\n"
           "  empty name\n"
           "/:\n");
  ASSERT_EQ(4, tags.getValueCount("PATH_HINT"));
  EXPECT_EQ(SString("/usr/lib/java"), tags.getValue("PATH_HINT", 0));
  EXPECT_EQ(SString("/opt/jre"), tags.getValue("PATH_HINT", 1));
  EXPECT_EQ(SString("say \"hi\""), tags.getValue("PATH_HINT", 2));
  EXPECT_EQ(SString("/opt/jre"), tags.getValue("PATH_HINT", 3));
  EXPECT_EQ(SString("empty name"), tags.getValue("", 0));
}

TEST_F(TagFileTest, QuotesOnlyMatterAtTheStartOfAValue) {
  TagFile tags;
  loadText(tags,
           "COMMAND:\n"
           "\"\"\"@JVM_HOME@/@JVM_EXE@\"\" run \"\n"
           "java \"x\" y\n"
           "/:\n");
  EXPECT_EQ(SString("\"@JVM_HOME@/@JVM_EXE@\" run "), tags.getValue("COMMAND", 0));
  EXPECT_EQ(SString("java \"x\" y"), tags.getValue("COMMAND", 1));
}

TEST_F(TagFileTest, LastDefinitionWinsAndMovesToTheEnd) {
  TagFile tags;
  loadText(tags, "X: 1\nY: 2\nX: 3\n");
  EXPECT_EQ((std::vector<std::string>{"Y", "X"}), names(tags));
  EXPECT_EQ(1, tags.getValueCount("X"));
  EXPECT_EQ(SString("3"), tags.getValue("X", 0));

  TagFile emptied;
  loadText(emptied, "NAME: old\nNAME:\n\n   \n/:\nOTHER: x\n");
  EXPECT_EQ(0, emptied.getValueCount("NAME"));
  EXPECT_EQ((std::vector<std::string>{"OTHER"}), names(emptied));
}

TEST_F(TagFileTest, BlankFilesAndLineEndings) {
  TagFile empty;
  loadText(empty, "");
  EXPECT_EQ(0, empty.count());
  TagFile blank;
  loadText(blank, "\n  \n\t\r\n");
  EXPECT_EQ(0, blank.count());

  TagFile crlf;
  loadText(crlf, "A: 1\r\nB:\r\n x\r\n y\r\n/:\r\nC: last");
  TagFile lf;
  loadText(lf, "A: 1\nB:\n x\n y\n/:\nC: last");
  EXPECT_EQ(names(lf), names(crlf));
  EXPECT_EQ(SString("y"), crlf.getValue("B", 1));
  EXPECT_EQ(SString("last"), crlf.getValue("C", 0));

  // A lone carriage return does not end a line; it is dropped.
  TagFile cr;
  loadText(cr, "A: 1\rB: 2\n");
  EXPECT_EQ(SString("1B: 2"), cr.getValue("A", 0));
}

TEST_F(TagFileTest, SyntaxErrorsNameFileAndLine) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"A: 1\n\n# note\n", "Syntax error in t.tag at line 3 ==> Missing colon at the end of the tag name."},
      {"A: 1\nLIST:\n x\n y\n z\n", "Syntax error in t.tag at line 2 ==> Missing /: tag completer."},
      {"LIST:\n x\n /:x\n y", "Syntax error in t.tag at line 1 ==> Missing /: tag completer."},
      {"NAME: \"abc\n", "Expected double quote to end argument near 7"},
      {"B:\n\"abc\n/:\n", "Expected double quote to end argument near 1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(c.message, loadError(c.text));
  }
}

TEST_F(TagFileTest, SyntaxErrorsAreLoggedAtErrorLevel) {
  std::string logPath = dir.file("log.txt");
  setLogFile(logPath.c_str());
  loadError("oops\n");
  setLogFile("");
  EXPECT_NE(
      std::string::npos,
      ReadFile(logPath).find("ERROR: Syntax error in t.tag at line 1 ==> Missing colon at the end of the tag name.\n"));
}

TEST_F(TagFileTest, ArbitraryBytesLoadOrFailCleanly) {
  // NUL bytes, an open block at the end, a quote at the end of a line.
  EXPECT_EQ("(loaded without error)", loadError(std::string("A: x\0y\nB: \"q\"", 13)));
  EXPECT_EQ("Expected double quote to end argument near 1", loadError("A:\n\""));
  EXPECT_EQ("Syntax error in t.tag at line 1 ==> Missing colon at the end of the tag name.",
            loadError(std::string("\0\0\0", 3)));
}

TEST_F(TagFileTest, LoadsFromAByteRangeOfALargerFile) {
  std::string before = "GARBAGE WITHOUT COLON\n";
  std::string tags = "DESC: Embedded\nLIST:\n a\n b\n/:\n";
  std::string after = "X: must not be read\n";
  std::string path = dir.write("launcher.bin", before + tags + after);
  FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(nullptr, f);
  TagFile t;
  t.load(f, "instructions.txt", static_cast<int32_t>(before.size()), static_cast<int32_t>(tags.size()));
  std::fclose(f);
  EXPECT_EQ(SString("instructions.txt"), t.getFileName());
  EXPECT_EQ(SString("Embedded"), t.getValue("DESC", 0));
  EXPECT_EQ(2, t.getValueCount("LIST"));
  EXPECT_EQ(0, t.getValueCount("X"));
}

TEST_F(TagFileTest, LoadFromPath) {
  std::string path = dir.write("jvm.tag", "JVM_EXE: bin/java\n");
  TagFile t(path.c_str());
  EXPECT_EQ(SString("bin/java"), t.getValue("JVM_EXE", 0));
  EXPECT_EQ(SString(path.c_str()), t.getFileName());
  try {
    TagFile missing(dir.file("none").c_str());
    FAIL() << "no exception";
  } catch (const LauncherException& e) {
    EXPECT_EQ(SString(("Unable to load input file: " + dir.file("none")).c_str()), e.getMessage());
  }
}

TEST_F(TagFileTest, GetBool) {
  TagFile tags;
  loadText(tags, "ONE: 1\nZERO: 0\nWORD: yes\nNEG: -2\n");
  EXPECT_TRUE(tags.getBool("ONE", false));
  EXPECT_FALSE(tags.getBool("ZERO", true));
  EXPECT_TRUE(tags.getBool("WORD", true));
  EXPECT_FALSE(tags.getBool("WORD", false));
  EXPECT_TRUE(tags.getBool("NEG", false));
  EXPECT_TRUE(tags.getBool("ABSENT", true));
}

TEST_F(TagFileTest, SetAndAddValues) {
  TagFile tags;
  loadText(tags, "L:\n a\n b\n c\n/:\n");
  tags.setValue("L", "only");
  EXPECT_EQ(1, tags.getValueCount("L"));
  EXPECT_EQ(SString("only"), tags.getValue("L", 0));
  tags.addValue("L", "second");
  tags.addValue("NEW", "first");
  EXPECT_EQ(2, tags.getValueCount("L"));
  EXPECT_EQ(SString("first"), tags.getValue("NEW", 0));
  tags.setJvmInfo("/opt/jre", "/tmp/lxjabc", true);
  EXPECT_EQ(SString("/opt/jre"), tags.getValue("JVM_HOME", 0));
  EXPECT_EQ(SString("/tmp/lxjabc"), tags.getValue("JVM_FILE", 0));
  EXPECT_EQ(SString("1"), tags.getValue("JVM_TEMP", 0));
  EXPECT_EQ((std::vector<std::string>{"L", "NEW", "JVM_HOME", "JVM_FILE", "JVM_TEMP"}), names(tags));
}

TEST_F(TagFileTest, WriteQuotesOnlyWhereReadingBackNeedsIt) {
  TagFile tags;
  tags.setValue("JVM_HOME", "/opt/jre");
  tags.setValue("LEAD", " blank first");
  tags.setValue("QUOTE", "say \"hi\"");
  tags.setValue("EMPTY", "");
  tags.addValue("LIST", "a");
  tags.addValue("LIST", "b c");
  std::string path = dir.file("out.tag");
  tags.write(path.c_str());
  EXPECT_EQ(
      "JVM_HOME:  /opt/jre\n"
      "LEAD:  \" blank first\"\n"
      "QUOTE:  \"say \"\"hi\"\"\"\n"
      "EMPTY:  \"\"\n"
      "LIST:\n  a\n  b c\n/:\n",
      ReadFile(path));
}

TEST_F(TagFileTest, RoundTripThroughWriteAndLoad) {
  TagFile original;
  original.setValue("A", "plain");
  original.setValue("B", "  padded  ");
  original.setValue("C", "\"quoted\" inside");
  original.setValue("D", "");
  original.addValue("E", "one");
  original.addValue("E", "\"two\"");
  original.addValue("E", " three ");
  original.setValue("F", "-cp ");
  std::string path = dir.file("rt.tag");
  original.write(path.c_str());
  TagFile reread(path.c_str());
  ASSERT_EQ(original.count(), reread.count());
  for (int i = 0; i < original.count(); ++i) {
    const TagFileEntry* a = original.get(i);
    const TagFileEntry* b = reread.get(i);
    EXPECT_EQ(a->getName(), b->getName());
    ASSERT_EQ(a->getValues()->count(), b->getValues()->count()) << a->getName();
    for (int j = 0; j < a->getValues()->count(); ++j) EXPECT_EQ(a->getValues()->get(j), b->getValues()->get(j));
  }
}

// A file written anew (the input file that extraction writes beside the
// files it names) is its owner's alone, like those files, whatever the umask.
TEST_F(TagFileTest, AFileWrittenAnewIsItsOwnersAloneWhateverTheUmask) {
  TagFile file;
  file.setValue("JVM_HOME", "/opt/jdk");
  std::string path = dir.file("private.tag");
  mode_t previous = umask(0);
  file.write(path.c_str(), true);
  umask(previous);
  struct stat status;
  ASSERT_EQ(0, stat(path.c_str(), &status));
  EXPECT_EQ(0600u, status.st_mode & 07777u);
}

TEST_F(TagFileTest, AWriteThatFailsIsAnErrorWithItsReasonAndLeavesNoFile) {
  TagFile tags;
  tags.setValue("JVM_HOME", std::string(100000, 'h').c_str());
  const struct {
    std::string path;
    const char* reason;
  } cases[] = {
      {dir.file("no/such/dir/x.tag"), "No such file or directory"},
      {dir.path(), "Is a directory"},
      // Opens, but every write finds the device full.
      {"/dev/full", "No space left on device"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    try {
      tags.write(c.path.c_str());
      ADD_FAILURE() << "no exception";
    } catch (const LauncherException& e) {
      EXPECT_EQ("Unable to write " + c.path + ": " + c.reason, std::string(e.getMessage().c_str()));
    }
  }
  EXPECT_EQ(nullptr, std::fopen(dir.file("no/such/dir/x.tag").c_str(), "r"));
  // The device is not removed for having refused the bytes.
  struct stat status;
  EXPECT_EQ(0, stat("/dev/full", &status));
}

TEST_F(TagFileTest, AStreamThatCannotBeReadEndsTheLoadWithItsReason) {
  // A directory opens as a stream, but every read fails: the load must end
  // instead of waiting for an end of file that never comes. It runs in a
  // forked copy with an alarm, so that a load that does not end fails.
  const std::string path = dir.path();
  int status = InForkedProcess([&] {
    alarm(60);
    try {
      TagFile tags(path.c_str());
    } catch (const LauncherException& e) {
      return e.getMessage() == SString(("Unable to read " + path + ": Is a directory").c_str()) ? 0 : 1;
    }
    return 2;
  });
  EXPECT_EQ(0, status) << "1: another message, 2: no error, negative: killed by that signal";
}

TEST_F(TagFileTest, ManyTagsAndManyValuesLoadWhole) {
  // A hundred thousand tags, one redefined, and a block of as many values:
  // every one is found, in file order, with the redefined tag at the end.
  std::string text;
  const int count = 100000;
  for (int i = 0; i < count; ++i) text += "T" + std::to_string(i) + ": " + std::to_string(i) + "\n";
  text += "LIST:\n";
  for (int i = 0; i < count; ++i) text += "  v" + std::to_string(i) + "\n";
  text += "/:\nT5: again\n";
  TagFile tags;
  loadText(tags, text);
  ASSERT_EQ(count + 1, tags.count());
  EXPECT_EQ(SString("T4"), tags.get(4)->getName());
  EXPECT_EQ(SString("T6"), tags.get(5)->getName());
  EXPECT_EQ(SString("T5"), tags.last()->getName());
  EXPECT_EQ(SString("again"), tags.getValue("T5", 0));
  EXPECT_EQ(SString("99999"), tags.getValue("T99999", 0));
  EXPECT_EQ(count, tags.getValueCount("LIST"));
  EXPECT_EQ(SString("v77777"), tags.getValue("LIST", 77777));
}

TEST_F(TagFileTest, LongLinesLoadInLinearTime) {
  // A 10 MB value: gathering line bytes one by one into the string type
  // would copy the text for every 32 bytes.
  std::string big(10 * 1024 * 1024, 'v');
  TagFile tags;
  loadText(tags, "BIG: " + big + "\n");
  EXPECT_EQ(big.size(), tags.getValue("BIG", 0).length());
}
