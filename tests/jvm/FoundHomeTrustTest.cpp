// Homes the launcher finds by itself (the known locations, path hints with
// "~" or wildcards, the walk over the disks) are started only when nobody
// but root and the launcher's user could have planted their java; homes the
// user or the packager named are started wherever they lie. Every source of
// homes is run against the same fake, once in a directory others may write
// to and once in a closed one, which shows that the source reaches the home
// at all.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "jvm/FoundHomeTrust.h"
#include "jvm/JVMFiles.h"
#include "jvm/SearchFixture.h"

namespace {

// A fake java that notes each start in the file starts (its own path, one
// line) and answers every property it is asked for: the vendor Fake Corp.
// and the Java version 99, which its release file gives too.
std::string PlantFake(const std::string& home, const std::string& starts) {
  std::string body = "echo \"$0\" >> '" + starts +
                     "'\n"
                     "while [ $# -gt 0 ] && [ \"$1\" != Verify ]; do shift; done\n"
                     "shift\n"
                     "echo 1739021872\n"
                     "for p; do case $p in java.vendor) echo 'Fake Corp.' ;; java.version) echo 99 ;; *) echo null ;; "
                     "esac; done\n";
  std::string java = WriteFakeJava(home, body);
  std::ofstream(home + "/release") << "JAVA_VERSION=\"99\"\n";
  return java;
}

struct Search {
  TestRunContext run;
  std::unique_ptr<TagFile> tags;
  std::unique_ptr<JVMFiles> files;
  bool all = false;  // searchAll rather than find
};

struct Source {
  const char* name;
  const char* home;  // below the test's tree
  bool judged;
  std::function<void(Search&, const std::string& tree)> setUp;
};

void AddTag(Search& search, const char* tag, const std::string& value) { search.tags->addValue(tag, value.c_str()); }

void WalkFrom(Search& search, const std::string& root) {
  StringDeque roots;
  roots.add(root.c_str());
  search.files->setSearchRoots(roots);
  AddTag(search, "SEARCH_ALL", "1");
}

const Source kSources[] = {
    {"known location ~/.jdks/*", "home/.jdks/vendor-jdk", true,
     [](Search& s, const std::string&) {
       // JAVA_VERSION 99 rules out every real JDK of the machine by its
       // release file, so that only the fake is started.
       AddTag(s, "JAVA_VERSION", "99");
       AddTag(s, "KNOWN_LOCATIONS", "1");
     }},
    {"path hint with a wildcard", "opt/vendor/jdk", true,
     [](Search& s, const std::string& tree) { AddTag(s, "PATH_HINT", tree + "/opt/*/jdk*"); }},
    {"path hint with a wildcard, best match", "opt/vendor/jdk", true,
     [](Search& s, const std::string& tree) {
       AddTag(s, "JAVA_VERSION", "99");
       AddTag(s, "PATH_HINT", tree + "/opt/*/jdk*");
     }},
    {"path hint with ~", "home/vendor-jdk", true,
     [](Search& s, const std::string&) { AddTag(s, "PATH_HINT", "~/vendor-jdk"); }},
    {"disk walk, the first description at once", "opt/vendor/jdk", true,
     [](Search& s, const std::string& tree) { WalkFrom(s, tree + "/opt"); }},
    {"disk walk, every candidate after it", "opt/vendor/jdk", true,
     [](Search& s, const std::string& tree) {
       WalkFrom(s, tree + "/opt");
       s.all = true;
     }},
    {"literal path hint", "opt/vendor/jdk", false,
     [](Search& s, const std::string& tree) { AddTag(s, "PATH_HINT", tree + "/opt/vendor/jdk"); }},
    {"literal path hint, best match", "opt/vendor/jdk", false,
     [](Search& s, const std::string& tree) {
       AddTag(s, "JAVA_VERSION", "99");
       AddTag(s, "PATH_HINT", tree + "/opt/vendor/jdk");
     }},
    {"platform hint", "opt/vendor/jdk", false,
     [](Search& s, const std::string& tree) {
       setenv("LX_TEST_FOUND_HOME", (tree + "/opt/vendor/jdk").c_str(), 1);
       AddTag(s, "PLATFORM_HINT", "LX_TEST_FOUND_HOME");
     }},
    {"PATH", "opt/vendor/jdk", false,
     [](Search&, const std::string& tree) { setenv("PATH", (tree + "/opt/vendor/jdk/bin").c_str(), 1); }},
    {"PATH, best match", "opt/vendor/jdk", false,
     [](Search& s, const std::string& tree) {
       AddTag(s, "JAVA_VERSION", "99");
       setenv("PATH", (tree + "/opt/vendor/jdk/bin").c_str(), 1);
     }},
    {"java home option", "opt/vendor/jdk", false,
     [](Search& s, const std::string& tree) { s.run.options.javaHome = (tree + "/opt/vendor/jdk").c_str(); }},
};

TEST(FoundHomeTrust, EverySourceTheLauncherSearchesByItselfIsJudgedAndNoneTheUserNames) {
  VerifyClass verify = BuiltVerifyClass();
  // The starts are counted: none may be answered from the store.
  ScopedEnv noStore("LX_JVM_CACHE", "0");
  ScopedEnv hintVariable("LX_TEST_FOUND_HOME", nullptr);
  for (const Source& source : kSources) {
    for (bool open : {true, false}) {
      SCOPED_TRACE(std::string(source.name) + (open ? ", in a directory others may write to" : ", closed"));
      TempDir tree;
      const std::string home = tree.file(source.home);
      const std::string starts = tree.file("starts");
      const std::string java = PlantFake(home, starts);
      const std::string openDirectory = home.substr(0, home.rfind('/'));
      if (open) {
        ASSERT_EQ(0, chmod(openDirectory.c_str(), 0777));
      }
      ScopedEnv userHome("HOME", tree.file("home").c_str());
      ScopedEnv path("PATH", tree.file("nobin").c_str());

      Search search;
      search.tags.reset(NewDescription("Fake", "bin/java", {"java.vendor=Fake Corp."}));
      search.files.reset(new JVMFiles(search.run.context));
      search.files->addJVMFile(new JVMFile(search.tags.get(), search.run.context));
      search.files->setVerifyClass(verify.classPath.c_str(), verify.className.c_str());
      source.setUp(search, tree.path());

      LogCapture log;
      JVMMatchPtrDeque matches;
      if (search.all) {
        search.files->searchAll(matches, 0);
      } else {
        search.files->find(matches);
      }
      const bool refused = open && source.judged;
      EXPECT_EQ(refused ? "" : java + "\n", ReadFile(starts)) << log.text();
      EXPECT_EQ(refused ? 0 : 1, matches.count()) << log.text();
      if (!refused && matches.count() == 1) {
        // A PATH directory gives its home with a separator at the end.
        std::string matched = matches.first()->getHome().c_str();
        if (matched.back() == '/') matched.pop_back();
        EXPECT_EQ(home, matched);
      }
      if (!refused) continue;
      const std::string why = openDirectory + " may be written by group or others and has no sticky bit";
      EXPECT_TRUE(log.has("Not starting the JVM at " + home + ", which the launcher found by itself: " + why))
          << log.text();
      EXPECT_NE(std::string::npos, log.text().find(java + ": not run, " + why)) << log.text();
    }
  }
}

// What makes a file or a directory on the way to it one that others could
// change; the sticky bit keeps /tmp-like directories trusted.
TEST(FoundHomeTrust, NamesTheFirstPlaceOthersCouldChange) {
  const struct {
    const char* setUp;   // shell commands run in the tree
    const char* reason;  // after the tree's path; null: trusted
  } cases[] = {
      {"true", nullptr},
      {"chmod 0777 a", "/a may be written by group or others and has no sticky bit"},
      {"chmod 0770 a/b", "/a/b may be written by group or others and has no sticky bit"},
      {"chmod 1777 a", nullptr},
      {"chmod 1777 a && chmod 0777 a/b", "/a/b may be written by group or others and has no sticky bit"},
      {"chmod 0775 a/b/bin/java", "/a/b/bin/java is writable by group or others"},
      {"mkdir open && chmod 0777 open && mv a/b/bin open/bin && ln -s ../../open/bin a/b/bin",
       "/open may be written by group or others and has no sticky bit"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.setUp);
    TempDir tree;
    WriteFakeJava(tree.file("a/b"), "exit 0\n");
    std::string command = "cd '" + tree.path() + "' && " + c.setUp;
    ASSERT_EQ(0, std::system(command.c_str()));
    SString reason = distrustReason(tree.file("a/b/bin/java").c_str());
    EXPECT_EQ(c.reason ? tree.path() + c.reason : std::string(), reason.c_str());
  }
  EXPECT_EQ("", std::string(distrustReason("/nonexistent/lx/bin/java").c_str()));
}

// A directory on the way that belongs to another user is theirs to change.
// Giving one away needs root; without it the test says so.
TEST(FoundHomeTrust, DirectoryOfAnotherUserIsNotTrusted) {
  if (geteuid() != 0) GTEST_SKIP() << "giving a directory to another user needs root";
  TempDir tree;
  std::string java = WriteFakeJava(tree.file("a/b"), "exit 0\n");
  ASSERT_EQ(0, chown(tree.file("a").c_str(), 65534, 65534));
  EXPECT_EQ(tree.file("a") + " belongs to user 65534", distrustReason(java.c_str()).c_str());
}

}  // namespace
