"""The board fitted to the screen: whole on a phone and on a large screen,
its grid lines even at every size and pixel density."""
import pytest

import engines
import pixels
from page_player import DRAWN, PagePlayer
from waiting import wait_until

# Screens the board must fit whole, without a scroll bar: CSS pixels, a touch
# phone or not, and the least scale of the board there.
SCREENS = (
    (320, 568, True, None),
    (360, 640, True, None),
    (1920, 1080, False, 1.8),
)

# Where the board is drawn, the viewport's size and how far the page scrolls.
_BOARD_ON_SCREEN = DRAWN + """
const board = drawn(document.getElementById("Form1"));
const page = document.scrollingElement;
return {board: [board.left, board.top, board.right, board.bottom],
        viewport: [innerWidth, innerHeight],
        scrolls: [page.scrollWidth - page.clientWidth, page.scrollHeight - page.clientHeight]};
"""


def _unfit(player):
    """How the board fails to fit the viewport whole, or None."""
    seen = player.driver.execute_script(_BOARD_ON_SCREEN)
    left, top, right, bottom = seen["board"]
    if not (left >= 0 and top >= 0 and right <= seen["viewport"][0]
            and bottom <= seen["viewport"][1]):
        return f"the board {seen['board']} is cut off"
    if seen["scrolls"] != [0, 0]:
        return f"the page scrolls by {seen['scrolls']}"
    return None


def test_fits_any_screen(player):
    """On a phone and on a large screen the whole board is in view, as big as
    fits; on a phone a double tap on the credit label opens the codes panel.
    An engine that cannot emulate a touch screen gets the phones' sizes alone,
    and one whose window cannot be made as small skips that screen.
    The window made smaller with the page open, the board fits it again
    without a reload."""
    driver = player.driver
    url = driver.current_url
    for width, height, touch, least_scale in SCREENS:
        screen = f"{width} x {height}"
        if touch and not driver.touch_screen:
            print(f"{driver.engine}: {screen} without touch: it has no touch screen")
            touch = False
        if width < driver.narrowest:
            print(f"{driver.engine}: {screen} not checked: its viewport is never "
                  f"narrower than {driver.narrowest}")
            continue
        driver.size_viewport(width, height, touch)
        player = PagePlayer(driver, url)
        unfit = _unfit(player)
        assert not unfit, f"{screen}: {unfit}"
        if least_scale:
            assert pixels.board_scale(player) >= least_scale, \
                f"{screen}: the board is drawn at {pixels.board_scale(player):.2f} times its size"
        if touch:
            player.double_tap("Label6")
            wait_until(lambda: "Frame1" in player.board(), 5.0,
                       f"{screen}: the codes panel to open on a double tap")
    # From the large screen to one every engine's window can be: the board
    # drawn as big as the large one allowed is cut off until it is fitted again.
    player.driver.size_viewport(*engines.WINDOW_SIZE)
    wait_until(lambda: not _unfit(player), 5.0,
               "the board to fit %d x %d without a reload" % engines.WINDOW_SIZE)


# The windows and pixel densities the board's lines are measured at: CSS
# pixels, and device pixels per CSS pixel.
EVEN_SIZES = ((800, 700), (1366, 768), (1600, 1200), (360, 640))
EVEN_DENSITIES = (1, pytest.param(1.25, marks=pytest.mark.not_in(
    "webkit", reason="GTK scales MiniBrowser by whole numbers only")), 2, 3)


def _check_grid_at(driver, url, density):
    """The grid measured at every size of EVEN_SIZES; one line for each."""
    measured = []
    for width, height in EVEN_SIZES:
        screen = f"{width} x {height} at {density}"
        if width < driver.narrowest:
            print(f"{driver.engine}: {screen} not checked: its viewport is never "
                  f"narrower than {driver.narrowest}")
            continue
        driver.size_viewport(width, height)
        PagePlayer(driver, url)
        lines, cells = pixels.grid_widths(driver)
        assert len(lines) >= 11, f"{screen}: only {len(lines)} lines show: {lines}"
        assert len(set(lines)) == 1, f"{screen}: lines of widths {lines} device pixels"
        uneven = {column: sizes for column, sizes in cells.items() if len(sizes) != 1}
        assert not uneven, f"{screen}: cells of one column in more than one size: {uneven}"
        measured.append(f"{screen}: lines {lines[0]}, cells (widths, heights) " + ", ".join(
            f"{column} {next(iter(sizes))}" for column, sizes in cells.items()))
    return measured


@pytest.mark.parametrize("density", EVEN_DENSITIES)
def test_even_lines_at_any_size(engine, driver, page_url, page_run, density):
    """At every window size and pixel density, the board's grid lines are all
    of one width in device pixels, and the cells of a column all of one size,
    as the window draws them: measured on a screenshot. A density is the
    browser's own, as a screen's (chromium's emulated one is drawn at one
    pixel per CSS pixel and scaled afterwards, as no screen is), in a browser
    of its own; an engine that cannot make its window as small leaves those
    sizes out."""
    if density != 1:
        driver = page_run.fresh(engine, page_url, density)
    print("\n".join(_check_grid_at(driver, page_url, density)))
