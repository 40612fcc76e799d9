#include <gtest/gtest.h>
#include <sodium.h>

#include <algorithm>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "base/Version.h"
#include "lxpack/FileSignature.h"
#include "lxpack/Usage.h"
#include "support/TempDir.h"

namespace {

// What minisign made with the key pair below (minisign -S, and minisign -S
// -l for its legacy format) of the text "lxpack signature fixture\n".
const char kMinisignPublicKey[] = "RWSkwYOdKWC6QGQ/UoAb6a4SYkb6Nkgb5wvqsCqDNB+jNH8Ki/WXg7Yt";
const char kFixtureText[] = "lxpack signature fixture\n";
const char kMinisignPrehashed[] =
    "untrusted comment: signature from minisign secret key\n"
    "RUSkwYOdKWC6QO5X+CH6d+iKl6UmJaQwLQj8AHo7Xcmh5G6k6bUOu5Hp0xMRBymITlXlLlwiGXHBccVrlY1rRDti8fL69bb12g4=\n"
    "trusted comment: made by minisign, prehashed\n"
    "/yZVP6Fa3uT27/LF1sZ7uYhwit/1hi5a4YEKwo6N8pl80+i3Uoc3iYslwZe2oF3YpeLlztBZ4e1sPOEalLQGDw==\n";
const char kMinisignLegacy[] =
    "untrusted comment: signature from minisign secret key\n"
    "RWSkwYOdKWC6QHeKcDiIWdnBSOGtPNHr0FxBjkp4yht16eCiriFraXd9pi9GabV4ouwoLtw4L87aVuZe8cqzZ+8YjbFe13nezAg=\n"
    "trusted comment: made by minisign, legacy\n"
    "RJMo+Zm5i13sBC0CsOZblDmWby5qKsYPcQlJ3cLejNGjTJVsr7W9CKmcHn/E8rXG6JmIOZSfciSrt3YipGrcCw==\n";

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  for (size_t start = 0, end; start < text.size(); start = end + 1) {
    end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// The signature line's bytes: "ED" or "Ed", key id, signature.
std::vector<unsigned char> signatureLine(const std::string& text) {
  std::vector<unsigned char> bytes(74);
  EXPECT_TRUE(fromBase64(linesOf(text)[1], bytes.data(), bytes.size()));
  return bytes;
}

std::string withSignatureLine(const std::string& text, const std::vector<unsigned char>& bytes) {
  std::vector<std::string> lines = linesOf(text);
  lines[1] = toBase64(bytes.data(), bytes.size());
  return joined(lines);
}

// A signature of the older kind, over the bytes themselves, as minisign -l
// writes it.
std::string legacySignature(const SecretKey& key, const std::string& content, const std::string& comment) {
  unsigned char line[74] = {'E', 'd'};
  std::memcpy(line + 2, key.id.data(), 8);
  crypto_sign_detached(line + 10, nullptr, reinterpret_cast<const unsigned char*>(content.data()), content.size(),
                       key.key.data());
  std::string signedComment(reinterpret_cast<const char*>(line + 10), 64);
  signedComment += comment;
  unsigned char commentSignature[64];
  crypto_sign_detached(commentSignature, nullptr, reinterpret_cast<const unsigned char*>(signedComment.data()),
                       signedComment.size(), key.key.data());
  return "untrusted comment: legacy\n" + toBase64(line, sizeof line) + "\ntrusted comment: " + comment + "\n" +
         toBase64(commentSignature, sizeof commentSignature) + "\n";
}

// Bytes enough for several of the blocks the file is hashed in, and an odd
// number of them.
std::string launcherBytes() {
  std::string bytes(3 * 65536 + 17, '\0');
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 2654435761u) >> 13);
  return bytes;
}

// A launcher, its signature and the key to check it with, each of which a
// case may change before the check.
struct Scene {
  std::string content;
  std::string signature;
  PublicKey checkKey;
};

std::string replaced(std::string text, const std::string& what, const std::string& with) {
  for (size_t at = 0; (at = text.find(what, at)) != std::string::npos; at += with.size()) {
    text.replace(at, what.size(), with);
  }
  return text;
}

}  // namespace

TEST(FileSignature, TellsAGoodSignatureFromAWrongKeyAChangedFileAndADamagedSignature) {
  TempDir dir;
  const std::unique_ptr<SecretKey> key = makeKeyPair();
  const std::unique_ptr<SecretKey> otherKey = makeKeyPair();
  std::unique_ptr<SecretKey> sameIdKey = makeKeyPair();
  sameIdKey->id = key->id;
  const std::string original = launcherBytes();
  const std::string path = dir.write("setup.bin", original);
  const std::string signed_ = signFile(*key, path, "setup.bin");
  const std::string legacy = legacySignature(*key, original, "timestamp:1\tfile:setup.bin");

  const char* const changed =
      "{file} does not match its signature {sig}: the file was changed after it was signed "
      "(or damaged on its way)";
  const char* const edited =
      "{sig}: damaged signature: its trusted comment or its signature was changed after it "
      "was signed";
  const struct {
    const char* name;
    std::function<void(Scene&)> change;
    SignatureVerdict verdict;
    const char* problem;
  } cases[] = {
      {"as signed", [](Scene&) {}, SignatureVerdict::good, ""},
      {"line ends of another system", [](Scene& s) { s.signature = replaced(s.signature, "\n", "\r\n"); },
       SignatureVerdict::good, ""},
      {"a byte of the file changed", [](Scene& s) { s.content[100000] ^= 0x01; }, SignatureVerdict::changedFile,
       changed},
      {"a byte added to the file", [](Scene& s) { s.content += '\n'; }, SignatureVerdict::changedFile, changed},
      {"the file's last byte cut", [](Scene& s) { s.content.pop_back(); }, SignatureVerdict::changedFile, changed},
      {"the signature of another file",
       [&](Scene& s) {
         const std::string other = dir.write("other.bin", "another launcher");
         s.signature = signFile(*key, other, "setup.bin");
       },
       SignatureVerdict::changedFile, changed},
      {"checked with another publisher's key", [&](Scene& s) { s.checkKey = otherKey->publicKey(); },
       SignatureVerdict::wrongKey,
       "{sig}: made with the key {id}, not with the key given ({other}): a wrong public key, or not the "
       "publisher's signature"},
      {"checked with a key that claims the same id", [&](Scene& s) { s.checkKey = sameIdKey->publicKey(); },
       SignatureVerdict::damagedSignature, edited},
      {"the trusted comment edited", [](Scene& s) { s.signature = replaced(s.signature, "\tsize:", "\tsize:1"); },
       SignatureVerdict::damagedSignature, edited},
      {"a byte of the file's signature changed",
       [](Scene& s) {
         std::vector<unsigned char> line = signatureLine(s.signature);
         line[40] ^= 0x80;
         s.signature = withSignatureLine(s.signature, line);
       },
       SignatureVerdict::damagedSignature, edited},
      {"an unknown algorithm",
       [](Scene& s) {
         std::vector<unsigned char> line = signatureLine(s.signature);
         line[1] = 'X';
         s.signature = withSignatureLine(s.signature, line);
       },
       SignatureVerdict::damagedSignature,
       "{sig}: damaged signature: an unknown signature algorithm (known: Ed25519 of the file's hash, 'ED', or of "
       "the file, 'Ed')"},
      {"a signature line that is no base64",
       [](Scene& s) {
         std::vector<std::string> lines = linesOf(s.signature);
         lines[3][10] = '#';
         s.signature = joined(lines);
       },
       SignatureVerdict::damagedSignature,
       "{sig}: damaged signature: its signature lines are not base64 of a signature"},
      {"cut after two lines",
       [](Scene& s) {
         std::vector<std::string> lines = linesOf(s.signature);
         lines.resize(2);
         s.signature = joined(lines);
       },
       SignatureVerdict::damagedSignature,
       "{sig}: damaged signature: not a signature file (an untrusted comment, the signature, a trusted comment and "
       "its signature, a line each)"},
      {"a legacy signature", [&](Scene& s) { s.signature = legacy; }, SignatureVerdict::good, ""},
      {"a legacy signature of a changed file",
       [&](Scene& s) {
         s.signature = legacy;
         s.content[5] ^= 0x20;
       },
       SignatureVerdict::changedFile, changed},
      {"a legacy signature with its trusted comment edited",
       [&](Scene& s) { s.signature = replaced(legacy, "file:setup.bin", "file:setup.exe"); },
       SignatureVerdict::damagedSignature, edited},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Scene scene{original, signed_, key->publicKey()};
    c.change(scene);
    const std::string file = dir.write("setup.bin", scene.content);
    const std::string sig = dir.write("setup.bin.minisig", scene.signature);
    const SignatureCheck check = checkSignature(scene.checkKey, scene.signature, sig, file);
    EXPECT_EQ(c.verdict, check.verdict);
    std::string problem = replaced(replaced(c.problem, "{file}", file), "{sig}", sig);
    problem = replaced(replaced(problem, "{id}", keyIdText(key->id)), "{other}", keyIdText(otherKey->id));
    EXPECT_EQ(problem, check.problem);
  }
}

TEST(FileSignature, TrustedCommentNamesTheFileItsSizeAndLxpack) {
  TempDir dir;
  const std::unique_ptr<SecretKey> key = makeKeyPair();
  const std::string content = launcherBytes();
  // A file waiting to be renamed into place is signed under its final name.
  const std::string path = dir.write("setup.bin.lxpack-Xy12ab", content);
  const std::time_t before = std::time(nullptr);
  const std::string signature = signFile(*key, path, "setup.bin");
  const std::time_t after = std::time(nullptr);

  const SignatureCheck check = checkSignature(key->publicKey(), signature, "setup.bin.minisig", path);
  ASSERT_EQ(SignatureVerdict::good, check.verdict) << check.problem;
  EXPECT_TRUE(check.prehashed);
  EXPECT_EQ(keyIdText(key->id), check.keyId);
  const std::string fields =
      "\tfile:setup.bin\tsize:" + std::to_string(content.size()) + "\tlxpack:" + kLauncherVersion;
  ASSERT_EQ(0u, check.trustedComment.find("timestamp:"));
  const size_t tab = check.trustedComment.find('\t');
  EXPECT_EQ(fields, check.trustedComment.substr(tab));
  const long long stamp = std::stoll(check.trustedComment.substr(10, tab - 10));
  EXPECT_LE(before, stamp);
  EXPECT_GE(after, stamp);
  EXPECT_EQ("trusted comment: " + check.trustedComment, linesOf(signature)[2]);

  EXPECT_EQ("timestamp:1700000000\tfile:set?up?.bin\tsize:12\tlxpack:" + std::string(kLauncherVersion),
            launcherTrustedComment("set\nup\t.bin", 12, 1700000000));
}

TEST(FileSignature, SignsTheHashOfTheWholeFile) {
  TempDir dir;
  const std::unique_ptr<SecretKey> key = makeKeyPair();
  const std::string content = launcherBytes();
  const std::string signature = signFile(*key, dir.write("setup.bin", content), "setup.bin");
  const std::vector<unsigned char> line = signatureLine(signature);
  EXPECT_EQ('E', line[0]);
  EXPECT_EQ('D', line[1]);
  EXPECT_TRUE(std::equal(key->id.begin(), key->id.end(), line.begin() + 2));
  // The hash taken in one go, not block by block as lxpack reads the file.
  unsigned char hash[64];
  crypto_generichash(hash, sizeof hash, reinterpret_cast<const unsigned char*>(content.data()), content.size(), nullptr,
                     0);
  EXPECT_EQ(0, crypto_sign_verify_detached(line.data() + 10, hash, sizeof hash, key->publicKey().key.data()));
}

TEST(FileSignature, ChecksWhatMinisignSigned) {
  TempDir dir;
  const PublicKey key = parsePublicKey(kMinisignPublicKey, "-P");
  const struct {
    const char* signature;
    bool prehashed;
    const char* comment;
  } cases[] = {
      {kMinisignPrehashed, true, "made by minisign, prehashed"},
      {kMinisignLegacy, false, "made by minisign, legacy"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.comment);
    const std::string path = dir.write("fixture.txt", kFixtureText);
    SignatureCheck check = checkSignature(key, c.signature, "fixture.txt.minisig", path);
    EXPECT_EQ(SignatureVerdict::good, check.verdict) << check.problem;
    EXPECT_EQ(c.prehashed, check.prehashed);
    EXPECT_EQ(c.comment, check.trustedComment);
    EXPECT_EQ("40BA60299D83C1A4", check.keyId);

    dir.write("fixture.txt", "lxpack signature fixture!");
    check = checkSignature(key, c.signature, "fixture.txt.minisig", path);
    EXPECT_EQ(SignatureVerdict::changedFile, check.verdict);
  }
}

TEST(FileSignature, FileThatCannotBeReadIsAFailureNotAVerdict) {
  TempDir dir;
  const std::unique_ptr<SecretKey> key = makeKeyPair();
  const std::string path = dir.write("setup.bin", "launcher");
  const std::string signature = signFile(*key, path, "setup.bin");
  const std::string missing = dir.file("missing.bin");
  for (const std::string& text : {signature, legacySignature(*key, "launcher", "legacy")}) {
    try {
      checkSignature(key->publicKey(), text, "setup.bin.minisig", missing);
      ADD_FAILURE() << "no failure for a missing file";
    } catch (const PackError& e) {
      EXPECT_EQ("cannot read " + missing + ": No such file or directory", std::string(e.what()));
    }
  }
  try {
    signFile(*key, missing, "missing.bin");
    ADD_FAILURE() << "signed a missing file";
  } catch (const PackError& e) {
    EXPECT_EQ("cannot read " + missing + ": No such file or directory", std::string(e.what()));
  }
}
