#!/usr/bin/python3
"""Guards the formats of the images that assets/make_assets.py writes, which the window relies on.

Usage: check_assets.py [ASSETS_DIR]   (default: the assets/ folder of this repository)
Standard library only. Prints one line per broken property and exits 1; prints a summary and exits 0
when every property holds. A rerun of the script with another encoder setting, another palette or a
changed drawing shows up here rather than as a blank window or a missing icon.
"""

import pathlib
import struct
import sys
import xml.etree.ElementTree as ElementTree
import zlib

PICTURE_WIDTH, PICTURE_HEIGHT = 496, 538
PROFILE_DESCRIPTION = "sRGB IEC61966-2.1"
ICON_FILE_SIZE = 1078
ICON_SIZES = (32, 16)
THEME_SIZES = (16, 32, 48, 64, 128, 256)
WEB_SIZES = (192, 512)
VGA_PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
TARGET_COLOURS = {0, 9, 11}  # black, red, yellow in the palette above
# Every other start-of-frame marker means a coding other than baseline sequential Huffman.
NON_BASELINE_FRAMES = {0xC1, 0xC2, 0xC3, 0xC5, 0xC6, 0xC7, 0xC9, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF}


class Failures:
    def __init__(self):
        self.messages = []

    def expect(self, condition, where, message):
        if not condition:
            self.messages.append(f"{where}: {message}")
        return condition


def jpeg_segments(data):
    """Yields (marker, payload) up to and including the start of scan."""
    position = 2
    while position + 4 <= len(data):
        if data[position] != 0xFF:
            raise ValueError(f"no marker at byte {position}")
        marker = data[position + 1]
        if marker == 0xFF:  # fill byte
            position += 1
            continue
        length = struct.unpack(">H", data[position + 2:position + 4])[0]
        yield marker, data[position + 4:position + 2 + length]
        if marker == 0xDA:
            return
        position += 2 + length
    raise ValueError("ends before the start of scan")


def icc_description(profile):
    """The profile's description text, from a v2 'desc' or a v4 'mluc' tag; None if absent."""
    tags = icc_tags(profile)
    if b"desc" not in tags:
        return None
    body = tags[b"desc"]
    if body[:4] == b"desc":
        count = struct.unpack(">I", body[8:12])[0]
        return body[12:12 + count].split(b"\0")[0].decode("ascii", "replace")
    if body[:4] == b"mluc":
        size, offset = struct.unpack(">II", body[20:28])
        return body[offset:offset + size].decode("utf-16-be", "replace")
    return None


def icc_tags(profile):
    count = struct.unpack(">I", profile[128:132])[0]
    tags = {}
    for i in range(count):
        signature, offset, size = struct.unpack(">4sII", profile[132 + 12 * i:144 + 12 * i])
        tags[signature] = profile[offset:offset + size]
    return tags


def check_profile(profile, failures, where):
    if not failures.expect(len(profile) >= 132, where, f"ICC profile of {len(profile)} bytes is truncated"):
        return
    declared = struct.unpack(">I", profile[:4])[0]
    failures.expect(declared == len(profile), where,
                    f"ICC profile declares {declared} bytes but {len(profile)} are embedded")
    failures.expect(profile[36:40] == b"acsp", where, "ICC profile lacks its 'acsp' signature")
    failures.expect(profile[16:20] == b"RGB ", where, f"ICC colour space is {profile[16:20]!r}, expected RGB")
    failures.expect(profile[20:24] == b"XYZ ", where, f"ICC connection space is {profile[20:24]!r}, expected XYZ")
    tags = icc_tags(profile)
    missing = [t.decode() for t in (b"desc", b"wtpt", b"rXYZ", b"gXYZ", b"bXYZ", b"rTRC", b"gTRC", b"bTRC")
               if t not in tags or not tags[t]]
    failures.expect(not missing, where, f"ICC profile lacks the tags {missing}")
    description = icc_description(profile)
    failures.expect(description == PROFILE_DESCRIPTION, where,
                    f"ICC profile description is {description!r}, expected {PROFILE_DESCRIPTION!r}")


def check_background(path, failures):
    where = path.name
    data = path.read_bytes()
    if not failures.expect(data[:2] == b"\xff\xd8", where, "does not start with a JPEG start-of-image marker"):
        return
    failures.expect(data[-2:] == b"\xff\xd9", where, "does not end with a JPEG end-of-image marker")
    try:
        segments = list(jpeg_segments(data))
    except ValueError as error:
        failures.expect(False, where, f"broken marker structure: {error}")
        return
    markers = [marker for marker, _ in segments]

    jfif = [p for m, p in segments if m == 0xE0 and p[:5] == b"JFIF\0"]
    if failures.expect(len(jfif) == 1 and markers[0] == 0xE0, where,
                       "has no JFIF APP0 segment right after SOI"):
        major, minor, units, x_density, y_density = struct.unpack(">BBBHH", jfif[0][5:12])
        failures.expect((major, minor) == (1, 2), where, f"JFIF version is {major}.{minor:02d}, expected 1.02")
        failures.expect((units, x_density, y_density) == (1, 72, 72), where,
                        f"stored density is {x_density} x {y_density} in unit {units}, expected 72 x 72 dpi (unit 1)")

    chunks = sorted((p[12], p[13], p[14:]) for m, p in segments if m == 0xE2 and p[:12] == b"ICC_PROFILE\0")
    if failures.expect(chunks, where, "has no embedded ICC profile (APP2 ICC_PROFILE)"):
        failures.expect([c[0] for c in chunks] == list(range(1, chunks[0][1] + 1)), where,
                        "ICC profile chunks are incomplete or out of sequence")
        check_profile(b"".join(c[2] for c in chunks), failures, where)

    failures.expect(not NON_BASELINE_FRAMES & set(markers), where,
                    "is not baseline sequential (progressive, lossless, extended or arithmetic frame)")
    frames = [p for m, p in segments if m == 0xC0]
    if not failures.expect(len(frames) == 1, where, "has no baseline (SOF0) frame header"):
        return
    precision, height, width, components = struct.unpack(">BHHB", frames[0][:6])
    failures.expect(precision == 8, where, f"samples have {precision} bits, expected 8")
    failures.expect((width, height) == (PICTURE_WIDTH, PICTURE_HEIGHT), where,
                    f"is {width} x {height}, expected {PICTURE_WIDTH} x {PICTURE_HEIGHT}")
    if failures.expect(components == 3, where, f"has {components} components, expected 3 (YCbCr)"):
        sampling = [frames[0][6 + 3 * i + 1] for i in range(3)]
        failures.expect(sampling == [0x11] * 3, where,
                        "chroma is subsampled: sampling factors "
                        + ",".join(f"{s >> 4}x{s & 15}" for s in sampling) + ", expected 1x1,1x1,1x1")


def check_icon_image(data, offset, length, size, failures, where):
    """One image of the icon: header, standard palette, 4-bit bitmap, mask, and a target drawn in it."""
    image = data[offset:offset + length]
    if not failures.expect(image[:8] != b"\x89PNG\r\n\x1a\n", where,
                           "is stored as PNG; expected a 4-bit bitmap with a mask"):
        return
    header = struct.unpack("<IiiHHI", image[:20])
    failures.expect(header == (40, size, 2 * size, 1, 4, 0), where,
                    f"header (size, width, height, planes, bits, compression) is {header}, "
                    f"expected {(40, size, 2 * size, 1, 4, 0)}")
    palette = [tuple(image[40 + 4 * i:43 + 4 * i][::-1]) for i in range(16)]
    failures.expect(palette == VGA_PALETTE, where, "palette is not the standard 16-colour palette")
    colour_stride, mask_stride = (size * 4 + 31) // 32 * 4, (size + 31) // 32 * 4
    colour_bytes, mask_bytes = colour_stride * size, mask_stride * size
    if not failures.expect(length == 40 + 64 + colour_bytes + mask_bytes, where,
                           f"is {length} bytes; a {size} x {size} 4-bit image with its 1-bit mask "
                           f"takes {40 + 64 + colour_bytes + mask_bytes}"):
        return
    colour, mask = image[104:104 + colour_bytes], image[104 + colour_bytes:]

    def index(x, y):  # bitmaps are stored bottom row first
        byte = colour[(size - 1 - y) * colour_stride + x // 2]
        return byte >> 4 if x % 2 == 0 else byte & 15

    def transparent(x, y):
        return bool(mask[(size - 1 - y) * mask_stride + x // 8] >> (7 - x % 8) & 1)

    pixels = [(x, y) for y in range(size) for x in range(size)]
    corners = [(0, 0), (size - 1, 0), (0, size - 1), (size - 1, size - 1)]
    failures.expect(all(transparent(x, y) for x, y in corners), where, "corners are not transparent in the mask")
    failures.expect(not transparent(size // 2, size // 2), where, "centre is transparent in the mask")
    failures.expect(all(index(x, y) == 0 for x, y in pixels if transparent(x, y)), where,
                    "transparent pixels are not black in the colour bitmap, so they would tint the background")
    used = {index(x, y) for x, y in pixels if not transparent(x, y)}
    failures.expect(used == TARGET_COLOURS, where, f"opaque pixels use palette entries {sorted(used)}, "
                    f"expected black, red and yellow {sorted(TARGET_COLOURS)}")


def check_icon(path, failures):
    where = path.name
    data = path.read_bytes()
    failures.expect(len(data) == ICON_FILE_SIZE, where, f"is {len(data)} bytes, expected {ICON_FILE_SIZE}")
    if not failures.expect(len(data) >= 6 and struct.unpack("<HHH", data[:6])[:2] == (0, 1), where,
                           "is not an icon file (reserved 0, type 1)"):
        return
    count = struct.unpack("<H", data[4:6])[0]
    if not failures.expect(count == len(ICON_SIZES), where, f"holds {count} images, expected {len(ICON_SIZES)}"):
        return
    end_of_directory = 6 + 16 * count
    for i, expected in enumerate(ICON_SIZES):
        width, height, colours, _, planes, bits, length, offset = struct.unpack(
            "<BBBBHHII", data[6 + 16 * i:22 + 16 * i])
        entry = f"{where} image {i + 1}"
        failures.expect((width, height) == (expected, expected), entry,
                        f"is {width} x {height}, expected {expected} x {expected}")
        failures.expect((colours, planes, bits) == (16, 1, 4), entry,
                        f"directory says {colours} colours, {planes} planes, {bits} bits; expected 16, 1, 4")
        if failures.expect(end_of_directory <= offset and offset + length <= len(data), entry,
                           f"bytes {offset}..{offset + length} lie outside the file's image data"):
            check_icon_image(data, offset, length, expected, failures, entry)


def png_rgba(data, where, failures):
    """Decodes an 8-bit RGBA, non-interlaced PNG into rows of bytes; None when it is of another kind."""
    if not failures.expect(data[:8] == b"\x89PNG\r\n\x1a\n", where, "is not a PNG file"):
        return None
    position, header, compressed = 8, None, b""
    while position < len(data):
        length, kind = struct.unpack(">I4s", data[position:position + 8])
        body = data[position + 8:position + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed += body
        position += 12 + length
    width, height, depth, colour_type, _, _, interlace = header
    if not failures.expect((depth, colour_type, interlace) == (8, 6, 0), where,
                           f"is depth {depth}, colour type {colour_type}, interlace {interlace}; "
                           "expected 8-bit RGBA (6), not interlaced"):
        return None
    raw, stride, rows, previous = zlib.decompress(compressed), width * 4, [], bytearray(width * 4)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - 4] if i >= 4 else 0
            up, up_left = previous[i], previous[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + left) & 255
            elif kind == 2:
                line[i] = (line[i] + up) & 255
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 255
            elif kind == 4:
                guess = left + up - up_left
                pa, pb, pc = abs(guess - left), abs(guess - up), abs(guess - up_left)
                line[i] = (line[i] + (left if pa <= pb and pa <= pc else up if pb <= pc else up_left)) & 255
        rows.append(line)
        previous = line
    return width, height, rows


def check_theme_icons(folder, failures):
    for size in THEME_SIZES:
        path = folder / f"{size}x{size}" / "apps" / "bul-pgia.png"
        where = str(path.relative_to(folder.parent))
        if not failures.expect(path.is_file(), where, "is missing"):
            continue
        decoded = png_rgba(path.read_bytes(), where, failures)
        if decoded is None:
            continue
        width, height, rows = decoded
        if not failures.expect((width, height) == (size, size), where,
                               f"is {width} x {height}, expected {size} x {size}"):
            continue
        alpha = [[rows[y][4 * x + 3] for x in range(size)] for y in range(size)]
        failures.expect(alpha[0][0] == alpha[0][-1] == alpha[-1][0] == alpha[-1][-1] == 0, where,
                        "corners are not transparent")
        failures.expect(alpha[size // 2][size // 2] == 255, where, "centre is not opaque")


def check_web_icons(folder, failures):
    """The manifest's icons: a browser installs the page only with PNGs of the sizes they claim."""
    for size in WEB_SIZES:
        path = folder / f"bul-pgia-{size}.png"
        where = str(path.relative_to(folder.parent))
        if not failures.expect(path.is_file(), where, "is missing"):
            continue
        data = path.read_bytes()
        if not failures.expect(data[:8] == b"\x89PNG\r\n\x1a\n" and data[12:16] == b"IHDR", where,
                               "is not a PNG file"):
            continue
        width, height, _, colour_type = struct.unpack(">IIBB", data[16:26])
        failures.expect((width, height) == (size, size), where,
                        f"is {width} x {height}, expected {size} x {size}")
        failures.expect(colour_type == 3 and b"tRNS" in data, where,
                        "is not a palette image with a transparent entry")


def check_resources(path, failures):
    where = path.name
    try:
        root = ElementTree.parse(path).getroot()
    except (OSError, ElementTree.ParseError) as error:
        failures.expect(False, where, f"cannot be read: {error}")
        return
    files = {}
    for resource in root.iter("qresource"):
        for entry in resource.iter("file"):
            prefix = resource.get("prefix", "/").rstrip("/")
            files[f"{prefix}/{entry.get('alias') or entry.text}"] = entry.text
    for name, source in ((":/background.jpg", "background.jpg"), (":/icon.ico", "icon.ico")):
        failures.expect(files.get(name[1:]) == source, where, f"does not expose {source} as {name}")


def main(arguments):
    default = pathlib.Path(__file__).resolve().parents[2] / "assets"
    folder = pathlib.Path(arguments[1]) if len(arguments) > 1 else default
    failures = Failures()
    checks = [
        ("background.jpg", check_background),
        ("icon.ico", check_icon),
        ("hicolor", check_theme_icons),
        ("web", check_web_icons),
        ("assets.qrc", check_resources),
    ]
    for name, check in checks:
        path = folder / name
        if failures.expect(path.exists(), name, f"is missing from {folder}"):
            try:
                check(path, failures)
            except (struct.error, IndexError, ValueError, TypeError, zlib.error) as error:
                failures.expect(False, name, f"is truncated or malformed ({error})")
    for message in failures.messages:
        print(f"check_assets: {message}", file=sys.stderr)
    if failures.messages:
        return 1
    print(f"check_assets: {len(checks)} assets in {folder} have the expected formats")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
