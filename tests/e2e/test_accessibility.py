"""The window played through its accessibility tree alone, as an assistive
tool plays it: no X tool, nothing found by its position."""


def test_win_through_accessibility_only(accessible_game):
    import accessible_play  # imports pyatspi, which joins the test's own session bus
    accessible_play.play_to_win(accessible_game)
