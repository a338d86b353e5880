#!/usr/bin/env python3
"""Writes the language files "<id>.lan" from the text table assets/language/texts.tsv.

Usage: make-language-file.py TABLE OUTPUT_DIR

The table is UTF-8 text, one text per line, four fields separated by tabs:
    number <TAB> where it is shown <TAB> English <TAB> Simplified Chinese
Lines that are empty or start with "#" are comments. The first line that is not a comment
is the header "number<TAB>where<TAB>1033<TAB>2052": its last two fields name the language
of each text column, and so the output files.

Each output file is what the program reads with the platform's initialization-file reader:
UTF-16 little-endian with a byte-order mark, CR LF line ends, one section "[LAN]" and one
"number=text" line per text. Exits with status 1 and a message per fault when the table
breaks a rule that would make a text unreadable or wrong at run time.
"""
import os
import sys

SECTION = "LAN"
# The reader cuts longer texts, so a longer text would lose its end silently.
MAX_TEXT_LENGTH = 259


def quote_if_needed(text):
    # The reader drops blanks around a value and one pair of double quotes enclosing it, so
    # a text that starts or ends with a blank, or that is itself enclosed in quotes, is
    # written inside a pair of quotes that the reader removes again.
    if text != text.strip(" \t") or (len(text) >= 2 and text[0] == text[-1] and text[0] in "\"'"):
        return '"' + text + '"'
    return text


def read_table(path):
    """Returns (languages, rows, faults); rows are (number, where, [texts...])."""
    faults = []
    languages = None
    rows = []
    seen = {}
    with open(path, encoding="utf-8") as table:
        for line_number, line in enumerate(table, start=1):
            line = line.rstrip("\n")
            if line.endswith("\r"):
                faults.append(f"{path}:{line_number}: CR in the table; keep it LF-only")
                line = line[:-1]
            if not line.strip() or line.startswith("#"):
                continue
            fields = line.split("\t")
            if languages is None:
                if len(fields) < 3 or fields[0] != "number" or fields[1] != "where":
                    faults.append(f"{path}:{line_number}: expected the header line")
                    return None, rows, faults
                languages = fields[2:]
                if not all(language.isdigit() for language in languages):
                    faults.append(f"{path}:{line_number}: language ids must be numbers")
                continue
            where_line = f"{path}:{line_number}"
            if len(fields) != 2 + len(languages):
                faults.append(f"{where_line}: {len(fields)} fields, expected {2 + len(languages)}")
                continue
            number_text, where, texts = fields[0], fields[1], fields[2:]
            if not number_text.isdigit() or number_text != str(int(number_text)):
                faults.append(f"{where_line}: '{number_text}' is not a plain decimal number")
                continue
            number = int(number_text)
            if number in seen:
                faults.append(f"{where_line}: number {number} already on line {seen[number]}")
                continue
            seen[number] = line_number
            if not where.strip():
                faults.append(f"{where_line}: say where text {number} is shown")
            for language, text in zip(languages, texts):
                if not text.strip():
                    faults.append(f"{where_line}: text {number} is empty in {language}")
                if len(text) > MAX_TEXT_LENGTH:
                    faults.append(f"{where_line}: text {number} in {language} has {len(text)} "
                                  f"characters, more than {MAX_TEXT_LENGTH}")
                if any(ord(character) < 0x20 for character in text):
                    faults.append(f"{where_line}: text {number} in {language} holds a control "
                                  "character")
                if any(0xD800 <= ord(character) <= 0xDFFF for character in text):
                    faults.append(f"{where_line}: text {number} in {language} holds a lone "
                                  "surrogate")
            rows.append((number, where, texts))
    if languages is None:
        faults.append(f"{path}: no header line")
    return languages, rows, faults


def language_file_bytes(rows, column):
    lines = [f"[{SECTION}]"]
    for number, _, texts in sorted(rows, key=lambda row: row[0]):
        lines.append(f"{number}={quote_if_needed(texts[column])}")
    text = "\r\n".join(lines) + "\r\n"
    return b"\xff\xfe" + text.encode("utf-16-le")


def write_file(path, data):
    temporary = path + ".tmp"
    with open(temporary, "wb") as output:
        output.write(data)
    os.replace(temporary, path)


def main(arguments):
    if len(arguments) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    table_path, output_dir = arguments[1], arguments[2]
    languages, rows, faults = read_table(table_path)
    if faults:
        for fault in faults:
            print(fault, file=sys.stderr)
        return 1
    os.makedirs(output_dir, exist_ok=True)
    for column, language in enumerate(languages):
        write_file(os.path.join(output_dir, f"{language}.lan"),
                         language_file_bytes(rows, column))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
