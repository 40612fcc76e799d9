// lxpack: makes launchers from the launcher program and the files it
// carries, and lists, checks and unpacks existing ones.
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "Arguments.h"
#include "Commands.h"
#include "JarLauncherOptions.h"
#include "Usage.h"
#include "base/LauncherException.h"
#include "base/Version.h"
#include "messages/Messages.h"

namespace {

// --help anywhere among a command's options (before "--") shows that
// command's help instead of running it.
bool asksForHelp(int argc, char** argv) {
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--") return false;
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  // Extraction goes through the launcher's own code, which would show
  // progress dots; a packager's tool stays quiet.
  SetSilent(1);
  try {
    if (argc < 2) throw UsageError("missing command");
    const std::string command = argv[1];
    if (command == "--help" || command == "-h") {
      std::fputs(fullUsage().c_str(), stdout);
      return 0;
    }
    if (commandHelp(command) && asksForHelp(argc, argv)) {
      std::printf("Usage:\n%s", commandHelp(command));
      return 0;
    }
    if (command == "--version") {
      std::printf("lxpack %s\n", kLauncherVersion);
      return 0;
    }
    Arguments args(argc, argv, 2);
    if (command == "create") return usesJarForm(argc, argv, 2) ? runCreateFromJar(args) : runCreate(args);
    if (command == "init") return runInit(args);
    if (command == "list") return runList(args);
    if (command == "check") return runCheck(args);
    if (command == "extract") return runExtract(args);
    if (command == "keys") return runKeys(args);
    if (command == "sign") return runSign(args);
    if (command == "verify") return runVerify(args);
    throw UsageError("unknown command '" + command + "'");
  } catch (const UsageError& e) {
    std::fprintf(stderr, "lxpack: %s\nTry 'lxpack --help' for more information.\n", e.what());
    return 2;
  } catch (const PackError& e) {
    std::fprintf(stderr, "lxpack: %s\n", e.what());
    return 1;
  } catch (const LauncherException& e) {
    std::fprintf(stderr, "lxpack: %s\n", e.getMessage().c_str());
    return 1;
  }
}
