#!/usr/bin/env python3
"""Prints what Python's xml.etree reads from an XML file, for comparison in the tests.

Each element in document order: its tag, then for each attribute in document order a
U+001F separator and name=value; each element ends with U+001E. Output is UTF-8.
"""
import sys
import xml.etree.ElementTree as ET

root = ET.parse(sys.argv[1]).getroot()
out = []
for element in root.iter():
    out.append(element.tag)
    for name, value in element.attrib.items():
        out.append("\x1f" + name + "=" + value)
    out.append("\x1e")
sys.stdout.buffer.write("".join(out).encode("utf-8"))
