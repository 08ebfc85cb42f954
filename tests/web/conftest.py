"""What a page scenario may ask for: an engine (every test that takes one runs
in chromium, Firefox and WebKit, each marked with its engine's name), that
engine's browser, started once for the run and given to each test on a blank
page at the usual size, or a browser of its own with a fresh profile; the
page served on an origin of the test's own, and a player on it.

After every test that had a browser, the page's security policy must have
blocked nothing, and the console must hold no error or warning. A test
declares what an engine cannot do for it with `not_in`, and is skipped
there with that reason."""
import contextlib
import os
import sys

import pytest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path[:0] = [HERE, os.path.join(HERE, "..", "e2e"), os.path.join(HERE, "..")]

import engines  # noqa: E402
import servers  # noqa: E402
import tools  # noqa: E402
from page_player import PagePlayer  # noqa: E402

# The console's levels that fail a test, as the engines name them.
_BAD_LEVELS = ("severe", "error", "warning", "warn")


def pytest_collection_modifyitems(items):
    for item in items:
        engine = getattr(item, "callspec", None) and item.callspec.params.get("engine")
        for mark in item.iter_markers("not_in"):
            if engine in mark.args:
                item.add_marker(pytest.mark.skip(reason=f"{engine}: {mark.kwargs['reason']}"))


@pytest.hookimpl(hookwrapper=True)
def pytest_runtest_makereport(item):
    """Keeps each phase's outcome on the item: the page's checks follow a
    test that passed only."""
    report = (yield).get_result()
    setattr(item, f"outcome_{report.when}", report.outcome)


class PageRun:
    """What one test started for the page, ended after the page's checks:
    servers, and browsers of its own."""

    def __init__(self):
        self.drivers = []
        self.stack = contextlib.ExitStack()

    def keep(self, context):
        """What `context` gives, until the test's checks are done."""
        return self.stack.enter_context(context)

    def watch(self, driver, page_url):
        """`driver`'s page checked after the test; WebKit's console is read
        from a fresh load of `page_url`."""
        driver.page_url = page_url
        self.drivers.append(driver)
        return driver

    def fresh(self, engine, page_url, density=1):
        """A browser of `engine` with a fresh profile, for this test alone."""
        return self.watch(self.keep(engines.started(engine, density)), page_url)

    def check(self):
        for driver in self.drivers:
            blocked = engines.policy_violations(driver)
            assert not blocked, f"{driver.engine}: the security policy blocked: {blocked}"
            logged = [f"{level}: {text}" for level, text in driver.console()
                      if level in _BAD_LEVELS]
            assert not logged, f"{driver.engine}: the console holds:\n" + "\n".join(logged)


@pytest.fixture(autouse=True)
def page_run(request):
    run = PageRun()
    with run.stack:
        yield run
        if getattr(request.node, "outcome_call", None) == "passed":
            run.check()


@pytest.fixture(scope="session")
def web_tools(build_dir):
    """node_modules with the tools the lock file pins, in the build folder."""
    return tools.install(os.path.join(build_dir, "web-tools"))


@pytest.fixture(scope="session", params=[
    pytest.param(name, marks=getattr(pytest.mark, name)) for name in engines.ENGINES])
def engine(request):
    """The engine's name: chromium, firefox or webkit."""
    return request.param


@pytest.fixture(scope="session")
def browser(engine, web_tools):
    """The engine's browser for the whole run (one per pytest worker)."""
    with engines.started(engine) as driver:
        yield driver


@pytest.fixture
def page_url(page_folder, page_run):
    """The page, served by serve.py on an origin of this test's own: nothing
    an earlier test stored (a service worker, a cache) is there."""
    return page_run.keep(servers.served(page_folder))


@pytest.fixture
def driver(browser, page_url, page_run):
    """The engine's browser, on a blank page at the usual size, its console read out."""
    browser.size_viewport(*engines.WINDOW_SIZE)
    browser.blank()
    browser.page_url = None
    browser.console()
    return page_run.watch(browser, page_url)


@pytest.fixture
def fresh_driver(engine, web_tools, page_url, page_run):
    """A browser of the engine with a fresh profile, for this test alone."""
    return page_run.fresh(engine, page_url)


@pytest.fixture
def player(driver, page_url):
    """A player on the page, loaded, its game ready."""
    return PagePlayer(driver, page_url)
