"""The window played with the mouse and the keyboard through X, one test for
each scenario of scenarios.py."""
import scenarios


def test_start_state(player):
    scenarios.start_state(player)


def test_refusal_too_short(player):
    scenarios.refusal_too_short(player)


def test_refusal_repeated(player):
    scenarios.refusal_repeated(player)


def test_codes_mode_without_code(player):
    scenarios.codes_mode_without_code(player)


def test_codes_mode_with_code(player):
    scenarios.codes_mode_with_code(player)


def test_win_in_row_1_then_row_4(player):
    scenarios.win_in_row_1_then_row_4(player)


def test_loss_after_eight_guesses(player):
    scenarios.loss_after_eight_guesses(player)


def test_show_number(player):
    scenarios.show_number(player)


def test_erase_then_win(player):
    scenarios.erase_then_win(player)


def test_new_game_from_codes_mode(player):
    scenarios.new_game_from_codes_mode(player)


def test_close_while_message_box_open(player):
    scenarios.close_while_message_box_open(player)
