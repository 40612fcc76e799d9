// Choosing the language of the catalogue from the user's locale, and
// decoding a language's texts when it is first shown.
#include "messages/Catalogue.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "base/Inflate.h"
#include "base/LauncherException.h"
#include "base/Log.h"
#include "messages/Messages.h"
#include "messages/UserLocale.h"

namespace {

// Takes the decoded bytes into a buffer of the size the generator wrote
// down; a stream that would run past it is damaged.
class TextsSink : public InflateSink {
 public:
  TextsSink(char* texts, size_t size) : texts_(texts), size_(size) {}
  void write(const unsigned char* bytes, size_t count) override {
    if (count > size_ - used_) throw LauncherException("The texts decode to more bytes than the catalogue holds.");
    std::memcpy(texts_ + used_, bytes, count);
    used_ += count;
  }
  // Exactly the texts: every byte, and the last text ends in its null byte,
  // so no text can be read past the end.
  bool holdsTheTexts() const { return used_ == size_ && size_ > 0 && texts_[size_ - 1] == '\0'; }

 private:
  char* texts_;
  size_t size_;
  size_t used_ = 0;
};

// The texts of a language, or null. The launcher is one thread, and no
// signal handler or child started with vfork asks for a text, so nothing
// else can decode the same language meanwhile. Decoding allocates: the
// failure it can meet is memory running out, which the next message may
// find over.
const char* DecodeTexts(const CatalogueLanguage& language) {
  char* texts = static_cast<char*>(std::malloc(language.textSize));
  if (texts == nullptr) return nullptr;
  TextsSink sink(texts, language.textSize);
  try {
    inflateRaw(reinterpret_cast<const unsigned char*>(language.textBytes), language.packedSize, sink);
    if (sink.holdsTheTexts()) return texts;
    language.damaged = true;
    log(SString("The message texts of language ") + language.code + " are incomplete; English ones are shown.",
        WARNING);
  } catch (const LauncherException& e) {
    language.damaged = true;
    log(SString("The message texts of language ") + language.code + " cannot be decoded (" + e.getMessage() +
            "); English ones are shown.",
        WARNING);
  } catch (const std::bad_alloc&) {
    // The English texts stand in for this message.
  }
  std::free(texts);
  return nullptr;
}

// The text at an offset of a language's tables.
const char* TextAt(const char* texts, unsigned short offset) { return offset == kNoText ? nullptr : texts + offset; }

// English is stored as it is (the generator never compresses it), so its
// texts are there without decoding or memory.
const CatalogueLanguage& FallbackLanguage() { return kCatalogueLanguages[0]; }

}  // namespace

const char* CatalogueLanguage::texts() const {
  if (packedSize == 0) return textBytes;
  if (decodedTexts == nullptr && !damaged) decodedTexts = DecodeTexts(*this);
  return decodedTexts;
}

const char* CatalogueLanguage::legacyText(int id) const {
  const char* all = texts();
  if (all != nullptr) return TextAt(all, legacyOffsets[id]);
  const CatalogueLanguage& fallback = FallbackLanguage();
  return fallback.packedSize == 0 ? TextAt(fallback.textBytes, fallback.legacyOffsets[id]) : nullptr;
}

const char* CatalogueLanguage::utf8Text(int id) const {
  const char* all = texts();
  if (all != nullptr) return TextAt(all, utf8Offsets[id]);
  const CatalogueLanguage& fallback = FallbackLanguage();
  return fallback.packedSize == 0 ? TextAt(fallback.textBytes, fallback.utf8Offsets[id]) : nullptr;
}

int LanguageForLocale(const char* locale) {
  if (locale == nullptr || std::strcmp(locale, "C") == 0) return 0;
  // First the full five-character codes (pt_BR, zh_TW) against the start of
  // the name; a two-letter code matches here only when the name is exactly
  // that code, so "pt_BR.UTF-8" is not taken for "pt".
  for (int i = 0; i < kLanguageCount; ++i) {
    if (std::strncmp(kCatalogueLanguages[i].code, locale, 5) == 0) return i;
  }
  // Then any code that the name starts with: "de_DE" is German.
  for (int i = 0; i < kLanguageCount; ++i) {
    const char* code = kCatalogueLanguages[i].code;
    if (std::strncmp(code, locale, std::strlen(code)) == 0) return i;
  }
  return 0;
}

// The locale is read for every message, so a change shows at the next one.
int SelectLanguage() { return LanguageForLocale(MessageLocale()); }
