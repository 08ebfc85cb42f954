#!/usr/bin/python3
"""Runs one scenario of the bul-pgia web page in headless chromium.

    run_page.py PAGE_FOLDER SCENARIO [--desktop ARTEFACT_FOLDER]
    run_page.py --list               (prints the names of the scenarios)

The folder is served on a free local port to a browser with a fresh profile;
both go when the scenario ends, whatever its outcome.
"""
import argparse
import os
import sys
import time
import traceback

HERE = os.path.dirname(os.path.abspath(__file__))
# The desktop's scenarios and their helpers are shared.
sys.path[:0] = [HERE, os.path.join(HERE, "..", "e2e")]


def main(argv):
    import page_scenarios
    if argv[1:] == ["--list"]:
        print("\n".join(page_scenarios.SCENARIOS))
        return 0
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("page")
    parser.add_argument("scenario", choices=sorted(page_scenarios.SCENARIOS))
    parser.add_argument("--desktop", help="the desktop window's screenshot artefacts")
    options = parser.parse_args(argv[1:])
    scenario = page_scenarios.SCENARIOS[options.scenario]
    if getattr(scenario, "needs_desktop", False) and not options.desktop:
        parser.error(f"{options.scenario} compares with the desktop: give --desktop")
    if not os.path.isfile(os.path.join(options.page, "index.html")):
        print(f"FAIL: no page in {options.page} (build it with scripts/web.sh)")
        return 1

    import browser
    from page_player import PagePlayer
    started = time.monotonic()
    with browser.served(options.page) as url, browser.chromium() as driver:
        try:
            if getattr(scenario, "serves_itself", False):
                scenario(driver, options.page)
            elif getattr(scenario, "needs_desktop", False):
                scenario(PagePlayer(driver, url), options.desktop)
            else:
                scenario(PagePlayer(driver, url))
            blocked = browser.policy_violations(driver)
            assert not blocked, f"the security policy blocked: {blocked}"
        except Exception:
            traceback.print_exc()
            print("--- the browser's console ---")
            for entry in driver.get_log("browser"):
                print(entry.get("message"))
            print(f"FAIL: {options.scenario}")
            return 1
    print(f"PASS: {options.scenario} ({time.monotonic() - started:.1f} s)")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
