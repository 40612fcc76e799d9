// The key pairs that sign launchers, in minisign's file formats, so that a
// user can check a launcher with minisign as well as with lxpack, and a
// packager can sign with a key made by either.
//
// A public key file is an untrusted comment line and a base64 line of
//   "Ed" | key id (8 bytes) | Ed25519 public key (32 bytes).
// A secret key file is an untrusted comment line and a base64 line of
//   "Ed" | "Sc" (or two zero bytes: not encrypted) | "B2" | scrypt salt (32)
//   | scrypt opslimit (8, little-endian) | scrypt memlimit (8, little-endian)
//   | sealed: key id (8) | Ed25519 secret key (64) | checksum (32)
// where the sealed part is XORed with that many bytes scrypt derives from
// the password, and the checksum is BLAKE2b-256 of "Ed" | key id | secret
// key: a wrong password shows as a checksum that does not match.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

using KeyId = std::array<unsigned char, 8>;

// The id as people see it in the key's comment and in messages: the 8
// bytes read as a little-endian number, in upper-case hexadecimal.
std::string keyIdText(const KeyId& id);

struct PublicKey {
  KeyId id{};
  std::array<unsigned char, 32> key{};
};

// The base64 line alone, as `lxpack verify -P` and `minisign -P` take it.
std::string publicKeyBase64(const PublicKey& key);
std::string publicKeyFileText(const PublicKey& key);
// Reads the base64 line; source names it in a PackError.
PublicKey parsePublicKey(const std::string& base64, const std::string& source);
// A public key file: the first line that is not a comment is the key.
PublicKey readPublicKeyFile(const std::string& path);

// A secret key in memory. Its bytes are wiped when it goes, and it is
// never copied.
class SecretKey {
 public:
  SecretKey() = default;
  ~SecretKey();
  SecretKey(const SecretKey&) = delete;
  SecretKey& operator=(const SecretKey&) = delete;

  KeyId id{};
  // libsodium's form: the 32-byte seed, then the public key.
  std::array<unsigned char, 64> key{};

  PublicKey publicKey() const;
};

// A new key pair with a random id.
std::unique_ptr<SecretKey> makeKeyPair();

// What deriving the key from a password costs: scrypt's operations and
// bytes of memory. Stored in the key file, so whoever opens it pays the
// same.
struct PasswordCost {
  uint64_t opsLimit;
  uint64_t memLimit;
};
// The cost minisign gives its own keys (about a second and 1 GiB).
extern const PasswordCost kSecretKeyPasswordCost;

// The secret key file's text: encrypted with password, or not encrypted
// when password is null.
std::string secretKeyFileText(const SecretKey& key, const std::string* password, PasswordCost cost);

// A secret key file as read, still sealed while it is encrypted.
struct SealedSecretKey {
  std::string source;
  bool encrypted = false;
  std::array<unsigned char, 32> salt{};
  PasswordCost cost{0, 0};
  std::array<unsigned char, 104> sealed{};
};

SealedSecretKey parseSecretKey(const std::string& text, const std::string& source);
SealedSecretKey readSecretKeyFile(const std::string& path);
// The key itself; password is not looked at for a key that is not
// encrypted. Throws PackError for a wrong password (or a damaged file,
// which cannot be told apart from it).
std::unique_ptr<SecretKey> openSecretKey(const SealedSecretKey& sealed, const std::string& password);

// A key or signature file's text (a few hundred bytes; anything over 64 KiB
// is no such file); throws PackError naming the file.
std::string readSmallFile(const std::string& path);

// Base64 as the key and signature files hold it (with padding). fromBase64
// is true when text is exactly the base64 of `length` bytes.
std::string toBase64(const unsigned char* bytes, size_t length);
bool fromBase64(const std::string& text, unsigned char* bytes, size_t length);

// libsodium is ready for use; throws PackError when it cannot start.
void startCrypto();
// Overwrites a password (or any secret text) before it is let go.
void wipe(std::string& secret);
