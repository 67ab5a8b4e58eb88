#!/usr/bin/env python3
"""Times whole /mainData runs of the real Bootmark.exe under Wine on a machine with
n services (registered for the service manager) and n scheduled tasks (task files in
50 folders of the scheduler's store, placed as bench/wine/task_walk.py places them),
against the start of a trivial program (made with the MinGW tool chain, it returns
at once) and Bootmark's own start (an unknown switch: it starts and ends, no job).

The time is the debugger's: from the creation of the process to its end.
Usage (after the win64 build): bench/wine/inventory.py [--runs 3] [--counts 0,500]
"""

import argparse
import shutil
import statistics
import sqlite3
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "wine"))

from task_walk import place_tasks  # noqa: E402  the tasks of the task-walk benchmark
from bench_prefix import bench_prefix  # noqa: E402
from harness import runner, wine  # noqa: E402

STORE = "C:\\windows\\system32\\Tasks"
PROGRAM = "C:\\windows\\notepad.exe"


def add_services(prefix, first, last):
    """Registers services first..last-1 with one reg import (sc create one by one is slow).
    They start on demand or are disabled: automatic ones would be started (and wait out
    their start time-out) when Wine's service manager comes up."""
    lines = ["Windows Registry Editor Version 5.00", ""]
    for index in range(first, last):
        lines += [f"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\BmBench{index}]",
                  '"Type"=dword:00000010', f'"Start"=dword:0000000{3 + index % 2}',
                  '"ErrorControl"=dword:00000001', f'"ImagePath"="{PROGRAM.replace(chr(92), chr(92) * 2)} /s{index}"',
                  f'"DisplayName"="Bench service {index}"', '"ObjectName"="LocalSystem"', ""]
    prefix.import_reg("\n".join(lines))


def make_databases(prefix):
    database = prefix.unix_path(prefix.program_dir + "Database")
    database.mkdir(parents=True, exist_ok=True)
    for file, table in [("StartupDRate.db", "disableRate(MD5 TEXT, drate TEXT, recommendation TEXT)"),
                        ("startupWhite.db", "whiteList(MD5 TEXT)"), ("startupBlack.db", "blackList(MD5 TEXT)")]:
        with sqlite3.connect(database / file) as db:
            db.execute("CREATE TABLE IF NOT EXISTS " + table)


def listed(prefix):
    data = prefix.read_ini(prefix.common_data_dir + "Startup Manager\\StartupCache.dat")
    return sum(1 for name in data.section_names() if name.startswith(("BmBench", "Updater task ")))


def timed(prefix, args, runs, exe=None):
    times = []
    for _ in range(runs):
        result = runner.BootmarkProcess(prefix, args, exe=exe).wait(900)
        if result.exit_code != 0 or result.duration is None:
            raise SystemExit(f"run {args} failed: {result!r}")
        times.append(result.duration)
    return statistics.median(times), min(times)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--counts", default="0,500")
    options = parser.parse_args()
    counts = [int(text) for text in options.counts.split(",")]

    with bench_prefix() as (prefix, built):
        shutil.copy2(built / "trivial.exe", prefix.unix_path(prefix.program_dir) / "trivial.exe")
        make_databases(prefix)
        # Services registered in the registry are seen by the service manager when it starts.
        wine.run(["wineserver", "-k"], prefix.env, timeout=60, check=False)
        trivial, trivial_min = timed(prefix, [], options.runs, exe=prefix.program_dir + "trivial.exe")
        print(f"trivial program: median {trivial:.3f} s, min {trivial_min:.3f} s")
        start, start_min = timed(prefix, ["/NoSuchSwitch"], options.runs)
        print(f"Bootmark without a job: median {start:.3f} s, min {start_min:.3f} s")
        print(f"{'items':>6} {'median s':>9} {'min s':>7} {'per item ms':>12}")
        services = 0
        base = None
        for count in counts:
            add_services(prefix, services, count)
            services = max(services, count)
            wine.run(["wineserver", "-k"], prefix.env, timeout=60, check=False)
            place_tasks(prefix.unix_path(STORE), count)
            median, fastest = timed(prefix, ["/mainData"], options.runs)
            if listed(prefix) != 2 * count:
                raise SystemExit(f"{2 * count} items placed, {listed(prefix)} listed")
            if count == 0:
                base = median
            per_item = f"{(median - base) / (2 * count) * 1000:.2f}" if count and base is not None else "-"
            print(f"{2 * count:>6} {median:>9.3f} {fastest:>7.3f} {per_item:>12} "
                  f"{median / trivial:>8.1f} x trivial", flush=True)


if __name__ == "__main__":
    main()
