#include "SigningKeys.h"

#include <sodium.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "Usage.h"

namespace {

const char kAlgorithm[2] = {'E', 'd'};
const char kScrypt[2] = {'S', 'c'};
const char kNoKeyDerivation[2] = {0, 0};
const char kBlake2b[2] = {'B', '2'};
const char kCommentPrefix[] = "untrusted comment:";

const size_t kPublicKeyBytes = 2 + 8 + 32;
const size_t kSealedBytes = 8 + 64 + 32;
const size_t kSecretKeyBytes = 2 + 2 + 2 + 32 + 8 + 8 + kSealedBytes;

}  // namespace

std::string toBase64(const unsigned char* bytes, size_t length) {
  std::string text(sodium_base64_ENCODED_LEN(length, sodium_base64_VARIANT_ORIGINAL), '\0');
  sodium_bin2base64(&text[0], text.size(), bytes, length, sodium_base64_VARIANT_ORIGINAL);
  text.resize(std::strlen(text.c_str()));
  return text;
}

bool fromBase64(const std::string& text, unsigned char* bytes, size_t length) {
  std::vector<unsigned char> decoded(length + 1);
  size_t decodedLength = 0;
  const char* end = nullptr;
  if (sodium_base642bin(decoded.data(), decoded.size(), text.data(), text.size(), nullptr, &decodedLength, &end,
                        sodium_base64_VARIANT_ORIGINAL) != 0) {
    return false;
  }
  if (end != text.data() + text.size() || decodedLength != length) return false;
  std::memcpy(bytes, decoded.data(), length);
  sodium_memzero(decoded.data(), decoded.size());
  return true;
}

namespace {

// The first line that is no comment, without its line end and the blanks
// around it.
std::string keyLine(const std::string& text) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    const size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos) continue;
    line = line.substr(first, line.find_last_not_of(" \t\r") + 1 - first);
    if (line.compare(0, sizeof kCommentPrefix - 1, kCommentPrefix) == 0) continue;
    return line;
  }
  return std::string();
}

uint64_t loadLittleEndian(const unsigned char* bytes) {
  uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

void storeLittleEndian(uint64_t value, unsigned char* bytes) {
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
}

// BLAKE2b-256 of the algorithm, the key id and the secret key.
std::array<unsigned char, 32> keyChecksum(const KeyId& id, const std::array<unsigned char, 64>& key) {
  std::array<unsigned char, 32> checksum;
  crypto_generichash_state state;
  crypto_generichash_init(&state, nullptr, 0, checksum.size());
  crypto_generichash_update(&state, reinterpret_cast<const unsigned char*>(kAlgorithm), sizeof kAlgorithm);
  crypto_generichash_update(&state, id.data(), id.size());
  crypto_generichash_update(&state, key.data(), key.size());
  crypto_generichash_final(&state, checksum.data(), checksum.size());
  return checksum;
}

// XORs the sealed part with what scrypt derives from the password: the same
// step seals and opens.
void applyPassword(unsigned char* sealed, const std::string& password, const std::array<unsigned char, 32>& salt,
                   PasswordCost cost, const std::string& source) {
  std::array<unsigned char, kSealedBytes> stream;
  if (crypto_pwhash_scryptsalsa208sha256(stream.data(), stream.size(), password.data(), password.size(), salt.data(),
                                         cost.opsLimit, static_cast<size_t>(cost.memLimit)) != 0) {
    throw PackError(source + ": cannot derive the key from the password (scrypt with " +
                    std::to_string(cost.memLimit >> 20) + " MiB of memory): " + std::strerror(errno));
  }
  for (size_t i = 0; i < stream.size(); ++i) sealed[i] ^= stream[i];
  sodium_memzero(stream.data(), stream.size());
}

}  // namespace

void startCrypto() {
  if (sodium_init() < 0) throw PackError("cannot start libsodium, which signs and checks signatures");
}

void wipe(std::string& secret) {
  if (!secret.empty()) sodium_memzero(&secret[0], secret.size());
  secret.clear();
}

std::string readSmallFile(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) throw PackError("cannot read " + path + ": " + std::strerror(errno));
  std::string text;
  char buffer[4096];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0 && text.size() <= 65536) text.append(buffer, n);
  const bool failed = std::ferror(file) != 0;
  const int error = errno;
  std::fclose(file);
  if (failed) throw PackError("cannot read " + path + ": " + std::strerror(error));
  if (text.size() > 65536) throw PackError(path + " is too large for a key or signature file");
  return text;
}

std::string keyIdText(const KeyId& id) {
  char text[17];
  std::snprintf(text, sizeof text, "%016llX", static_cast<unsigned long long>(loadLittleEndian(id.data())));
  return text;
}

std::string publicKeyBase64(const PublicKey& key) {
  unsigned char bytes[kPublicKeyBytes];
  std::memcpy(bytes, kAlgorithm, 2);
  std::memcpy(bytes + 2, key.id.data(), key.id.size());
  std::memcpy(bytes + 10, key.key.data(), key.key.size());
  return toBase64(bytes, sizeof bytes);
}

std::string publicKeyFileText(const PublicKey& key) {
  return std::string(kCommentPrefix) + " minisign public key " + keyIdText(key.id) + "\n" + publicKeyBase64(key) + "\n";
}

PublicKey parsePublicKey(const std::string& base64, const std::string& source) {
  unsigned char bytes[kPublicKeyBytes];
  if (!fromBase64(base64, bytes, sizeof bytes)) {
    throw PackError(source + ": not a public key: expected the base64 of " + std::to_string(kPublicKeyBytes) +
                    " bytes, as minisign writes it");
  }
  if (std::memcmp(bytes, kAlgorithm, 2) != 0) {
    throw PackError(source + ": a public key of an unknown algorithm (only Ed25519 keys, 'Ed', are known)");
  }
  PublicKey key;
  std::memcpy(key.id.data(), bytes + 2, key.id.size());
  std::memcpy(key.key.data(), bytes + 10, key.key.size());
  return key;
}

PublicKey readPublicKeyFile(const std::string& path) {
  const std::string line = keyLine(readSmallFile(path));
  if (line.empty()) throw PackError(path + ": not a public key: the file holds no key line");
  return parsePublicKey(line, path);
}

SecretKey::~SecretKey() { sodium_memzero(key.data(), key.size()); }

PublicKey SecretKey::publicKey() const {
  PublicKey pair;
  pair.id = id;
  crypto_sign_ed25519_sk_to_pk(pair.key.data(), key.data());
  return pair;
}

std::unique_ptr<SecretKey> makeKeyPair() {
  startCrypto();
  std::unique_ptr<SecretKey> secret(new SecretKey);
  std::array<unsigned char, 32> publicKey;
  crypto_sign_keypair(publicKey.data(), secret->key.data());
  randombytes_buf(secret->id.data(), secret->id.size());
  return secret;
}

const PasswordCost kSecretKeyPasswordCost = {crypto_pwhash_scryptsalsa208sha256_OPSLIMIT_SENSITIVE,
                                             crypto_pwhash_scryptsalsa208sha256_MEMLIMIT_SENSITIVE};

std::string secretKeyFileText(const SecretKey& key, const std::string* password, PasswordCost cost) {
  startCrypto();
  std::array<unsigned char, kSecretKeyBytes> bytes{};
  unsigned char* at = bytes.data();
  std::memcpy(at, kAlgorithm, 2);
  std::memcpy(at + 2, password ? kScrypt : kNoKeyDerivation, 2);
  std::memcpy(at + 4, kBlake2b, 2);
  std::array<unsigned char, 32> salt{};
  if (password) {
    randombytes_buf(salt.data(), salt.size());
    std::memcpy(at + 6, salt.data(), salt.size());
    storeLittleEndian(cost.opsLimit, at + 38);
    storeLittleEndian(cost.memLimit, at + 46);
  }
  unsigned char* sealed = at + 54;
  std::memcpy(sealed, key.id.data(), 8);
  std::memcpy(sealed + 8, key.key.data(), 64);
  const std::array<unsigned char, 32> checksum = keyChecksum(key.id, key.key);
  std::memcpy(sealed + 72, checksum.data(), checksum.size());
  if (password) applyPassword(sealed, *password, salt, cost, "the new secret key");
  std::string text = std::string(kCommentPrefix) +
                     (password ? " minisign encrypted secret key\n" : " minisign secret key\n") +
                     toBase64(bytes.data(), bytes.size()) + "\n";
  sodium_memzero(bytes.data(), bytes.size());
  return text;
}

SealedSecretKey parseSecretKey(const std::string& text, const std::string& source) {
  startCrypto();
  const std::string line = keyLine(text);
  std::array<unsigned char, kSecretKeyBytes> bytes;
  if (line.empty() || !fromBase64(line, bytes.data(), bytes.size())) {
    throw PackError(source + ": not a secret key: expected a comment line and the base64 of " +
                    std::to_string(kSecretKeyBytes) + " bytes, as minisign writes it");
  }
  if (std::memcmp(bytes.data(), kAlgorithm, 2) != 0) {
    throw PackError(source + ": a secret key of an unknown algorithm (only Ed25519 keys, 'Ed', are known)");
  }
  SealedSecretKey sealed;
  sealed.source = source;
  if (std::memcmp(bytes.data() + 2, kScrypt, 2) == 0) {
    sealed.encrypted = true;
  } else if (std::memcmp(bytes.data() + 2, kNoKeyDerivation, 2) != 0) {
    throw PackError(source + ": a secret key encrypted in an unknown way (known: scrypt, 'Sc', or none)");
  }
  if (std::memcmp(bytes.data() + 4, kBlake2b, 2) != 0) {
    throw PackError(source + ": a secret key with an unknown kind of checksum (known: BLAKE2b, 'B2')");
  }
  std::memcpy(sealed.salt.data(), bytes.data() + 6, sealed.salt.size());
  sealed.cost.opsLimit = loadLittleEndian(bytes.data() + 38);
  sealed.cost.memLimit = loadLittleEndian(bytes.data() + 46);
  std::memcpy(sealed.sealed.data(), bytes.data() + 54, sealed.sealed.size());
  sodium_memzero(bytes.data(), bytes.size());
  return sealed;
}

SealedSecretKey readSecretKeyFile(const std::string& path) {
  std::string text = readSmallFile(path);
  SealedSecretKey sealed = parseSecretKey(text, path);
  wipe(text);
  return sealed;
}

std::unique_ptr<SecretKey> openSecretKey(const SealedSecretKey& sealed, const std::string& password) {
  startCrypto();
  std::array<unsigned char, kSealedBytes> opened = sealed.sealed;
  if (sealed.encrypted) applyPassword(opened.data(), password, sealed.salt, sealed.cost, sealed.source);
  std::unique_ptr<SecretKey> key(new SecretKey);
  std::memcpy(key->id.data(), opened.data(), 8);
  std::memcpy(key->key.data(), opened.data() + 8, 64);
  std::array<unsigned char, 32> stored;
  std::memcpy(stored.data(), opened.data() + 72, stored.size());
  sodium_memzero(opened.data(), opened.size());

  const std::array<unsigned char, 32> checksum = keyChecksum(key->id, key->key);
  const bool checksumMatches = sodium_memcmp(stored.data(), checksum.data(), checksum.size()) == 0;
  if (!checksumMatches && sealed.encrypted) {
    throw PackError(sealed.source + ": wrong password (or the key file is damaged)");
  }
  // minisign leaves the checksum of a key it does not encrypt empty; the
  // public half, which the secret key repeats, still tells a damaged one.
  if (!checksumMatches && !sodium_is_zero(stored.data(), stored.size())) {
    throw PackError(sealed.source + ": the secret key is damaged: its checksum does not match");
  }
  std::array<unsigned char, 32> publicKey;
  std::array<unsigned char, 64> fromSeed;
  crypto_sign_seed_keypair(publicKey.data(), fromSeed.data(), key->key.data());
  const bool whole = sodium_memcmp(fromSeed.data(), key->key.data(), fromSeed.size()) == 0;
  sodium_memzero(fromSeed.data(), fromSeed.size());
  if (!whole) throw PackError(sealed.source + ": the secret key is damaged: its two halves do not belong together");
  return key;
}
