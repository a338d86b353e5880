"""Pictures of the picture controls: the photo frame strip (normal, hot, pressed,
disabled), drawn as a nine-patch with 6-pixel corners."""


def photo_frame(skins, size=40):
    frames = []
    for state in skins.STATES:
        line = {
            skins.NORMAL: skins.LINE,
            skins.HOT: skins.ACCENT_HOT,
            skins.PRESSED: skins.ACCENT_PRESSED,
            skins.DISABLED: skins.LINE,
        }[state]
        width = 2 if state in (skins.HOT, skins.PRESSED) else 1
        frame = (
            f'<rect x="{width / 2}" y="{width / 2}" width="{size - width}" height="{size - width}" '
            f'rx="6" fill="none" stroke="{line}" stroke-width="{width}"/>'
        )
        frames.append(f'<g opacity="0.4">{frame}</g>' if state == skins.DISABLED else frame)
    return frames


def add_files(skins):
    skins.add_strip("img_photo_frame.png", (40, 40), lambda: photo_frame(skins))
