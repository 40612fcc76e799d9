#include <memory>

#include "archive/FileIndexEntry.h"
#include "archive/LauncherFile.h"
#include "base/LauncherException.h"
#include "base/Log.h"
#include "jvm/JVMFile.h"
#include "jvm/JVMFiles.h"
#include "jvm/JVMMatch.h"
#include "jvm/RejectedHomes.h"
#include "launch/LaunchScript.h"
#include "launcher/Controller.h"
#include "launcher/RunFiles.h"
#include "launcher/RunState.h"
#include "launcher/Settings.h"
#include "messages/Messages.h"
#include "tagfile/TagFile.h"

// The operations that find and verify a JVM for the instructions script.

namespace {

// Catalogue text 6 with the launch script's JAVA_DOWNLOAD_URL; empty
// when the launch script gives none.
SString downloadLine() {
  LaunchScript* script = runFiles().getLaunchScript();
  if (!script || script->getJavaDownloadUrl().empty()) return SString();
  return FormatMessage(MSG_DOWNLOAD_JVM, script->getJavaDownloadUrl().c_str());
}

// "Java 17 or newer", "Java 11 to 21", "Java 17": the first description's
// JAVA_VERSION in words; "Java" alone when none gives a readable one.
SString neededJava() {
  JVMFiles& descriptions = runFiles().getJVMFiles();
  for (int i = 0; i < descriptions.count(); ++i) {
    JavaVersionRange range;
    try {
      if (!descriptions.get(i)->requiredVersionRange(range)) continue;
    } catch (const LauncherException&) {
      continue;  // the search has logged why it is not readable
    }
    return range.inWords();
  }
  return "Java";
}

// What a program's user is told when no Java fits: which Java the program
// needs, each Java found and why it was passed over (the first few; the log
// names them all), then how to go on: on the console, with the option or
// variable that names a Java; in the dialog, which a user who
// double-clicked the program cannot give an option, to install one.
struct NoJvmTexts {
  SString console;
  SString dialog;
};

NoJvmTexts programNoJvmTexts() {
  JVMFiles& descriptions = runFiles().getJVMFiles();
  RejectedHomes rejected;
  for (int i = 0; i < descriptions.count(); ++i) rejected.addAll(descriptions.get(i)->rejectedHomes());
  const SString needed = neededJava();
  SString found = rejected.count() == 0
                      ? FormatMessage(MSG_PROGRAM_NEEDS_JAVA, needed.c_str())
                      : FormatMessage(MSG_NONE_FITS, needed.c_str()) + "\n" + rejected.lines(!getLogFile().empty());
  return {found + "\n" + FormatMessage(MSG_POINT_AT_JAVA, nullptr),
          found + "\n" + FormatMessage(MSG_DIALOG_INSTALL_JAVA, nullptr)};
}

// A program, unlike an installer, is not run again with an option: its user
// needs to know which Java to get and how to name one that is there. An
// installer's launcher keeps its own message, in the dialog too.
NoJvmTexts noJvmTexts() {
  LaunchScript* script = runFiles().getLaunchScript();
  if (!script || !script->programNoJvmMessage()) {
    SString installer = GetMessage(ERR_NO_SUITABLE_JVM);
    return {installer, installer};
  }
  return programNoJvmTexts();
}

}  // namespace

void Controller::reportNoJvm(const SString& text, bool showFailMsg, const SString& dialogText) {
  SString download = downloadLine();
  const SString& forDialog = dialogText.empty() ? text : dialogText;
  noJvmDialogText_ = download.empty() ? forDialog : forDialog + "\n" + download;
  if (showFailMsg) {
    PrintMessage(text);
    if (!download.empty()) PrintMessage(download);
  }
  if (!download.empty()) log(download, INFO);
}

FoundJvm Controller::findJVM(bool showUI, bool showFailMsg) {
  log("Finding a JVM", INFO);
  if (showUI) {
    ShowStatus(STATUS_SEARCHING);
    EnableProgress();
  } else {
    DisableProgress();
  }
  FoundJvm found;
  JVMMatchPtrDeque matches;
  runFiles().getJVMFiles().find(matches);
  JVMMatch* match = matches.first();
  withoutJvm_ = match == nullptr;
  if (match) {
    SString file = match->writeJvmFile();
    SString home = match->getHome();
    log("Matching JVM home is " + home, INFO);
    log("Matching JVM file is " + file, INFO);
    found.found = true;
    found.home = home;
    found.descriptionFile = file;
  } else {
    NoJvmTexts texts = noJvmTexts();
    log(texts.console, INFO);
    reportNoJvm(texts.console, showFailMsg, texts.dialog);
  }
  return found;
}

VerifiedJvm Controller::verifyJVMFile(bool showUI, bool showFailMsg, long fileId) {
  if (showUI) {
    ShowStatus(STATUS_SEARCHING);
    EnableProgress();
  } else {
    DisableProgress();
  }
  FileIndexEntry* entry = launcherFile().findEntryById(fileId);
  SString id = fromLong(fileId);
  if (!entry) throw LauncherException("Cannot verify jvm file at index " + id + " because it does not exist.");
  if (entry->getType() != FT_JVM) {
    throw LauncherException("To verify a JVM, use an index of a jvm file. The index passed in was " + id +
                            " which corresponds to the file named " + entry->getName());
  }
  if (!entry->getTagFile()) throw LauncherException("The jvm file with file id " + id + " could not be read.");
  return verifyAgainstHome(showUI, showFailMsg, entry->getTagFile(), settings().javaHome);
}

VerifiedJvm Controller::verifyAgainstHome(bool /*showUI*/, bool showFailMsg, TagFile* description,
                                          const SString& home) {
  VerifiedJvm verified;
  // The verification shows its step itself, once there is a JVM to start.
  JVMFile jvm(description, runContext());
  SString classPath, className;
  runFiles().getJVMFiles().getVerifyClass(classPath, className);
  std::unique_ptr<JVMMatch> match(home.empty() ? jvm.verifyHome(classPath, className)
                                               : jvm.verifyAt(home, classPath, className, HomeOrigin::kNamed));
  withoutJvm_ = !match;
  if (!match) {
    reportNoJvm(GetMessage(ERR_JVM_NOT_VALID), showFailMsg);
    log("In VERIFY, the jvm is invalid.", INFO);
    return verified;
  }
  // The description keeps the verified home too, for an ILAUNCH of it.
  SString verifiedHome = match->getHome();
  verified.valid = true;
  verified.home = verifiedHome;
  log("After VERIFY, the jvm home is " + verifiedHome, INFO);
  return verified;
}
