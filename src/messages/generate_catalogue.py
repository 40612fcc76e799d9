#!/usr/bin/env python3
"""Builds the launcher's message catalogue from the translators' files.

The translations are kept as UTF-8 text, one file per language in
translations/<code>.txt, so that a translator can read and edit them. The
launcher shows every language in UTF-8, for the terminals of today, and in
the language's own legacy encoding, for every other terminal. It carries
the texts once, in UTF-8, as byte tables in a C++ source that this script
produces, with the legacy bytes of each character they use (spelled out in
ASCII for the languages whose legacy table is ASCII): the launcher has no
converter and reads no locale data of the system, so what it needs to put a
legacy text together must be made here. A text in the legacy encoding is
the legacy bytes of its characters one after the other, as it is in every
encoding used here (none of them has shift states).

A table that would show the user something wrong stops the build: a missing
or repeated id, a text that its legacy encoding cannot hold, or placeholders
that differ from the English ones (the texts are used as formats with
exactly the arguments the English texts take).

Usage: generate_catalogue.py <translations directory> <output .cpp>
"""

import os
import re
import sys

# Ids run from 0 to TEXT_COUNT - 1; English decides which are in use, and
# an id that English leaves out is a gap that every language leaves out too
# (kept free so that texts can be added in groups of ids of their own).
TEXT_COUNT = 100
# The offset that stands for a gap (an id with no text); kNoText in Catalogue.h.
NO_TEXT = 65535
# The longest text in UTF-8, in bytes; kMostTextBytes in Catalogue.h. Its
# legacy bytes are never more.
MOST_TEXT_BYTES = 1023

# Table order decides which code wins when LANG is matched, so it is fixed.
# Each language: its code, the Python codec of its legacy table, and the
# usual name of that encoding (as locale names and converters spell it).
LANGUAGES = [
    ("en", "ascii", "ASCII"),
    ("cs", "iso8859_2", "ISO-8859-2"),
    ("da", "ascii", "ASCII"),
    ("de", "ascii", "ASCII"),
    ("el", "iso8859_7", "ISO-8859-7"),
    ("es", "ascii", "ASCII"),
    ("fi", "cp850", "CP850"),
    ("fr", "ascii", "ASCII"),
    ("hu", "cp852", "CP852"),
    ("it", "ascii", "ASCII"),
    ("ja", "euc_jp", "EUC-JP"),
    ("ko", "euc_kr", "EUC-KR"),
    ("nl", "ascii", "ASCII"),
    ("no", "ascii", "ASCII"),
    ("pl", "iso8859_2", "ISO-8859-2"),
    ("pt", "cp850", "CP850"),
    ("pt_BR", "ascii", "ASCII"),
    ("ru", "iso8859_5", "ISO-8859-5"),
    ("sv", "ascii", "ASCII"),
    ("tr", "cp857", "CP857"),
    ("zh", "gb2312", "GB2312"),
    ("zh_TW", "big5", "BIG5"),
]

# The languages kept in ASCII are written with their proper letters and
# spelled out here the way their readers do without them.
TRANSLITERATION = {
    "ä": "ae", "Ä": "Ae", "ö": "oe", "Ö": "Oe", "ü": "ue", "Ü": "Ue",
    "ß": "ss", "æ": "ae", "Æ": "Ae", "ø": "oe", "Ø": "Oe", "å": "aa",
    "Å": "Aa", "œ": "oe", "Œ": "Oe",
    "á": "a", "à": "a", "â": "a", "ã": "a", "Á": "A", "À": "A", "Â": "A",
    "Ã": "A", "é": "e", "è": "e", "ê": "e", "ë": "e", "É": "E", "È": "E",
    "Ê": "E", "Ë": "E", "í": "i", "ì": "i", "î": "i", "ï": "i", "Í": "I",
    "Î": "I", "Ï": "I", "ó": "o", "ò": "o", "ô": "o", "õ": "o", "Ó": "O",
    "Ô": "O", "Õ": "O", "ú": "u", "ù": "u", "û": "u", "Ú": "U", "Ù": "U",
    "Û": "U", "ç": "c", "Ç": "C", "ñ": "n", "Ñ": "N", "ý": "y", "ÿ": "y",
}
# Where a language's own habit differs from the table above.
TRANSLITERATION_BY_LANGUAGE = {
    "es": {"ü": "u", "Ü": "U"},
    "fr": {"ü": "u", "Ü": "U"},
    "pt_BR": {"ü": "u", "Ü": "U"},
    "sv": {"å": "a", "Å": "A", "ä": "a", "Ä": "A", "ö": "o", "Ö": "O"},
}

LINE = re.compile(r'^\s*(\d+)\s+"(.*)"\s*$')
# Every conversion a printf-style format could see, so that a stray "%"
# counts as a placeholder too.
PLACEHOLDER = re.compile(r"%[-+ #0-9.*]*[hlLqjzt]*[a-zA-Z%]?")


class CatalogueError(Exception):
    pass


def read_texts(path, code):
    """The texts of one translation file by id. Each line that is not blank
    or a comment holds an id and the text between the first and the last
    double quote of the line, taken literally (no escapes), so that the
    blanks at either end of a text are visible and survive editors."""
    texts = {}
    try:
        with open(path, encoding="utf-8") as f:
            lines = f.read().split("\n")
    except (OSError, UnicodeDecodeError) as e:
        raise CatalogueError(f"{code}: cannot read {path}: {e}")
    for number, line in enumerate(lines, 1):
        if not line.strip() or line.lstrip().startswith("#"):
            continue
        match = LINE.match(line)
        if not match:
            raise CatalogueError(
                f'{code}: {path}:{number}: expected an id and a text in double quotes, found: {line}')
        ident = int(match.group(1))
        if ident >= TEXT_COUNT:
            raise CatalogueError(f"{code}: {path}:{number}: id {ident} is outside 0 to {TEXT_COUNT - 1}")
        if ident in texts:
            raise CatalogueError(f"{code}: {path}:{number}: id {ident} is given twice")
        texts[ident] = match.group(2)
    return texts


def texts_in_use(code, path, texts, english_ids):
    """The texts as a list by id, None in the gaps, once the ids are exactly
    the English ones."""
    extra = [str(i) for i in sorted(texts) if i not in english_ids]
    if extra:
        raise CatalogueError(f"{code}: {path}: id {', '.join(extra)} has no English text")
    missing = [str(i) for i in sorted(english_ids) if i not in texts]
    if missing:
        raise CatalogueError(f"{code}: {path}: no text for id {', '.join(missing)}")
    return [texts.get(i) for i in range(TEXT_COUNT)]


def transliterate(text, code):
    table = dict(TRANSLITERATION)
    table.update(TRANSLITERATION_BY_LANGUAGE.get(code, {}))
    return "".join(table.get(c, c) for c in text)


def check_texts(code, texts, english):
    if texts[0] != code:
        raise CatalogueError(f'{code}: id 0 must be the language code "{code}", found "{texts[0]}"')
    for ident, text in enumerate(texts):
        if text is None:
            continue
        want = PLACEHOLDER.findall(english[ident])
        found = PLACEHOLDER.findall(text)
        if found != want:
            raise CatalogueError(
                f'{code}: id {ident}: placeholders {found} differ from the English {want} in "{text}"')
        if "\0" in text:
            raise CatalogueError(f"{code}: id {ident}: a text may not contain a NUL character")


def encode_legacy(code, codec, texts):
    encoded = []
    for ident, text in enumerate(texts):
        if text is None:
            encoded.append(None)
            continue
        if codec == "ascii":
            text = transliterate(text, code)
        try:
            encoded.append(text.encode(codec))
        except UnicodeEncodeError as e:
            raise CatalogueError(
                f'{code}: id {ident}: "{e.object[e.start:e.end]}" cannot be encoded in {codec}: "{text}"')
    return encoded


def legacy_characters(code, codec, texts, legacy):
    """Each character outside ASCII that the texts use, by code point, with
    its legacy bytes, once it is sure that a text's legacy bytes are those
    of its characters one after the other."""
    chars = {}
    for text in texts:
        for c in text or "":
            if ord(c) >= 0x80 and c not in chars:
                chars[c] = encode_legacy(code, codec, [c])[0]
    for ident, text in enumerate(texts):
        if text is None:
            continue
        pieced = b"".join(chars[c] if c in chars else c.encode("ascii") for c in text)
        if pieced != legacy[ident]:
            raise CatalogueError(f'{code}: id {ident}: its legacy bytes are not those of its characters: "{text}"')
    for c, data in chars.items():
        if ord(c) > 0xFFFF or len(data) > 3 or len(data) > len(c.encode("utf-8")):
            raise CatalogueError(f'{code}: "{c}" has legacy bytes the catalogue cannot hold')
    return sorted(chars.items(), key=lambda item: ord(item[0]))


def language_lines(code, utf8, characters):
    """The source of a language's tables and their names. The UTF-8 texts
    lie end to end in one byte array per language rather than in literals of
    their own, which the compiler would align one by one, and its table
    holds each text's offset in that array in two bytes, not a pointer in
    eight: the program carries 22 tables of a hundred texts. The legacy
    bytes of the characters outside ASCII follow, by code point."""
    blob = f"kTextBytes_{code}"
    offsets = {}
    pieces = []
    size = 0
    for text in utf8:
        if text is None:
            continue
        if len(text) > MOST_TEXT_BYTES:
            raise CatalogueError(f"{code}: a text of {len(text)} bytes, more than {MOST_TEXT_BYTES}")
        if text not in offsets:
            offsets[text] = size
            pieces.append(text + b"\0")
            size += len(text) + 1
    if size >= NO_TEXT:
        raise CatalogueError(f"{code}: {size} bytes of texts, more than a table's offsets can reach")
    lines = ["", f"const char {blob}[] ="]
    lines.extend(f"    {c_literal(piece)}" for piece in pieces)
    lines[-1] += ";"

    utf8_name = f"kUtf8Texts_{code}"
    lines.append("")
    lines.append(f"const unsigned short {utf8_name}[kCatalogueTexts + 1] = {{")
    lines.extend(f"    {NO_TEXT}," if text is None else f"    {offsets[text]}," for text in utf8)
    lines.append(f"    {NO_TEXT},")
    lines.append("};")

    if not characters:
        return lines, blob, utf8_name, "nullptr"
    chars_name = f"kLegacyCharacters_{code}"
    lines.append("")
    lines.append(f"const CatalogueCharacter {chars_name}[] = {{")
    lines.extend(f"    {{0x{ord(c):04X}, {c_literal(data)}}}," for c, data in characters)
    lines.append("};")
    return lines, blob, utf8_name, chars_name


def c_literal(data):
    """A C string literal of the bytes. Octal escapes always take three
    digits, so a following digit can never run into one."""
    out = []
    for b in data:
        if b in (0x22, 0x5C):
            out.append("\\" + chr(b))
        elif 0x20 <= b < 0x7F and b != 0x3F:  # '?' escaped: no trigraphs
            out.append(chr(b))
        else:
            out.append("\\%03o" % b)
    return '"' + "".join(out) + '"'


def generate(translations_dir):
    english_path = os.path.join(translations_dir, "en.txt")
    english_texts = read_texts(english_path, "en")
    english = texts_in_use("en", english_path, english_texts, set(english_texts))
    lines = [
        "// Generated by src/messages/generate_catalogue.py from",
        "// src/messages/translations/*.txt: edit those files instead.",
        '#include "messages/Catalogue.h"',
        "",
        "namespace {",
    ]
    entries = []
    for code, codec, charset in LANGUAGES:
        path = os.path.join(translations_dir, code + ".txt")
        texts = texts_in_use(code, path, read_texts(path, code), set(english_texts))
        check_texts(code, texts, english)
        legacy = encode_legacy(code, codec, texts)
        characters = legacy_characters(code, codec, texts, legacy)
        utf8 = [None if text is None else text.encode("utf-8") for text in texts]
        source, blob, utf8_name, chars_name = language_lines(code, utf8, characters)
        lines.extend(source)
        entries.append(
            f'    {{"{code}", "{charset}", {blob}, {utf8_name}, {chars_name}, {len(characters)}}},')
    lines.append("")
    lines.append("}  // namespace")
    lines.append("")
    lines.append("const CatalogueLanguage kCatalogueLanguages[kLanguageCount] = {")
    lines.extend(entries)
    lines.append("};")
    return "\n".join(lines) + "\n"


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: generate_catalogue.py <translations directory> <output .cpp>\n")
        return 2
    try:
        source = generate(argv[1])
    except CatalogueError as e:
        sys.stderr.write(f"message catalogue: {e}\n")
        return 1
    # Written whole and renamed, so a failed run never leaves half a table
    # behind for the next build to compile.
    partial = argv[2] + ".partial"
    os.makedirs(os.path.dirname(os.path.abspath(argv[2])), exist_ok=True)
    with open(partial, "w", encoding="ascii") as f:
        f.write(source)
    os.replace(partial, argv[2])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
