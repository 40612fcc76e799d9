#include "archive/LauncherFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "archive/ArchiveIndex.h"
#include "archive/ArchiveLayout.h"
#include "archive/ChecksumBlock.h"
#include "archive/DamagedLauncher.h"
#include "archive/EntryName.h"
#include "archive/Extract.h"
#include "archive/PackedEnd.h"
#include "archive/ProgramImage.h"
#include "base/LauncherException.h"
#include "base/Log.h"
#include "base/OpenFiles.h"
#include "messages/Messages.h"

void LauncherFile::loadIndex(const SString& file, bool withTagFiles) {
  if (indexLoaded_) return;
  path_ = file;
  FileStream stream(std::fopen(path_.c_str(), "rb"));
  if (!stream) throw LauncherException("Cannot open launcher file.");
  ArchiveTrailer trailer = readTrailer(stream.get());
  if (trailer.hasArchive()) {
    // A damaged index is told as damage, not as the format error that
    // reading it would give.
    ChecksumBlock checksums = readChecksumBlock(stream.get(), trailer.indexOffset);
    verifyIndexChecksum(stream.get(), trailer.indexOffset, fileSize(stream.get()), checksums);
    readIndex(stream.get(), trailer.indexOffset, index_);
    const uint64_t indexEnd = static_cast<uint64_t>(ftello(stream.get()));
    if (findLayoutFault(stream.get(), fileSize(stream.get()), trailer.indexOffset, indexEnd, checksums, index_).kind !=
        LayoutFault::NONE) {
      throw damagedIndex();
    }
    assignChecksums(checksums, index_);
    logIndex();
    if (withTagFiles) {
      // Everything the run may use is checked before any of it is used.
      verifyEntries(stream.get());
      loadEmbeddedTagFiles(stream.get());
    }
  } else {
    refuseCutShortLauncher(stream.get());
  }
  indexLoaded_ = true;
}

void LauncherFile::verifyEntries(FILE* stream) const {
  for (int i = 0; i < index_.count(); ++i) verifyEntry(fileno(stream), *index_.get(i));
}

// Without the identification value at its end, the file is either the bare
// launcher program, exactly as long as its own image, a launcher that lost
// its end (an interrupted download), or one with bytes after its trailer.
// Files that are no ELF program cannot tell and are read as bare programs.
void LauncherFile::refuseCutShortLauncher(FILE* stream) const {
  const int64_t image = programImageLength(stream);
  const uint64_t size = fileSize(stream);
  if (image < 0 || static_cast<uint64_t>(image) == size) return;
  if (packedEndBeforeFileEnd(stream, static_cast<uint64_t>(image), size) >= 0) throw longerLauncher();
  throw incompleteLauncher();
}

uint64_t LauncherFile::fileSize(FILE* stream) {
  struct stat status;
  return ::fstat(fileno(stream), &status) == 0 ? static_cast<uint64_t>(status.st_size) : 0;
}

void LauncherFile::logIndex() const {
  for (int i = 0; i < index_.count(); ++i) {
    const FileIndexEntry* entry = index_.get(i);
    log("file type: " + fromLong(entry->getType()) + "\n  file id: " + fromLong(entry->getId()) +
            "\n  length: " + fromLong(entry->getLength()) + "\n  offset: " + fromLong(entry->getOffset()) +
            "\n  file name: " + entry->getName(),
        INFO);
  }
}

void LauncherFile::loadEmbeddedTagFiles(FILE* stream) {
  for (int i = 0; i < index_.count(); ++i) {
    FileIndexEntry* entry = index_.get(i);
    if (!entry->isTagFile()) continue;
    entry->loadTagFile(stream);
    useEmbeddedTagFile(entry);
  }
  jvmFilesGiven_ = true;
}

// The one place where an embedded tag file becomes what the run uses. The
// first instructions and launch script win, every JVM description counts,
// and whatever the input file supplied before stays in force.
void LauncherFile::useEmbeddedTagFile(FileIndexEntry* entry) {
  switch (entry->getType()) {
    case FT_JVM:
      if (!jvmFilesGiven_) {
        embeddedJvmFiles_.push_back(entry->getTagFile());
        jvmDescriptionFiles_.push_back(entry->getTagFile());
      }
      break;
    case FT_INSTRUCTIONS:
      if (!embeddedInstructions_ && !instructionsFile_) {
        embeddedInstructions_ = entry->getTagFile();
        instructionsFile_ = entry->getTagFile();
      }
      break;
    case FT_LAUNCH_SCRIPT:
      if (!embeddedLaunchScript_ && !launchScriptFile_) {
        embeddedLaunchScript_ = entry->getTagFile();
        useLaunchScript(entry->getTagFile());
      }
      break;
  }
}

// The launch script's description is the product title from the moment the
// script is chosen; a script for a command-line program sends the title and
// every later message to standard error, which leaves standard output to the
// program.
void LauncherFile::useLaunchScript(TagFile* tagFile) {
  launchScriptFile_ = tagFile;
  SetMessagesToStandardError(tagFile->getBool("MESSAGES_TO_STDERR", false));
  SetTitle(tagFile->getValue("DESC", 0));
}

void LauncherFile::applyInputFile(const TagFile& input) {
  SString instructions = input.getValue("INSTRUCTIONS", 0);
  if (!instructions.empty()) instructionsFile_ = loadTagFileFromPath(instructions);
  SString launchScript = input.getValue("LAUNCHSCRIPT", 0);
  if (!launchScript.empty()) useLaunchScript(loadTagFileFromPath(launchScript));
  SString verifyClassPath = input.getValue("VERIFY_CLASSPATH", 0);
  SString verifyClassName = input.getValue("VERIFY_CLASS_NAME", 0);
  if (!verifyClassPath.empty() && !verifyClassName.empty()) {
    verifyClassPath_ = verifyClassPath;
    verifyClassName_ = verifyClassName;
  }
  SString title = input.getValue("UI_TITLE", 0);
  if (!title.empty()) SetTitle(title);
  const int jvmCount = input.getValueCount("JVM");
  for (int i = 0; i < jvmCount; ++i) {
    jvmFilesGiven_ = true;
    SString path = input.getValue("JVM", static_cast<unsigned>(i));
    if (!path.empty()) jvmDescriptionFiles_.push_back(loadTagFileFromPath(path));
  }
}

FileIndexEntry* LauncherFile::findEntryById(long id) const {
  for (int i = 0; i < index_.count(); ++i) {
    if (index_.get(i)->getId() == id) return index_.get(i);
  }
  return nullptr;
}

SString LauncherFile::extract(FileIndexEntry* entry, const SString& directory) const {
  return extractFile(path_, entry, directory);
}

TagFile* LauncherFile::loadTagFileFromPath(const SString& path) {
  TagFile* tagFile = new TagFile(path);
  loadedTagFiles_.add(tagFile);
  return tagFile;
}

void LauncherFile::extractAll() {
  // Names are checked before anything is written, so that a damaged archive
  // leaves no partial set of files behind.
  for (int i = 0; i < index_.count(); ++i) checkEntryName(index_.get(i));
  TagFile inputFile;
  inputFile.setValue("ACTION", "RUN_INSTRUCTIONS");
  // A damaged entry, a failed write or a signal leaves no partial set
  // either: the files written so far go again.
  std::vector<SString> written;
  try {
    for (int i = 0; i < index_.count(); ++i) {
      FileIndexEntry* entry = index_.get(i);
      switch (entry->getType()) {
        case FT_JVM:
          inputFile.addValue("JVM", entry->getName());
          break;
        case FT_LAUNCH_SCRIPT:
          inputFile.setValue("LAUNCHSCRIPT", entry->getName());
          break;
        case FT_INSTRUCTIONS:
          inputFile.setValue("INSTRUCTIONS", entry->getName());
          break;
      }
      written.push_back(extract(entry, ""));
    }
    inputFile.write("input.tag", true);
  } catch (...) {
    for (const SString& path : written) ::unlink(path.c_str());
    throw;
  }
}
