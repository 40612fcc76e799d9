// Runs instructions scripts against a RecordingController, with the
// variable store reset around every test.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <ostream>
#include <string>

#include "base/LauncherException.h"
#include "instructions/Instructions.h"
#include "support/RecordingController.h"
#include "tagfile/TagFile.h"

// A failure as the controller receives it: InstructionsExceptions carry the
// script line, LauncherExceptions none (line 0).
struct Failure {
  std::string message;
  long line;
};

inline bool operator==(const Failure& a, const Failure& b) { return a.message == b.message && a.line == b.line; }

inline void PrintTo(const Failure& f, std::ostream* out) { *out << "{\"" << f.message << "\", line " << f.line << "}"; }

class ScriptTest : public ::testing::Test {
 protected:
  ScriptTest() : instructions(&tags, &controller) {}
  void SetUp() override { resetVariables(); }
  void TearDown() override { resetVariables(); }

  // The lines as the tag file reader delivers them: trimmed and unquoted.
  void setScript(std::initializer_list<const char*> lines) {
    tags.removeTag("INSTRUCTIONS");
    for (const char* line : lines) tags.addValue("INSTRUCTIONS", line);
  }

  int run(std::initializer_list<const char*> lines) {
    setScript(lines);
    return instructions.execute();
  }

  Failure failureOf(std::initializer_list<const char*> lines) {
    setScript(lines);
    return failureOf([this] { instructions.execute(); });
  }

  template <class Call>
  static Failure failureOf(Call call) {
    try {
      call();
    } catch (const InstructionsException& e) {
      return Failure{e.getMessage().c_str(), e.getLine()};
    } catch (const LauncherException& e) {
      return Failure{e.getMessage().c_str(), 0};
    }
    return Failure{"(no failure)", -1};
  }

  TagFile tags;
  RecordingController controller;
  Instructions instructions;
};
