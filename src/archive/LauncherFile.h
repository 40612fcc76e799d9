// The archive object of the running launcher: the file index read from the
// launcher's own executable (settings().launcherPath), the tag files parsed
// from it or loaded from disk, and what the run takes from them. One
// instance per process, loaded at most once.
#pragma once

#include <memory>
#include <vector>

#include "archive/FileIndexEntry.h"
#include "base/Deque.h"
#include "base/SString.h"
#include "jvm/JVMFiles.h"
#include "tagfile/TagFile.h"

class ControllerOperations;
class Instructions;
class LaunchScript;

class LauncherFile {
 public:
  LauncherFile() = default;
  ~LauncherFile();
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

  // What the run uses: the instructions script and the launch script (the
  // input file's when it named them, else the first embedded ones) and the
  // JVM descriptions to search with (the input file's, else the embedded
  // ones).
  Instructions* getInstructions() const { return instructions_; }
  LaunchScript* getLaunchScript() const { return launchScript_; }
  JVMFiles& getJVMFiles() { return *jvmFiles_; }

  // The operations that instructions scripts call; set by the launcher core
  // before anything is loaded.
  void setController(ControllerOperations* controller) { controller_ = controller; }

  // Takes the scripts, JVM descriptions, verification class and title that
  // an input file names. Runs before the embedded tag files are parsed, so
  // what it supplies stays in force.
  void applyInputFile(const TagFile& input);

  // -lx:extract: every entry into the working directory, and an input.tag
  // that runs the launcher from the unpacked files. Needs the index loaded.
  void extractAll();

  // Back to the state before loadIndex; tests use it to load several files.
  void reset();

 private:
  void logIndex() const;
  void loadEmbeddedTagFiles(FILE* stream);
  void useEmbeddedTagFile(FileIndexEntry* entry);
  void useInstructions(TagFile* tagFile);
  void useLaunchScript(TagFile* tagFile);
  void useJvmFile(TagFile* tagFile);

  FileIndexEntryPtrDeque index_;
  TagFilePtrDeque loadedTagFiles_;
  TagFile* embeddedInstructions_ = nullptr;
  TagFile* embeddedLaunchScript_ = nullptr;
  std::vector<TagFile*> embeddedJvmFiles_;
  ControllerOperations* controller_ = nullptr;
  Instructions* instructions_ = nullptr;
  LaunchScript* launchScript_ = nullptr;
  std::unique_ptr<JVMFiles> jvmFiles_ = std::unique_ptr<JVMFiles>(new JVMFiles);
  bool jvmFilesGiven_ = false;
  bool indexLoaded_ = false;
};

LauncherFile& launcherFile();
