"""Pictures of the list family: the pencil that renames a macro row in place."""


def glyph_pencil(color):
    return (f'<path d="M5 19 L6 14.5 L15.5 5 L19 8.5 L9.5 18 Z M13.5 7 L17 10.5" fill="none" '
            f'stroke="{color}" stroke-width="2" stroke-linejoin="round" stroke-linecap="round"/>')


def add_files(skins):
    # Four frames: normal, hovered, on the selected row (accent), disabled.
    colors = (skins.TEXT_COOL, skins.TEXT, skins.ACCENT, skins.MUTED)
    skins.add_strip("icon\\icon_list_edit.png", (18, 18),
                    lambda: [skins.place_glyph(glyph_pencil, c, 16, 18) for c in colors])
