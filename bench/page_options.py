"""The command line the web page's benchmarks share: how many runs, and the
page folder to measure, a new build by scripts/web.sh unless one is named."""
import argparse
import os
import subprocess

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def parse(description, default_runs):
    """The options, with `page` always a built folder."""
    parser = argparse.ArgumentParser(description=description,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--runs", type=int, default=default_runs)
    parser.add_argument("--page", help="a built page folder (default: build it with scripts/web.sh)")
    options = parser.parse_args()
    if not options.page:
        options.page = subprocess.run(
            [os.path.join(ROOT, "scripts", "web.sh")], check=True, capture_output=True,
            text=True).stdout.splitlines()[-1]
    return options
