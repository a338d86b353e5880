"""Pictures of the device list: the receiver's card picture, in the look of the mice's."""


def receiver_picture(skins):
    w, h = 460, 400
    receiver_defs, receiver_body = skins.receiver_drawing("rc")
    defs = (
        receiver_defs
        + '<radialGradient id="rcglow" cx="0.5" cy="0.55" r="0.5">'
        f'<stop offset="0" stop-color="{skins.ACCENT}" stop-opacity="0.20"/>'
        f'<stop offset="1" stop-color="{skins.ACCENT}" stop-opacity="0"/></radialGradient>'
    )
    body = (
        f'<rect width="{w}" height="{h}" fill="url(#rcglow)"/>'
        f'<g transform="translate(230,200) rotate(-18) scale(1.15)">{receiver_body}</g>'
    )
    return skins.svg_document(w, h, body, defs)


def add_files(skins):
    skins.add_svg("device\\receiver_102.png", lambda: receiver_picture(skins))
