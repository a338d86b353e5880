#!/usr/bin/env python3
"""Writes macro and profile files the way another program would, with Python's own XML
writer: usage write_sample_files.py FOLDER.

  macro-utf8.xml        a macro file, UTF-8 with a declaration
  macro-utf16.xml       the same macro, UTF-16 with a byte-order mark
  profile-utf8.xml      a profile file with every element in the order they are written
  profile-reordered.xml the same profile with the `Mouse` children in reverse order
"""
import os
import sys
import xml.etree.ElementTree as ET


def macro():
    root = ET.Element("macro")
    ET.SubElement(root, "macroinfo", {"macro_name": "Python \"quoted\" & <made>",
                                      "macro_type": "0", "play_times": "3",
                                      "delay_type": "2", "delay_time": "250"})
    items = ET.SubElement(root, "macroitems")
    for index, (kind, value, delay, desc) in enumerate(
            [(2, 65, 250, "\u2193  A"), (3, 65, 250, "\u2191  A"), (4, 1, 10, "\u2193  LB")]):
        ET.SubElement(items, "item", {"desc": desc, "index": str(index), "type": str(kind),
                                      "value": str(value), "timestamp": str(delay)})
    return ET.ElementTree(root)


MOUSE = [("button_respondtime", "7"), ("report_rate", "1"), ("sensor_flag", "3"),
         ("liftoff_height", "0"), ("scroll_flag", "0"), ("e-sports_flag", "1"),
         ("leftbtn_lock", "0")]


def profile(mouse_order):
    root = ET.Element("profile")
    info = ET.SubElement(root, "profileinfo", {"name": "From Python"})
    keys = ET.SubElement(info, "keyitems")
    ET.SubElement(keys, "item", {"key_code": "3", "macro_type": "2", "macro_value": "4",
                                 "macro_value2": "6", "macro_value3": "0",
                                 "macro_desc": "Shift + Alt + A"})
    lights = ET.SubElement(info, "Lightitems", {"lightmode": "2"})
    ET.SubElement(lights, "item", {"light_mode": "2", "brightness": "40", "speed": "9",
                                   "direction": "1", "colorful": "0", "colorindex": "5",
                                   "color_value1": "1", "color_value2": "2",
                                   "color_value3": "3", "color_value4": "4",
                                   "color_value5": "5", "color_value6": "6"})
    dpi = ET.SubElement(info, "Mouse_DPI", {"dpi_flag": "5", "dpi_index": "2",
                                           "dpi_count": "3"})
    for stage in range(1, 6):
        ET.SubElement(dpi, "DPI%d" % stage, {"value": str(stage * 1000), "color": str(stage)})
    mouse = ET.SubElement(info, "Mouse")
    for name, value in mouse_order:
        ET.SubElement(mouse, name, {"value": value})
    return ET.ElementTree(root)


def main(folder):
    os.makedirs(folder, exist_ok=True)
    macro().write(os.path.join(folder, "macro-utf8.xml"), encoding="UTF-8",
                  xml_declaration=True)
    text = ET.tostring(macro().getroot(), encoding="unicode")
    with open(os.path.join(folder, "macro-utf16.xml"), "wb") as out:
        # Python's "utf-16" codec writes the byte-order mark first.
        out.write(('<?xml version="1.0" encoding="UTF-16"?>\n' + text).encode("utf-16"))
    profile(MOUSE).write(os.path.join(folder, "profile-utf8.xml"), encoding="UTF-8",
                         xml_declaration=True)
    profile(list(reversed(MOUSE))).write(os.path.join(folder, "profile-reordered.xml"),
                                         encoding="UTF-8", xml_declaration=True)


if __name__ == "__main__":
    main(sys.argv[1])
