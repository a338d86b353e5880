#!/usr/bin/env python3
"""Writes the XML fixtures of the CXmlDoc tests with Python's xml.etree.

Usage: make_fixtures.py [OUTPUT_DIR]  (default: the folder of this script)

The same catalogue-like document is written in several encodings; the tests expect the
values built in catalogue() below, so change both together.
"""
import os
import sys
import xml.etree.ElementTree as ET


def catalogue():
    root = ET.Element("catalogue", {"version": "1.0.5"})
    ET.SubElement(root, "device", {
        "name": "Tavik \u03a9",
        "vid": "7768",
        "pid": "4660",
        "note": 'a < b & "c" > d',
        "apos": "it's",
        "price": "5 \u20ac",
    })
    ET.SubElement(root, "device", {
        "name": "Z\u00f6\u00eb \u9f20\u6807 \U0001f42d",
        "vid": "7768",
        "pid": "4661",
        "empty": "",
    })
    ET.SubElement(root, "empty")
    return ET.ElementTree(root)


def write_with_etree(path, encoding):
    catalogue().write(path, encoding=encoding, xml_declaration=True)


def write_utf16(path, big_endian):
    # xml.etree writes UTF-16 in the machine's byte order; the byte order is fixed here so
    # the fixture is the same everywhere.
    body = ET.tostring(catalogue().getroot(), encoding="unicode")
    text = "<?xml version='1.0' encoding='UTF-16'?>\n" + body
    mark = b"\xfe\xff" if big_endian else b"\xff\xfe"
    with open(path, "wb") as out:
        out.write(mark + text.encode("utf-16-be" if big_endian else "utf-16-le"))


def write_entities(path):
    # Named references other than the five predefined ones must be declared for an XML
    # parser; the document type declares them with character references.
    text = (
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!DOCTYPE profile [\n"
        "<!ENTITY eacute \"&#233;\">\n"
        "<!ENTITY copy \"&#169;\">\n"
        "<!ENTITY hellip \"&#8230;\">\n"
        "<!ENTITY Alpha \"&#913;\">\n"
        "<!ENTITY alpha \"&#945;\">\n"
        "<!-- the mouse > the rest -->\n"
        "]>\n"
        "<profile name=\"Caf&eacute; &copy; &hellip;\" greek='&Alpha;&alpha;'"
        " refs=\"&#65;&#x42;&#x1F42D;&#169;\" mixed=\"&lt;&amp;&gt;&quot;&apos;\">\n"
        "  <item text=\"one&#x9;two\"/>\n"
        "</profile>\n"
    )
    # Parse it back so that a typo here fails loudly, not in the C++ test.
    ET.fromstring(text.encode("utf-8"))
    with open(path, "wb") as out:
        out.write(text.encode("utf-8"))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(folder, exist_ok=True)
    path = lambda name: os.path.join(folder, name)
    write_with_etree(path("utf8.xml"), "UTF-8")
    with open(path("utf8.xml"), "rb") as source:
        data = source.read()
    with open(path("utf8-bom.xml"), "wb") as out:
        out.write(b"\xef\xbb\xbf" + data)
    write_utf16(path("utf16le-bom.xml"), big_endian=False)
    write_utf16(path("utf16be-bom.xml"), big_endian=True)
    write_with_etree(path("latin1.xml"), "ISO-8859-1")
    write_with_etree(path("cp1252.xml"), "windows-1252")
    write_with_etree(path("ascii.xml"), "us-ascii")
    write_entities(path("entities.xml"))


if __name__ == "__main__":
    main()
