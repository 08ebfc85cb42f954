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


@pytest.fixture(scope="session")
def program(build_dir):
    """The built game."""
    path = os.path.join(build_dir, "window", "bul-pgia")
    if not os.access(path, os.X_OK):
        pytest.fail(f"no program at {path}: build it with scripts/build.sh")
    return path


@pytest.fixture(scope="session")
def page_folder(request):
    """The built page's folder."""
    path = os.path.abspath(request.config.getoption("--page"))
    if not os.path.isfile(os.path.join(path, "index.html")):
        pytest.fail(f"no page in {path}: build it with scripts/web.sh")
    return path


@pytest.fixture(scope="session")
def desktop_artefacts(build_dir):
    """The window's screenshots, which the C++ screenshot test saves."""
    path = os.path.join(build_dir, "tests", "window", "artefacts")
    if not os.path.isdir(path):
        pytest.fail(f"no screenshots of the window in {path}: run CTest's screenshot_tests first")
    return path


def pytest_collection_modifyitems(items):
    # One Orca a user: the scenarios that listen to it share one worker, so
    # never two run at once.
    for item in items:
        if item.get_closest_marker("orca"):
            item.add_marker(pytest.mark.xdist_group("orca"))
