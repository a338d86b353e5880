"""Pictures of the colour pickers: the hue ring of the circle palette."""

import colorsys
import math


def colour_ring(skins, size=240, inner=65, outer=115, steps=360):
    """Hue around the ring (red at the top, turning clockwise), drawn as thin wedges so the
    colour a point shows is the colour the picker reads back from the screen."""
    c = size / 2
    parts = []
    for k in range(steps):
        a0 = math.radians(k * 360 / steps - 90)
        a1 = math.radians((k + 1.6) * 360 / steps - 90)
        red, green, blue = colorsys.hls_to_rgb(k / steps, 0.5, 1.0)
        colour = f"#{round(red * 255):02X}{round(green * 255):02X}{round(blue * 255):02X}"
        points = [
            (c + inner * math.cos(a0), c + inner * math.sin(a0)),
            (c + outer * math.cos(a0), c + outer * math.sin(a0)),
            (c + outer * math.cos(a1), c + outer * math.sin(a1)),
            (c + inner * math.cos(a1), c + inner * math.sin(a1)),
        ]
        path = "M" + " L".join(f"{x:.2f} {y:.2f}" for x, y in points) + " Z"
        parts.append(f'<path d="{path}" fill="{colour}"/>')
    # A fine dark edge inside and out sets the ring off the window's near-black base.
    parts.append(
        f'<circle cx="{c}" cy="{c}" r="{outer}" fill="none" stroke="{skins.LINE}" stroke-width="1"/>'
        f'<circle cx="{c}" cy="{c}" r="{inner}" fill="none" stroke="{skins.LINE}" stroke-width="1"/>'
    )
    return skins.svg_document(size, size, "".join(parts))


def add_files(skins):
    skins.add_svg("img_color_ring.png", lambda: colour_ring(skins))
