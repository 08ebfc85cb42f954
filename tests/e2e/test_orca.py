"""The window as a blind player hears it: Orca reading the private desktop,
the game played with the keyboard alone."""
import pytest

import desktop
import layout
from scenarios import tab_to, wait_for_sentence
from vocabulary import (CAPTIONS, GUESS_BOX, row_sentence_pattern, score,
                        secret_sentence_pattern)
from waiting import wait_until


@pytest.mark.orca
def test_orca_says_each_result(player, orca):
    """What the guess scored and the uncovered secret are presented (spoken,
    shown in braille) after the key that showed them, with the focus left
    where it was."""
    desktop.focus(player.window)  # what a window manager does with a new window
    orca.wait_for_presented(lambda text: text.startswith(GUESS_BOX), what="the guess box")
    guess = "1234"
    desktop.type_text(guess)
    wait_until(lambda: player.read("Text1") == guess, 5.0, "the guess in the box")
    tab_to(orca, CAPTIONS["Command1"])
    mark = orca.mark()
    desktop.press_key("space")
    counts = wait_for_sentence(orca, row_sentence_pattern(1, guess), mark,
                               "the sentence of row 1")
    tab_to(orca, CAPTIONS["Command2"])
    mark = orca.mark()
    desktop.press_key("space")
    secret, = wait_for_sentence(orca, secret_sentence_pattern(), mark,
                                "the sentence of the secret")
    assert counts == tuple(map(str, score(guess, secret))), \
        f"bulls and hits said {counts} for {guess} against {secret}"
    assert player.secret_on_screen() == dict(zip(layout.POSITIONS, secret)), \
        f"said the secret {secret}, showing {player.secret_on_screen()}"
