#!/usr/bin/env python3
"""Writes the skin set as SVG and renders it into PNG, GIF and ICO files.

    generate_skins.py --list                     prints the files it makes, one a line
    generate_skins.py --out DIR [--svg DIR]      renders every file below DIR
    generate_skins.py --out DIR --only NAME ...  renders the named files only

Needs rsvg-convert (librsvg2-bin) and ImageMagick's convert. Every picture is drawn
here as SVG text; the folder layout below DIR is the one the program reads
("skins\\theme1\\..." beside the executable).

Strips: frames lie side by side, each frame clipped to its own box so nothing of one
frame reaches into the next. Four-frame strips are normal, hot, pressed, disabled;
eight-frame check strips repeat them unchecked then checked.
"""

import argparse
import importlib.util
import math
import os
import shutil
import subprocess
import sys
import tempfile

# The palette every picture takes its colours from.
BASE_TOP = "#050505"
BASE_BOTTOM = "#0D0F12"
PANEL = "#14171C"
RAISED = "#1C2027"
RAISED_HOT = "#242933"
RAISED_PRESSED = "#16191F"
LINE = "#2A303A"
LINE_HOT = "#3A4250"
TEXT = "#FFFFFF"
TEXT_COOL = "#B8D3EF"
MUTED = "#828282"
ACCENT = "#FF4B00"
ACCENT_HOT = "#FF6A2B"
ACCENT_PRESSED = "#D93F00"
SUCCESS = "#2BD576"
WARNING = "#FFC233"
DANGER = "#FF3B3B"

NORMAL, HOT, PRESSED, DISABLED = range(4)
STATES = (NORMAL, HOT, PRESSED, DISABLED)


def svg_document(width, height, body, defs=""):
    return (
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
        f'viewBox="0 0 {width} {height}" shape-rendering="geometricPrecision">\n'
        f"<defs>{defs}</defs>\n{body}\n</svg>\n"
    )


def strip(frame_width, frame_height, frames, uid):
    """Lays the frame bodies side by side, each clipped to its own box."""
    defs = []
    body = []
    for index, frame in enumerate(frames):
        clip = f"{uid}_clip{index}"
        x = index * frame_width
        defs.append(
            f'<clipPath id="{clip}"><rect x="{x}" y="0" width="{frame_width}" '
            f'height="{frame_height}"/></clipPath>'
        )
        body.append(
            f'<g clip-path="url(#{clip})"><g transform="translate({x},0)">{frame}</g></g>'
        )
    return svg_document(frame_width * len(frames), frame_height, "\n".join(body), "".join(defs))


def rounded_box(width, height, radius, fill, stroke=None, stroke_width=1, inset=0.0):
    """A rectangle whose 1-px outline sits on whole pixels (crisp at 100 %)."""
    half = stroke_width / 2 if stroke else 0
    x = inset + half
    w = width - 2 * x
    h = height - 2 * x
    stroke_part = (
        f' stroke="{stroke}" stroke-width="{stroke_width}"' if stroke else ""
    )
    return (
        f'<rect x="{x}" y="{x}" width="{w}" height="{h}" rx="{radius}" ry="{radius}" '
        f'fill="{fill}"{stroke_part}/>'
    )


def state_fill(state):
    return {NORMAL: RAISED, HOT: RAISED_HOT, PRESSED: RAISED_PRESSED, DISABLED: RAISED}[state]


def state_line(state):
    return {NORMAL: LINE, HOT: "#8A3A1A", PRESSED: "#6A2C12", DISABLED: LINE}[state]


def state_icon(state):
    return {NORMAL: TEXT_COOL, HOT: TEXT, PRESSED: TEXT, DISABLED: MUTED}[state]


def dim(state, content):
    """Disabled frames show at 40 % opacity; pressed content sits one pixel lower."""
    if state == DISABLED:
        return f'<g opacity="0.4">{content}</g>'
    if state == PRESSED:
        return f'<g transform="translate(0,1)">{content}</g>'
    return content


# ----------------------------------------------------------------------------------------
# Icon glyphs: line icons on a 24-px grid, 2-px strokes, round joins. Each takes a colour
# and returns SVG to be placed in a 24 x 24 box.


def stroke_style(color, width=2):
    return (
        f'fill="none" stroke="{color}" stroke-width="{width}" stroke-linecap="round" '
        f'stroke-linejoin="round"'
    )


def glyph_close(c):
    return f'<path d="M7 7 L17 17 M17 7 L7 17" {stroke_style(c)}/>'


def glyph_minimize(c):
    return f'<path d="M6 16 H18" {stroke_style(c)}/>'


def glyph_maximize(c):
    return f'<rect x="6" y="6" width="12" height="12" rx="1.5" {stroke_style(c)}/>'


def glyph_restore(c):
    return (
        f'<rect x="5" y="9" width="10" height="10" rx="1.5" {stroke_style(c)}/>'
        f'<path d="M9 9 V6.5 A1.5 1.5 0 0 1 10.5 5 H17.5 A1.5 1.5 0 0 1 19 6.5 V13.5 '
        f'A1.5 1.5 0 0 1 17.5 15 H15" {stroke_style(c)}/>'
    )


def glyph_gear(c):
    teeth = []
    for k in range(8):
        a = math.radians(k * 45)
        x1, y1 = 12 + 7.2 * math.cos(a), 12 + 7.2 * math.sin(a)
        x2, y2 = 12 + 9.6 * math.cos(a), 12 + 9.6 * math.sin(a)
        teeth.append(f"M{x1:.2f} {y1:.2f} L{x2:.2f} {y2:.2f}")
    return (
        f'<circle cx="12" cy="12" r="6.2" {stroke_style(c)}/>'
        f'<circle cx="12" cy="12" r="2.4" {stroke_style(c)}/>'
        f'<path d="{" ".join(teeth)}" {stroke_style(c, 2.6)}/>'
    )


def glyph_reset(c):
    return (
        f'<path d="M18.5 12 A6.5 6.5 0 1 1 16.6 7.4" {stroke_style(c)}/>'
        f'<path d="M17.5 3.8 V8.2 H13.1" {stroke_style(c)}/>'
    )


def glyph_folder(c):
    return (
        f'<path d="M4 7.5 A1.5 1.5 0 0 1 5.5 6 H10 L12 8 H18.5 A1.5 1.5 0 0 1 20 9.5 '
        f'V17 A1.5 1.5 0 0 1 18.5 18.5 H5.5 A1.5 1.5 0 0 1 4 17 Z" {stroke_style(c)}/>'
    )


def glyph_dots(c):
    return "".join(f'<circle cx="{x}" cy="12" r="1.9" fill="{c}"/>' for x in (6, 12, 18))


def glyph_home(c):
    return (
        f'<path d="M4 11 L12 4.5 L20 11" {stroke_style(c)}/>'
        f'<path d="M6.5 9.5 V19 H17.5 V9.5" {stroke_style(c)}/>'
        f'<path d="M10.5 19 V14 H13.5 V19" {stroke_style(c)}/>'
    )


def glyph_mouse(c):
    return (
        f'<rect x="6.5" y="3" width="11" height="18" rx="5.5" {stroke_style(c)}/>'
        f'<path d="M12 3.5 V9 M6.8 9.5 H17.2" {stroke_style(c)}/>'
    )


def glyph_gauge(c):
    return (
        f'<path d="M4.5 16.5 A8 8 0 1 1 19.5 16.5" {stroke_style(c)}/>'
        f'<path d="M12 14 L16 8.5" {stroke_style(c)}/>'
        f'<circle cx="12" cy="14" r="1.6" fill="{c}"/>'
    )


def glyph_macro(c):
    return (
        f'<rect x="3.5" y="5" width="17" height="14" rx="2" {stroke_style(c)}/>'
        f'<path d="M7 9.5 L9.5 12 L7 14.5 M11.5 15 H16.5" {stroke_style(c)}/>'
    )


def glyph_text(c):
    return (
        f'<path d="M5 6 H19 M12 6 V19" {stroke_style(c)}/>'
        f'<path d="M9.5 19 H14.5" {stroke_style(c)}/>'
    )


def glyph_light(c):
    rays = []
    for k in range(8):
        a = math.radians(k * 45)
        rays.append(
            f"M{12 + 6.8 * math.cos(a):.2f} {12 + 6.8 * math.sin(a):.2f} "
            f"L{12 + 9 * math.cos(a):.2f} {12 + 9 * math.sin(a):.2f}"
        )
    return (
        f'<circle cx="12" cy="12" r="4" {stroke_style(c)}/>'
        f'<path d="{" ".join(rays)}" {stroke_style(c)}/>'
    )


def glyph_sliders(c):
    return (
        f'<path d="M4 7 H20 M4 12 H20 M4 17 H20" {stroke_style(c)}/>'
        + "".join(
            f'<circle cx="{x}" cy="{y}" r="2.2" fill="{PANEL}" stroke="{c}" stroke-width="2"/>'
            for x, y in ((9, 7), (15, 12), (8, 17))
        )
    )


def glyph_keyboard(c):
    keys = "".join(
        f'<rect x="{x}" y="{y}" width="1.6" height="1.6" fill="{c}"/>'
        for y in (9.2, 12.4)
        for x in (6.2, 9.2, 12.2, 15.2)
    )
    return (
        f'<rect x="3" y="6" width="18" height="12" rx="2" {stroke_style(c)}/>'
        f'{keys}<path d="M8 15.6 H16" {stroke_style(c, 1.6)}/>'
    )


def glyph_default(c):
    return (
        f'<path d="M12 3.8 L14.5 9 L20 9.6 L15.9 13.4 L17.1 18.9 L12 16.1 L6.9 18.9 '
        f'L8.1 13.4 L4 9.6 L9.5 9 Z" {stroke_style(c)}/>'
    )


def glyph_media(c):
    return (
        f'<path d="M5 9.5 H8.5 L13 5.5 V18.5 L8.5 14.5 H5 Z" {stroke_style(c)}/>'
        f'<path d="M16 9 A4 4 0 0 1 16 15 M18.5 6.5 A7.5 7.5 0 0 1 18.5 17.5" '
        f'{stroke_style(c)}/>'
    )


def glyph_shortcut(c):
    return (
        f'<rect x="3.5" y="3.5" width="7" height="7" rx="1.5" {stroke_style(c)}/>'
        f'<rect x="13.5" y="3.5" width="7" height="7" rx="1.5" {stroke_style(c)}/>'
        f'<rect x="3.5" y="13.5" width="7" height="7" rx="1.5" {stroke_style(c)}/>'
        f'<path d="M17 14 V20 M14 17 H20" {stroke_style(c)}/>'
    )


def glyph_disabled(c):
    return f'<circle cx="12" cy="12" r="8" {stroke_style(c)}/><path d="M6.5 17.5 L17.5 6.5" {stroke_style(c)}/>'


def glyph_program(c):
    return (
        f'<rect x="3.5" y="4.5" width="17" height="15" rx="2" {stroke_style(c)}/>'
        f'<path d="M3.8 8.5 H20.2" {stroke_style(c)}/>'
        f'<path d="M10 12 L14.5 14.5 L10 17 Z" {stroke_style(c, 1.6)}/>'
    )


def glyph_web(c):
    return (
        f'<circle cx="12" cy="12" r="8.5" {stroke_style(c)}/>'
        f'<ellipse cx="12" cy="12" rx="3.6" ry="8.5" {stroke_style(c)}/>'
        f'<path d="M3.8 9 H20.2 M3.8 15 H20.2" {stroke_style(c)}/>'
    )


def glyph_snippet(c):
    return (
        f'<path d="M6 3.5 H14 L18.5 8 V20.5 H6 Z" {stroke_style(c)}/>'
        f'<path d="M13.5 3.8 V8.5 H18.2 M9 12.5 H15.5 M9 16 H14" {stroke_style(c)}/>'
    )


def glyph_record(c):
    return f'<circle cx="12" cy="12" r="8" {stroke_style(c)}/><circle cx="12" cy="12" r="4.2" fill="{c}"/>'


def glyph_stop(c):
    return f'<circle cx="12" cy="12" r="8" {stroke_style(c)}/><rect x="8.6" y="8.6" width="6.8" height="6.8" rx="1" fill="{c}"/>'


def glyph_key_event(c):
    return (
        f'<rect x="4" y="5" width="16" height="14" rx="2.5" {stroke_style(c)}/>'
        f'<path d="M8 15.5 H16" {stroke_style(c)}/>'
    )


def glyph_arrow_up(c):
    return f'<path d="M6.5 14.5 L12 9 L17.5 14.5" {stroke_style(c, 2.4)}/>'


def glyph_wired(c):
    return (
        f'<rect x="8" y="3" width="8" height="9" rx="1.5" {stroke_style(c)}/>'
        f'<path d="M10.5 6 V8 M13.5 6 V8 M12 12 V16 A4 4 0 0 1 8 20 H5" {stroke_style(c)}/>'
    )


def glyph_wireless(c):
    return (
        f'<path d="M4 9.5 A11 11 0 0 1 20 9.5 M7 13 A6.6 6.6 0 0 1 17 13 M10 16.4 A2.4 2.4 0 0 1 14 16.4" '
        f'{stroke_style(c)}/><circle cx="12" cy="19" r="1.4" fill="{c}"/>'
    )


def place_glyph(glyph, color, size, box, dx=0.0, dy=0.0):
    """Centres a 24-grid glyph scaled to `size` pixels inside a `box`-pixel square."""
    scale = size / 24.0
    offset = (box - size) / 2.0
    return (
        f'<g transform="translate({offset + dx:.3f},{offset + dy:.3f}) scale({scale:.4f})">'
        f"{glyph(color)}</g>"
    )


# ----------------------------------------------------------------------------------------
# The pictures. Each maker returns SVG text; FILES maps the output name to its maker.


def window_background():
    w, h = 1280, 780
    defs = (
        f'<linearGradient id="g" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="{BASE_TOP}"/><stop offset="1" stop-color="{BASE_BOTTOM}"/>'
        f"</linearGradient>"
        f'<radialGradient id="glow" cx="0.78" cy="0.0" r="0.6">'
        f'<stop offset="0" stop-color="{ACCENT}" stop-opacity="0.10"/>'
        f'<stop offset="1" stop-color="{ACCENT}" stop-opacity="0"/></radialGradient>'
    )
    body = (
        f'<rect width="{w}" height="{h}" fill="url(#g)"/>'
        f'<rect width="{w}" height="{h}" fill="url(#glow)"/>'
        f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" fill="none" stroke="{LINE}"/>'
    )
    return svg_document(w, h, body, defs)


def caption_bar():
    w, h = 40, 49
    defs = (
        f'<linearGradient id="g" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="#171A20"/><stop offset="1" stop-color="{PANEL}"/>'
        f"</linearGradient>"
    )
    body = (
        f'<rect width="{w}" height="{h}" fill="url(#g)"/>'
        f'<rect y="{h - 1}" width="{w}" height="1" fill="{LINE}"/>'
    )
    return svg_document(w, h, body, defs)


def tab_panel():
    w, h = 200, 778
    body = (
        f'<rect width="{w}" height="{h}" fill="{PANEL}"/>'
        f'<rect x="{w - 1}" width="1" height="{h}" fill="{LINE}"/>'
    )
    return svg_document(w, h, body)


def caption_button(glyph, danger=False, size=30):
    frames = []
    for s in STATES:
        parts = []
        if s in (HOT, PRESSED):
            fill = (
                {HOT: ACCENT_HOT, PRESSED: ACCENT_PRESSED}[s]
                if danger
                else {HOT: RAISED_HOT, PRESSED: RAISED_PRESSED}[s]
            )
            stroke = None if danger else state_line(s)
            parts.append(rounded_box(size, size, 6, fill, stroke))
        color = TEXT if (danger and s in (HOT, PRESSED)) else state_icon(s)
        parts.append(place_glyph(glyph, color, size * 0.6, size))
        frames.append(dim(s, "".join(parts)))
    return frames


def push_button(width, height, accent=True):
    frames = []
    for s in STATES:
        if accent:
            fill = {NORMAL: ACCENT, HOT: ACCENT_HOT, PRESSED: ACCENT_PRESSED, DISABLED: LINE}[s]
            top = {NORMAL: "#FF6424", HOT: "#FF8148", PRESSED: "#C93A00", DISABLED: LINE_HOT}[s]
            grad = (
                f'<linearGradient id="b{s}" x1="0" y1="0" x2="0" y2="1">'
                f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{fill}"/>'
                f"</linearGradient>"
            )
            frames.append(
                f"<defs>{grad}</defs>"
                + rounded_box(width, height, 6, f"url(#b{s})")
                + (
                    f'<rect x="6" y="0.5" width="{width - 12}" height="1" fill="#FFFFFF" opacity="0.18"/>'
                    if s != DISABLED
                    else ""
                )
            )
        else:
            fill = {NORMAL: RAISED, HOT: RAISED_HOT, PRESSED: ACCENT, DISABLED: PANEL}[s]
            stroke = {NORMAL: LINE, HOT: ACCENT, PRESSED: ACCENT_PRESSED, DISABLED: LINE}[s]
            frames.append(rounded_box(width, height, 6, fill, stroke))
    return frames


def icon_button(glyph, size=30):
    frames = []
    for s in STATES:
        box = ""
        if s != NORMAL:
            box = rounded_box(size, size, 6, state_fill(s), state_line(s))
        frames.append(dim(s, box + place_glyph(glyph, state_icon(s), size * 0.66, size)))
    return frames


def abc_button(size=30):
    frames = []
    for s in STATES:
        box = rounded_box(size, size, 6, state_fill(s), state_line(s))
        color = state_icon(s)
        text = (
            f'<text x="{size / 2}" y="{size / 2 + 4.5}" font-family="DejaVu Sans" '
            f'font-weight="bold" font-size="12.5" text-anchor="middle" fill="{color}">Abc</text>'
        )
        frames.append(dim(s, box + text))
    return frames


def check_box(size=20):
    frames = []
    for checked in (False, True):
        for s in STATES:
            if checked:
                fill = {NORMAL: ACCENT, HOT: ACCENT_HOT, PRESSED: ACCENT_PRESSED, DISABLED: MUTED}[s]
                box = rounded_box(size, size, 3, fill, inset=2)
                mark = (
                    f'<path d="M6 10.4 L8.8 13.2 L14.2 7.2" fill="none" stroke="#FFFFFF" '
                    f'stroke-width="2" stroke-linecap="round" stroke-linejoin="round"/>'
                )
                frames.append(dim(s, box + mark))
            else:
                stroke = {NORMAL: "#4A5260", HOT: ACCENT, PRESSED: ACCENT_PRESSED, DISABLED: LINE_HOT}[s]
                fill = {NORMAL: PANEL, HOT: RAISED_HOT, PRESSED: RAISED_PRESSED, DISABLED: PANEL}[s]
                box = rounded_box(size - 4, size - 4, 3, fill, stroke, 1.5)
                frames.append(dim(s, f'<g transform="translate(2,2)">{box}</g>'))
    return frames


def radio_box(size=20):
    frames = []
    c = size / 2
    for checked in (False, True):
        for s in STATES:
            stroke = {NORMAL: "#4A5260", HOT: ACCENT, PRESSED: ACCENT_PRESSED, DISABLED: LINE_HOT}[s]
            if checked:
                fill = {NORMAL: ACCENT, HOT: ACCENT_HOT, PRESSED: ACCENT_PRESSED, DISABLED: MUTED}[s]
                body = (
                    f'<circle cx="{c}" cy="{c}" r="{c - 2}" fill="{fill}"/>'
                    f'<circle cx="{c}" cy="{c}" r="3.2" fill="#FFFFFF"/>'
                )
            else:
                fill = {NORMAL: PANEL, HOT: RAISED_HOT, PRESSED: RAISED_PRESSED, DISABLED: PANEL}[s]
                body = f'<circle cx="{c}" cy="{c}" r="{c - 2.75}" fill="{fill}" stroke="{stroke}" stroke-width="1.5"/>'
            frames.append(dim(s, body))
    return frames


def switch(on, width=44, height=24):
    frames = []
    for s in STATES:
        if on:
            track = {NORMAL: ACCENT, HOT: ACCENT_HOT, PRESSED: ACCENT_PRESSED, DISABLED: MUTED}[s]
            knob_x = width - height / 2
            knob = TEXT
        else:
            track = {NORMAL: LINE, HOT: LINE_HOT, PRESSED: LINE, DISABLED: LINE}[s]
            knob_x = height / 2
            knob = {NORMAL: MUTED, HOT: "#A0A0A0", PRESSED: MUTED, DISABLED: MUTED}[s]
        body = (
            rounded_box(width, height, height / 2 - 2, track, inset=2)
            + f'<circle cx="{knob_x}" cy="{height / 2}" r="{height / 2 - 5}" fill="{knob}"/>'
        )
        frames.append(dim(s, body))
    return frames


def edit_box(width=120, height=30):
    frames = []
    for s in STATES:
        stroke = {NORMAL: LINE, HOT: LINE_HOT, PRESSED: ACCENT, DISABLED: LINE}[s]
        fill = {NORMAL: "#101318", HOT: "#12161B", PRESSED: "#101318", DISABLED: PANEL}[s]
        frames.append(rounded_box(width, height, 4, fill, stroke))
    return frames


def combo_box(width=120, height=30):
    frames = []
    for s in STATES:
        # Pressed (and open) is accent-filled: the combo writes its pressed text near-black,
        # as its drop-down list does on the accent rows.
        stroke = {NORMAL: LINE, HOT: ACCENT, PRESSED: ACCENT_PRESSED, DISABLED: LINE}[s]
        fill = ACCENT if s == PRESSED else state_fill(s)
        arrow_color = {NORMAL: TEXT_COOL, HOT: TEXT, PRESSED: "#191919", DISABLED: MUTED}[s]
        divider = ACCENT_PRESSED if s == PRESSED else LINE
        ax = width - 16
        body = (
            rounded_box(width, height, 6, fill, stroke)
            + f'<rect x="{width - 32}" y="7" width="1" height="{height - 14}" fill="{divider}"/>'
            + f'<path d="M{ax - 4.5} {height / 2 - 2} L{ax} {height / 2 + 2.5} L{ax + 4.5} {height / 2 - 2}" '
            f'{stroke_style(arrow_color, 2)}/>'
        )
        frames.append(body if s != DISABLED else f'<g opacity="0.4">{body}</g>')
    return frames


def combo_popup():
    return svg_document(60, 60, rounded_box(60, 60, 6, RAISED, LINE))


def list_row(width=300, height=35):
    normal = (
        f'<rect width="{width}" height="{height}" fill="{PANEL}"/>'
        f'<rect y="{height - 1}" width="{width}" height="1" fill="{LINE}"/>'
    )
    active = (
        f'<rect width="{width}" height="{height}" fill="{RAISED_HOT}"/>'
        f'<rect width="3" height="{height}" fill="{ACCENT}"/>'
        f'<rect y="{height - 1}" width="{width}" height="1" fill="{LINE}"/>'
    )
    return [normal, active]


def label_box(width=66, height=26):
    frames = []
    for s in STATES:
        if s in (HOT, PRESSED):
            fill = ACCENT if s == HOT else ACCENT_HOT
            frames.append(rounded_box(width, height, 6, fill))
        else:
            frames.append(dim(s, rounded_box(width, height, 6, RAISED, LINE)))
    return frames


def card(width, height, radius, fill, stroke):
    return svg_document(width, height, rounded_box(width, height, radius, fill, stroke))


def prompt_background():
    w = h = 120
    body = (
        rounded_box(w, h, 10, PANEL, LINE)
        + f'<rect x="30" y="1" width="{w - 60}" height="2" fill="{ACCENT}"/>'
        + f'<path d="M11 1 H30 V3 H11 A10 10 0 0 1 12 1 Z" fill="{ACCENT}" opacity="0"/>'
    )
    return svg_document(w, h, body)


def tab_item(width=190, height=60):
    normal = ""
    hot = f'<rect width="{width}" height="{height}" fill="{RAISED}" opacity="0.55"/>'
    selected = (
        f'<rect width="{width}" height="{height}" fill="{RAISED}"/>'
        f'<rect width="3" height="{height}" fill="{ACCENT}"/>'
    )
    return [normal, hot, selected]


def tab_icon(glyph, size=26):
    return [place_glyph(glyph, c, 22, size) for c in (MUTED, TEXT, ACCENT)]


def two_state_icon(glyph, size):
    return [place_glyph(glyph, c, size - 4, size) for c in (TEXT_COOL, ACCENT)]


def four_state_icon(glyph, size, colors=(TEXT, TEXT, TEXT, MUTED)):
    frames = []
    for s in STATES:
        frames.append(place_glyph(glyph, colors[s], size - 2, size, dy=1 if s == PRESSED else 0))
    return frames


def dpi_thumb():
    w, h = 18, 22
    body = (
        f'<path d="M9 1 L16.5 8.5 V19.5 A1.5 1.5 0 0 1 15 21 H3 A1.5 1.5 0 0 1 1.5 19.5 V8.5 Z" '
        f'fill="{ACCENT}" stroke="#FFFFFF" stroke-width="1" stroke-linejoin="round"/>'
        f'<path d="M6 12 H12 M6 15 H12 M6 18 H12" stroke="#FFFFFF" stroke-opacity="0.7" stroke-width="1"/>'
    )
    return svg_document(w, h, body)


def slider_thumb(size=20):
    frames = []
    c = size / 2
    for s in STATES:
        ring = {NORMAL: ACCENT, HOT: ACCENT_HOT, PRESSED: ACCENT_PRESSED, DISABLED: MUTED}[s]
        frames.append(
            dim(
                s if s == DISABLED else NORMAL,
                f'<circle cx="{c}" cy="{c}" r="{c - 2}" fill="{ring}"/>'
                f'<circle cx="{c}" cy="{c}" r="{c - 6.5 + (1 if s == HOT else 0)}" fill="#FFFFFF"/>',
            )
        )
    return frames


def palette_thumb(size=14):
    frames = []
    c = size / 2
    for s in STATES:
        outer = {NORMAL: "#FFFFFF", HOT: "#FFFFFF", PRESSED: ACCENT, DISABLED: MUTED}[s]
        frames.append(
            f'<circle cx="{c}" cy="{c}" r="{c - 1.5}" fill="none" stroke="#000000" stroke-opacity="0.6" stroke-width="3"/>'
            f'<circle cx="{c}" cy="{c}" r="{c - 1.5}" fill="none" stroke="{outer}" stroke-width="1.6"/>'
        )
    return frames


def scroll_strip(vertical, thickness=8, length=40):
    """Three frames: track, thumb hovered, thumb. Caps of 6 px are drawn by the control."""
    frames = []
    colors = [None, "#5A6472", "#3A4250"]
    for index in range(3):
        if index == 0:
            fill, pad = "#111418", 2
        else:
            fill, pad = colors[index], 1
        if vertical:
            w, h = thickness, length
            shape = f'<rect x="{pad}" y="1" width="{w - 2 * pad}" height="{h - 2}" rx="{(w - 2 * pad) / 2}" fill="{fill}"/>'
        else:
            w, h = length, thickness
            shape = f'<rect x="1" y="{pad}" width="{w - 2}" height="{h - 2 * pad}" rx="{(h - 2 * pad) / 2}" fill="{fill}"/>'
        frames.append(shape)
    return frames


def small_arrow_button(direction, width, height):
    """Spinner and value arrows: a chevron on a small raised box."""
    frames = []
    for s in STATES:
        box = rounded_box(width, height, 2, state_fill(s), state_line(s))
        cx, cy = width / 2, height / 2
        a = min(width, height) * 0.22
        if direction == "up":
            d = f"M{cx - a} {cy + a / 2} L{cx} {cy - a / 2} L{cx + a} {cy + a / 2}"
        else:
            d = f"M{cx - a} {cy - a / 2} L{cx} {cy + a / 2} L{cx + a} {cy - a / 2}"
        frames.append(dim(s, box + f'<path d="{d}" {stroke_style(state_icon(s), 1.5)}/>'))
    return frames


def plus_minus_button(plus, size=15):
    frames = []
    for s in STATES:
        box = rounded_box(size, size, 2, state_fill(s), state_line(s))
        c = size / 2
        d = f"M{c - 3.5} {c} H{c + 3.5}" + (f" M{c} {c - 3.5} V{c + 3.5}" if plus else "")
        frames.append(dim(s, box + f'<path d="{d}" {stroke_style(state_icon(s), 1.6)}/>'))
    return frames


def tip_background():
    return svg_document(40, 30, rounded_box(40, 30, 6, "#22272F", LINE_HOT))


def tip_arrow(direction):
    # Points away from the bubble; the wide side overlaps the bubble's outline by one pixel.
    if direction == "left":
        w, h = 8, 14
        d = f"M8 0 L1 7 L8 14"
        fill = f'<path d="M8.6 0 L1 7 L8.6 14 Z" fill="#22272F"/>'
    elif direction == "right":
        w, h = 8, 14
        d = f"M0 0 L7 7 L0 14"
        fill = f'<path d="M-0.6 0 L7 7 L-0.6 14 Z" fill="#22272F"/>'
    else:
        w, h = 14, 8
        d = f"M0 8 L7 1 L14 8"
        fill = f'<path d="M0 8.6 L7 1 L14 8.6 Z" fill="#22272F"/>'
    body = fill + f'<path d="{d}" fill="none" stroke="{LINE_HOT}" stroke-width="1"/>'
    return svg_document(w, h, body)


def battery_background():
    w, h = 46, 20
    body = (
        f'<rect x="1" y="1" width="40" height="18" rx="3.5" fill="#0B0D10" stroke="#C8CED8" stroke-width="2"/>'
        f'<rect x="42" y="6.5" width="3" height="7" rx="1" fill="#C8CED8"/>'
    )
    return svg_document(w, h, body)


def battery_level():
    # One uniform fill: the gauge copies its segments from anywhere in this strip.
    w, h = 31, 20
    return svg_document(w, h, f'<rect x="0" y="4" width="{w}" height="12" fill="{SUCCESS}"/>')


def battery_charge():
    w, h = 12, 20
    body = f'<path d="M7.5 1 L1.5 11.5 H6 L4.5 19 L10.5 8.5 H6 Z" fill="{WARNING}"/>'
    return svg_document(w, h, body)


def device_area():
    return card(60, 60, 10, "#0A0C0F", LINE)


def mode_icons(size=24):
    return [place_glyph(g, TEXT_COOL, 20, size) for g in (glyph_wired, glyph_wireless)]


def colorful_swatch(size=26):
    defs = (
        '<linearGradient id="h" x1="0" y1="0" x2="1" y2="1">'
        + "".join(
            f'<stop offset="{k / 6:.3f}" stop-color="{c}"/>'
            for k, c in enumerate(
                ["#FF3B3B", "#FFC233", "#2BD576", "#20C8E8", "#3B6BFF", "#C03BFF", "#FF3B9A"]
            )
        )
        + "</linearGradient>"
    )
    frame = rounded_box(size, size, 2, "url(#h)")
    return [f"<defs>{defs}</defs>" + frame] * 4


# --- wordmark ------------------------------------------------------------------------------


def wordmark(height, with_underline=True, color=TEXT):
    """"TAVIK" in a wide geometric face made of straight strokes."""
    t = height * 0.16  # stroke weight
    cap = height * (0.74 if with_underline else 1.0)
    letter_w = height * 0.78
    gap = height * 0.16
    parts = []
    x = 0.0

    def poly(points):
        parts.append(
            '<path d="M' + " L".join(f"{px:.2f} {py:.2f}" for px, py in points) + f' Z" fill="{color}"/>'
        )

    # T
    poly([(x, 0), (x + letter_w, 0), (x + letter_w, t), (x + (letter_w + t) / 2, t),
          (x + (letter_w + t) / 2, cap), (x + (letter_w - t) / 2, cap), (x + (letter_w - t) / 2, t), (x, t)])
    x += letter_w + gap
    # A: two legs meeting at the top, with a bar.
    apex = x + letter_w / 2
    poly([(apex - t * 0.6, 0), (apex + t * 0.6, 0), (x + letter_w, cap), (x + letter_w - t * 1.15, cap),
          (apex, t * 1.4), (x + t * 1.15, cap), (x, cap)])
    bar_y = cap * 0.62
    poly([(x + letter_w * 0.26, bar_y), (x + letter_w * 0.74, bar_y), (x + letter_w * 0.78, bar_y + t * 0.8),
          (x + letter_w * 0.22, bar_y + t * 0.8)])
    x += letter_w + gap
    # V
    poly([(x, 0), (x + t * 1.15, 0), (x + letter_w / 2, cap - t * 1.4), (x + letter_w - t * 1.15, 0),
          (x + letter_w, 0), (x + letter_w / 2 + t * 0.6, cap), (x + letter_w / 2 - t * 0.6, cap)])
    x += letter_w + gap
    # I
    poly([(x, 0), (x + t, 0), (x + t, cap), (x, cap)])
    x += t + gap
    # K
    poly([(x, 0), (x + t, 0), (x + t, cap), (x, cap)])
    mid = cap / 2
    poly([(x + t, mid - t * 0.55), (x + letter_w * 0.72, 0), (x + letter_w * 0.72 + t * 1.3, 0),
          (x + t * 1.9, mid), (x + t, mid + t * 0.2)])
    poly([(x + t * 1.9, mid - t * 0.3), (x + letter_w * 0.78 + t * 0.2, cap), (x + letter_w * 0.78 - t * 1.1, cap),
          (x + t, mid + t * 0.6)])
    x += letter_w * 0.78 + t * 0.2
    if with_underline:
        parts.append(
            f'<rect x="0" y="{height - t * 0.8:.2f}" width="{x:.2f}" height="{t * 0.8:.2f}" fill="{ACCENT}"/>'
        )
    return "".join(parts), x


def logo(width, height, mark_height):
    body, mark_width = wordmark(mark_height)
    ox = (width - mark_width) / 2
    oy = (height - mark_height) / 2
    return svg_document(width, height, f'<g transform="translate({ox:.2f},{oy:.2f})">{body}</g>')


# --- the mouse and the receiver --------------------------------------------------------------

# The top-down mouse of the button page ("device\mouse_102_top.png", 360 x 392). The
# description files' call-outs (`rect` = a#b#c, a line from (a, c) to (b, c)) are drawn in
# the same coordinates, so each button sits under its point:
#   left button (145, 100), right button (222, 120), wheel (180, 85), DPI button (180, 155),
#   side buttons (115, 195) and (115, 245).
MOUSE_CENTRE_X = 180
MOUSE_BODY = (
    "M180 20 C146 20 122 44 118 90 C115 124 108 160 108 210 C108 290 130 372 180 372 "
    "C230 372 252 290 252 210 C252 160 245 124 242 90 C238 44 214 20 180 20 Z"
)


def mouse_drawing(uid, light=True, muted=False):
    """The mouse in its 360 x 392 box: defs and body."""
    shell_top = "#2C323C" if not muted else "#1A1D22"
    shell_bottom = "#111317" if not muted else "#0F1114"
    accent = ACCENT if (light and not muted) else "#3A414C"
    defs = (
        f'<linearGradient id="{uid}shell" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="{shell_top}"/><stop offset="1" stop-color="{shell_bottom}"/></linearGradient>'
        f'<radialGradient id="{uid}sheen" cx="0.5" cy="0.22" r="0.5">'
        f'<stop offset="0" stop-color="#FFFFFF" stop-opacity="0.12"/>'
        f'<stop offset="1" stop-color="#FFFFFF" stop-opacity="0"/></radialGradient>'
        f'<linearGradient id="{uid}wheel" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="#3C434F"/><stop offset="0.5" stop-color="#161A1F"/>'
        f'<stop offset="1" stop-color="#3C434F"/></linearGradient>'
        f'<clipPath id="{uid}body"><path d="{MOUSE_BODY}"/></clipPath>'
    )
    seam = "#08090B"
    side = "#242932" if not muted else "#16191D"
    body = [
        f'<ellipse cx="180" cy="378" rx="78" ry="9" fill="#000000" opacity="0.5"/>',
        f'<path d="{MOUSE_BODY}" fill="url(#{uid}shell)" stroke="#3E4550" stroke-width="2"/>',
        f'<g clip-path="url(#{uid}body)">',
        f'<rect width="360" height="392" fill="url(#{uid}sheen)"/>',
        # The split between the two main buttons and their back edge.
        f'<path d="M180 20 V140" stroke="{seam}" stroke-width="3"/>',
        f'<path d="M100 134 C140 128 160 141 180 141 C200 141 220 128 260 134" fill="none" '
        f'stroke="{seam}" stroke-width="3"/>',
        f'<path d="M124 60 C130 46 146 36 160 33" fill="none" stroke="#FFFFFF" stroke-opacity="0.18" '
        f'stroke-width="2" stroke-linecap="round"/>',
        f'<path d="M144 332 C160 346 200 346 216 332" fill="none" stroke="{accent}" stroke-width="3" '
        f'stroke-linecap="round"/>',
        "</g>",
        # Side buttons on the left flank.
        f'<path d="M110 179 C118 180 122 186 122 195 C122 204 118 210 110 211 C106 205 105 186 110 179 Z" '
        f'fill="{side}" stroke="{seam}" stroke-width="2"/>',
        f'<path d="M109 228 C117 229 121 236 121 245 C121 254 117 261 109 262 C105 255 104 235 109 228 Z" '
        f'fill="{side}" stroke="{seam}" stroke-width="2"/>',
        # Wheel in its slot, and the DPI button behind it.
        f'<rect x="168" y="48" width="24" height="74" rx="10" fill="#07080A"/>',
        f'<rect x="172" y="54" width="16" height="62" rx="7" fill="url(#{uid}wheel)" stroke="#4A525E"/>',
        "".join(
            f'<rect x="173" y="{y}" width="14" height="1.5" fill="#000000" opacity="0.5"/>'
            for y in range(60, 112, 5)
        ),
        f'<rect x="170" y="144" width="20" height="24" rx="6" fill="#1A1E24" stroke="{seam}" stroke-width="2"/>',
        f'<rect x="176" y="149" width="8" height="14" rx="3" fill="{accent}"/>',
        # The maker's chevron on the palm.
        f'<path d="M166 262 L180 276 L194 262" fill="none" stroke="{accent}" stroke-width="3" '
        f'stroke-linecap="round" stroke-linejoin="round"/>',
    ]
    return defs, "".join(body)


def mouse_top(light=True):
    defs, body = mouse_drawing("m", light)
    return svg_document(360, 392, body, defs)


def receiver_drawing(uid):
    defs = (
        f'<linearGradient id="{uid}body" x1="0" y1="0" x2="1" y2="0">'
        f'<stop offset="0" stop-color="#15181D"/><stop offset="0.5" stop-color="#2C323C"/>'
        f'<stop offset="1" stop-color="#15181D"/></linearGradient>'
        f'<linearGradient id="{uid}metal" x1="0" y1="0" x2="1" y2="0">'
        f'<stop offset="0" stop-color="#7C8592"/><stop offset="0.5" stop-color="#D5DAE1"/>'
        f'<stop offset="1" stop-color="#7C8592"/></linearGradient>'
    )
    body = (
        f'<ellipse cx="0" cy="120" rx="56" ry="9" fill="#000" opacity="0.45"/>'
        f'<rect x="-34" y="-128" width="68" height="86" rx="4" fill="url(#{uid}metal)" stroke="#5A626E" stroke-width="2"/>'
        f'<rect x="-18" y="-112" width="12" height="10" rx="1" fill="#3A414C"/>'
        f'<rect x="6" y="-112" width="12" height="10" rx="1" fill="#3A414C"/>'
        f'<rect x="-48" y="-44" width="96" height="156" rx="18" fill="url(#{uid}body)" stroke="#3A414C" stroke-width="2"/>'
        f'<rect x="-30" y="70" width="60" height="5" rx="2.5" fill="{ACCENT}"/>'
        f'<path d="M-16 0 A22 22 0 0 1 16 0 M-9 12 A12 12 0 0 1 9 12" fill="none" stroke="{TEXT_COOL}" '
        f'stroke-width="4" stroke-linecap="round"/><circle cx="0" cy="24" r="3.5" fill="{TEXT_COOL}"/>'
    )
    return defs, body


def device_list_picture(with_receiver, light=True):
    """The device-list card picture: the mouse turned a little in a soft accent glow, and
    for the wireless model its receiver beside it."""
    w, h = 460, 400
    mouse_defs, mouse_body = mouse_drawing("m", light)
    defs = (
        mouse_defs
        + f'<radialGradient id="glow" cx="0.5" cy="0.55" r="0.5">'
        f'<stop offset="0" stop-color="{ACCENT}" stop-opacity="0.20"/>'
        f'<stop offset="1" stop-color="{ACCENT}" stop-opacity="0"/></radialGradient>'
    )
    mouse_x = 190 if with_receiver else 230
    body = (
        f'<rect width="{w}" height="{h}" fill="url(#glow)"/>'
        f'<g transform="translate({mouse_x},200) rotate(-12) translate(-180,-196)">{mouse_body}</g>'
    )
    if with_receiver:
        receiver_defs, receiver_body = receiver_drawing("r")
        defs += receiver_defs
        body += f'<g transform="translate(378,262) rotate(-28) scale(0.42)">{receiver_body}</g>'
    return svg_document(w, h, body, defs)


def no_device_picture():
    """The home view's picture while no mouse answers: a muted mouse with a broken link."""
    w, h = 120, 80
    defs, body = mouse_drawing("n", light=False, muted=True)
    mark = (
        f'<g transform="translate(86,52)"><circle r="15" fill="{PANEL}" stroke="{LINE_HOT}" stroke-width="2"/>'
        f'<path d="M-8 3 L-3 -2 M3 2 L8 -3 M-6 -7 L-3 -4 M6 7 L3 4" stroke="{DANGER}" '
        f'stroke-width="2.4" stroke-linecap="round"/></g>'
    )
    return svg_document(
        w, h, f'<g transform="translate(22,1) scale(0.195)">{body}</g>{mark}', defs
    )


# --- animations -------------------------------------------------------------------------------

SPINNER_FRAMES = 12


def spinner_frame(index, size, background):
    c = size / 2
    r = size * 0.28
    dot = size * 0.055
    parts = []
    if background:
        parts.append(f'<rect width="{size}" height="{size}" fill="{PANEL}"/>')
    for k in range(SPINNER_FRAMES):
        age = (index - k) % SPINNER_FRAMES
        opacity = max(0.15, 1.0 - age / 8.0)
        color = ACCENT if age < 3 else "#FFFFFF"
        a = math.radians(k * 360 / SPINNER_FRAMES - 90)
        parts.append(
            f'<circle cx="{c + r * math.cos(a):.2f}" cy="{c + r * math.sin(a):.2f}" r="{dot * (1.25 if age == 0 else 1):.2f}" '
            f'fill="{color}" opacity="{opacity:.2f}"/>'
        )
    return svg_document(size, size, "".join(parts))


# ----------------------------------------------------------------------------------------
# The file table: name -> (kind, maker). Kinds: "svg" (one picture), "strip" (frames with
# their frame size), "gif" (frame maker and size), "ico" (copied in by the icon rule).

FILES = {}


def add_svg(name, maker):
    FILES[name] = ("svg", maker)


def add_strip(name, size, frames_maker):
    FILES[name] = ("strip", (size, frames_maker))


def add_gif(name, size, background):
    FILES[name] = ("gif", (size, background))


add_svg("main_bkg.png", window_background)
add_svg("img_caption.png", caption_bar)
add_svg("img_tab_bkg.png", tab_panel)
add_svg("logo\\logo.png", lambda: logo(140, 40, 30))
add_svg("logo\\logo_loading.png", lambda: logo(160, 48, 34))
add_strip("sysbtn_close.png", (30, 30), lambda: caption_button(glyph_close, danger=True))
add_strip("sysbtn_min.png", (30, 30), lambda: caption_button(glyph_minimize))
add_strip("sysbtn_maximize.png", (30, 30), lambda: caption_button(glyph_maximize))
add_strip("sysbtn_restore.png", (30, 30), lambda: caption_button(glyph_restore))
add_strip("sysbtn_setting.png", (30, 30), lambda: caption_button(glyph_gear))
add_strip("img_sys_close.png", (24, 24), lambda: caption_button(glyph_close, danger=True, size=24))
add_strip("img_button.png", (80, 30), lambda: push_button(80, 30, accent=True))
add_strip("img_button2.png", (60, 30), lambda: push_button(60, 30, accent=False))
add_strip("btn_reset.png", (30, 30), lambda: icon_button(glyph_reset))
add_strip("btn_openfile.png", (30, 30), lambda: icon_button(glyph_folder))
add_strip("btn_more.png", (24, 24), lambda: icon_button(glyph_dots, size=24))
add_strip("img_btn_abc.png", (30, 30), abc_button)
add_strip("btn_checkbox.png", (20, 20), check_box)
add_strip("btn_radiobox.png", (20, 20), radio_box)
add_strip("btn_colorful.png", (26, 26), colorful_swatch)
add_strip("img_switch_btn_on.png", (44, 24), lambda: switch(True))
add_strip("img_switch_btn_off.png", (44, 24), lambda: switch(False))
add_strip("img_edit.png", (120, 30), edit_box)
add_strip("img_combobox.png", (120, 30), combo_box)
add_svg("img_combobox_bkg.png", combo_popup)
add_strip("img_list_bkg.png", (300, 35), list_row)
add_strip("img_key_bkg.png", (66, 26), label_box)
add_svg("img_area.png", lambda: card(100, 30, 6, RAISED, LINE))
add_svg("img_area2.png", lambda: card(60, 60, 10, RAISED, LINE))
add_svg("img_area_bkg.png", lambda: card(60, 60, 10, PANEL, LINE))
add_svg("img_area_content.png", lambda: card(60, 60, 10, "#101318", LINE))
add_svg("area_device.png", device_area)
add_strip("device_mode.png", (24, 24), mode_icons)
add_svg("bk_prompt.png", prompt_background)
add_strip("img_tabitem_bkg.png", (190, 60), tab_item)
add_svg("img_dpi_bar.png", dpi_thumb)
add_strip("img_slider_bar.png", (20, 20), slider_thumb)
add_strip("img_palette_thumb.png", (14, 14), palette_thumb)
add_strip("img_scroll_v.png", (8, 40), lambda: scroll_strip(True))
add_strip("img_scroll_h.png", (40, 8), lambda: scroll_strip(False))
add_strip("img_spin_up.png", (16, 12), lambda: small_arrow_button("up", 16, 12))
add_strip("img_spin_down.png", (16, 12), lambda: small_arrow_button("down", 16, 12))
add_strip("img_btn_value_up.png", (10, 10), lambda: small_arrow_button("up", 10, 10))
add_strip("img_btn_value_down.png", (10, 10), lambda: small_arrow_button("down", 10, 10))
add_strip("img_btn_addvalue.png", (15, 15), lambda: plus_minus_button(True))
add_strip("img_btn_subtract.png", (15, 15), lambda: plus_minus_button(False))
add_svg("img_tip_bk.png", tip_background)
add_svg("img_tip_arrow_left.png", lambda: tip_arrow("left"))
add_svg("img_tip_arrow_right.png", lambda: tip_arrow("right"))
add_svg("img_tip_arrow_top.png", lambda: tip_arrow("top"))
add_gif("loading.gif", 100, True)
add_gif("loading\\loading.gif", 64, False)
add_svg("icon\\icon_battery_bkg.png", battery_background)
add_svg("icon\\icon_batteryvalue.png", battery_level)
add_svg("icon\\icon_charge.png", battery_charge)
add_strip("icon\\icon_arrow_up.png", (12, 12), lambda: four_state_icon(glyph_arrow_up, 12))
add_strip("icon\\icon_rec.png", (20, 20), lambda: four_state_icon(glyph_record, 20, (DANGER, DANGER, DANGER, MUTED)))
add_strip("icon\\icon_stop_rec.png", (20, 20), lambda: four_state_icon(glyph_stop, 20))
add_strip(
    "icon\\icon_record.png",
    (20, 20),
    lambda: [place_glyph(g, c, 18, 20) for g, c in ((glyph_key_event, TEXT_COOL), (glyph_key_event, ACCENT),
                                                      (glyph_mouse, TEXT_COOL), (glyph_mouse, ACCENT))],
)
for name, glyph in (("tab_home", glyph_home), ("tab_key", glyph_mouse), ("tab_dpi", glyph_gauge),
                    ("tab_macro", glyph_macro), ("tab_text", glyph_text), ("tab_light", glyph_light),
                    ("tab_set", glyph_sliders)):
    add_strip(f"icon\\{name}.png", (26, 26), lambda glyph=glyph: tab_icon(glyph))
# Function-type icons of the button page, two frames (normal, hovered or selected).
for number, glyph in ((0, glyph_default), (1, glyph_mouse), (2, glyph_keyboard), (4, glyph_macro),
                      (6, glyph_media), (7, glyph_shortcut), (9, glyph_disabled), (10, glyph_program),
                      (11, glyph_web), (12, glyph_snippet)):
    add_strip(f"icon\\keytype_{number}.png", (28, 28), lambda glyph=glyph: two_state_icon(glyph, 28))
# Pictures named by the device catalogue: the button page's top view and the device list's
# card picture of each model (102 wired and wireless, 101 wired only, without lighting).
add_svg("device\\mouse_102_top.png", mouse_top)
add_svg("device\\mouse_101_top.png", lambda: mouse_top(light=False))
add_svg("device\\mouse_102.png", lambda: device_list_picture(True))
add_svg("device\\mouse_101.png", lambda: device_list_picture(False, light=False))
add_svg("img_no_device.png", no_device_picture)


def load_family_files():
    """Each control family may keep its pictures in families/<family>.py, whose
    add_files(skins) calls add_svg/add_strip/add_gif on this module; a name drawn twice
    is an error, so two families never fight over one file."""
    folder = os.path.join(os.path.dirname(os.path.abspath(__file__)), "families")
    if not os.path.isdir(folder):
        return
    this_module = sys.modules[__name__]
    for entry in sorted(os.listdir(folder)):
        if not entry.endswith(".py") or entry.startswith("_"):
            continue
        spec = importlib.util.spec_from_file_location("skin_family_" + entry[:-3], os.path.join(folder, entry))
        module = importlib.util.module_from_spec(spec)
        spec.loader.exec_module(module)
        before = dict(FILES)
        module.add_files(this_module)
        for name in before:
            if FILES[name] is not before[name]:
                raise SystemExit(f"generate_skins.py: families/{entry} draws {name} again")


load_family_files()

# The toolkit's own scroll-bar strips, linked into Orvo.dll as PNG resources 101 and 102.
RESOURCES = {
    "scroll_h_resource.png": ("strip", ((40, 8), lambda: scroll_strip(False))),
    "scroll_v_resource.png": ("strip", ((8, 40), lambda: scroll_strip(True))),
}


def output_path(out_dir, name):
    return os.path.join(out_dir, *name.split("\\"))


def render_svg(svg_text, svg_path, png_path):
    os.makedirs(os.path.dirname(svg_path), exist_ok=True)
    os.makedirs(os.path.dirname(png_path), exist_ok=True)
    with open(svg_path, "w", encoding="utf-8") as handle:
        handle.write(svg_text)
    subprocess.run(["rsvg-convert", "-f", "png", "-o", png_path, svg_path], check=True)


def render_one(name, kind, payload, out_dir, svg_dir):
    target = output_path(out_dir, name)
    svg_base = output_path(svg_dir, os.path.splitext(name)[0])
    uid = "s" + "".join(ch for ch in name if ch.isalnum())
    if kind == "svg":
        render_svg(payload(), svg_base + ".svg", target)
    elif kind == "strip":
        (w, h), frames_maker = payload
        render_svg(strip(w, h, frames_maker(), uid), svg_base + ".svg", target)
    elif kind == "gif":
        size, background = payload
        frames = []
        for index in range(SPINNER_FRAMES):
            frame_png = f"{svg_base}_{index:02d}.png"
            render_svg(spinner_frame(index, size, background), f"{svg_base}_{index:02d}.svg", frame_png)
            frames.append(frame_png)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        # GIF keeps one bit of alpha: cut at half so the dots keep clean edges.
        subprocess.run(
            ["convert", "-delay", "8", "-loop", "0", "-dispose", "Background"]
            + frames
            + ["-channel", "A", "-threshold", "50%", "+channel", target],
            check=True,
        )


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--list", action="store_true", help="print the files made, one a line")
    parser.add_argument("--out", help="folder that receives the skin files (the theme folder)")
    parser.add_argument("--resources", help="folder that receives the toolkit's PNG resources")
    parser.add_argument("--svg", help="folder for the intermediate SVG files")
    parser.add_argument("--only", nargs="*", help="render only these names")
    args = parser.parse_args()

    if args.list:
        for name in sorted(FILES):
            print(name.replace("\\", "/"))
        return 0
    if not args.out and not args.resources:
        parser.error("--out or --resources is required")
    for tool in ("rsvg-convert", "convert"):
        if shutil.which(tool) is None:
            print(f"generate_skins.py: {tool} is missing", file=sys.stderr)
            return 1
    svg_dir = args.svg or tempfile.mkdtemp(prefix="skins-svg-")
    wanted = set(n.replace("/", "\\") for n in args.only) if args.only else None
    for name, (kind, payload) in sorted(FILES.items()):
        if args.out and (wanted is None or name in wanted):
            render_one(name, kind, payload, args.out, svg_dir)
    if args.resources:
        for name, (kind, payload) in RESOURCES.items():
            render_one(name, kind, payload, args.resources, svg_dir)
    return 0


if __name__ == "__main__":
    sys.exit(main())
