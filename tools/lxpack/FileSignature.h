// Signatures of launcher files in minisign's format, kept beside the file
// (FILE.minisig): a launcher cannot carry its own signature, since one with
// bytes appended refuses to run, and whoever could change the file could
// change a signature inside it too.
//
// A signature file has four lines:
//   untrusted comment: <any text>
//   base64 of: "ED" | key id (8 bytes) | Ed25519 signature (64)
//   trusted comment: <text>
//   base64 of: Ed25519 signature (64) of the first signature and the text
// "ED" signs the file's BLAKE2b-512 hash; the older "Ed" the file's bytes
// themselves, which means holding the whole file at once. Both are
// checked, as minisign does; lxpack writes "ED".
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

#include "SigningKeys.h"

// The trusted comment of a launcher lxpack signs: when, which file (its
// name, without the directories), how large, and which lxpack.
std::string launcherTrustedComment(const std::string& fileName, uint64_t size, std::time_t timestamp);

// The last part of path, the name the trusted comment gives the file.
std::string fileNameOf(const std::string& path);

// The text of a signature of the file at path, with the trusted comment
// naming it fileName (the name users download it under, which a file
// waiting to be renamed into place does not have yet). Throws PackError.
std::string signFile(const SecretKey& key, const std::string& path, const std::string& fileName);

enum class SignatureVerdict {
  good,
  // Made with another key than the one given.
  wrongKey,
  // The key's, but over other bytes than the file holds now.
  changedFile,
  // Not a signature, or its trusted comment or signature was changed.
  damagedSignature,
};

struct SignatureCheck {
  SignatureVerdict verdict = SignatureVerdict::damagedSignature;
  // What is wrong, naming the files, for a verdict other than good.
  std::string problem;
  // The trusted comment, once its own signature was found good.
  std::string trustedComment;
  // "ED" (the file's hash was signed) rather than the older "Ed".
  bool prehashed = false;
  std::string keyId;
};

// Checks the signature text (read from signaturePath, which messages name)
// of the file at path with the public key. A file that cannot be read
// throws PackError.
SignatureCheck checkSignature(const PublicKey& key, const std::string& signatureText, const std::string& signaturePath,
                              const std::string& path);
