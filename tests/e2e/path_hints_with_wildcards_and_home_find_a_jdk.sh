#!/usr/bin/env bash
# Path hints may start with ~/ (the user's HOME) and hold * and ? inside
# their components; the matches are tried newest first by their release
# files, also in a description without JAVA_VERSION, and only the one
# taken is started.
source "$(dirname "$0")/common.inc"
source "$(dirname "$0")/java_choice.inc"
export LX_JVM_CACHE=0

stand_in "$HOME/.jdks/corretto-11.0.2" 11.0.2
stand_in "$HOME/.jdks/temurin-21.0.5" 21.0.5
stand_in "$HOME/.jdks/zulu-17.0.9" 17.0.9
mkdir "$HOME/.jdks/empty-30"
choose "JAVA_VERSION: 17+" "PATH_HINT:" "  ~/.jdks/*" "/:"
expect_eq "~/.jdks/* with 17+" "$HOME/.jdks/temurin-21.0.5" "$chosen"
expect_eq "starts of the one taken" 1 "$(starts "$HOME/.jdks/temurin-21.0.5")"
expect_eq "starts of the others" "0 0" "$(starts "$HOME/.jdks/zulu-17.0.9") $(starts "$HOME/.jdks/corretto-11.0.2")"

choose "JAVA_VERSION: 11-17" "PATH_HINT:" "  ~/.jdks/*-1?.*" "/:"
expect_eq "a ? and a * inside one component" "$HOME/.jdks/zulu-17.0.9" "$chosen"

# Several levels, an absolute pattern, and a plain description that
# requires java.version by prefix: newest first all the same.
stand_in "$T/opt/vendor-a/jdk-21" 21.0.5
stand_in "$T/opt/vendor-b/jdk-25" 25
stand_in "$T/opt/vendor-b/jre-25" 25
choose "JVM_PROPERTIES:" "  java.version=2..." "/:" "PATH_HINT:" "  $T/opt/*/jdk*" "/:"
expect_eq "$T/opt/*/jdk* takes the newest" "$T/opt/vendor-b/jdk-25" "$chosen"
expect_eq "the older match is not started" 0 "$(starts "$T/opt/vendor-a/jdk-21")"
grep -qF "Checking JVM at $T/opt/vendor-b/jdk-25 which was resolved from path hint $T/opt/*/jdk*" choose.log ||
  fail "the log does not say which hint gave the home: $(cat choose.log)"

# Without HOME a ~ hint gives nothing, and nothing else.
HOME= choose "JAVA_VERSION: 17+" "PATH_HINT:" "  ~/.jdks/*" "/:"
expect_eq "~ without HOME" "" "$chosen"
