#!/usr/bin/python3
"""Start-up benchmark: the game's window against a bare Qt Widgets window, or the peers.

Builds bench/startup_baseline, bench/startup_text and bench/startup_game in
Release, starts its own Xvfb, and runs them interleaved. startup_text is the
baseline plus two Hebrew captions: it shows how much of the game's extra time
and memory any Qt window that draws text pays on this machine. Each run is
timed from just before exec to the first painted frame (both clocks are CLOCK_MONOTONIC: this script reads it
before posix_spawn, the program prints it after its first paint) and its peak
resident memory is taken from wait4(). Prints the medians, the time ratio
game/baseline and the memory difference against the targets, and the same
two figures for the game against the text yardstick.

With --peers it measures the program itself (bul-pgia) beside the other
games of the genre installed here (scripts/install-deps.sh peers), all alike
and interleaved, under a private desktop with the session and accessibility
buses running (desktop_watch.py): the time from exec to the first mapped
window and to the first drawing into it, and the peak resident memory and
private dirty memory at that first map. Then the game's ratio to the best peer
in each column.

Usage: bench/startup.py [--runs N] [--build-dir DIR] [--peers]
"""

import argparse
import os
import select
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

from xvfb import start_xvfb

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TIME_RATIO_TARGET = 1.15
MEMORY_TARGET_MIB = 6.0
RUN_TIMEOUT_S = 30.0
# The other games a Debian player could pick: (name, executable).
PEERS = (("ColorCode", "colorcode"), ("GNOME Mastermind", "gnome-mastermind"),
         ("Guess", "sgt-guess"))


def build(build_dir, targets):
    subprocess.run(["cmake", "-S", ROOT, "-B", build_dir, "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=Release", "-DBUILD_TESTING=OFF",
                    "-DBUL_PGIA_BENCH=ON", "-DBUL_PGIA_WINDOW=ON"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["ninja", "-C", build_dir, "-j2", *targets], check=True,
                   stdout=subprocess.DEVNULL)


def run_once(program, env):
    """Runs `program` once; returns (milliseconds to first paint, peak RSS in KiB)."""
    read_fd, write_fd = os.pipe()
    devnull = os.open(os.devnull, os.O_WRONLY)
    actions = [(os.POSIX_SPAWN_DUP2, write_fd, 1), (os.POSIX_SPAWN_DUP2, devnull, 2)]
    start_ns = time.clock_gettime_ns(time.CLOCK_MONOTONIC)
    pid = os.posix_spawn(program, [program], env, file_actions=actions)
    os.close(write_fd)
    os.close(devnull)
    output = b""
    deadline = time.monotonic() + RUN_TIMEOUT_S
    while True:
        ready, _, _ = select.select([read_fd], [], [], max(0.0, deadline - time.monotonic()))
        if not ready:
            os.kill(pid, 9)
            break
        chunk = os.read(read_fd, 4096)
        if not chunk:
            break
        output += chunk
    os.close(read_fd)
    _, status, usage = os.wait4(pid, 0)
    paint_ns = None
    for line in output.decode(errors="replace").splitlines():
        if line.startswith("first-paint-ns "):
            paint_ns = int(line.split()[1])
    if paint_ns is None or os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{os.path.basename(program)} did not report a first paint "
                 f"(exit status {os.waitstatus_to_exitcode(status)})")
    return (paint_ns - start_ns) / 1e6, usage.ru_maxrss


def find_peers():
    """The installed peers as {name: path}; the missing ones are named on stderr."""
    search = os.environ.get("PATH", "/usr/bin:/bin") + ":/usr/games"
    found = {}
    for name, executable in PEERS:
        path = shutil.which(executable, path=search)
        if path:
            found[name] = path
        else:
            print(f"note: {executable} is not installed (scripts/install-deps.sh peers); "
                  f"{name} is left out", file=sys.stderr)
    return found


def spread(values):
    """'median min max' of `values` in one column group, or dashes when there are none."""
    if not values:
        return f"{'-':>7} {'-':>6} {'-':>6}"
    return f"{statistics.median(values):>7.1f} {min(values):>6.1f} {max(values):>6.1f}"


def measure_peers(args):
    try:
        from desktop_watch import PrivateDesktop, ScreenWatch
    except ImportError as missing:
        sys.exit(f"{missing}: --peers needs python3-xlib (scripts/install-deps.sh peers)")
    build(args.build_dir, ["window/bul-pgia"])
    programs = {"bul-pgia": os.path.join(args.build_dir, "window", "bul-pgia")}
    # Pages of a file just written count as dirty in every mapping of it until
    # they reach the disk: the fresh build would show as private dirty memory.
    with open(programs["bul-pgia"], "rb") as built:
        os.fsync(built.fileno())
    peers = find_peers()
    if not peers:
        sys.exit("no peer is installed: scripts/install-deps.sh peers")
    programs.update(peers)

    desktop = PrivateDesktop()
    starts = {name: [] for name in programs}
    try:
        watch = ScreenWatch(desktop.display)
        try:
            # One unrecorded start each fills the page cache, the font cache
            # and the programs' settings in the private home.
            for path in programs.values():
                watch.measure([path], desktop.env, RUN_TIMEOUT_S)
            names = list(programs)
            for run in range(args.runs):
                # Alternate the order so a drift of the machine hits all alike.
                for name in names if run % 2 == 0 else reversed(names):
                    starts[name].append(watch.measure([programs[name]], desktop.env,
                                                      RUN_TIMEOUT_S))
        finally:
            watch.close()
    finally:
        desktop.close()

    print(f"start-up beside the peers, Xvfb {desktop.display} with session and accessibility "
          f"buses, {args.runs} interleaved runs each, Release build")
    print(f"{'':<17} {'to first map ms':^21} {'to first paint ms':^21} {'at first map, MiB':^23}")
    print(f"{'program':<17} {'median':>7} {'min':>6} {'max':>6} {'median':>7} {'min':>6} "
          f"{'max':>6} {'peak RSS':>11} {'priv. dirty':>11}")
    columns = {}
    for name, runs in starts.items():
        maps = [start.map_ms for start in runs]
        paints = [start.paint_ms for start in runs if start.paint_ms is not None]
        peak = statistics.median(start.peak_rss_kib for start in runs) / 1024
        dirty = statistics.median(start.private_dirty_kib for start in runs) / 1024
        columns[name] = (statistics.median(maps), statistics.median(paints) if paints else None,
                         peak, dirty)
        print(f"{name:<17} {spread(maps)} {spread(paints)} {peak:>11.1f} {dirty:>11.1f}")

    # Lower is better in every column; each ratio is against that column's best peer.
    ratios = []
    for column, label in enumerate(("map", "paint", "peak RSS", "private dirty")):
        game = columns["bul-pgia"][column]
        measured = {name: values[column] for name, values in columns.items()
                    if name != "bul-pgia" and values[column] is not None}
        if game is None or not measured:
            continue
        best = min(measured, key=measured.get)
        ratios.append(f"{label} {game / measured[best]:.2f} ({best})")
    print("bul-pgia / best peer: " + ", ".join(ratios))
    leanest = min(values[2] for name, values in columns.items() if name != "bul-pgia")
    print(f"peak RSS at first map: bul-pgia {columns['bul-pgia'][2]:.1f} MiB, leanest peer "
          f"{leanest:.1f} MiB (target: at most the leanest: "
          f"{'met' if columns['bul-pgia'][2] <= leanest else 'MISSED'})")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=15, help="runs of each program (at least 10)")
    parser.add_argument("--build-dir", default=os.path.join(ROOT, "build-bench"))
    parser.add_argument("--peers", action="store_true",
                        help="measure the game beside the installed peers instead")
    args = parser.parse_args()
    if args.runs < 10:
        parser.error("--runs must be at least 10")
    if args.peers:
        measure_peers(args)
        return

    build(args.build_dir, ["bench/all"])
    programs = {name: os.path.join(args.build_dir, "bench", "startup_" + name)
                for name in ("baseline", "text", "game")}
    if not os.path.exists(programs["game"]):
        print("note: the window library is not in this tree; timing the yardsticks alone")
        del programs["game"]

    server, display = start_xvfb()
    runtime_dir = tempfile.mkdtemp(prefix="bul-pgia-bench-")
    env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": runtime_dir,
           "DISPLAY": display, "XDG_RUNTIME_DIR": runtime_dir, "LANG": "C.UTF-8"}
    results = {name: [] for name in programs}
    try:
        # One unrecorded run each fills the page cache and the font cache.
        for program in programs.values():
            run_once(program, env)
        names = list(programs)
        for run in range(args.runs):
            # Alternate the order so a drift of the machine hits all alike.
            for name in names if run % 2 == 0 else reversed(names):
                results[name].append(run_once(programs[name], env))
    finally:
        server.terminate()
        server.wait()
        shutil.rmtree(runtime_dir, ignore_errors=True)

    print(f"start-up to first painted frame, Xvfb {display}, {args.runs} interleaved runs each, "
          f"Release build")
    print(f"{'program':<10} {'median ms':>10} {'min ms':>8} {'max ms':>8} {'median peak RSS MiB':>20}")
    medians = {}
    for name, runs in results.items():
        times = [t for t, _ in runs]
        memory = statistics.median(m for _, m in runs) / 1024
        medians[name] = (statistics.median(times), memory)
        print(f"{name:<10} {medians[name][0]:>10.1f} {min(times):>8.1f} {max(times):>8.1f} "
              f"{memory:>20.1f}")
    if "game" in medians:
        ratio = medians["game"][0] / medians["baseline"][0]
        extra = medians["game"][1] - medians["baseline"][1]
        print(f"time ratio game/baseline: {ratio:.3f} (target <= {TIME_RATIO_TARGET}: "
              f"{'met' if ratio <= TIME_RATIO_TARGET else 'MISSED'})")
        print(f"memory game - baseline: {extra:+.1f} MiB (target <= +{MEMORY_TARGET_MIB:.0f} MiB: "
              f"{'met' if extra <= MEMORY_TARGET_MIB else 'MISSED'})")
        own_ratio = medians["game"][0] / medians["text"][0]
        own_extra = medians["game"][1] - medians["text"][1]
        print(f"against the text yardstick: time ratio game/text {own_ratio:.3f}, "
              f"memory game - text {own_extra:+.1f} MiB")


if __name__ == "__main__":
    main()
