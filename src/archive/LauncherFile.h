// The archive object of the running launcher: the file index read from the
// launcher's own executable (settings().launcherPath), the tag files parsed
// from it or loaded from disk, and what the run takes from them. One
// instance per process, loaded at most once.
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

  // Reads the index once per process; later calls do nothing, so a first
  // call without the tag files (as -lx:extract makes) leaves them unparsed
  // for good. Throws LauncherException for a damaged archive; a program
  // without an archive simply has no entries.
  void loadIndex(bool withTagFiles);
  bool isIndexLoaded() const { return indexLoaded_; }

  // Null for a position outside the index.
  FileIndexEntry* getEntry(int position) const { return index_.get(position); }
  // The first entry in index order with that id, or null.
  FileIndexEntry* findEntryById(long id) const;
  int getEntryCount() const { return index_.count(); }

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

  // -lx:extract: every entry into the working directory, and an input.tag
  // that runs the launcher from the unpacked files. Needs the index loaded.
  void extractAll();

  // Back to the state before loadIndex; tests use it to load several files.
  void reset();

 private:
  void logIndex() const;
  void loadEmbeddedTagFiles(FILE* stream);
  void useEmbeddedTagFile(FileIndexEntry* entry);

  FileIndexEntryPtrDeque index_;
  TagFilePtrDeque loadedTagFiles_;
  TagFile* embeddedInstructions_ = nullptr;
  TagFile* embeddedLaunchScript_ = nullptr;
  std::vector<TagFile*> embeddedJvmFiles_;
  bool jvmFilesGiven_ = false;
  bool indexLoaded_ = false;
};

LauncherFile& launcherFile();
