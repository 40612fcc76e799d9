#include "FileSignature.h"

#include <fcntl.h>
#include <sodium.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "Usage.h"
#include "base/Version.h"

namespace {

const char kPrehashed[2] = {'E', 'D'};
const char kLegacy[2] = {'E', 'd'};
const char kUntrustedPrefix[] = "untrusted comment:";
const char kTrustedPrefix[] = "trusted comment: ";
const size_t kSignatureBytes = 64;
const size_t kSignatureLineBytes = 2 + 8 + kSignatureBytes;

using Signature = std::array<unsigned char, kSignatureBytes>;
using FileHash = std::array<unsigned char, crypto_generichash_BYTES_MAX>;

// BLAKE2b-512 of the file, read in blocks however large it is.
FileHash hashFile(const std::string& path, uint64_t& size) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) throw PackError("cannot read " + path + ": " + std::strerror(errno));
  crypto_generichash_state state;
  crypto_generichash_init(&state, nullptr, 0, crypto_generichash_BYTES_MAX);
  std::vector<unsigned char> block(1 << 16);
  size = 0;
  size_t n;
  while ((n = std::fread(block.data(), 1, block.size(), file)) > 0) {
    crypto_generichash_update(&state, block.data(), n);
    size += n;
  }
  const bool failed = std::ferror(file) != 0;
  const int error = errno;
  std::fclose(file);
  if (failed) throw PackError("cannot read " + path + ": " + std::strerror(error));
  FileHash hash;
  crypto_generichash_final(&state, hash.data(), hash.size());
  return hash;
}

// The older signatures cover the file's bytes themselves, which Ed25519
// needs all at once: the file is mapped rather than read.
bool legacySignatureMatches(const std::string& path, const Signature& signature, const PublicKey& key) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw PackError("cannot read " + path + ": " + std::strerror(errno));
  struct stat status;
  if (::fstat(fd, &status) != 0) {
    const int error = errno;
    ::close(fd);
    throw PackError("cannot read " + path + ": " + std::strerror(error));
  }
  const size_t size = static_cast<size_t>(status.st_size);
  void* bytes = size == 0 ? nullptr : ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  const int error = errno;
  ::close(fd);
  if (bytes == MAP_FAILED) throw PackError("cannot read " + path + ": " + std::strerror(error));
  static const unsigned char kNothing = 0;
  const unsigned char* message = bytes ? static_cast<const unsigned char*>(bytes) : &kNothing;
  const bool matches = crypto_sign_verify_detached(signature.data(), message, size, key.key.data()) == 0;
  if (bytes) ::munmap(bytes, size);
  return matches;
}

// The signature over the first signature and the trusted comment.
std::vector<unsigned char> commentSigned(const Signature& signature, const std::string& trustedComment) {
  std::vector<unsigned char> message(signature.begin(), signature.end());
  message.insert(message.end(), trustedComment.begin(), trustedComment.end());
  return message;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    result.push_back(line);
    start = end + 1;
  }
  return result;
}

SignatureCheck verdict(SignatureVerdict kind, const std::string& problem) {
  SignatureCheck check;
  check.verdict = kind;
  check.problem = problem;
  return check;
}

}  // namespace

std::string launcherTrustedComment(const std::string& fileName, uint64_t size, std::time_t timestamp) {
  // One line, with tabs between its fields: a name holding a line break or
  // a tab would end the comment or add a field of its own.
  std::string name = fileName;
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  }
  return "timestamp:" + std::to_string(static_cast<long long>(timestamp)) + "\tfile:" + name +
         "\tsize:" + std::to_string(size) + "\tlxpack:" + kLauncherVersion;
}

std::string fileNameOf(const std::string& path) {
  const std::string::size_type slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string signFile(const SecretKey& key, const std::string& path, const std::string& fileName) {
  startCrypto();
  uint64_t size = 0;
  const FileHash hash = hashFile(path, size);
  Signature signature;
  crypto_sign_detached(signature.data(), nullptr, hash.data(), hash.size(), key.key.data());
  const std::string trustedComment = launcherTrustedComment(fileName, size, std::time(nullptr));
  const std::vector<unsigned char> message = commentSigned(signature, trustedComment);
  Signature commentSignature;
  crypto_sign_detached(commentSignature.data(), nullptr, message.data(), message.size(), key.key.data());

  unsigned char line[kSignatureLineBytes];
  std::memcpy(line, kPrehashed, 2);
  std::memcpy(line + 2, key.id.data(), key.id.size());
  std::memcpy(line + 10, signature.data(), signature.size());
  return std::string(kUntrustedPrefix) + " signature from lxpack secret key " + keyIdText(key.id) + "\n" +
         toBase64(line, sizeof line) + "\n" + kTrustedPrefix + trustedComment + "\n" +
         toBase64(commentSignature.data(), commentSignature.size()) + "\n";
}

SignatureCheck checkSignature(const PublicKey& key, const std::string& signatureText, const std::string& signaturePath,
                              const std::string& path) {
  startCrypto();
  const std::string damaged = signaturePath + ": damaged signature: ";
  const std::vector<std::string> text = lines(signatureText);
  if (text.size() < 4 || text[0].compare(0, sizeof kUntrustedPrefix - 1, kUntrustedPrefix) != 0 ||
      text[2].compare(0, sizeof kTrustedPrefix - 1, kTrustedPrefix) != 0) {
    return verdict(SignatureVerdict::damagedSignature,
                   damaged +
                       "not a signature file (an untrusted comment, the signature, a trusted comment and its "
                       "signature, a line each)");
  }
  unsigned char line[kSignatureLineBytes];
  Signature commentSignature;
  if (!fromBase64(text[1], line, sizeof line) ||
      !fromBase64(text[3], commentSignature.data(), commentSignature.size())) {
    return verdict(SignatureVerdict::damagedSignature, damaged + "its signature lines are not base64 of a signature");
  }
  const bool prehashed = std::memcmp(line, kPrehashed, 2) == 0;
  if (!prehashed && std::memcmp(line, kLegacy, 2) != 0) {
    return verdict(SignatureVerdict::damagedSignature,
                   damaged +
                       "an unknown signature algorithm (known: Ed25519 of the file's hash, 'ED', or of the "
                       "file, 'Ed')");
  }
  KeyId id;
  std::memcpy(id.data(), line + 2, id.size());
  if (sodium_memcmp(id.data(), key.id.data(), id.size()) != 0) {
    return verdict(SignatureVerdict::wrongKey, signaturePath + ": made with the key " + keyIdText(id) +
                                                   ", not with the key given (" + keyIdText(key.id) +
                                                   "): a wrong public key, or not the publisher's signature");
  }
  Signature signature;
  std::memcpy(signature.data(), line + 10, signature.size());
  const std::string trustedComment = text[2].substr(sizeof kTrustedPrefix - 1);
  const std::vector<unsigned char> message = commentSigned(signature, trustedComment);
  if (crypto_sign_verify_detached(commentSignature.data(), message.data(), message.size(), key.key.data()) != 0) {
    return verdict(SignatureVerdict::damagedSignature,
                   damaged + "its trusted comment or its signature was changed after it was signed");
  }

  bool matches;
  if (prehashed) {
    uint64_t size = 0;
    const FileHash hash = hashFile(path, size);
    matches = crypto_sign_verify_detached(signature.data(), hash.data(), hash.size(), key.key.data()) == 0;
  } else {
    matches = legacySignatureMatches(path, signature, key);
  }
  SignatureCheck check = verdict(SignatureVerdict::good, "");
  if (!matches) {
    check = verdict(SignatureVerdict::changedFile, path + " does not match its signature " + signaturePath +
                                                       ": the file was changed after it was signed (or damaged "
                                                       "on its way)");
  }
  check.trustedComment = trustedComment;
  check.prehashed = prehashed;
  check.keyId = keyIdText(id);
  return check;
}
