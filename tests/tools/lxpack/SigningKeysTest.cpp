#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "lxpack/SigningKeys.h"
#include "lxpack/Usage.h"
#include "support/TempDir.h"

namespace {

// A key pair minisign made (minisign -G -W: not encrypted, and its
// checksum left empty, as minisign leaves it for such keys).
const char kMinisignPublicKey[] =
    "untrusted comment: minisign public key 40BA60299D83C1A4\n"
    "RWSkwYOdKWC6QGQ/UoAb6a4SYkb6Nkgb5wvqsCqDNB+jNH8Ki/WXg7Yt\n";
const char kMinisignSecretKey[] =
    "untrusted comment: minisign encrypted secret key\n"
    "RWQAAEIyAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAApMGDnSlgukA4P5URUcrn1khVRpodNXi/"
    "sHBdVGbctBSnw0QuAKMgd2Q/UoAb6a4SYkb6Nkgb5wvqsCqDNB+jNH8Ki/WXg7YtAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAAA=\n";

// scrypt at its cheapest: the format is the same whatever it costs.
const PasswordCost kCheap = {32768, 16u << 20};

std::string packErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const PackError& e) {
    return e.what();
  }
  return "(nothing thrown)";
}

// The key line's bytes changed: the base64 decoded, one byte altered,
// encoded again.
std::string withKeyByte(const std::string& fileText, size_t offset, unsigned char value) {
  const size_t lineStart = fileText.find('\n') + 1;
  const std::string line = fileText.substr(lineStart, fileText.find('\n', lineStart) - lineStart);
  unsigned char bytes[158];
  EXPECT_TRUE(fromBase64(line, bytes, sizeof bytes));
  bytes[offset] = value;
  return fileText.substr(0, lineStart) + toBase64(bytes, sizeof bytes) + "\n";
}

bool samePublicKey(const PublicKey& a, const PublicKey& b) { return a.id == b.id && a.key == b.key; }

}  // namespace

TEST(SigningKeys, ReadsMinisignsKeysAndNamesTheIdAsItDoes) {
  const PublicKey publicKey = parsePublicKey("RWSkwYOdKWC6QGQ/UoAb6a4SYkb6Nkgb5wvqsCqDNB+jNH8Ki/WXg7Yt", "-P");
  EXPECT_EQ("40BA60299D83C1A4", keyIdText(publicKey.id));
  EXPECT_EQ(kMinisignPublicKey, publicKeyFileText(publicKey));

  const SealedSecretKey sealed = parseSecretKey(kMinisignSecretKey, "minisign.key");
  EXPECT_FALSE(sealed.encrypted);
  const std::unique_ptr<SecretKey> secret = openSecretKey(sealed, "");
  EXPECT_TRUE(samePublicKey(publicKey, secret->publicKey()));
}

TEST(SigningKeys, NewKeyPairsWriteAndReadBack) {
  const std::unique_ptr<SecretKey> key = makeKeyPair();
  const std::unique_ptr<SecretKey> other = makeKeyPair();
  EXPECT_NE(key->id, other->id);
  EXPECT_NE(key->key, other->key);

  const PublicKey publicKey = key->publicKey();
  const std::string publicText = publicKeyFileText(publicKey);
  EXPECT_EQ(0u, publicText.find("untrusted comment: minisign public key " + keyIdText(key->id) + "\n"));
  EXPECT_TRUE(samePublicKey(publicKey, parsePublicKey(publicKeyBase64(publicKey), "-P")));

  const std::string plain = secretKeyFileText(*key, nullptr, kCheap);
  const SealedSecretKey sealed = parseSecretKey(plain, "plain.key");
  EXPECT_FALSE(sealed.encrypted);
  const std::unique_ptr<SecretKey> opened = openSecretKey(sealed, "ignored");
  EXPECT_EQ(key->id, opened->id);
  EXPECT_EQ(key->key, opened->key);
}

TEST(SigningKeys, EncryptedSecretKeyOpensWithItsPasswordOnly) {
  const std::unique_ptr<SecretKey> key = makeKeyPair();
  const std::string password = "correct horse";
  const std::string text = secretKeyFileText(*key, &password, kCheap);
  EXPECT_EQ(0u, text.find("untrusted comment: minisign encrypted secret key\n"));
  const SealedSecretKey sealed = parseSecretKey(text, "release.key");
  EXPECT_TRUE(sealed.encrypted);
  EXPECT_EQ(kCheap.opsLimit, sealed.cost.opsLimit);
  EXPECT_EQ(kCheap.memLimit, sealed.cost.memLimit);
  // Sealed, the file holds neither half of the key.
  EXPECT_EQ(nullptr, memmem(sealed.sealed.data(), sealed.sealed.size(), key->key.data() + 32, 32));
  EXPECT_EQ(nullptr, memmem(sealed.sealed.data(), sealed.sealed.size(), key->key.data(), 32));

  const std::unique_ptr<SecretKey> opened = openSecretKey(sealed, password);
  EXPECT_EQ(key->key, opened->key);
  EXPECT_EQ(key->id, opened->id);
  for (const char* wrong : {"", "correct horsE", "correct horse "}) {
    SCOPED_TRACE(wrong);
    EXPECT_EQ("release.key: wrong password (or the key file is damaged)",
              packErrorOf([&] { openSecretKey(sealed, wrong); }));
  }
  // The same key sealed twice with one password differs: each has its salt.
  EXPECT_NE(text, secretKeyFileText(*key, &password, kCheap));
}

TEST(SigningKeys, RefusesWhatIsNoKeyOrAKeyItCannotUse) {
  const std::string plain = secretKeyFileText(*makeKeyPair(), nullptr, kCheap);
  const struct {
    const char* name;
    std::function<void()> read;
    const char* message;
  } cases[] = {
      {"empty public key", [] { parsePublicKey("", "k.pub"); },
       "k.pub: not a public key: expected the base64 of 42 bytes, as minisign writes it"},
      {"a public key cut short",
       [] { parsePublicKey("RWSkwYOdKWC6QGQ/UoAb6a4SYkb6Nkgb5wvqsCqDNB+jNH8Ki/WX", "k.pub"); },
       "k.pub: not a public key: expected the base64 of 42 bytes, as minisign writes it"},
      {"a public key with a character not of base64",
       [] { parsePublicKey("RWSkwYOdKWC6QGQ/UoAb6a4SYkb6Nkgb5wvqsCqDNB+jNH8Ki/WXg7Y!", "k.pub"); },
       "k.pub: not a public key: expected the base64 of 42 bytes, as minisign writes it"},
      {"a public key of another algorithm",
       [] { parsePublicKey("WFSkwYOdKWC6QGQ/UoAb6a4SYkb6Nkgb5wvqsCqDNB+jNH8Ki/WXg7Yt", "k.pub"); },
       "k.pub: a public key of an unknown algorithm (only Ed25519 keys, 'Ed', are known)"},
      {"a comment alone", [] { parseSecretKey("untrusted comment: nothing\n", "k.key"); },
       "k.key: not a secret key: expected a comment line and the base64 of 158 bytes, as minisign writes it"},
      {"a secret key of another algorithm", [&] { parseSecretKey(withKeyByte(plain, 1, 'D'), "k.key"); },
       "k.key: a secret key of an unknown algorithm (only Ed25519 keys, 'Ed', are known)"},
      {"another key derivation", [&] { parseSecretKey(withKeyByte(plain, 2, 'A'), "k.key"); },
       "k.key: a secret key encrypted in an unknown way (known: scrypt, 'Sc', or none)"},
      {"another checksum", [&] { parseSecretKey(withKeyByte(plain, 5, '3'), "k.key"); },
       "k.key: a secret key with an unknown kind of checksum (known: BLAKE2b, 'B2')"},
      // The secret half starts at byte 62, after the key id; its checksum
      // at byte 126.
      {"a damaged secret half", [&] { openSecretKey(parseSecretKey(withKeyByte(plain, 70, 0x55), "k.key"), ""); },
       "k.key: the secret key is damaged: its checksum does not match"},
      {"a damaged key without its checksum",
       [] { openSecretKey(parseSecretKey(withKeyByte(kMinisignSecretKey, 100, 0x55), "k.key"), ""); },
       "k.key: the secret key is damaged: its two halves do not belong together"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.message, packErrorOf(c.read));
  }
}

TEST(SigningKeys, KeyFilesAreReadPastTheirComments) {
  const PublicKey publicKey = makeKeyPair()->publicKey();
  const std::string line = publicKeyBase64(publicKey);
  for (const std::string& text : {publicKeyFileText(publicKey), line, "\n  " + line + " \r\n",
                                  "untrusted comment: one\r\nuntrusted comment: two\r\n" + line + "\r\n"}) {
    SCOPED_TRACE(text);
    TempDir dir;
    EXPECT_TRUE(samePublicKey(publicKey, readPublicKeyFile(dir.write("release.pub", text))));
  }
}
