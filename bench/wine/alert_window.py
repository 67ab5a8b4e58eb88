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

from bench_prefix import bench_prefix, print_against_trivial
from harness import runner
from screening import RUN_KEY, hex_arg, timed

PROGRAM = "C:\\BmAlert\\agent.exe"
DISPLAY_SECONDS = 1.0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=15)
    options = parser.parse_args()

    with bench_prefix() as (prefix, built):
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

        print_against_trivial(times)


if __name__ == "__main__":
    main()
