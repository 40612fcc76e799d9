// The password of a secret key, for lxpack keys and lxpack sign (and
// create --sign). On a terminal it is asked for, without echo; otherwise
// it is the first line of standard input, so that scripts and CI give it
// as they give it to minisign (which reads the same line).
#pragma once

#include <memory>
#include <string>

#include "SigningKeys.h"

// The password of a new key: asked twice on a terminal (the two must be
// the same), one line from standard input otherwise. An empty password
// is refused: it would protect nothing. Throws PackError.
std::string readNewPassword();
// The password that opens keyPath's secret key; throws PackError when
// there is none to read.
std::string readPassword(const std::string& keyPath);
// The secret key in the file at keyPath, asking for its password when it
// is encrypted; throws PackError.
std::unique_ptr<SecretKey> openSecretKeyFile(const std::string& keyPath);
