#!/usr/bin/env python3
"""Checks the generated language files against every text number the program looks up.

Usage:
    language_files_test.py SOURCE_DIR LANGUAGE_DIR   check the files in LANGUAGE_DIR
    language_files_test.py --self-test               check that the checker finds faults

The numbers come from three places:
  - the code: app/**/*.cpp and *.h, calls such as GetLanguageText(12) and constants named
    k...Text with a number (constexpr int kVersionLabelText = 17;), except the names listed
    in tests/data/language/not-text-numbers.txt;
  - the device descriptions assets/device/*.xml: the `name` and `func_desc` of every button;
  - tests/data/language/required-numbers.txt: the numbers the windows look up, also those
    whose code is table-driven or not written yet.

Each of "1033.lan" and "2052.lan" must be what the platform's initialization-file reader
reads as Unicode: UTF-16 little-endian with a byte-order mark, CR LF line ends, the one
section "[LAN]", one "number=text" per line, each number once; and every number above must
have a text of 1 to 259 characters in both files. Both files hold the same numbers.
"""
import os
import re
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

LANGUAGES = ("1033", "2052")
SECTION = "LAN"
MAX_TEXT_LENGTH = 259

CALL_PATTERN = re.compile(
    r"\b(?:GetLanguageText|LanguageText)\s*\(\s*(?:L\"LAN\"\s*,\s*)?(\d+)\s*\)")
CONSTANT_PATTERN = re.compile(r"\b(k\w*Text)\s*(?:=|\{)\s*(\d+)\s*\}?\s*;")


def strip_comments(source):
    # Numbers in comments are not lookups. String literals are left alone: the patterns
    # above cannot match inside them in a way that matters.
    source = re.sub(r"/\*.*?\*/", lambda match: "\n" * match.group(0).count("\n"), source,
                    flags=re.S)
    return re.sub(r"//[^\n]*", "", source)


def read_number_list(path):
    """Lines "number  note"; "#" starts a comment line. Returns {number: note}."""
    numbers = {}
    with open(path, encoding="utf-8") as listing:
        for line in listing:
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            number, _, note = line.partition(" ")
            numbers[int(number)] = note.strip()
    return numbers


def read_name_list(path):
    with open(path, encoding="utf-8") as listing:
        return {line.split()[0] for line in listing
                if line.strip() and not line.lstrip().startswith("#")}


def numbers_in_code(source_dir, ignored_constants):
    """Returns ({number: "file:line"}, faults)."""
    found = {}
    for folder, _, files in os.walk(os.path.join(source_dir, "app")):
        for name in sorted(files):
            if not name.endswith((".cpp", ".h")):
                continue
            path = os.path.join(folder, name)
            with open(path, encoding="utf-8") as source_file:
                source = strip_comments(source_file.read())
            relative = os.path.relpath(path, source_dir)
            for pattern, group in ((CALL_PATTERN, 1), (CONSTANT_PATTERN, 2)):
                for match in pattern.finditer(source):
                    if group == 2 and match.group(1) in ignored_constants:
                        continue
                    line = source.count("\n", 0, match.start()) + 1
                    found.setdefault(int(match.group(group)), f"{relative}:{line}")
    return found, []


def numbers_in_descriptions(source_dir):
    """Button names and factory function names of the device descriptions."""
    found, faults = {}, []
    folder = os.path.join(source_dir, "assets", "device")
    if not os.path.isdir(folder):
        return found, faults
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".xml"):
            continue
        relative = os.path.join("assets", "device", name)
        try:
            root = ElementTree.parse(os.path.join(folder, name)).getroot()
        except ElementTree.ParseError as error:
            faults.append(f"{relative}: not well-formed: {error}")
            continue
        for key in root.iter("key"):
            for attribute in ("name", "func_desc"):
                value = key.get(attribute, "")
                where = f"{relative}: key {key.get('key_value', '?')} {attribute}"
                if not value.isdigit():
                    faults.append(f"{where} is '{value}', not a text number")
                    continue
                found.setdefault(int(value), where)
    return found, faults


def unquote(value):
    # What the reader returns: blanks around the value dropped, then one pair of enclosing
    # quotes.
    value = value.strip(" \t")
    if len(value) >= 2 and value[0] == value[-1] and value[0] in "\"'":
        value = value[1:-1]
    return value


def read_language_file(path):
    """Returns ({number: text}, faults) for one language file."""
    faults = []
    try:
        with open(path, "rb") as language_file:
            data = language_file.read()
    except OSError as error:
        return {}, [f"{path}: cannot be read: {error}"]
    if not data.startswith(b"\xff\xfe"):
        return {}, [f"{path}: no UTF-16 little-endian byte-order mark"]
    if len(data) % 2:
        return {}, [f"{path}: odd number of bytes for UTF-16"]
    try:
        text = data[2:].decode("utf-16-le")
    except UnicodeDecodeError as error:
        return {}, [f"{path}: not valid UTF-16: {error}"]
    if not text.endswith("\r\n"):
        faults.append(f"{path}: the last line has no CR LF")
    lines = text.split("\r\n")
    if lines and lines[-1] == "":
        lines.pop()
    texts = {}
    section = None
    for line_number, line in enumerate(lines, start=1):
        where = f"{path}:{line_number}"
        if "\r" in line or "\n" in line:
            faults.append(f"{where}: line end other than CR LF")
            continue
        if line.startswith("["):
            if line != f"[{SECTION}]" or section is not None:
                faults.append(f"{where}: section '{line}'; the file has one section [{SECTION}]")
            section = line
            continue
        if section is None:
            faults.append(f"{where}: entry before the [{SECTION}] section")
            continue
        key, equals, value = line.partition("=")
        if not equals or not key.isdigit() or key != str(int(key)):
            faults.append(f"{where}: '{line[:40]}' is not number=text")
            continue
        number = int(key)
        if number in texts:
            faults.append(f"{where}: number {number} appears twice")
            continue
        value = unquote(value)
        if not value:
            faults.append(f"{where}: text {number} is empty")
        if len(value) > MAX_TEXT_LENGTH:
            faults.append(f"{where}: text {number} has {len(value)} characters; the reader "
                          f"keeps {MAX_TEXT_LENGTH}")
        texts[number] = value
    if section is None:
        faults.append(f"{path}: no [{SECTION}] section")
    return texts, faults


def check(source_dir, language_dir):
    """Returns the list of faults; empty when everything is in order."""
    data_dir = os.path.join(source_dir, "tests", "data", "language")
    ignored = read_name_list(os.path.join(data_dir, "not-text-numbers.txt"))
    wanted = {number: f"required-numbers.txt: {note}" for number, note in
              read_number_list(os.path.join(data_dir, "required-numbers.txt")).items()}
    faults = []
    for finder in (lambda: numbers_in_code(source_dir, ignored),
                   lambda: numbers_in_descriptions(source_dir)):
        found, finder_faults = finder()
        faults += finder_faults
        for number, where in found.items():
            wanted.setdefault(number, where)

    files = {}
    for language in LANGUAGES:
        path = os.path.join(language_dir, f"{language}.lan")
        files[language], file_faults = read_language_file(path)
        faults += file_faults
        for number in sorted(wanted):
            if number not in files[language]:
                faults.append(f"{language}.lan lacks text {number} ({wanted[number]})")
    only_in_one = set(files[LANGUAGES[0]]) ^ set(files[LANGUAGES[1]])
    for number in sorted(only_in_one):
        faults.append(f"text {number} is in one language file only")
    return faults, len(wanted)


class CheckerFindsFaults(unittest.TestCase):
    """The checker itself, on small repositories and language files it writes."""

    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.root = self.folder.name
        self.write("tests/data/language/not-text-numbers.txt", "kFunctionTypeText\n")
        self.write("tests/data/language/required-numbers.txt", "# a comment\n12  tray menu\n")
        self.write("app/frame/window.cpp",
                   "constexpr int kTitleText = 17;\n"
                   "constexpr int kFunctionTypeText = 11;  // a function type, not a text\n"
                   "// GetLanguageText(999) in a comment is no lookup\n"
                   "auto a = GetLanguageText(61);\nauto b = GetLanguageText(L\"LAN\", 5);\n")
        self.write("assets/device/mouse.xml",
                   '<mouse><mouse_key><key name="810" key_value="0" func_desc="150"/>'
                   '</mouse_key></mouse>')
        self.texts = {5: "Close", 12: "Exit", 17: "Version", 61: "Profile", 150: "Left click",
                      810: "Left button"}

    def tearDown(self):
        self.folder.cleanup()

    def write(self, relative, text):
        path = os.path.join(self.root, relative)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8") as output:
            output.write(text)

    def write_language_files(self, texts=None, encode=None):
        texts = self.texts if texts is None else texts
        lines = "[LAN]\r\n" + "".join(f"{n}={t}\r\n" for n, t in sorted(texts.items()))
        data = encode(lines) if encode else b"\xff\xfe" + lines.encode("utf-16-le")
        folder = os.path.join(self.root, "out")
        os.makedirs(folder, exist_ok=True)
        for language in LANGUAGES:
            with open(os.path.join(folder, f"{language}.lan"), "wb") as output:
                output.write(data)
        return folder

    def faults(self, **files):
        return check(self.root, self.write_language_files(**files))[0]

    def test_complete_files_pass_and_every_source_is_collected(self):
        self.assertEqual(self.faults(), [])
        self.assertEqual(check(self.root, self.write_language_files())[1], 6)

    def test_each_missing_number_is_reported_with_its_source(self):
        cases = {12: "required-numbers.txt", 17: "app/frame/window.cpp:1",
                 61: "app/frame/window.cpp:4", 5: "app/frame/window.cpp:5",
                 810: "key 0 name", 150: "key 0 func_desc"}
        for number, source in cases.items():
            texts = dict(self.texts)
            del texts[number]
            faults = self.faults(texts=texts)
            self.assertTrue(any(f"lacks text {number} " in fault and source in fault
                                for fault in faults), (number, faults))

    def test_empty_and_overlong_texts_fail(self):
        for text in ("", "   ", '""', "x" * 260):
            texts = dict(self.texts)
            texts[12] = text
            self.assertNotEqual(self.faults(texts=texts), [], repr(text[:10]))
        texts = dict(self.texts)
        texts[12] = "x" * 259
        self.assertEqual(self.faults(texts=texts), [])

    def test_quoted_blank_edges_are_read_as_the_reader_does(self):
        self.assertEqual(unquote('" min"'), " min")
        self.assertEqual(unquote("  Exit  "), "Exit")

    def test_wrong_encodings_and_line_ends_fail(self):
        encodings = {
            "no byte-order mark": lambda text: text.encode("utf-16-le"),
            "UTF-8": lambda text: text.encode("utf-8"),
            "big-endian": lambda text: b"\xfe\xff" + text.encode("utf-16-be"),
            "LF line ends": lambda text: b"\xff\xfe" + text.replace("\r\n", "\n")
                                                           .encode("utf-16-le"),
        }
        for name, encode in encodings.items():
            self.assertNotEqual(self.faults(encode=encode), [], name)

    def test_malformed_sources_and_entries_fail(self):
        self.write("assets/device/mouse.xml",
                   '<mouse><mouse_key><key name="Left" key_value="0" func_desc="150"/>'
                   '</mouse_key></mouse>')
        self.assertTrue(any("not a text number" in fault for fault in self.faults()))
        self.write("assets/device/mouse.xml", "<mouse>")
        self.assertTrue(any("not well-formed" in fault for fault in self.faults()))

    def test_numbers_only_in_one_language_fail(self):
        folder = self.write_language_files()
        with open(os.path.join(folder, "2052.lan"), "ab") as output:
            output.write("700=配对\r\n".encode("utf-16-le"))
        faults = check(self.root, folder)[0]
        self.assertTrue(any("text 700 is in one language file only" in f for f in faults))


def main(arguments):
    if arguments[1:] == ["--self-test"]:
        result = unittest.main(argv=[arguments[0]], exit=False, verbosity=1).result
        return 0 if result.wasSuccessful() else 1
    if len(arguments) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    faults, count = check(arguments[1], arguments[2])
    for fault in faults:
        print(fault)
    print(f"{count} text numbers looked up; {len(faults)} faults")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
