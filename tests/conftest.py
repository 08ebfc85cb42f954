"""What every scenario may ask for: where the build and the page are."""
import os

import pytest

TOP = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def pytest_addoption(parser):
    parser.addoption("--build", default=os.path.join(TOP, "build"),
                     help="the CMake build folder (scripts/build.sh)")
    parser.addoption("--page", default=os.path.join(TOP, "build-web", "page"),
                     help="the web page's folder (scripts/web.sh)")


def pytest_configure(config):
    # The build the tests' vocabulary reads its tables from (tests/vocabulary.py).
    os.environ["BUL_PGIA_BUILD"] = os.path.abspath(config.getoption("--build"))


@pytest.fixture(scope="session")
def build_dir(request):
    return os.path.abspath(request.config.getoption("--build"))


def _built(path, exists, how):
    """`path`, which the build makes; the test fails, saying `how`, without it."""
    if not exists(path):
        pytest.fail(f"no {path}: {how}")
    return path


@pytest.fixture(scope="session")
def program(build_dir):
    """The built game."""
    return _built(os.path.join(build_dir, "window", "bul-pgia"),
                  lambda path: os.access(path, os.X_OK), "build it with scripts/build.sh")


@pytest.fixture(scope="session")
def weston_module(build_dir):
    """The built compositor module a Wayland desktop loads."""
    return _built(os.path.join(build_dir, "tests", "e2e", "libweston_close_windows.so"),
                  os.path.isfile, "build it with scripts/build.sh")


@pytest.fixture(scope="session")
def page_folder(request):
    """The built page's folder."""
    return _built(os.path.abspath(request.config.getoption("--page")),
                  lambda path: os.path.isfile(os.path.join(path, "index.html")),
                  "build the page with scripts/web.sh")


@pytest.fixture(scope="session")
def desktop_artefacts(build_dir):
    """The window's screenshots, which the C++ screenshot test saves."""
    return _built(os.path.join(build_dir, "tests", "window", "artefacts"), os.path.isdir,
                  "run CTest's screenshot_tests first")


def pytest_collection_modifyitems(items):
    # One Orca a user: the scenarios that listen to it share one worker, so
    # never two run at once.
    for item in items:
        if item.get_closest_marker("orca"):
            item.add_marker(pytest.mark.xdist_group("orca"))
