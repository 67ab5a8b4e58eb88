#!/usr/bin/env python3
"""Times an /AddAutoRun start up to its alert being visible under Wine, against the
start of a trivial program in the same prefix, and prints the ratio.

Each run is timed by the debugger from the creation of the process to its end; the
alert is set to a display time of one second and closes by itself, so the time to
the visible alert is the run's time less that second (the countdown starts as the
alert shows). Kinds of run, alternated so that load on the machine hits them alike:
  trivial   a program that returns at once (made with the MinGW tool chain);
  alert     Bootmark.exe /AddAutoRun of an unsigned, unknown program: screened,
            shown, closed after its display time.
Usage (after the win64 build): bench/wine/alert_window.py [--runs 15]
"""

import argparse
import shutil
import statistics
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "wine"))

import fixture_programs  # noqa: E402
from harness import display, prefix as prefix_module, runner  # noqa: E402
from screening import RUN_KEY, hex_arg, timed  # noqa: E402

PROGRAM = "C:\\BmAlert\\agent.exe"
DISPLAY_SECONDS = 1.0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=15)
    options = parser.parse_args()

    built = Path(tempfile.mkdtemp(prefix="bootmark-bench-"))
    screen = display.display()
    prefix = prefix_module.Prefix(screen.name)
    try:
        fixture_programs.build_program(built / "trivial.exe", "Bench")
        prefix.install()
        runner.Probe(prefix).run("list", check=True, timeout=120)
        target = prefix.unix_path(PROGRAM)
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(built / "trivial.exe", target)

        item = ["/AddAutoRun", "/1", hex_arg(RUN_KEY + "BmAgent"), hex_arg(PROGRAM), hex_arg(RUN_KEY)]
        times = {"trivial": [], "alert": []}
        for _ in range(options.runs + 1):  # the first round warms the caches and is dropped
            times["trivial"].append(timed(prefix, [], exe=PROGRAM))
            prefix.remove_suite_data()
            prefix.write_ini(prefix.user_data_dir + "Main.ini", "[Notification]\nDisplayTime=1\n")
            times["alert"].append(timed(prefix, item, line="FNewItemName : BmAgent") - DISPLAY_SECONDS)

        medians = {kind: statistics.median(values[1:]) for kind, values in times.items()}
        minimums = {kind: min(values[1:]) for kind, values in times.items()}
        print(f"{'run':<10} {'median ms':>10} {'x trivial':>10} {'min ms':>8} {'x trivial':>10}")
        for kind in times:
            print(f"{kind:<10} {medians[kind] * 1000:>10.1f} {medians[kind] / medians['trivial']:>10.2f} "
                  f"{minimums[kind] * 1000:>8.1f} {minimums[kind] / minimums['trivial']:>10.2f}")
    finally:
        prefix.stop()
        shutil.rmtree(built, ignore_errors=True)


if __name__ == "__main__":
    main()
