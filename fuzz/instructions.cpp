// The instructions interpreter running a script of arbitrary text. The
// controller's operations are the recording stand-in of the tests, so
// nothing is searched, installed or launched; what they leave in the
// script variables is fixed below, and a few of those values hold '@' so
// that references keep finding more.
//
// Each input line is one script line as the tag file reader delivers it:
// carriage returns dropped, trimmed, empty lines left out. A script may
// loop for ever (":A" then "GOTO A"), so a run ends after kLineLimit lines.
#include "instructions/Instructions.h"

#include <string>

#include "FuzzTarget.h"
#include "base/LauncherException.h"
#include "instructions/Variables.h"
#include "support/RecordingController.h"
#include "tagfile/TagFile.h"

namespace {

const unsigned long kLineLimit = 2000;

void addLine(TagFile& script, std::string& line) {
  SString value = trim(SString(line.data(), static_cast<SString::size_type>(line.size())), kWhiteSpace);
  if (!value.empty()) script.addValue("INSTRUCTIONS", value);
  line.clear();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TagFile script;
  std::string line;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\n') {
      addLine(script, line);
    } else if (data[i] != '\r') {
      line += static_cast<char>(data[i]);
    }
  }
  addLine(script, line);

  resetVariables();
  RecordingController controller;
  controller.jvmHome = "/opt/jre@@";
  controller.jvmFile = "/tmp/lxjfuzz/jvm";
  controller.installedJvmFile = "@S2@";
  controller.verifiedHome = "/opt/@N1@";
  controller.launchResults = {3, -1};
  Instructions instructions(&script, &controller);
  instructions.setLineLimit(kLineLimit);
  try {
    instructions.execute();
  } catch (const InstructionsException& e) {
    FUZZ_CHECK(e.getLine() >= 1 && e.getLine() <= script.getValueCount("INSTRUCTIONS"));
  } catch (const LauncherException&) {
  }
  FUZZ_CHECK(controller.calls.size() <= kLineLimit);
  resetVariables();
  return 0;
}
