"""Pictures of the button family: the select mark, the help mark and the download track."""


def glyph_question(color):
    return (
        f'<path d="M9.2 9.2 C9.2 7.2 10.6 6 12.2 6 C13.9 6 15.2 7.2 15.2 8.8 C15.2 11.2 12.2 11.2 12.2 13.6" '
        f'fill="none" stroke="{color}" stroke-width="2.2" stroke-linecap="round" stroke-linejoin="round"/>'
        f'<circle cx="12.2" cy="17.6" r="1.4" fill="{color}"/>'
    )


def add_files(skins):
    # A select button's mark: a rounded box with a tick; four frames (normal, hot, pressed,
    # disabled), the checked look comes from the text colour.
    def select_frames(size=20):
        frames = []
        for s in skins.STATES:
            fill = {skins.NORMAL: skins.RAISED, skins.HOT: skins.RAISED_HOT,
                    skins.PRESSED: skins.ACCENT_PRESSED, skins.DISABLED: skins.PANEL}[s]
            stroke = {skins.NORMAL: skins.LINE_HOT, skins.HOT: skins.ACCENT,
                      skins.PRESSED: skins.ACCENT, skins.DISABLED: skins.LINE}[s]
            box = skins.rounded_box(size, size, 6, fill, stroke)
            tick = (f'<path d="M6 10.4 L8.8 13.2 L14.2 7.2" fill="none" stroke="{skins.TEXT_COOL}" '
                    f'stroke-width="2" stroke-linecap="round" stroke-linejoin="round"/>')
            frames.append(skins.dim(s, box + tick))
        return frames

    # The help mark: a ring with a question mark, brighter while hovered.
    def help_frames(size=18):
        frames = []
        for s in skins.STATES:
            ring = {skins.NORMAL: skins.LINE_HOT, skins.HOT: skins.ACCENT,
                    skins.PRESSED: skins.ACCENT_PRESSED, skins.DISABLED: skins.LINE}[s]
            mark = skins.state_icon(s)
            body = (f'<circle cx="{size / 2}" cy="{size / 2}" r="{size / 2 - 1}" fill="{skins.RAISED}" '
                    f'stroke="{ring}" stroke-width="1.5"/>'
                    + skins.place_glyph(glyph_question, mark, size * 0.8, size))
            frames.append(skins.dim(s, body))
        return frames

    # A download button's progress: frame 0 the track, frame 1 the accent fill.
    def download_frames(width=120, height=30):
        track = skins.rounded_box(width, height, 6, skins.RAISED, skins.LINE)
        fill = skins.rounded_box(width, height, 6, skins.ACCENT, skins.ACCENT_HOT)
        return [track, fill]

    skins.add_strip("btn_select.png", (20, 20), select_frames)
    skins.add_strip("btn_help.png", (18, 18), help_frames)
    skins.add_strip("img_download.png", (120, 30), download_frames)
