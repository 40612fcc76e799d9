#!/usr/bin/env python3
"""Builds the launcher's message catalogue from the translators' files.

The translations are kept as UTF-8 text, one file per language in
translations/<code>.txt, so that a translator can read and edit them. The
launcher carries every language twice, as byte tables in a C++ source that
this script produces: once in UTF-8, for the terminals of today, and once in
the language's own legacy encoding, for every other terminal. The launcher
converts nothing at run time, so both must be made here.

The texts of every language but English are stored as a raw deflate stream
(zlib without its header or trailer, which the launcher's own decoder
reads) and decoded when the language is first used: a run needs one
language, and the launcher program's size is bounded. English stays plain:
it is the language of most runs and of the C locale, and the text the
launcher falls back to should a stream not decode.

A table that would show the user something wrong stops the build: a missing
or repeated id, a text that its legacy encoding cannot hold, or placeholders
that differ from the English ones (the texts are used as formats with
exactly the arguments the English texts take).

Usage: generate_catalogue.py <translations directory> <output .cpp>
"""

import os
import re
import sys
import zlib

# Ids run from 0 to TEXT_COUNT - 1; English decides which are in use, and
# an id that English leaves out is a gap that every language leaves out too
# (kept free so that texts can be added in groups of ids of their own).
TEXT_COUNT = 100
# The offset that stands for a gap (an id with no text); kNoText in Catalogue.h.
NO_TEXT = 65535
# The language kept plain (not compressed); the first of LANGUAGES.
PLAIN_LANGUAGE = "en"
# Bytes of a compressed stream per line of the generated source.
PACKED_BYTES_PER_LINE = 40

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


def language_lines(code, legacy, utf8):
    """The source of a language's texts and two tables, and the fields of
    the language's entry in the catalogue that tell them. The texts lie end to end in one byte
    array per language rather than in literals of their own, which the
    compiler would align one by one, and a text that is the same in both
    encodings (any ASCII text) is stored once. A table holds each text's
    offset in that array (once decoded) in two bytes, not a pointer in
    eight: the program carries 44 tables of a hundred texts."""
    offsets = {}
    pieces = []
    size = 0
    for text in legacy + utf8:
        if text is not None and text not in offsets:
            offsets[text] = size
            pieces.append(text + b"\0")
            size += len(text) + 1
    if size >= NO_TEXT:
        raise CatalogueError(f"{code}: {size} bytes of texts, more than a table's offsets can reach")
    if code == PLAIN_LANGUAGE:
        blob = f"kTextBytes_{code}"
        packed_size = 0
        lines = ["", f"const char {blob}[] ="]
        lines.extend(f"    {c_literal(piece)}" for piece in pieces)
    else:
        blob = f"kPackedTexts_{code}"
        packed = deflate_raw(b"".join(pieces))
        if len(packed) >= NO_TEXT:
            raise CatalogueError(f"{code}: {len(packed)} bytes of compressed texts, more than the catalogue can hold")
        packed_size = len(packed)
        lines = ["", f"// {size} bytes of texts in {packed_size} bytes of raw deflate.", f"const char {blob}[] ="]
        lines.extend(f"    {c_literal(packed[i:i + PACKED_BYTES_PER_LINE])}"
                     for i in range(0, packed_size, PACKED_BYTES_PER_LINE))
    lines[-1] += ";"

    def table(name, texts):
        lines.append("")
        lines.append(f"const unsigned short {name}[kCatalogueTexts + 1] = {{")
        lines.extend(f"    {NO_TEXT}," if text is None else f"    {offsets[text]}," for text in texts)
        lines.append(f"    {NO_TEXT},")
        lines.append("};")

    legacy_name = f"kLegacyTexts_{code}"
    table(legacy_name, legacy)
    # A language whose texts are all plain ASCII needs one table, not two.
    utf8_name = legacy_name
    if utf8 != legacy:
        utf8_name = f"kUtf8Texts_{code}"
        table(utf8_name, utf8)
    return lines, f"{blob}, {packed_size}, {size}, {legacy_name}, {utf8_name}"


def deflate_raw(data):
    """The bytes as zlib compresses them best, without zlib's header and
    trailer (negative window bits)."""
    compressor = zlib.compressobj(9, zlib.DEFLATED, -15)
    return compressor.compress(data) + compressor.flush()


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
        utf8 = [None if text is None else text.encode("utf-8") for text in texts]
        source, texts = language_lines(code, legacy, utf8)
        lines.extend(source)
        entries.append(f'    {{"{code}", "{charset}", {texts}}},')
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
