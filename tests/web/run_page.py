#!/usr/bin/python3
"""Runs one scenario of the bul-pgia web page in a browser engine: chromium
(the default), firefox or webkit (browser.py).

    run_page.py PAGE_FOLDER SCENARIO [--engine ENGINE] [--desktop ARTEFACT_FOLDER] [--orca-log FILE]
    run_page.py --list [ENGINE]      (prints the names of the engine's scenarios)

The folder is served on a free local port to a browser with a fresh profile;
both go when the scenario ends, whatever its outcome. Afterwards the page's
security policy must have blocked nothing, and the console must hold no error
or warning. A scenario that asks what the engine cannot do is skipped, with
the reason printed (status 77, which CTest counts as skipped). A scenario that listens
to a screen reader runs in a private desktop of its own instead (Xvfb, a
session bus and the accessibility bus), with Orca and a chromium that has a
window there, opened at the page's address as a link opens it.
"""
import argparse
import os
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
# The desktop's scenarios and their helpers are shared.
sys.path[:0] = [HERE, os.path.join(HERE, "..", "e2e"), os.path.join(HERE, "..")]


_DESKTOP_TIMEOUT_S = 110
# What CTest counts as skipped (SKIP_RETURN_CODE).
SKIPPED = 77
# The console's levels that fail a scenario, as the engines name them.
_BAD_LEVELS = ("severe", "error", "warning", "warn")


def _play(scenario, driver, url, options, reader=None):
    import browser
    from page_player import PagePlayer
    if getattr(scenario, "serves_itself", False):
        scenario(driver, options.page)
    elif getattr(scenario, "needs_desktop", False):
        scenario(PagePlayer(driver, url), options.desktop)
    elif reader is not None:
        # The player opened the browser: `driver` attaches WebDriver to it.
        scenario(driver, reader)
        driver = driver()
    else:
        scenario(PagePlayer(driver, url))
    blocked = browser.policy_violations(driver)
    assert not blocked, f"the security policy blocked: {blocked}"
    logged = [f"{level}: {text}" for level, text in driver.console() if level in _BAD_LEVELS]
    assert not logged, "the console holds:\n" + "\n".join(logged)


def _with_screen_reader(scenario, options):
    """Inside the private desktop: the accessibility bus, Orca, then chromium
    with its window and the renderer's accessibility on, then the scenario."""
    import browser
    import orca
    from accessibility_bus import accessibility_bus
    # What the bus launcher and Orca store goes nowhere; chromium joins the
    # accessibility bus without waiting to be asked.
    os.environ.update(GSETTINGS_BACKEND="memory", ACCESSIBILITY_ENABLED="1")
    with accessibility_bus():
        with orca.Orca() as reader, browser.served(options.page) as url, \
                browser.chromium_opened_at(url, ["--force-renderer-accessibility"]) as attach:
            try:
                _play(scenario, attach, url, options, reader)
            except Exception:
                print("--- what Orca presented ---")
                print("\n".join(reader.presented()))
                raise
            finally:
                if options.orca_log:
                    with open(options.orca_log, "w", encoding="utf-8") as log:
                        log.write("\n".join(reader.lines()) + "\n")


def main(argv):
    import browser
    import page_scenarios
    if argv[1:2] == ["--list"]:
        engine = argv[2] if len(argv) > 2 else None
        print("\n".join(name for name, scenario in page_scenarios.SCENARIOS.items()
                        if engine in (None, *page_scenarios.engines_of(scenario))))
        return 0
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("page")
    parser.add_argument("scenario", choices=sorted(page_scenarios.SCENARIOS))
    parser.add_argument("--engine", choices=browser.ENGINES, default="chromium")
    parser.add_argument("--desktop", help="the desktop window's screenshot artefacts")
    parser.add_argument("--orca-log", type=os.path.abspath,
                        help="keeps Orca's debug log in this file (a scenario with Orca)")
    parser.add_argument("--inside", action="store_true", help=argparse.SUPPRESS)
    options = parser.parse_args(argv[1:])
    scenario = page_scenarios.SCENARIOS[options.scenario]
    if getattr(scenario, "needs_desktop", False) and not options.desktop:
        parser.error(f"{options.scenario} compares with the desktop: give --desktop")
    if options.engine not in page_scenarios.engines_of(scenario):
        parser.error(f"{options.scenario} runs in {page_scenarios.engines_of(scenario)} only")
    if not os.path.isfile(os.path.join(options.page, "index.html")):
        print(f"FAIL: no page in {options.page} (build it with scripts/web.sh)")
        return 1

    started = time.monotonic()
    if getattr(scenario, "with_screen_reader", False) and not options.inside:
        from private_desktop import run_in_private_desktop
        status = run_in_private_desktop(
            [sys.executable, os.path.abspath(__file__), *argv[1:], "--inside"],
            _DESKTOP_TIMEOUT_S)
        if status != SKIPPED:
            print(f"{'PASS' if status == 0 else 'FAIL'}: {options.scenario} "
                  f"({time.monotonic() - started:.1f} s)")
        return status
    if options.inside:
        import orca
        try:
            _with_screen_reader(scenario, options)
        except orca.OtherOrca as other:
            print(f"SKIP: {options.scenario}: {other}")
            return SKIPPED
        except Exception:
            traceback.print_exc()
            return 1
        return 0

    test = f"{options.engine}.{options.scenario}"
    with browser.served(options.page) as url, \
            browser.engine(options.engine, page_url=url) as driver:
        try:
            _play(scenario, driver, url, options)
        except browser.HostDidNotStart as error:
            print(f"FAIL: {options.scenario}: {error}")
            return 1
        except browser.CannotInThisEngine as reason:
            print(f"SKIP: {test}: {reason}")
            return SKIPPED
        except Exception:
            traceback.print_exc()
            print("--- the browser's console ---")
            for level, text in driver.console():
                print(f"{level}: {text}")
            print(f"FAIL: {test}")
            return 1
    print(f"PASS: {test} ({time.monotonic() - started:.1f} s)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
