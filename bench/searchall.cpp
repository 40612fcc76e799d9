// Times the launcher's exhaustive JVM search on this machine: one JVM
// description whose executable exists nowhere, so the walk covers every
// file system and verifies nothing. Prints the seconds the search took.
// usage: searchall <JVM_EXE>
#include <chrono>
#include <cstdio>

#include "archive/LauncherFile.h"
#include "jvm/JVMFile.h"
#include "jvm/JVMFiles.h"
#include "launch/LaunchVerification.h"
#include "messages/Messages.h"
#include "tagfile/TagFile.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <JVM_EXE>\n", argv[0]);
    return 2;
  }
  SetSilent(1);
  TagFile description;
  description.setValue("DESC", "benchmark JVM");
  description.setValue("JVM_EXE", argv[1]);
  description.setValue("JVM_PROPERTIES", "java.version=...");
  description.setValue("SEARCH_ALL", "1");

  // No launcher around it: no paths, no options, an empty archive.
  LauncherPaths paths;
  UserOptions options;
  LauncherFile archive;
  RunContext context{paths, options, archive, launchScriptVerificationRunner()};
  JVMFiles jvmFiles(context);
  jvmFiles.addJVMFile(new JVMFile(&description, context));
  // A verification class is named so that nothing is extracted: the
  // benchmark has no archive, and nothing is ever verified.
  jvmFiles.setVerifyClass("\"/nonexistent/Verify.jar\"", "\"Verify\"");

  JVMMatchPtrDeque matches;
  auto start = std::chrono::steady_clock::now();
  jvmFiles.searchAll(matches, 0);
  std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::printf("%.3f\n", took.count());
  return matches.count() == 0 ? 0 : 1;
}
