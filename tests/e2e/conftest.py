"""What a scenario of the window is given: a private desktop of its own (X11,
or Wayland for a test marked `wayland`) with its session and accessibility
buses, the program started in it and played by a `player` (or an
`accessible_game`, through the accessibility tree alone), and `orca`.

pyatspi binds to the session bus it finds when it is first imported, and a
desktop's variables hold for the whole process, so each test runs in a fork
of its own (pytest-forked): the desktop is started in the fork, and the
players are imported there. Everything started is ended whatever the
outcome; a failed test's report carries what the program wrote.
"""
import os
import sys

import pytest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import private_desktop  # noqa: E402  (needs HERE on the path)

# Inside the fork, so that a stalled scenario still tears its desktop down.
_TIMEOUT_SECONDS = 120


def pytest_collection_modifyitems(items):
    for item in items:
        if os.path.dirname(str(item.path)) == HERE:
            item.add_marker(pytest.mark.forked)
            item.add_marker(pytest.mark.timeout(_TIMEOUT_SECONDS, func_only=True))


@pytest.fixture
def desktop_session(request):
    """The test's own desktop, its accessibility registry answering."""
    on_wayland = request.node.get_closest_marker("wayland") is not None
    kind = private_desktop.WAYLAND if on_wayland else private_desktop.X11
    module = request.getfixturevalue("weston_module") if on_wayland else None
    assert "pyatspi" not in sys.modules, \
        "pyatspi was imported before the test's desktop started, so it reads another desktop"
    from accessibility_bus import accessibility_bus
    with private_desktop.private_desktop(kind, module), accessibility_bus():
        yield kind


@pytest.fixture
def orca(desktop_session):
    """Orca reading the desktop, started before the program as on a player's
    desktop; beside another Orca of this user the test is skipped."""
    import orca as screen_reader
    try:
        reader = screen_reader.Orca()
    except screen_reader.OtherOrca as other:
        pytest.skip(str(other))
    with reader:
        yield reader


def _started(request, make):
    """The program, played through `make`; Orca first where the test listens to it."""
    if request.node.get_closest_marker("orca") is not None:
        request.getfixturevalue("orca")
    played = make(request.getfixturevalue("program"))
    request.node.played = played
    return played


@pytest.fixture
def player(request, desktop_session):
    """The window played with the X server's mouse and keyboard."""
    from player import Player
    played = _started(request, Player)
    yield played
    played.quit()


@pytest.fixture
def accessible_game(request, desktop_session):
    """The window played through its accessibility tree alone."""
    from accessible_play import AccessibleGame
    played = _started(request, AccessibleGame)
    yield played
    played.quit()


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item, call):
    outcome = yield
    report = outcome.get_result()
    played = getattr(item, "played", None)
    if report.failed and played is not None:
        report.sections.append(("what the program wrote", played.output()))
