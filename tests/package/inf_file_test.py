"""The INF reader on the grammar's cases: comments, quotes, continuation
lines, %token% strings, case and repeated sections."""

import unittest

from inf_file import InfFile

TEXT = r'''
; a comment line
[Version]
Signature="$Windows NT$"   ; a comment after a value
Note="semi;colon","say ""hi""", plain text ,"%%"

[models.NTamd64]
%Model%=INSTALL,\
        HWID   ; a comment after the last part
Keys=one,\ ; a comment after the backslash
  two

[MODELS.ntamd64]
"Quoted Name"=OTHER,ID2

[Paths]
Dir=%66000%\%Sub%

[Strings]
Model="Corvane CV5400"
sub="a, b"
'''


class InfReader(unittest.TestCase):
    def setUp(self):
        self.inf = InfFile(TEXT)

    def test_lines(self):
        # (section, key, fields)
        cases = [
            ("version", "signature", ["$Windows NT$"]),
            ("Version", "NOTE", ["semi;colon", 'say "hi"', "plain text", "%"]),
            ("Models.NTamd64", "Corvane CV5400", ["INSTALL", "HWID"]),
            ("models.ntamd64", "keys", ["one", "two"]),
            ("models.ntamd64", "quoted name", ["OTHER", "ID2"]),
            ("Paths", "Dir", [r"%66000%\a, b"]),
        ]
        for section, key, fields in cases:
            with self.subTest(section=section, key=key):
                line = self.inf.find(section, key)
                self.assertIsNotNone(line)
                self.assertEqual(line.fields, fields)

    def test_raw_text_keeps_tokens(self):
        line = self.inf.find("Models.NTamd64", "Corvane CV5400")
        self.assertEqual(line.raw_key, "%Model%")

    def test_repeated_sections_merge_in_order(self):
        self.assertEqual([line.key for line in self.inf.lines("Models.NTamd64")],
                         ["Corvane CV5400", "Keys", "Quoted Name"])
        self.assertEqual(self.inf.errors, [])

    def test_faults_are_reported_with_their_line(self):
        cases = [
            ("[A]\nx=%Missing%\n", "line 2: %Missing% is not in [Strings]"),
            ("[A]\nx=\"open\n", "line 2: quote not closed"),
            ("[A\nx=1\n", "line 1: section name without ']'"),
            ("x=1\n[A]\n", "line 1: text before the first section"),
        ]
        for text, error in cases:
            with self.subTest(text=text):
                self.assertIn(error, InfFile(text).errors)

    def test_missing_sections_and_keys_read_empty(self):
        self.assertEqual(self.inf.lines("Nowhere"), [])
        self.assertIsNone(self.inf.find("Version", "Nothing"))
        self.assertEqual(self.inf.value("Version", "Nothing"), "")


if __name__ == "__main__":
    unittest.main()
