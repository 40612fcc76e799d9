// A launcher to write: the program in front, the files to embed and how.
// Both forms of lxpack create (the files given one by one, or made from a
// jar) end in the same writer, so a launcher made either way passes the
// same checks before it replaces the output.
#pragma once

#include <string>
#include <vector>

#include "archive/ArchiveWriter.h"

// How lxpack stores a member: as it is given, deflated, or deflated only
// when that makes it markedly smaller (DeflatedEntries.h).
enum class EntryCompression { kNone, kDeflate, kDeflateWhenWorthIt };

struct CreatePlan {
  std::string stub;
  std::string architecture;
  std::string output;
  int kind = 0;
  bool force = false;
  // Whether the command line could have said --force (the form that makes
  // every file itself has nothing to force).
  bool forceAllowed = true;
  bool withChecksums = true;
  std::vector<ArchiveMember> members;
  // The secret key whose signature of the launcher goes beside it
  // (OUTPUT.minisig); empty: not signed.
  std::string signingKey;
  // How each member is stored, by its position; members beyond the end of
  // the list are stored as they are given.
  std::vector<EntryCompression> compression;
  // Where files lxpack made itself wait to be packed; messages name them
  // without it.
  std::string generatedDirectory;
};

// Chooses the program (from stub or architecture), refuses an output that
// is one of the launcher's own inputs and a launcher that could not work,
// writes, reads back, checks and renames it into place, with its signature
// when the plan names a key. Throws PackError or UsageError.
void writePlannedLauncher(CreatePlan& plan);
