"""The window on a Wayland desktop, with no X display at all."""
import pytest

import private_desktop

# Qt 6.8 (Debian 13) warns, where Qt 6.4 kept quiet, of the text events its own
# message box label sends while Qt lays it out, from a text control that has no
# accessible of its own; the game's labels are not concerned.
_QT_OWN_WARNINGS = ("qt.accessibility.atspi: Received text event for invalid interface.",)


@pytest.mark.wayland
def test_whole_game_on_wayland(accessible_game):
    """The program as a native Wayland client: its platform plugin is
    Wayland's (a fallback to X11 fails here), it prints nothing about what
    Wayland leaves to the compositor, and it ends with status 0 when the
    compositor closes its window."""
    import accessible_play  # imports pyatspi, which joins the test's own session bus
    game = accessible_game
    plugins = game.platform_plugins()
    assert plugins and all(p.startswith("libqwayland") for p in plugins), \
        f"not a native Wayland client: platform plugins {sorted(plugins)}"
    accessible_play.play_without_input_devices(game)
    private_desktop.close_every_window()
    status = game.wait_for_exit()
    assert status == 0, f"the program ended with status {status}"
    written = [line for line in game.output().splitlines() if line not in _QT_OWN_WARNINGS]
    assert not written, "the program wrote:\n" + "\n".join(written)
