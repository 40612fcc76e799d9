#include <gtest/gtest.h>

#include <string>

#include "archive/ArchiveBytes.h"
#include "archive/LauncherFile.h"
#include "base/Log.h"
#include "support/TempDir.h"

namespace {

// A launcher of a short fake program, three tag files and one jar, laid out
// as a writer does: data without gaps, then the index, then the trailer.
class LauncherFileTest : public ::testing::Test {
 protected:
  static constexpr const char* kProgram = "#!fake program\n";
  const std::string instructions = "INSTRUCTIONS:\n  INITIALIZE_UI\n/:\n";
  const std::string launch = "DESC: Product\n";
  const std::string jvm = "JVM_EXE: bin/java\n";

  std::string standardLauncher() {
    std::string data = kProgram;
    std::string index = be32(5);
    auto add = [&](int type, uint32_t id, const std::string& name, const std::string& bytes) {
      index += plainEntry(type, id, static_cast<uint32_t>(bytes.size()), static_cast<uint32_t>(data.size()), name);
      data += bytes;
    };
    add(5, 0, "Verify.jar", "PK\x03\x04 not really a jar");
    add(0, 1, "instructions.txt", instructions);
    add(2, 2, "launch.txt", launch);
    add(1, 3, "a.jvm", jvm);
    add(1, 4, "b.jvm", jvm);
    return data + index + trailer(static_cast<uint32_t>(data.size()));
  }

  void useLauncher(const std::string& bytes) { launcherPath = dir.write("launcher", bytes).c_str(); }

  std::string loadError(bool withTagFiles) {
    return errorOf([&] { file.loadIndex(launcherPath, withTagFiles); });
  }

  void TearDown() override { setLogFile(""); }

  TempDir dir;
  SString launcherPath;
  LauncherFile file;
};

}  // namespace

TEST_F(LauncherFileTest, LoadsIndexAndEmbeddedTagFiles) {
  useLauncher(standardLauncher());
  file.loadIndex(launcherPath, true);
  ASSERT_TRUE(file.isIndexLoaded());
  ASSERT_EQ(5, file.getEntryCount());
  EXPECT_EQ(SString("Verify.jar"), file.getEntry(0)->getName());
  EXPECT_EQ(std::string(kProgram).size(), file.getEntry(0)->getOffset());
  EXPECT_EQ(SString("b.jvm"), file.getEntry(4)->getName());
  EXPECT_EQ(nullptr, file.getEntry(0)->getTagFile());
  ASSERT_NE(nullptr, file.getEmbeddedInstructions());
  EXPECT_EQ(file.getEntry(1)->getTagFile(), file.getEmbeddedInstructions());
  EXPECT_EQ(SString("INITIALIZE_UI"), file.getEmbeddedInstructions()->getValue("INSTRUCTIONS", 0));
  EXPECT_EQ(file.getEntry(2)->getTagFile(), file.getEmbeddedLaunchScript());
  ASSERT_EQ(2u, file.getEmbeddedJvmFiles().size());
  EXPECT_EQ(file.getEntry(3)->getTagFile(), file.getEmbeddedJvmFiles()[0]);
  EXPECT_EQ(file.getEntry(4)->getTagFile(), file.getEmbeddedJvmFiles()[1]);
  EXPECT_TRUE(file.areJvmFilesGiven());
}

TEST_F(LauncherFileTest, ListsEveryEntryInTheLog) {
  std::string logPath = dir.file("log.txt");
  setLogFile(logPath.c_str());
  std::string data = kProgram;
  std::string index = be32(2) + plainEntry(6, 0xFFFFFFFFu, 0, 15, "app.jar") + plainEntry(3, 12, 0, 15, "cp.jar");
  useLauncher(data + index + trailer(static_cast<uint32_t>(data.size())));
  file.loadIndex(launcherPath, false);
  std::string log = ReadFile(logPath);
  EXPECT_NE(std::string::npos, log.find("file type: 6\n  file id: -1\n  length: 0\n  offset: 15\n"
                                        "  file name: app.jar\n"
                                        "file type: 3\n  file id: 12\n  length: 0\n  offset: 15\n"
                                        "  file name: cp.jar\n"))
      << log;
}

TEST_F(LauncherFileTest, ProgramWithoutArchiveHasNoEntries) {
  useLauncher(std::string(kProgram) + be32(0) + be32(0xCA82CA83u));
  file.loadIndex(launcherPath, true);
  EXPECT_TRUE(file.isIndexLoaded());
  EXPECT_EQ(0, file.getEntryCount());
  EXPECT_EQ(nullptr, file.getEmbeddedInstructions());
}

TEST_F(LauncherFileTest, DamagedLaunchersGiveTheirFormatError) {
  const std::string program = kProgram;
  const uint32_t end = static_cast<uint32_t>(program.size());
  const struct {
    const char* what;
    std::string bytes;
    const char* error;
  } cases[] = {
      {"shorter than the trailer", "1234567", "Invalid launcher format."},
      {"index offset beyond the file", program + trailer(0x7FFFFFF0u), "Unable to read the file count."},
      {"index offset in the identification value", program + trailer(end + 9 - 2), "Unable to read the file count."},
      {"type 9", program + be32(1) + plainEntry(9, 0, 0, 0, "x") + trailer(end), "Invalid file type in file index."},
      // The trailer is then read as the second entry, up to the end of the file.
      {"more entries than written", program + be32(2) + plainEntry(3, 0, 0, 0, "x") + trailer(end),
       "Unable to load offset to file bytes."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    file = LauncherFile();
    useLauncher(c.bytes);
    EXPECT_EQ(c.error, loadError(false));
    EXPECT_FALSE(file.isIndexLoaded());
  }
}

TEST_F(LauncherFileTest, MissingLauncherFileCannotBeOpened) {
  launcherPath = dir.file("missing").c_str();
  EXPECT_EQ("Cannot open launcher file.", loadError(true));
}

TEST_F(LauncherFileTest, EntriesBeforeADamagedOneStayButTheIndexIsNotLoaded) {
  std::string program = kProgram;
  useLauncher(program + be32(3) + plainEntry(6, 0, 0, 0, "a") + plainEntry(6, 1, 0, 0, "b") + byte(9) +
              trailer(static_cast<uint32_t>(program.size())));
  EXPECT_EQ("Invalid file type in file index.", loadError(false));
  EXPECT_FALSE(file.isIndexLoaded());
  EXPECT_EQ(2, file.getEntryCount());
}

TEST_F(LauncherFileTest, CountFromTheTopBitUpReadsNoEntry) {
  std::string program = kProgram;
  useLauncher(program + be32(0x80000000u) + trailer(static_cast<uint32_t>(program.size())));
  file.loadIndex(launcherPath, true);
  EXPECT_TRUE(file.isIndexLoaded());
  EXPECT_EQ(0, file.getEntryCount());
}

TEST_F(LauncherFileTest, FindsEntriesByIdAndPosition) {
  std::string program = kProgram;
  useLauncher(program + be32(3) + plainEntry(6, 4, 0, 0, "first") + plainEntry(3, 4, 0, 0, "second") +
              plainEntry(3, 0xFFFFFFFFu, 0, 0, "unnumbered") + trailer(static_cast<uint32_t>(program.size())));
  file.loadIndex(launcherPath, false);
  ASSERT_NE(nullptr, file.findEntryById(4));
  EXPECT_EQ(SString("first"), file.findEntryById(4)->getName());
  EXPECT_EQ(SString("unnumbered"), file.findEntryById(-1)->getName());
  EXPECT_EQ(nullptr, file.findEntryById(5));
  EXPECT_EQ(nullptr, file.getEntry(-1));
  EXPECT_EQ(nullptr, file.getEntry(3));
  EXPECT_EQ(SString("second"), file.getEntry(1)->getName());
}

TEST_F(LauncherFileTest, IndexIsLoadedOnceSoAFirstLoadWithoutTagFilesWins) {
  useLauncher(standardLauncher());
  file.loadIndex(launcherPath, false);
  file.loadIndex(launcherPath, true);
  EXPECT_EQ(5, file.getEntryCount());
  for (int i = 0; i < file.getEntryCount(); ++i) EXPECT_EQ(nullptr, file.getEntry(i)->getTagFile());
  EXPECT_EQ(nullptr, file.getEmbeddedInstructions());
  EXPECT_FALSE(file.areJvmFilesGiven());
}

TEST_F(LauncherFileTest, FirstInstructionsAndLaunchScriptWinAndGivenJvmFilesKeepEmbeddedOnesOut) {
  std::string data = kProgram;
  std::string index = be32(5);
  auto add = [&](int type, const std::string& name, const std::string& bytes) {
    index += plainEntry(type, 0, static_cast<uint32_t>(bytes.size()), static_cast<uint32_t>(data.size()), name);
    data += bytes;
  };
  add(2, "launch1.txt", "N: 1\n");
  add(0, "instr1.txt", "N: 1\n");
  add(1, "a.jvm", "N: 1\n");
  add(0, "instr2.txt", "N: 2\n");
  add(2, "launch2.txt", "N: 2\n");
  useLauncher(data + index + trailer(static_cast<uint32_t>(data.size())));
  file.setJvmFilesGiven();
  file.loadIndex(launcherPath, true);
  EXPECT_EQ(SString("instr1.txt"), file.getEmbeddedInstructions()->getFileName());
  EXPECT_EQ(SString("launch1.txt"), file.getEmbeddedLaunchScript()->getFileName());
  EXPECT_TRUE(file.getEmbeddedJvmFiles().empty());
  // Every tag-file entry is parsed all the same.
  EXPECT_NE(nullptr, file.getEntry(2)->getTagFile());
  EXPECT_NE(nullptr, file.getEntry(4)->getTagFile());
}

TEST_F(LauncherFileTest, EmbeddedSyntaxErrorNamesTheEntry) {
  std::string data = kProgram;
  std::string bad = "A: 1\nB:\n  x\n";
  std::string index =
      be32(1) + plainEntry(1, 0, static_cast<uint32_t>(bad.size()), static_cast<uint32_t>(data.size()), "broken.jvm");
  data += bad;
  useLauncher(data + index + trailer(static_cast<uint32_t>(data.size())));
  // The block is read past the entry's end into the index and the trailer,
  // which hold no tag completer.
  EXPECT_EQ("Syntax error in broken.jvm at line 2 ==> Missing /: tag completer.", loadError(true));
}

TEST_F(LauncherFileTest, LoadsTagFilesFromDiskAndKeepsThem) {
  std::string path = dir.write("x.jvm", "JVM_EXE: java\n");
  TagFile* tags = file.loadTagFileFromPath(path.c_str());
  ASSERT_NE(nullptr, tags);
  EXPECT_EQ(SString("java"), tags->getValue("JVM_EXE", 0));
  EXPECT_EQ("Unable to load input file: " + dir.file("none"),
            errorOf([&] { file.loadTagFileFromPath(dir.file("none").c_str()); }));
}

TEST_F(LauncherFileTest, AFreshObjectForgetsEverything) {
  useLauncher(standardLauncher());
  file.loadIndex(launcherPath, true);
  file = LauncherFile();
  EXPECT_FALSE(file.isIndexLoaded());
  EXPECT_EQ(0, file.getEntryCount());
  EXPECT_EQ(nullptr, file.getEmbeddedInstructions());
  EXPECT_EQ(nullptr, file.getEmbeddedLaunchScript());
  EXPECT_TRUE(file.getEmbeddedJvmFiles().empty());
  EXPECT_FALSE(file.areJvmFilesGiven());
  file.loadIndex(launcherPath, true);
  EXPECT_EQ(5, file.getEntryCount());
}
