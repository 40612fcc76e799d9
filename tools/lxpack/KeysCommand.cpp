// lxpack keys: a key pair for signing launchers, in minisign's formats.
// The secret key stays with the packager (mode 0600, protected by a
// password unless --no-password); the public key is published, and users
// check a launcher with it, with lxpack verify or with minisign.
#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <string>

#include "AtomicOutput.h"
#include "Commands.h"
#include "Password.h"
#include "SigningKeys.h"
#include "Usage.h"

namespace {

bool exists(const std::string& path) {
  struct stat status;
  return ::lstat(path.c_str(), &status) == 0;
}

}  // namespace

int runKeys(Arguments& args) {
  std::string name;
  bool withPassword = true;
  bool force = false;
  std::string value;
  while (!args.done()) {
    if (args.takeOption("-o", "--output", value)) {
      name = value;
    } else if (args.takeFlag(nullptr, "--no-password")) {
      withPassword = false;
    } else if (args.takeFlag(nullptr, "--force")) {
      force = true;
    } else {
      throw UsageError("unexpected '" + args.takeOperand() + "': keys takes -o NAME and writes NAME.key and NAME.pub");
    }
  }
  if (name.empty()) throw UsageError("missing -o NAME: the key pair is written as NAME.key and NAME.pub");
  const std::string secretPath = name + ".key";
  const std::string publicPath = name + ".pub";
  if (!force) {
    for (const std::string& path : {secretPath, publicPath}) {
      if (exists(path)) {
        throw PackError(path +
                        " exists: a key pair is never replaced unless --force says so (whatever it signed "
                        "could no longer be checked with a new key)");
      }
    }
  }

  std::string password;
  if (withPassword) password = readNewPassword();
  const std::unique_ptr<SecretKey> key = makeKeyPair();
  std::string secretText = secretKeyFileText(*key, withPassword ? &password : nullptr, kSecretKeyPasswordCost);
  wipe(password);
  writeWholeFile(secretPath, secretText, 0600);
  wipe(secretText);
  const PublicKey publicKey = key->publicKey();
  writeWholeFile(publicPath, publicKeyFileText(publicKey), 0644);

  const std::string base64 = publicKeyBase64(publicKey);
  std::printf(
      "The secret key is %s: keep it secret, and keep a copy.\n"
      "The public key is %s (key id %s): publish it. Users check a launcher signed with it with\n"
      "  lxpack verify -P %s LAUNCHER\n"
      "  minisign -Vm LAUNCHER -P %s\n",
      secretPath.c_str(), publicPath.c_str(), keyIdText(publicKey.id).c_str(), base64.c_str(), base64.c_str());
  return 0;
}
