// The archive object of a launcher: the file index read from the launcher's
// own executable, the tag files parsed from it or loaded from disk, and
// which of them the run uses. Loaded at most once. The launcher keeps the
// one of the run and hands it down in the run context.
#pragma once

#include <vector>

#include "archive/FileIndexEntry.h"
#include "base/Deque.h"
#include "base/SString.h"
#include "tagfile/TagFile.h"

class LauncherFile {
 public:
  LauncherFile() = default;
  LauncherFile(const LauncherFile&) = delete;
  LauncherFile& operator=(const LauncherFile&) = delete;
  // Assigning a new object starts afresh (tests load several launchers).
  LauncherFile(LauncherFile&&) = default;
  LauncherFile& operator=(LauncherFile&&) = default;

  // Reads the index once per process; later calls do nothing, so a first
  // call without the tag files (as -lx:extract makes) leaves them unparsed
  // for good. With the tag files, every entry is checked against its
  // checksum first. Throws DamagedLauncherException for an entry or index
  // that does not match its checksum and for a launcher cut short, and
  // LauncherException for an archive it cannot read; a program without an
  // archive simply has no entries. file is the launcher's own executable
  // (LauncherPaths::fileToRead).
  void loadIndex(const SString& file, bool withTagFiles);
  bool isIndexLoaded() const { return indexLoaded_; }

  // Null for a position outside the index.
  FileIndexEntry* getEntry(int position) const { return index_.get(position); }
  // The first entry in index order with that id, or null.
  FileIndexEntry* findEntryById(long id) const;
  int getEntryCount() const { return index_.count(); }

  // Extracts the entry from the launcher file the index was read from (see
  // extractFile).
  SString extract(FileIndexEntry* entry, const SString& directory) const;

  // Loads a tag file from disk and keeps it for the life of the process.
  TagFile* loadTagFileFromPath(const SString& path);

  // Once JVM description files were supplied (by the input file), the
  // embedded ones are not used.
  bool areJvmFilesGiven() const { return jvmFilesGiven_; }
  void setJvmFilesGiven() { jvmFilesGiven_ = true; }

  // The embedded tag files the run uses: the first instructions entry, the
  // first launch script entry and every JVM description entry. Borrowed
  // from the index entries; null or empty until loadIndex(true).
  TagFile* getEmbeddedInstructions() const { return embeddedInstructions_; }
  TagFile* getEmbeddedLaunchScript() const { return embeddedLaunchScript_; }
  const std::vector<TagFile*>& getEmbeddedJvmFiles() const { return embeddedJvmFiles_; }

  // The files the run uses: the instructions script and the launch script
  // (the input file's when it named them, else the first embedded ones),
  // the JVM descriptions to search with (the input file's, else the
  // embedded ones, in order) and the verification class the input file
  // names (empty: the archive's own). Null or empty while none is chosen.
  TagFile* getInstructionsFile() const { return instructionsFile_; }
  TagFile* getLaunchScriptFile() const { return launchScriptFile_; }
  const std::vector<TagFile*>& getJvmDescriptionFiles() const { return jvmDescriptionFiles_; }
  const SString& getVerifyClassPath() const { return verifyClassPath_; }
  const SString& getVerifyClassName() const { return verifyClassName_; }

  // Takes the scripts, JVM descriptions, verification class and title that
  // an input file names. Runs before the embedded tag files are parsed, so
  // what it supplies stays in force.
  void applyInputFile(const TagFile& input);

  // -lx:extract: every entry into the working directory, and an input.tag
  // that runs the launcher from the unpacked files. Needs the index loaded.
  void extractAll();

 private:
  void logIndex() const;
  void verifyEntries(FILE* stream) const;
  void refuseCutShortLauncher(FILE* stream) const;
  static uint64_t fileSize(FILE* stream);
  void loadEmbeddedTagFiles(FILE* stream);
  void useEmbeddedTagFile(FileIndexEntry* entry);
  void useLaunchScript(TagFile* tagFile);

  SString path_;
  FileIndexEntryPtrDeque index_;
  TagFilePtrDeque loadedTagFiles_;
  TagFile* embeddedInstructions_ = nullptr;
  TagFile* embeddedLaunchScript_ = nullptr;
  std::vector<TagFile*> embeddedJvmFiles_;
  TagFile* instructionsFile_ = nullptr;
  TagFile* launchScriptFile_ = nullptr;
  std::vector<TagFile*> jvmDescriptionFiles_;
  SString verifyClassPath_;
  SString verifyClassName_;
  bool jvmFilesGiven_ = false;
  bool indexLoaded_ = false;
};
