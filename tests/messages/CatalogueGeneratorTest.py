#!/usr/bin/env python3
"""The catalogue generator refuses tables that would show users something
wrong, and says which language, id and text are at fault.

Usage: CatalogueGeneratorTest.py <generate_catalogue.py> <translations dir>
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import zlib

GENERATOR = None
TRANSLATIONS = None

# A byte array of the generated source: its name and its string literals.
ARRAY = re.compile(r'^const char (\w+)\[\] =\n((?:\s*"(?:[^"\\]|\\.)*"\n?)+);$', re.M)
# A language's entry in the catalogue.
ENTRY = re.compile(r'\{"(\w+)", "([\w-]+)", (\w+), (\d+), (\d+), (\w+), (\w+)\},')
ESCAPE = re.compile(r'\\([0-7]{3}|.)|([^\\])', re.S)


def c_bytes(literals):
    """The bytes of adjacent C string literals, each on a line of its own,
    as the generator writes them (octal escapes of three digits)."""
    data = bytearray()
    for line in literals.split("\n"):
        line = line.strip()
        if not line:
            continue
        for escape, plain in ESCAPE.findall(line[1:-1]):
            if plain:
                data += plain.encode("ascii")
            elif len(escape) == 3:
                data.append(int(escape, 8))
            else:
                data += escape.encode("ascii")
    return bytes(data)


class CatalogueGeneratorTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="lxcatalogue")
        self.translations = os.path.join(self.dir, "translations")
        self.output = os.path.join(self.dir, "out", "CatalogueTables.cpp")
        self.fresh_translations()

    def fresh_translations(self):
        shutil.rmtree(self.translations, ignore_errors=True)
        shutil.copytree(TRANSLATIONS, self.translations)

    def tearDown(self):
        shutil.rmtree(self.dir)

    def generate(self):
        return subprocess.run([sys.executable, GENERATOR, self.translations, self.output],
                              capture_output=True, text=True)

    def replace_line(self, code, ident, line):
        path = os.path.join(self.translations, code + ".txt")
        with open(path, encoding="utf-8") as f:
            lines = f.read().split("\n")
        prefix = f"{ident} "
        lines = [line if l.startswith(prefix) else l for l in lines]
        with open(path, "w", encoding="utf-8") as f:
            f.write("\n".join(lines))

    def assert_rejected(self, *words):
        result = self.generate()
        self.assertNotEqual(0, result.returncode, result.stderr)
        for word in words:
            self.assertIn(word, result.stderr)
        self.assertFalse(os.path.exists(self.output), "a rejected catalogue left a table behind")

    def generated(self):
        """The generated source's languages: code -> (charset, stored
        bytes, packed size, text size)."""
        result = self.generate()
        self.assertEqual(0, result.returncode, result.stderr)
        with open(self.output, encoding="ascii") as f:
            source = f.read()
        arrays = {name: c_bytes(body) for name, body in ARRAY.findall(source)}
        languages = {}
        for code, charset, array, packed, size, legacy, utf8 in ENTRY.findall(source):
            self.assertIn(array, arrays, code)
            self.assertIn(f"const unsigned short {legacy}[kCatalogueTexts + 1]", source)
            self.assertIn(f"const unsigned short {utf8}[kCatalogueTexts + 1]", source)
            languages[code] = (charset, arrays[array], int(packed), int(size), legacy, utf8)
        return languages

    def test_the_shipped_translations_generate(self):
        languages = self.generated()
        self.assertEqual(22, len(languages))
        # English is stored as it is, the texts end to end, and being all
        # ASCII needs one table, not two.
        charset, stored, packed, size, legacy, utf8 = languages["en"]
        self.assertEqual(0, packed)
        self.assertEqual(size, len(stored))
        self.assertIn(b"\0Canceled by the user.\0", stored)
        self.assertEqual(("kLegacyTexts_en", "kLegacyTexts_en"), (legacy, utf8))
        # Every other language is a raw deflate stream of the size its entry
        # gives, which decodes to exactly the bytes its entry announces,
        # the last text ending in its null byte.
        texts = {}
        for code, (charset, stored, packed, size, legacy, utf8) in languages.items():
            if code == "en":
                continue
            with self.subTest(code=code):
                self.assertEqual(packed, len(stored))
                self.assertLess(packed, size)
                decoder = zlib.decompressobj(-15)
                texts[code] = decoder.decompress(stored)
                self.assertTrue(decoder.eof, "the stream does not end")
                self.assertEqual(b"", decoder.unused_data)
                self.assertEqual(size, len(texts[code]))
                self.assertTrue(texts[code].endswith(b"\0"))
                self.assertEqual((f"kLegacyTexts_{code}", f"kUtf8Texts_{code}"), (legacy, utf8))
        # Russian "Поиск" in ISO-8859-5 and in UTF-8; German spelled out in
        # its ASCII table and with its letters in UTF-8.
        self.assertEqual("ISO-8859-5", languages["ru"][0])
        self.assertIn("\0Поиск %s\0".encode("iso8859_5"), texts["ru"])
        self.assertIn("\0Поиск %s\0".encode("utf-8"), texts["ru"])
        self.assertIn(b"\0%s wird ueberprueft\0", texts["de"])
        self.assertIn("\0%s wird überprüft\0".encode("utf-8"), texts["de"])

    def test_a_changed_text_changes_the_stream(self):
        before = self.generated()["fr"][1]
        self.replace_line("fr", 38, '38 "Arrêté par l\'usager."')
        after = self.generated()["fr"]
        self.assertNotEqual(before, after[1])
        decoded = zlib.decompress(after[1], -15)
        self.assertIn("\0Arrêté par l'usager.\0".encode("utf-8"), decoded)
        self.assertIn(b"\0Arrete par l'usager.\0", decoded)
        self.assertEqual(after[3], len(decoded))

    def test_rejects_a_text_its_encoding_cannot_hold(self):
        self.replace_line("ru", 38, '38 "Отменено €"')
        self.assert_rejected("ru", "id 38", "€", "Отменено €")

    def test_rejects_a_letter_the_ascii_tables_cannot_spell(self):
        self.replace_line("de", 29, '29 "Die JVM ist ungültig ł."')
        self.assert_rejected("de", "id 29", "ł")

    def test_rejects_placeholders_that_differ_from_english(self):
        cases = [
            ("fr", 5, '5 "Impossible de lancer."'),
            ("ja", 4, '4 "%s が見つかりませんでした。"'),
            ("pl", 10, '10 "Wyszukiwanie %d"'),
            ("cs", 7, '7 "Spouštění %s %s..."'),
            ("es", 38, '38 "Cancelado al 100%."'),
        ]
        for code, ident, line in cases:
            with self.subTest(code=code):
                self.fresh_translations()
                self.replace_line(code, ident, line)
                self.assert_rejected(code, f"id {ident}", "placeholders")

    def test_rejects_missing_repeated_and_unknown_ids(self):
        cases = [
            ("it", 12, "# id 12 left out", "no text for id 12"),
            ("nl", 12, '11 "Fout"', "id 11 is given twice"),
            ("sv", 12, '99 "Extra"', "id 99 has no English text"),
            ("da", 12, '100 "Extra"', "id 100 is outside"),
            ("ko", 12, '12 missing quotes', "expected an id and a text"),
        ]
        for code, ident, line, message in cases:
            with self.subTest(code=code):
                self.fresh_translations()
                self.replace_line(code, ident, line)
                self.assert_rejected(code, message)

    def test_rejects_a_table_whose_first_text_is_not_its_code(self):
        self.replace_line("pt_BR", 0, '0 "pt"')
        self.assert_rejected("pt_BR", "id 0")

    def test_rejects_a_missing_language(self):
        os.remove(os.path.join(self.translations, "zh_TW.txt"))
        self.assert_rejected("zh_TW")


if __name__ == "__main__":
    GENERATOR, TRANSLATIONS = sys.argv[1], sys.argv[2]
    unittest.main(argv=sys.argv[:1], verbosity=2)
