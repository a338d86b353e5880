"""Pictures of the text and combo family: the clear icon at the right end of an edit box."""


def glyph_clear(color):
    return f'<path d="M7.5 7.5 L16.5 16.5 M16.5 7.5 L7.5 16.5" fill="none" stroke="{color}" stroke-width="2.6" ' \
           f'stroke-linecap="round"/>'


def add_files(skins):
    # Three frames: normal, hovered, pressed (the side icon of an edit box).
    def frames():
        result = []
        for state, (ring, mark) in enumerate(((skins.LINE, skins.TEXT_COOL),
                                              (skins.LINE_HOT, skins.TEXT),
                                              (skins.ACCENT_PRESSED, skins.TEXT))):
            circle = f'<circle cx="8" cy="8" r="7.5" fill="{ring}"/>'
            result.append(circle + skins.place_glyph(glyph_clear, mark, 16, 16))
        return result

    skins.add_strip("icon\\icon_edit_clear.png", (16, 16), frames)
