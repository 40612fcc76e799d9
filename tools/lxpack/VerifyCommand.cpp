// lxpack verify: whether a launcher is the one its publisher signed, told
// by the publisher's public key and the signature beside the file.
#include <cstdio>
#include <string>

#include "Commands.h"
#include "FileSignature.h"
#include "SigningKeys.h"
#include "Usage.h"

int runVerify(Arguments& args) {
  std::string publicKeyFile;
  std::string publicKeyText;
  std::string signaturePath;
  std::string file;
  std::string value;
  while (!args.done()) {
    if (args.takeOption("-p", "--public-key-file", value)) {
      publicKeyFile = value;
    } else if (args.takeOption("-P", "--public-key", value)) {
      publicKeyText = value;
    } else if (args.takeOption("-x", "--signature", value)) {
      signaturePath = value;
    } else if (file.empty()) {
      file = args.takeOperand();
    } else {
      throw UsageError("verify takes one FILE, got a second: '" + args.takeOperand() + "'");
    }
  }
  if (publicKeyFile.empty() == publicKeyText.empty()) {
    throw UsageError("give the publisher's public key once: -p FILE (its .pub file) or -P KEY (the key as text)");
  }
  if (file.empty()) throw UsageError("missing FILE: the launcher to check");
  if (signaturePath.empty()) signaturePath = file + ".minisig";

  const PublicKey key =
      publicKeyFile.empty() ? parsePublicKey(publicKeyText, "the key given with -P") : readPublicKeyFile(publicKeyFile);
  const SignatureCheck check = checkSignature(key, readSmallFile(signaturePath), signaturePath, file);
  if (check.verdict != SignatureVerdict::good) {
    std::fprintf(stderr, "lxpack: %s\n", check.problem.c_str());
    return 1;
  }
  std::printf("%s: good signature by key %s%s\nTrusted comment: %s\n", file.c_str(), check.keyId.c_str(),
              check.prehashed ? "" : " (a legacy signature, of the file itself rather than its hash)",
              check.trustedComment.c_str());
  return 0;
}
