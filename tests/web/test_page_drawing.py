"""The page drawn as the window: the message box over the board, a disabled
button's face, and every control and coloured cell where and as the desktop
window has it (the window's screenshot test saves what it showed)."""
import io
import json
import os

import pytest
from PIL import Image

import pixels
import scenarios as desktop
from page_player import DRAWN, PagePlayer
from waiting import wait_until

# The open message box's size as drawn, in CSS pixels of the viewport, and
# its OK's caption colours.
_BOX_DRAWN = DRAWN + """
const r = drawn(document.getElementById("messageBox"));
const ok = getComputedStyle(document.getElementById("messageBoxOk"));
return [r.width, r.height, ok.color, ok.webkitTextFillColor || ok.color];
"""
# A button's face and caption colours as the style computes them.
_BUTTON_COLOURS = """
const style = getComputedStyle(document.getElementById(arguments[0]));
return [style.backgroundColor, style.color];
"""
# A window the board is drawn at its own size in (its height), one that
# MiniBrowser can be, and a large one.
_OWN_SIZE = (480, 526)
_LARGE = (1600, 1200)


def _refusal_box(player):
    """The box of a refused guess, opened, as the page draws it."""
    player.type_into_guess_box("12")
    player.click("Command1")
    player.wait_for_message_box()
    return player.driver.execute_script(_BOX_DRAWN)


def test_drawn_as_the_window(player):
    """The message box lies over the board as over the window: scaled with
    the board, its OK's caption black in every engine. A disabled "בדוק"
    keeps the system's button face, opaque, and a grey caption."""
    driver = player.driver
    url = driver.current_url
    sizes = {}
    for viewport in (_OWN_SIZE, _LARGE):
        driver.size_viewport(*viewport)
        player = PagePlayer(driver, url)
        width, height, ok, ok_fill = _refusal_box(player)
        sizes[viewport] = (width, height, pixels.board_scale(player))
        assert pixels.rgb(ok) == pixels.rgb(ok_fill) == (0, 0, 0, 1), \
            f"the box's OK is drawn in {ok} (its text fill {ok_fill}), not black"
        player.dismiss(player.message_box())
    (small_w, small_h, _), (large_w, large_h, scale) = sizes[_OWN_SIZE], sizes[_LARGE]
    assert scale > 2, f"{_LARGE}: the board is only {scale:.2f} times its size"
    for what, small, large in (("width", small_w, large_w), ("height", small_h, large_h)):
        assert abs(large / small - scale) < 0.05 * scale, \
            f"over a board {scale:.2f} times its size, the box's {what} is {large:.0f} " \
            f"pixels, {large / small:.2f} times its {small:.0f} over the board at its own size"

    player.click("Command2")
    wait_until(lambda: not player.board()["Command1"].enabled, 5.0, "בדוק to be disabled")
    face, caption = (pixels.rgb(c) for c in driver.execute_script(_BUTTON_COLOURS, "Command1"))
    enabled_face, _ = (pixels.rgb(c) for c in driver.execute_script(_BUTTON_COLOURS, "Command3"))
    assert face[3] == 1 and face == enabled_face, \
        f"the disabled בדוק's face is {face}, the enabled חדש's {enabled_face}"
    assert caption[3] == 1 and caption[0] == caption[1] == caption[2] and 0 < caption[0] < 255, \
        f"the disabled בדוק's caption is {caption}, not an opaque grey"
    # Drawn so: its face beside the left edge, where the caption does not reach.
    shot = pixels.screenshot(driver)
    css_width, _, rects = driver.execute_script(pixels.DRAWN_RECTS)
    left, top, _, height = rects["Command1"]
    device = shot.width / css_width
    point = (round((left + 5 * scale) * device), round((top + height / 2) * device))
    assert shot.getpixel(point) == tuple(round(v) for v in face[:3]), \
        f"the disabled בדוק shows {shot.getpixel(point)} at {point}, not its face {face}"


# The rectangles of the page's controls, relative to Form1, as drawn, and
# their texts.
_PAGE_RECTS = """
const origin = document.getElementById("Form1").getBoundingClientRect();
const rects = {};
for (const element of document.querySelectorAll("#Form1 [id]")) {
    const r = element.getBoundingClientRect();
    rects[element.id] = [[r.left - origin.left, r.top - origin.top, r.width, r.height],
                         element.textContent, !element.disabled];
}
return rects;
"""


def _misplaced(page, window):
    """{name: (page rect, window rect)} of the controls more than 1 pixel away.
    An autosized label is as wide as its text: its width counts only where both
    show the same text (the two secrets are drawn apart)."""
    off = {}
    for name, control in window.items():
        rect, text, _ = page[name]
        compared = (0, 1, 3) if control.get("sizedTo", text) != text else (0, 1, 2, 3)
        if any(abs(rect[i] - control["rect"][i]) > 1 for i in compared):
            off[name] = ([round(v, 2) for v in rect], control["rect"])
    return off




@pytest.mark.not_in("firefox", "webkit",
                    reason="chromium's drawing alone is compared with the window's")
def test_matches_desktop_window(player, desktop_artefacts, build_dir):
    """Every control where the desktop window has it, within 1 pixel, and every
    coloured cell in its colour, the window and the page played alike: a
    guess of the secret's digits rotated, then "1234", the codes panel open,
    the secret won and "56" in the guess box; the same controls disabled,
    and the focus where the win leaves it."""
    with open(os.path.join(desktop_artefacts, "form1-played.json"), encoding="utf-8") as file:
        window = json.load(file)
    # The board at its stored size, pixel for pixel: a window just large
    # enough for it and its margin.
    player.driver.size_viewport(416, 526)
    wait_until(lambda: abs(pixels.board_scale(player) - 1) < 1e-6, 5.0, "the board at its own size")
    shot = Image.open(os.path.join(desktop_artefacts, "form1-played.png")).convert("RGB")
    secret = desktop.read_secret(player)
    guesses = [secret[1:] + secret[0]] + (["1234"] if secret != "1234" else [])
    for played in range(1, len(guesses) + 1):
        desktop.play_quietly(player, guesses[played - 1],
                             desktop.expected_rows(guesses[:played], secret))
    # The win disables the focused "בדוק"; the window's focus stays where the
    # win left it, since its player types into the box without a click.
    player.guess(secret)
    player.dismiss(player.wait_for_message_box())
    wait_until(lambda: not player.board()["Command1"].enabled, 5.0, "the win to end the game")
    focus = [name for name, control in window.items() if control["focused"]]
    assert [player.focused()] == focus, f"after the win the focus is in {player.focused()!r}, " \
                                        f"in the window in {focus}"
    player.type_into_guess_box("56")
    page = player.driver.execute_script(_PAGE_RECTS)
    disabled = {name for name, (_, _, enabled) in page.items() if not enabled}
    expected = {name for name, control in window.items() if not control["enabled"]}
    assert disabled == expected, f"disabled on the page: {disabled}, in the window: {expected}"
    assert sorted(page) == sorted(window), \
        f"controls only on the page: {sorted(page.keys() - window.keys())}, " \
        f"only in the window: {sorted(window.keys() - page.keys())}"
    off = _misplaced(page, window)
    assert not off, f"controls more than 1 pixel away (page, window): {off}"

    drawn = Image.open(io.BytesIO(player.element("Form1").screenshot_as_png)).convert("RGB")
    pixels.save_side_by_side(drawn, shot, os.path.join(build_dir, "tests", "web", "artefacts",
                                                       "page-beside-window.png"))
    assert drawn.size == shot.size, f"the page's Form1 is {drawn.size}, the window {shot.size}"
    wrong = {}
    for name, control in window.items():
        if control["fill"]:
            point, (on_page, in_window) = pixels.cell_colours(control["rect"], control["fill"],
                                                        drawn, shot)
            if on_page != in_window or "#%02x%02x%02x" % in_window != control["fill"]:
                wrong[name] = (point, on_page, in_window, control["fill"])
    assert not wrong, f"cells whose colour is not their fill (point, page, window, fill): {wrong}"
    # The game shown, בדוק is disabled: its face is the enabled חדש's, in both.
    faces = {}
    for name in ("Command1", "Command3"):
        left, top, _, height = window[name]["rect"]
        point = (left + 5, top + height // 2)
        faces[name] = (drawn.getpixel(point), shot.getpixel(point))
    assert faces["Command1"] == faces["Command3"], \
        f"the disabled בדוק's face (page, window) is {faces['Command1']}, " \
        f"the enabled חדש's {faces['Command3']}"
