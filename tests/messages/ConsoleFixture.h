// Helpers for the console tests: fixed locale variables, a captured console
// and a prepared standard input, all put back after each test.
#pragma once

#include <gtest/gtest.h>
#include <iconv.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "messages/Console.h"
#include "messages/Messages.h"

// Sets one environment variable (null unsets it) for the lifetime of the
// object.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    const char* old = std::getenv(name);
    hadOld_ = old != nullptr;
    if (hadOld_) old_ = old;
    set(value);
  }
  ~ScopedVariable() { set(hadOld_ ? old_.c_str() : nullptr); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

  void set(const char* value) {
    if (value == nullptr) {
      unsetenv(name_.c_str());
    } else {
      setenv(name_.c_str(), value, 1);
    }
  }

 private:
  std::string name_;
  bool hadOld_ = false;
  std::string old_;
};

// The three locale variables messages follow, set for the lifetime of the
// object (null unsets one), whatever the environment the tests run in.
class ScopedLocale {
 public:
  ScopedLocale(const char* lcAll, const char* lcMessages, const char* lang)
      : lcAll_("LC_ALL", lcAll), lcMessages_("LC_MESSAGES", lcMessages), lang_("LANG", lang) {}

 private:
  ScopedVariable lcAll_;
  ScopedVariable lcMessages_;
  ScopedVariable lang_;
};

// LANG alone: LC_ALL and LC_MESSAGES are unset for the lifetime of the
// object.
class ScopedLang {
 public:
  explicit ScopedLang(const char* value) : locale_(nullptr, nullptr, value) {}

  // Sets LANG from here on (the object puts the old value back).
  static void set(const char* value) {
    if (value == nullptr) {
      unsetenv("LANG");
    } else {
      setenv("LANG", value, 1);
    }
  }

 private:
  ScopedLocale locale_;
};

// The bytes decoded from charset into UTF-8 with the C library's converter,
// a decoder independent of the generator that wrote the legacy tables (the
// launcher itself never converts); "<invalid>" when they are not valid in
// that charset.
inline std::string ToUtf8(const std::string& bytes, const char* charset) {
  iconv_t converter = iconv_open("UTF-8", charset);
  if (converter == reinterpret_cast<iconv_t>(-1)) return "<no converter>";
  std::string out(bytes.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size();
  char* outPtr = &out[0];
  size_t outLeft = out.size();
  size_t result = iconv(converter, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(converter);
  if (result == static_cast<size_t>(-1)) return "<invalid>";
  out.resize(out.size() - outLeft);
  return out;
}

class ConsoleTest : public ::testing::Test {
 protected:
  ConsoleTest() : lang_("C") {}

  // The test owns the console state: it starts afresh and writes to a file.
  void SetUp() override {
    consoleState = ConsoleState();
    out_ = std::tmpfile();
    ASSERT_NE(nullptr, out_);
    consoleState.out = out_;
  }

  void TearDown() override {
    consoleState = ConsoleState();
    if (in_ != nullptr) std::fclose(in_);
    std::fclose(out_);
  }

  // What the console has written since the last call. It is read from the
  // file underneath, so output the console did not flush is not seen.
  std::string takeOutput() {
    std::string text;
    char buffer[4096];
    off_t offset = 0;
    ssize_t n;
    while ((n = pread(fileno(out_), buffer, sizeof buffer, offset)) > 0) {
      text.append(buffer, static_cast<size_t>(n));
      offset += n;
    }
    EXPECT_EQ(0, ftruncate(fileno(out_), 0));
    std::rewind(out_);
    return text;
  }

  // The console's standard input: a pipe holding text, then end of file.
  FILE* setInput(const std::string& text) {
    int fds[2];
    EXPECT_EQ(0, pipe(fds));
    EXPECT_EQ(static_cast<ssize_t>(text.size()), write(fds[1], text.data(), text.size()));
    close(fds[1]);
    in_ = fdopen(fds[0], "r");
    consoleState.in = in_;
    return in_;
  }

 private:
  ScopedLang lang_;
  FILE* out_ = nullptr;
  FILE* in_ = nullptr;
};
