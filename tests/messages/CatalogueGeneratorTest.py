#!/usr/bin/env python3
"""The catalogue generator refuses tables that would show users something
wrong, and says which language, id and text are at fault.

Usage: CatalogueGeneratorTest.py <generate_catalogue.py> <translations dir>
"""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

GENERATOR = None
TRANSLATIONS = None


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

    def test_the_shipped_translations_generate(self):
        result = self.generate()
        self.assertEqual(0, result.returncode, result.stderr)
        with open(self.output, encoding="ascii") as f:
            source = f.read()
        # Each text is stored once, in UTF-8: Russian "Поиск", German
        # "überprüft" with its letters.
        self.assertIn('"\\320\\237\\320\\276\\320\\270\\321\\201\\320\\272 %s\\000"', source)
        self.assertIn('"%s wird \\303\\274berpr\\303\\274ft\\000"', source)
        self.assertNotIn('"%s wird ueberprueft\\000"', source)
        self.assertNotIn('"\\277\\336\\330\\341\\332 %s\\000"', source)
        # The legacy bytes of each character outside ASCII: "П" in
        # ISO-8859-5, "ü" spelled out for the German ASCII table.
        self.assertIn('{0x041F, "\\277"},', source)
        self.assertIn('{0x00FC, "ue"},', source)
        self.assertIn('{"ru", "ISO-8859-5", kTextBytes_ru, kUtf8Texts_ru, kLegacyCharacters_ru, ', source)
        # English, all ASCII, needs none.
        self.assertIn('{"en", "ASCII", kTextBytes_en, kUtf8Texts_en, nullptr, 0}', source)
        self.assertNotIn("kLegacyCharacters_en", source)

    def test_rejects_a_text_longer_than_the_launcher_puts_together(self):
        self.replace_line("de", 29, '29 "' + "ü" * 512 + '"')
        self.assert_rejected("de", "1024 bytes, more than 1023")

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
