"""The page as drawn: the board's scale, a screenshot and what its pixels show."""
import io
import os
import re

from PIL import Image

import scenarios as desktop
from page_player import DRAWN


def board_scale(player):
    """How many times its stored size the board is drawn, from a button's width."""
    width = player.driver.execute_script(
        DRAWN + "return drawn(document.getElementById('Command1')).width")
    return width / desktop.layout.rect("Command1")[2]


# Where the grid is measured, in the board's own pixels: the column between
# the bulls and Line5, which crosses every horizontal line and nothing drawn
# but the strip, and the row between the first two rows of cells, which
# crosses every vertical line. Four lines lie under the sunken border of
# Label5 and show only where it leaves them.
_ACROSS_ROWS_X = 76
_ACROSS_COLUMNS_Y = 100
# The board's coloured columns: a cell of each and its fill.
_COLUMNS = (("bol", "#ffc080"), ("pgia", "#ff80ff"), ("lbltry", "#80ff80"))

# The viewport's CSS width, the board's rectangle and each control's as
# drawn, in CSS pixels.
DRAWN_RECTS = DRAWN + """
const board = drawn(document.getElementById("Form1"));
const rects = {};
for (const element of document.querySelectorAll("#Form1 [id]")) {
    const r = drawn(element);
    rects[element.id] = [r.left, r.top, r.width, r.height];
}
return [innerWidth, [board.left, board.top, board.width, board.height], rects];
"""


# Returns once two frames have been drawn since the call.
NEXT_FRAME = """
const done = arguments[arguments.length - 1];
requestAnimationFrame(() => requestAnimationFrame(() => done()));
"""


def screenshot(driver):
    """The viewport as drawn once what the page last changed is drawn (WebKit
    may still show the frame before), in device pixels."""
    driver.execute_async_script(NEXT_FRAME)
    return Image.open(io.BytesIO(driver.get_screenshot_as_png())).convert("RGB")


def _runs(pixels, wanted):
    """The lengths of the runs of consecutive pixels for which `wanted` holds."""
    runs, length = [], 0
    for pixel in [*pixels, None]:
        if pixel is not None and wanted(pixel):
            length += 1
        elif length:
            runs.append(length)
            length = 0
    return runs


def grid_widths(driver):
    """From a screenshot, in device pixels: the widths of the black lines
    that show, down the board and across it, and {column: the (widths,
    heights) of its cells' fill}."""
    shot = screenshot(driver)
    css_width, origin, rects = driver.execute_script(DRAWN_RECTS)
    device = shot.width / css_width
    unit = rects["Label5"][2] / desktop.layout.rect("Label5")[2]

    def span(start, length):
        """Device pixels from `start` for `length`, both in CSS pixels."""
        return range(round(start * device), round((start + length) * device))

    def black(pixel):
        return max(pixel) < 64
    left, top, width, height = rects["Label5"]
    x = round((origin[0] + _ACROSS_ROWS_X * unit) * device)
    y = round((origin[1] + _ACROSS_COLUMNS_Y * unit) * device)
    lines = (_runs([shot.getpixel((x, v)) for v in span(top, height)], black) +
             _runs([shot.getpixel((u, y)) for u in span(left, width)], black))
    cells = {}
    for column, fill in _COLUMNS:
        colour = tuple(int(fill[i:i + 2], 16) for i in (1, 3, 5))
        sizes = set()
        for row in desktop.layout.ROWS:
            left, top, width, height = rects[f"{column}{row}"]
            # Beside the right edge, where no digit reaches, and under the top.
            u = round((left + width - 4 * unit) * device)
            v = round((top + 3 * unit) * device)
            heights = _runs([shot.getpixel((u, y)) for y in span(top - unit, height + 2 * unit)],
                            lambda pixel: pixel == colour)
            widths = _runs([shot.getpixel((x, v)) for x in span(left - unit, width + 2 * unit)],
                           lambda pixel: pixel == colour)
            sizes.add((tuple(widths), tuple(heights)))
        cells[column] = sizes
    return lines, cells


def rgb(colour):
    """(r, g, b, alpha) of a computed colour, "rgb(...)" or "rgba(...)"."""
    values = [float(v) for v in re.findall(r"[\d.]+", colour)]
    return (*values[:3], values[3] if len(values) > 3 else 1.0)


def cell_colours(rect, fill, *images):
    """The colour each image shows at the centre of a coloured cell or, where
    a caption lies over the centre in any of them (a secret digit, the
    headings over the strip), near the cell's bottom-left corner, below the
    captions' baseline."""
    left, top, width, height = rect
    centre = (left + width // 2, top + height // 2)
    corner = (left + 3, top + height - 4)
    clear = all("#%02x%02x%02x" % image.getpixel(centre) == fill for image in images)
    point = centre if clear else corner
    return point, [image.getpixel(point) for image in images]


def save_side_by_side(page, window, path):
    """The page (left) beside the window (right), for a person to look at, in `path`."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    both = Image.new("RGB", (page.width + 8 + window.width, max(page.height, window.height)),
                     "white")
    both.paste(page, (0, 0))
    both.paste(window, (page.width + 8, 0))
    both.save(path)


