#!/usr/bin/python3
"""Remakes every image of the game from nothing but this script.

Run from anywhere:  /usr/bin/python3 assets/make_assets.py
It needs Debian's python3-pil (for the JPEG encoder) and writes, next to itself:
  background.jpg            the sky behind the window's controls (496 x 538, tiles seamlessly)
  icon.ico                  the window icon: 32 x 32 and 16 x 16, 4 bits per pixel, 1-bit mask
  hicolor/NxN/apps/bul-pgia.png   the same target for the desktop's icon theme
  web/bul-pgia-N.png        the same target at 192 and 512 for the web page's manifest
  assets.qrc                the Qt resource file that compiles the first two into the program
With --tile-width it only prints the width of the sky's tile in pixels (the web page's build
cuts the picture to it), and needs nothing beyond Python.
Every run writes the same bytes (fixed seed, fixed dates, no time stamps), so a rerun shows
up in git only when this script changed. tests/assets/check_assets.py guards the formats.
"""

import math
import pathlib
import random
import struct
import sys

HERE = pathlib.Path(__file__).resolve().parent

# ---------------------------------------------------------------------------------------------
# The sky: light blue with soft white clouds, periodic in both directions.

PICTURE_SIZE = (496, 538)
# The picture is this many copies of one seamless tile, so the clouds form a repeating pattern.
TILE_REPEAT = (2, 2)
SKY_SEED = 1977
JPEG_QUALITY = 90


def lerp(a, b, t):
    return a + (b - a) * t


def smoothstep(edge0, edge1, x):
    t = min(1.0, max(0.0, (x - edge0) / (edge1 - edge0)))
    return t * t * (3.0 - 2.0 * t)


def periodic_fbm(width, height, base_cells, octaves, rng):
    """Fractal value noise on a width x height grid that wraps at both edges; values in [0, 1]."""
    total = [[0.0] * width for _ in range(height)]
    amplitude, amplitude_sum = 1.0, 0.0
    for octave in range(octaves):
        cells = base_cells << octave
        lattice = [[rng.random() for _ in range(cells)] for _ in range(cells)]

        def axis(length):
            # For each pixel along one axis: lattice index below, index above (wrapped), eased weight.
            result = []
            for i in range(length):
                position = (i + 0.5) * cells / length
                below = int(position)
                t = position - below
                result.append((below % cells, (below + 1) % cells, t * t * t * (t * (t * 6 - 15) + 10)))
            return result

        columns, rows = axis(width), axis(height)
        for y, (y0, y1, wy) in enumerate(rows):
            upper, lower, out = lattice[y0], lattice[y1], total[y]
            for x, (x0, x1, wx) in enumerate(columns):
                top = upper[x0] + (upper[x1] - upper[x0]) * wx
                bottom = lower[x0] + (lower[x1] - lower[x0]) * wx
                out[x] += amplitude * (top + (bottom - top) * wy)
        amplitude_sum += amplitude
        amplitude *= 0.5
    return [[v / amplitude_sum for v in row] for row in total]


def sky_tile(width, height):
    """One seamless tile of sky as rows of (r, g, b) tuples."""
    rng = random.Random(SKY_SEED)
    density = periodic_fbm(width, height, 4, 6, rng)   # the clouds
    # The same seed again gives the first octaves of the clouds alone: their coarse shape, to light them by.
    body = periodic_fbm(width, height, 4, 3, random.Random(SKY_SEED))
    deep, pale = (104, 170, 236), (168, 212, 248)
    shadow, white = (196, 212, 234), (255, 255, 255)
    light_offset = 7                                   # the sun is up and to the left
    tile = []
    for y in range(height):
        row = []
        for x in range(width):
            # Deeper blue at the top and bottom of a tile, paler in its middle: periodic, so it tiles.
            haze = 0.5 - 0.5 * math.cos(2 * math.pi * (y + 0.5) / height)
            sky = [lerp(d, p, haze) for d, p in zip(deep, pale)]
            cover = smoothstep(0.48, 0.66, density[y][x])
            # Where the cloud thickens away from the sun it faces the light; where it thins, shade.
            here = body[y][x]
            ahead = body[(y + light_offset) % height][(x + light_offset) % width]
            lit = min(1.0, max(0.0, 0.78 + 6.0 * (ahead - here)))
            cloud = [lerp(s, w, lit) for s, w in zip(shadow, white)]
            row.append(tuple(int(round(lerp(s, c, cover))) for s, c in zip(sky, cloud)))
        tile.append(row)
    return tile


def tile_size():
    width, height = PICTURE_SIZE
    tile_w, tile_h = width // TILE_REPEAT[0], height // TILE_REPEAT[1]
    assert tile_w * TILE_REPEAT[0] == width and tile_h * TILE_REPEAT[1] == height
    return tile_w, tile_h


def sky_picture():
    from PIL import Image  # here, so that --tile-width runs without it
    width, height = PICTURE_SIZE
    tile_w, tile_h = tile_size()
    tile = sky_tile(tile_w, tile_h)
    image = Image.new("RGB", PICTURE_SIZE)
    image.putdata([tile[y % tile_h][x % tile_w] for y in range(height) for x in range(width)])
    return image


# ---------------------------------------------------------------------------------------------
# An sRGB colour profile (ICC version 2.1), built here so that no third-party profile is shipped.

def s15fixed16(value):
    return struct.pack(">i", int(round(value * 65536)))


def xyz_tag(x, y, z):
    return b"XYZ \0\0\0\0" + s15fixed16(x) + s15fixed16(y) + s15fixed16(z)


def text_description_tag(text):
    ascii_text = text.encode("ascii") + b"\0"
    return (b"desc\0\0\0\0" + struct.pack(">I", len(ascii_text)) + ascii_text
            + struct.pack(">II", 0, 0)          # no Unicode description
            + struct.pack(">HB", 0, 0) + bytes(67))  # no ScriptCode description


def srgb_curve_tag(entries=1024):
    def decode(v):
        return v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4
    values = [int(round(decode(i / (entries - 1)) * 65535)) for i in range(entries)]
    return b"curv\0\0\0\0" + struct.pack(">I", entries) + struct.pack(">%dH" % entries, *values)


def srgb_profile():
    curve = srgb_curve_tag()
    # Primaries of sRGB adapted to the D50 connection space (Bradford), as ICC display profiles carry them.
    tags = [
        (b"desc", text_description_tag("sRGB IEC61966-2.1")),
        (b"cprt", b"text\0\0\0\0" + b"No copyright, use freely\0"),
        (b"wtpt", xyz_tag(0.9505, 1.0, 1.0891)),
        (b"rXYZ", xyz_tag(0.4361, 0.2225, 0.0139)),
        (b"gXYZ", xyz_tag(0.3851, 0.7169, 0.0971)),
        (b"bXYZ", xyz_tag(0.1431, 0.0606, 0.7141)),
        (b"rTRC", curve), (b"gTRC", curve), (b"bTRC", curve),
    ]
    offset = 128 + 4 + 12 * len(tags)
    table, data, placed = b"", b"", {}
    for signature, body in tags:
        if body not in placed:                 # the three curves share one copy
            data += b"\0" * (-len(data) % 4)
            placed[body] = offset + len(data)
            data += body
        table += signature + struct.pack(">II", placed[body], len(body))
    body = struct.pack(">I", len(tags)) + table + data
    size = 128 + len(body)
    header = (struct.pack(">I", size) + b"\0\0\0\0"         # size, no preferred CMM
              + struct.pack(">I", 0x02100000)                 # version 2.1
              + b"mntrRGB XYZ "                               # display device, RGB to XYZ
              + struct.pack(">6H", 2000, 1, 1, 0, 0, 0)       # fixed date: same bytes every run
              + b"acsp" + b"\0" * 4                           # signature, no primary platform
              + struct.pack(">I", 0) + b"\0" * 8              # flags, manufacturer, model
              + b"\0" * 8 + struct.pack(">I", 0)              # attributes, perceptual intent
              + s15fixed16(0.9642) + s15fixed16(1.0) + s15fixed16(0.8249)  # D50
              + b"\0" * 4 + b"\0" * 44)                       # creator, reserved
    assert len(header) == 128
    return header + body


def write_background(path):
    picture = sky_picture()
    picture.save(path, "JPEG", quality=JPEG_QUALITY, subsampling=0, optimize=False,
                 progressive=False, dpi=(72, 72), icc_profile=srgb_profile())
    data = bytearray(path.read_bytes())
    # libjpeg labels its header JFIF 1.01; the picture is declared JFIF 1.02 (same layout).
    assert data[6:11] == b"JFIF\0" and data[11] == 1
    data[12] = 2
    path.write_bytes(bytes(data))


# ---------------------------------------------------------------------------------------------
# The target: concentric rings with black outlines, transparent outside the circle.

BLACK, RED, YELLOW = (0, 0, 0), (255, 0, 0), (255, 255, 0)

# Each drawing lists rings from the outside in as (outer radius in pixels, colour); the last one is
# the bull's-eye. The 16-pixel drawing has fewer rings, and radii picked so that every black outline
# stays closed when each pixel takes the colour at its centre.
TARGETS = {
    32: [(16, BLACK), (15, RED), (12, BLACK), (11, YELLOW), (8, BLACK), (7, RED), (4, BLACK), (3, YELLOW)],
    16: [(8, BLACK), (7.1, RED), (5.3, BLACK), (4.4, YELLOW), (2.6, BLACK), (1.8, RED)],
}


def target_colour(rings, dx, dy):
    """Colour at offset (dx, dy) from the centre, or None outside the target."""
    distance = math.hypot(dx, dy)
    colour = None
    for radius, ring_colour in rings:
        if distance < radius:
            colour = ring_colour
    return colour


def target_samples(size, rings, scale, samples):
    """For each pixel, the colours seen by samples x samples points spread over it (None = outside)."""
    centre = size / 2
    step = 1 / samples
    pixels = []
    for y in range(size):
        for x in range(size):
            seen = []
            for sy in range(samples):
                for sx in range(samples):
                    px = x + (sx + 0.5) * step - centre
                    py = y + (sy + 0.5) * step - centre
                    seen.append(target_colour(rings, px / scale, py / scale))
            pixels.append(seen)
    return pixels


# The standard 16-colour palette, in its usual order; the icon uses black, red, yellow.
VGA_PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]


def icon_pixels(size):
    """Palette index per pixel (row-major, top row first), None where transparent.

    Each pixel takes the colour at its centre: hard edges, as a 16-colour image with a 1-bit mask needs.
    """
    return [None if seen[0] is None else VGA_PALETTE.index(seen[0])
            for seen in target_samples(size, TARGETS[size], 1.0, 1)]


def ico_image(size):
    """BITMAPINFOHEADER, palette, 4-bit colour bitmap and 1-bit mask; both bitmaps bottom-up."""
    pixels = icon_pixels(size)
    xor_row = (size * 4 + 31) // 32 * 4
    and_row = (size + 31) // 32 * 4
    colour, mask = b"", b""
    for y in reversed(range(size)):
        row = pixels[y * size:(y + 1) * size]
        indices = [0 if p is None else p for p in row]
        packed = bytes((indices[i] << 4) | indices[i + 1] for i in range(0, size, 2))
        colour += packed.ljust(xor_row, b"\0")
        bits = 0
        for p in row:
            bits = (bits << 1) | (p is None)
        mask += bits.to_bytes((size + 7) // 8, "big").ljust(and_row, b"\0")
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, len(colour) + len(mask), 0, 0, 0, 0)
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in VGA_PALETTE)
    return header + palette + colour + mask


def write_icon(path):
    images = [(size, ico_image(size)) for size in (32, 16)]
    data = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, image in images:
        data += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(image), offset)
        offset += len(image)
    data += b"".join(image for _, image in images)
    assert len(data) == 1078, len(data)
    path.write_bytes(data)


def theme_png(size):
    from PIL import Image
    """The target for the icon theme: the window icon's own pixels at 16 and 32, where smoothing
    would only blur the thin outlines; above that the 32-pixel drawing scaled up and anti-aliased."""
    image = Image.new("RGBA", (size, size))
    if size in TARGETS:
        image.putdata([(0, 0, 0, 0) if p is None else VGA_PALETTE[p] + (255,) for p in icon_pixels(size)])
        return image
    rgba = []
    for seen in target_samples(size, TARGETS[32], size / 32, 8 if size <= 64 else 4):
        inside = [c for c in seen if c is not None]
        if not inside:
            rgba.append((0, 0, 0, 0))
            continue
        average = tuple(int(round(sum(c[i] for c in inside) / len(inside))) for i in range(3))
        rgba.append(average + (int(round(255 * len(inside) / len(seen))),))
    image.putdata(rgba)
    return image


THEME_SIZES = (16, 32, 48, 64, 128, 256)


# The page's installed icon, whose bytes every visitor downloads: each pixel takes the colour at its
# centre, as in the window icon, so four palette entries (transparent, black, red, yellow) hold it in
# a fraction of a smoothed image's weight. A launcher scales it down, which smooths the edges anyway.
WEB_SIZES = (192, 512)
WEB_PALETTE = [None, BLACK, RED, YELLOW]


def web_png(size):
    from PIL import Image
    image = Image.new("P", (size, size))
    image.putpalette([channel for colour in WEB_PALETTE for channel in colour or (255, 255, 255)])
    image.putdata([WEB_PALETTE.index(seen[0])
                   for seen in target_samples(size, TARGETS[32], size / 32, 1)])
    return image

QRC = """<!DOCTYPE RCC>
<RCC version="1.0">
    <qresource prefix="/">
        <file>background.jpg</file>
        <file>icon.ico</file>
    </qresource>
</RCC>
"""


def main():
    if sys.argv[1:] == ["--tile-width"]:
        print(tile_size()[0])
        return 0
    write_background(HERE / "background.jpg")
    write_icon(HERE / "icon.ico")
    for size in THEME_SIZES:
        folder = HERE / "hicolor" / f"{size}x{size}" / "apps"
        folder.mkdir(parents=True, exist_ok=True)
        theme_png(size).save(folder / "bul-pgia.png", "PNG", optimize=True)
    (HERE / "web").mkdir(exist_ok=True)
    for size in WEB_SIZES:
        web_png(size).save(HERE / "web" / f"bul-pgia-{size}.png", "PNG", optimize=True, bits=2,
                           transparency=0)
    (HERE / "assets.qrc").write_text(QRC)
    return 0


if __name__ == "__main__":
    sys.exit(main())
