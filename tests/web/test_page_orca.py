"""The page with a screen reader: Orca reading a chromium that has a window
on a private desktop of the test's own, typed to through its X server."""
import os

import pytest

import desktop as keyboard  # the X server's keyboard (tests/e2e/desktop.py)
import engines
import orca
import private_desktop
import scenarios as desktop
import servers
from accessibility_bus import accessibility_bus
from page_player import PagePlayer
from vocabulary import row_sentence
from waiting import wait_until


@pytest.fixture
def screen_reader(page_folder, build_dir, page_run):
    """(attach, Orca, the page's address): in a private desktop (Xvfb, a
    session bus and the accessibility bus), Orca, then a chromium with its
    window and the renderer's accessibility on, opened at the page's address
    as a link opens it; attach() gives WebDriver on that chromium. The test
    runs in a process of its own (forked), whose environment is the desktop's.
    All of it goes once the page's checks are done."""
    page_run.keep(private_desktop.private_desktop())
    # chromium joins the accessibility bus without waiting to be asked.
    os.environ["ACCESSIBILITY_ENABLED"] = "1"
    page_run.keep(accessibility_bus())
    try:
        reader = page_run.keep(orca.Orca())
    except orca.OtherOrca as other:
        pytest.skip(str(other))

    def keep_log():
        """Orca's debug log, for a person to read after the test."""
        log = os.path.join(build_dir, "tests", "web", "artefacts", "orca.log")
        os.makedirs(os.path.dirname(log), exist_ok=True)
        with open(log, "w", encoding="utf-8") as file:
            file.write("\n".join(reader.lines()) + "\n")
    page_run.stack.callback(keep_log)
    url = page_run.keep(servers.served(page_folder))
    attach = page_run.keep(engines.chromium_opened_at(url, ["--force-renderer-accessibility"]))
    return attach, reader, url


@pytest.mark.orca
@pytest.mark.chromium
@pytest.mark.forked
def test_orca_hears_a_guess(screen_reader, page_run):
    """The page opened as a link opens it, with Orca running, in a window
    given the focus as it appears. As soon as Orca names the guess box, a
    guess is typed through the X server, "בדוק" reached with Tab and pressed
    with Space, as a blind player does: every digit is in the box and Orca
    presents the row's sentence from the live region."""
    attach, reader, url = screen_reader
    # No window manager gives the browser's new window the input focus; Orca
    # reads only the active window. The page loads meanwhile: nothing waits
    # for its load.
    keyboard.focus(keyboard.windows_of_class("chromium")[0])
    reader.wait_for_presented(lambda text: text.startswith("תיבת ניחוש"), timeout=30.0,
                              what="Orca to name the guess box")
    keyboard.type_text("1234")
    player = PagePlayer(page_run.watch(attach(), url), None, load=False)
    # A key that Orca takes for its own (browse mode's "1" is the next
    # heading) never reaches the box.
    try:
        wait_until(lambda: player.read("Text1") == "1234", 5.0)
    except AssertionError:
        raise AssertionError("1234 typed as Orca named the guess box, but the box shows "
                             f"{player.read('Text1')!r}") from None
    desktop.tab_to(reader, "בדוק")
    mark = reader.mark()
    keyboard.press_key("space")
    row = wait_until(lambda: player.rows()[0][0] == "1234" and player.rows()[0], 5.0, "row 1")
    sentence = row_sentence(1, "1234", row[1], row[2])
    # With no speech server Orca shows the message as a braille line, inside
    # the block it logs for a live region's message.
    heard = reader.wait_for_presented(lambda text: sentence in text, since=mark,
                                      what=f"Orca to present {sentence!r}")
    lines = reader.lines(mark)
    at = next(i for i, line in enumerate(lines) if "BRAILLE LINE" in line and sentence in line)
    blocks = [line for line in lines[:at] if "PRESENT LIVE REGION MESSAGE" in line]
    assert blocks and blocks[-1].startswith("vvvvv"), \
        f"Orca presented {heard!r}, but not as a live region's message"
    print(f"Orca presented the live region's message {heard!r}")
