// lxpack sign: FILE.minisig beside each FILE, made with a secret key of
// lxpack's or of minisign's.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "AtomicOutput.h"
#include "Commands.h"
#include "FileSignature.h"
#include "Password.h"
#include "Usage.h"

int runSign(Arguments& args) {
  std::string keyPath;
  std::vector<std::string> files;
  std::string value;
  while (!args.done()) {
    if (args.takeOption("-k", "--key", value)) {
      keyPath = value;
    } else {
      files.push_back(args.takeOperand());
    }
  }
  if (keyPath.empty()) throw UsageError("missing -k KEY: the secret key to sign with");
  if (files.empty()) throw UsageError("missing FILE: the launcher to sign");
  const std::unique_ptr<SecretKey> key = openSecretKeyFile(keyPath);
  for (const std::string& file : files) {
    const std::string signature = file + ".minisig";
    writeWholeFile(signature, signFile(*key, file, fileNameOf(file)), 0644);
    std::printf("%s: signed with key %s in %s\n", file.c_str(), keyIdText(key->id).c_str(), signature.c_str());
  }
  return 0;
}
