#include "archive/WriteError.h"

#include <cerrno>
#include <cstring>

#include "messages/Messages.h"

SString writeFailureText(const SString& path, int error) {
  SString text = GetMessage(ERR_WRITING_FILE) + path + ": " + std::strerror(error) + ".";
  if (error == ENOSPC || error == EDQUOT) text += GetMessage(ERR_DISK_SPACE_HINT);
  return text;
}

WriteFailure writeFailure(const SString& path, int error) {
  return WriteFailure(writeFailureText(path, error), path, error);
}
