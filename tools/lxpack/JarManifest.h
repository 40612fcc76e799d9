// The main section of a jar's manifest (META-INF/MANIFEST.MF), read as java
// reads it: lines end with CR LF, LF or CR; a line that starts with one
// space continues the one before it (manifests are wrapped at 72 bytes, so
// a long class name often spans two lines); the main section ends at the
// first empty line; attribute names are compared ignoring ASCII case.
#pragma once

#include <map>
#include <string>

class JarManifest {
 public:
  explicit JarManifest(const std::string& text);
  // The value of the main section's attribute, trimmed of blanks; empty
  // when the manifest has none.
  std::string value(const std::string& name) const;

 private:
  std::map<std::string, std::string> attributes_;  // lower-case name -> value
};
