"""Pictures of the popup family: the menu's card, its hovered row and check mark, and the key
hint card."""


def add_files(skins):
    def menu_background():
        return skins.svg_document(40, 40, skins.rounded_box(40, 40, 6, skins.RAISED, skins.LINE_HOT))

    def menu_hover():
        body = (skins.rounded_box(40, 24, 4, skins.RAISED_HOT)
                + f'<rect x="0" y="4" width="3" height="16" rx="1.5" fill="{skins.ACCENT}"/>')
        return skins.svg_document(40, 24, body)

    def menu_check():
        body = (f'<path d="M2.5 7 L5.5 10 L11.5 3.5" fill="none" stroke="{skins.ACCENT}" '
                f'stroke-width="2" stroke-linecap="round" stroke-linejoin="round"/>')
        return skins.svg_document(14, 14, body)

    def menu_line():
        return skins.svg_document(8, 1, f'<rect width="8" height="1" fill="{skins.LINE_HOT}"/>')

    def key_tips_background():
        return skins.svg_document(60, 40, skins.rounded_box(60, 40, 6, "#22272F", skins.LINE_HOT))

    skins.add_svg("img_menu_bkg.png", menu_background)
    skins.add_svg("img_menu_hover.png", menu_hover)
    skins.add_svg("img_menu_check.png", menu_check)
    skins.add_svg("img_menu_line.png", menu_line)
    skins.add_svg("img_keyboard_tips.png", key_tips_background)
