// lxpack create --main-jar JAR ...: a launcher around a jar without a file
// written by hand. The files lxpack makes wait in a private temporary
// directory while the launcher is written the same way as one made from
// files given one by one.
#include "Commands.h"
#include "CreatePlan.h"
#include "JarLauncher.h"
#include "LauncherFileSet.h"

int runCreateFromJar(Arguments& args) {
  const JarLauncherOptions options = parseJarLauncherOptions(args, true);
  const JarLauncher launcher = planJarLauncher(options);
  GeneratedDirectory directory;
  directory.adopt(launcherFileSetPaths(directory.path()));
  const std::vector<std::string> files = writeLauncherFileSet(directory.path(), launcher.scripts);

  CreatePlan plan;
  plan.stub = options.stub;
  plan.architecture = options.architecture;
  plan.output = options.output;
  plan.signingKey = options.signingKey;
  plan.forceAllowed = false;
  plan.generatedDirectory = directory.path();
  plan.members = jarLauncherMembers(files, options, launcher.jar);
  plan.compression = jarLauncherCompression(plan.members, options.jarCompression);
  refuseUnreadableRange(plan.members, options, directory.path());
  writePlannedLauncher(plan);
  return 0;
}
