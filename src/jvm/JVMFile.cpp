#include "jvm/JVMFile.h"

SString JVMFile::expand(const SString& text) { return expandMacros(this, text, '@'); }

void JVMFile::resolveMacro(SString& text, char /*marker*/, SString::size_type start, SString::size_type& end) {
  SString name = text.substr(start + 1, end - start - 1);
  SString value = tagFile_->getValue(name.c_str(), 0);
  // A home written with a closing backslash would otherwise double the
  // separator in "@JVM_HOME@/@JVM_EXE@".
  if (name == "JVM_HOME" && endsWith(value, "\\") != SString::npos) value.erase(value.length() - 1, 1);
  text.replace(start, end - start + 1, value);
}
