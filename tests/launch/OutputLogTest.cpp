#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "launch/OutputLog.h"
#include "support/TempDir.h"

namespace {

std::string readFile(const std::string& path) {
  std::string text;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return text;
  char buffer[65536];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
  std::fclose(file);
  return text;
}

// Output bytes together with the stream each came on, as one sequence.
struct Labelled {
  std::string bytes;
  std::string streams;  // '0' or '1' for each byte
  void add(int stream, const std::string& block) {
    bytes += block;
    streams.append(block.size(), static_cast<char>('0' + stream));
  }
  bool operator==(const Labelled& other) const { return bytes == other.bytes && streams == other.streams; }
};

// What a log of output that holds no line feeds says: every line feed in it
// is the log's own, so each line is a heading, the note of what was left
// out, or a piece of output of the stream last named.
struct ParsedLog {
  Labelled head, tail;
  long long leftOut = -1;  // -1: no note
  std::string stray;       // lines outside every stream, or malformed
};

ParsedLog parse(const std::string& log) {
  ParsedLog parsed;
  int stream = -1;
  size_t at = 0;
  while (at < log.size()) {
    size_t end = log.find('\n', at);
    if (end == std::string::npos) {
      parsed.stray += "(no line end)";
      break;
    }
    std::string line = log.substr(at, end - at);
    at = end + 1;
    long long count = 0;
    if (line == "StdOut:" || line == "ErrOut:") {
      stream = line == "StdOut:" ? 0 : 1;
    } else if (std::sscanf(line.c_str(), "[%lld bytes of output left out here", &count) == 1) {
      if (parsed.leftOut >= 0) parsed.stray += "(a second note)";
      parsed.leftOut = count;
      stream = -1;
    } else if (stream < 0) {
      parsed.stray += line;
    } else {
      (parsed.leftOut < 0 ? parsed.head : parsed.tail).add(stream, line);
    }
  }
  return parsed;
}

std::string letters(size_t n, size_t seed) {
  std::string text;
  for (size_t i = 0; i < n; ++i) text += static_cast<char>('a' + (seed + i) % 23);
  return text;
}

}  // namespace

// Whatever the pattern of writes, the log takes no more than its budget,
// keeps the beginning and the end of the output with each byte under the
// heading of its stream, and the note counts exactly what is missing in
// between; output within the budget arrives whole, with no note.
TEST(OutputLog, KeepsTheBeginningAndTheEndWithinItsBudget) {
  const struct {
    const char* what;
    uint64_t budget;
    size_t blocks;
    size_t smallest, largest;     // block sizes, varied between them
    bool alternate;               // the streams take turns; else all on one
    bool whole;                   // everything fits
    size_t leastHead, leastTail;  // output bytes each part keeps at least
  } cases[] = {
      {"blocks taking turns", 100000, 50, 5000, 5000, true, false, 60000, 30000},
      {"one stream, blocks of every size", 100000, 400, 1, 7000, false, false, 60000, 30000},
      {"one block larger than the budget", 100000, 1, 1000000, 1000000, false, false, 60000, 30000},
      // Each block costs a heading more than its bytes.
      {"tiny blocks taking turns", 100000, 80000, 1, 3, true, false, 10000, 5000},
      {"all fits", 100000, 18, 5000, 5000, true, true, 0, 0},
      {"a budget too small for an end", 200, 10, 100, 100, false, false, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    const std::string logFile = dir.file("run.log");
    Labelled output;
    uint64_t written = 0, leftOut = 0;
    {
      OutputLog log(OutputLog::openFile(logFile.c_str()), c.budget);
      for (size_t i = 0; i < c.blocks; ++i) {
        size_t size = c.smallest + (i * 7919) % (c.largest - c.smallest + 1);
        int stream = c.alternate ? static_cast<int>(i % 2) : 1;
        std::string block = letters(size, i);
        output.add(stream, block);
        log.write(stream, block.data(), block.size());
      }
      log.finish();
      written = log.written();
      leftOut = log.leftOut();
    }
    const std::string logged = readFile(logFile);
    EXPECT_EQ(written, logged.size());
    EXPECT_LE(logged.size(), c.budget);
    ParsedLog parsed = parse(logged);
    EXPECT_EQ("", parsed.stray);
    if (c.whole) {
      EXPECT_EQ(-1, parsed.leftOut);
      EXPECT_EQ(0u, leftOut);
      EXPECT_TRUE(output == parsed.head) << "the output did not arrive whole";
      continue;
    }
    ASSERT_GE(parsed.leftOut, 0) << "no note of what was left out";
    EXPECT_EQ(leftOut, static_cast<uint64_t>(parsed.leftOut));
    const size_t total = output.bytes.size();
    EXPECT_EQ(total, parsed.head.bytes.size() + static_cast<size_t>(parsed.leftOut) + parsed.tail.bytes.size());
    ASSERT_LE(parsed.head.bytes.size(), total);
    ASSERT_LE(parsed.tail.bytes.size(), total);
    EXPECT_TRUE(parsed.head == (Labelled{output.bytes.substr(0, parsed.head.bytes.size()),
                                         output.streams.substr(0, parsed.head.bytes.size())}))
        << "the first part is not the output's beginning";
    const size_t tailFrom = total - parsed.tail.bytes.size();
    EXPECT_TRUE(parsed.tail == (Labelled{output.bytes.substr(tailFrom), output.streams.substr(tailFrom)}))
        << "the last part is not the output's end";
    // The budget is used, not wasted: the beginning and the end both have
    // their share of it.
    EXPECT_GE(parsed.head.bytes.size(), c.leastHead);
    EXPECT_GE(parsed.tail.bytes.size(), c.leastTail);
  }
}

// The last part starts at a line, and names its stream although the first
// part ended on the same one; the first part's cut line is ended.
TEST(OutputLog, TheLastPartStartsAtALineUnderItsHeading) {
  TempDir dir;
  const std::string logFile = dir.file("run.log");
  std::string lines;
  for (int i = 0; i < 100; ++i) {
    char line[16];
    std::snprintf(line, sizeof line, "line %03d\n", i);
    lines += line;
  }
  {
    // 480 bytes: 160 for the first part, 160 for the last, 160 for the note.
    OutputLog log(OutputLog::openFile(logFile.c_str()), 480);
    for (size_t at = 0; at < lines.size(); at += 50)
      log.write(0, lines.data() + at, std::min<size_t>(50, lines.size() - at));
  }
  // The first part: the heading and 152 bytes; the last: the newest 142
  // bytes (its room less two headings: its own and one for a block of the
  // other stream), less the 7 of the line they cut.
  std::string want = "StdOut:\n" + lines.substr(0, 152) +
                     "\n[613 bytes of output left out here: the log keeps the beginning and the end of a command's "
                     "output]\nStdOut:\n" +
                     lines.substr(9 * 85);
  EXPECT_EQ(want, readFile(logFile));
}

// The title comes before the first block, and only when output comes; a
// log without a file writes nothing anywhere.
TEST(OutputLog, TitleOnlyWithOutput) {
  TempDir dir;
  {
    OutputLog silent(OutputLog::openFile(dir.file("silent.log").c_str()), 1000, "Title:\n");
    OutputLog titled(OutputLog::openFile(dir.file("titled.log").c_str()), 1000, "Title:\n");
    titled.write(1, "late", 4);
    titled.finish();
    titled.write(0, "after the end", 13);
    OutputLog nowhere(FileDescriptor(), 1000, "Title:\n");
    nowhere.write(0, "dropped", 7);
    EXPECT_EQ(0u, nowhere.written());
  }
  EXPECT_EQ("", readFile(dir.file("silent.log")));
  EXPECT_EQ("Title:\nErrOut:\nlate\n", readFile(dir.file("titled.log")));
}
