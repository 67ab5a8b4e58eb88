#!/usr/bin/env python3
"""Times whole /mainData runs of the real Bootmark.exe under Wine on a machine with
n services (made with the service manager) and n scheduled tasks (task files in 50
folders of the scheduler's store), against a run of the same program that does no
work (an unknown switch: the program's start alone).

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

from harness import display, prefix as prefix_module, runner, wine  # noqa: E402

STORE = "C:\\windows\\system32\\Tasks"
FOLDERS = 50
NAMESPACE = "http://schemas.microsoft.com/windows/2004/02/mit/task"
PROGRAM = "C:\\windows\\notepad.exe"


def task_bytes(index):
    text = (
        '<?xml version="1.0" encoding="UTF-16"?>\r\n'
        f'<Task version="1.2" xmlns="{NAMESPACE}">\r\n'
        "  <RegistrationInfo><Author>Vendor</Author></RegistrationInfo>\r\n"
        "  <Triggers><LogonTrigger><Enabled>true</Enabled></LogonTrigger></Triggers>\r\n"
        '  <Principals><Principal id="Author"><UserId>S-1-5-18</UserId></Principal></Principals>\r\n'
        "  <Settings><Enabled>true</Enabled></Settings>\r\n"
        f'  <Actions Context="Author"><Exec><Command>C:\\Tools\\tool{index}.exe</Command></Exec></Actions>\r\n'
        "</Task>\r\n")
    return b"\xff\xfe" + text.encode("utf-16-le")


def place_tasks(root, count):
    bench_root = root / "BmBench"
    shutil.rmtree(bench_root, ignore_errors=True)
    for index in range(count):
        folder = bench_root / f"Vendor {index % FOLDERS}"
        folder.mkdir(parents=True, exist_ok=True)
        (folder / f"Updater task {index}").write_bytes(task_bytes(index))


def add_services(prefix, first, last):
    """Registers services first..last-1 with one reg import (sc create one by one is slow)."""
    lines = ["Windows Registry Editor Version 5.00", ""]
    for index in range(first, last):
        lines += [f"[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\BmBench{index}]",
                  '"Type"=dword:00000010', f'"Start"=dword:0000000{2 + index % 3}',
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


def timed(prefix, args, runs):
    times = []
    for _ in range(runs):
        result = runner.BootmarkProcess(prefix, args).wait(900)
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

    screen = display.display()
    prefix = prefix_module.Prefix(screen.name)
    try:
        prefix.install()
        make_databases(prefix)
        # Services registered in the registry are seen by the service manager when it starts.
        wine.run(["wineserver", "-k"], prefix.env, timeout=60, check=False)
        start, start_min = timed(prefix, ["/NoSuchSwitch"], options.runs)
        print(f"program start alone: median {start:.3f} s, min {start_min:.3f} s")
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
            print(f"{2 * count:>6} {median:>9.3f} {fastest:>7.3f} {per_item:>12}", flush=True)
    finally:
        prefix.stop()


if __name__ == "__main__":
    main()
