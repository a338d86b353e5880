"""Pictures of the value controls: the light slider's two-row track and the progress bars'
three-part and two-frame pictures."""


def light_track(skins, width=200, row=10):
    """Upper row the empty track, lower row the filled one (accent, brightening to the
    right), each a 6-pixel bar with round ends centred in its row."""
    bar = 6
    top = (row - bar) / 2
    defs = (
        '<linearGradient id="lt_fill" x1="0" y1="0" x2="1" y2="0">'
        f'<stop offset="0" stop-color="{skins.ACCENT_PRESSED}"/>'
        f'<stop offset="1" stop-color="{skins.ACCENT_HOT}"/></linearGradient>'
    )
    body = (
        f'<rect x="0.5" y="{top + 0.5}" width="{width - 1}" height="{bar - 1}" rx="{(bar - 1) / 2}" '
        f'fill="{skins.PANEL}" stroke="{skins.LINE}" stroke-width="1"/>'
        f'<rect x="0" y="{row + top}" width="{width}" height="{bar}" rx="{bar / 2}" fill="url(#lt_fill)"/>'
    )
    return skins.svg_document(width, 2 * row, body, defs)


def progress_background(skins, width=60, height=10):
    return skins.svg_document(
        width, height, skins.rounded_box(width, height, height / 2, skins.PANEL, skins.LINE)
    )


def progress_foreground(skins, width=60, height=10):
    defs = (
        '<linearGradient id="pf_fill" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="{skins.ACCENT_HOT}"/>'
        f'<stop offset="1" stop-color="{skins.ACCENT_PRESSED}"/></linearGradient>'
    )
    return skins.svg_document(
        width, height, skins.rounded_box(width, height, height / 2, "url(#pf_fill)"), defs
    )


def progress_state(skins, width=40, height=14):
    """Frame 0 the empty bar, frame 1 the filled one."""
    return [
        skins.rounded_box(width, height, 2, skins.RAISED, skins.LINE),
        skins.rounded_box(width, height, 2, skins.ACCENT),
    ]


def add_files(skins):
    skins.add_svg("img_light_track.png", lambda: light_track(skins))
    skins.add_svg("img_progress_bkg.png", lambda: progress_background(skins))
    skins.add_svg("img_progress_fore.png", lambda: progress_foreground(skins))
    skins.add_strip("img_progress_state.png", (40, 14), lambda: progress_state(skins))
