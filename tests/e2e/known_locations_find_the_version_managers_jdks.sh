#!/usr/bin/env bash
# KNOWN_LOCATIONS: 1 adds the places where distributions, vendors and
# version managers install JDKs; each version manager's place in the
# user's HOME is found, also for homes that keep java below Contents/Home
# or jre/. Each stand-in has a version of its own, so that a range picks
# it alone (the machine's JDKs under /usr/lib/jvm are ruled out by their
# release files).
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/java_choice.inc"
export LX_JVM_CACHE=0

places=(
  "41 .sdkman/candidates/java/41.0.1-tem"
  "42 .jdks/openjdk-42"
  "43 .gradle/jdks/eclipse_adoptium-43-amd64-linux"
  "44 .jbang/cache/jdks/44"
  "45 .asdf/installs/java/temurin-45.0.1"
  "46 .local/share/mise/installs/java/46"
  "47 .linuxbrew/opt/openjdk/libexec"
  "48 .jdks/bundle-48/Contents/Home"
)
for place in "${places[@]}"; do
  stand_in "$HOME/${place#* }" "${place%% *}.0.1"
done
# A Java 8 style JDK: java under jre/, the release file in the JDK's home.
stand_in "$HOME/.gradle/jdks/jdk8u392/jre" 1.8.0_392 ""
printf 'JAVA_VERSION="1.8.0_392"\n' > "$HOME/.gradle/jdks/jdk8u392/release"
places+=("8 .gradle/jdks/jdk8u392/jre")

for place in "${places[@]}"; do
  version=${place%% *} home=$HOME/${place#* }
  choose "JAVA_VERSION: $version" "KNOWN_LOCATIONS: 1"
  expect_eq "KNOWN_LOCATIONS finds ~/${place#* }" "$home" "$chosen"
  expect_eq "one JVM started for $version" 1 "$(jvm_starts)"
done

# Without the key none of them is a candidate.
choose "JAVA_VERSION: 42"
expect_eq "no known locations without KNOWN_LOCATIONS" "" "$chosen"

# A java on PATH that is a link into a known location is that JDK, under
# its own home rather than the home of the PATH directory.
mkdir -p usr/bin
ln -s "$HOME/.jdks/openjdk-42/bin/java" usr/bin/java
CHOOSE_PATH=$T/usr/bin choose "JAVA_VERSION: 42" "KNOWN_LOCATIONS: 1"
expect_eq "the known home of a java on PATH" "$HOME/.jdks/openjdk-42" "$chosen"
CHOOSE_PATH=$T/usr/bin choose "JAVA_VERSION: 42"
expect_eq "without KNOWN_LOCATIONS the PATH home" "$T/usr/" "$chosen"
