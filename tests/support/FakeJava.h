// Java installations for the JVM search tests: fake ones, small shell
// scripts that play a java executable inside a test's own tree, and the
// real JDKs installed under /usr/lib/jvm.
#pragma once

#include <string>
#include <vector>

// Writes <home>/<exe> (directories made as needed) as an executable
// "#!/bin/sh" script with the given body; returns its path.
std::string WriteFakeJava(const std::string& home, const std::string& body, const std::string& exe = "bin/java");

struct InstalledJdk {
  std::string home;                  // /usr/lib/jvm/<name>, never a link
  std::string specificationVersion;  // java.specification.version: "17", "1.8"
};

// Every real JDK under /usr/lib/jvm with an executable bin/java and a
// release file, sorted by home. Links to other homes are left out.
std::vector<InstalledJdk> InstalledJdks();

// The Verify.jar the build makes, found from the test binary's location.
// Empty when it is missing.
std::string BuiltVerifyJar();
