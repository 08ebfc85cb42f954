"""The page's folder is held to its weight: every file through gzip -9, as a
server that compresses sends it, at most 80 KiB in all (the .gz copies beside
the files are the same bytes again, for hosts that send them as they are, and
do not count). The fonts' licence stays in the folder, whatever it weighs."""
import gzip
import os

BUDGET = 80 * 1024
LICENCE = "culmus-copyright.txt"


def weights(folder):
    """{file: its gzip -9 size} of every file of the folder."""
    sizes = {}
    for name in sorted(os.listdir(folder)):
        if not name.endswith(".gz"):
            with open(os.path.join(folder, name), "rb") as file:
                sizes[name] = len(gzip.compress(file.read(), compresslevel=9, mtime=0))
    return sizes


def test_weight_and_licence(page_folder):
    sizes = weights(page_folder)
    total = sum(sizes.values())
    print(f"{total} bytes ({total / 1024:.1f} KiB) gzipped, of {BUDGET // 1024} KiB")
    assert LICENCE in sizes, f"no {LICENCE} in {page_folder}"
    heaviest = sorted(sizes.items(), key=lambda item: -item[1])[:5]
    assert total <= BUDGET, f"{total - BUDGET} bytes over; the heaviest: {heaviest}"
