#!/usr/bin/env python3
"""Times whole /UpdateTaskschd runs of the real Bootmark.exe under Wine with n task
files spread over 50 folders of the scheduler's store (the store the program reads
when Wine's scheduler service does not list its tasks), from no task up to 2,000.

The time is the debugger's: from the creation of the process to its end. The run
with no task is the cost of starting the program; the growth above it is the walk.
Usage (after the win64 build): bench/wine/task_walk.py [--runs 3] [--counts 0,500,1000,2000]
"""

import argparse
import shutil
import statistics
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "wine"))

from harness import display, prefix as prefix_module, runner  # noqa: E402

STORE = "C:\\windows\\system32\\Tasks"
FOLDERS = 50
NAMESPACE = "http://schemas.microsoft.com/windows/2004/02/mit/task"


def task_bytes(index):
    text = (
        '<?xml version="1.0" encoding="UTF-16"?>\r\n'
        f'<Task version="1.2" xmlns="{NAMESPACE}">\r\n'
        "  <RegistrationInfo><Author>Vendor</Author></RegistrationInfo>\r\n"
        "  <Triggers><LogonTrigger><Enabled>true</Enabled></LogonTrigger>"
        "<CalendarTrigger><StartBoundary>2024-03-01T09:30:15</StartBoundary>"
        "<ScheduleByDay><DaysInterval>1</DaysInterval></ScheduleByDay></CalendarTrigger></Triggers>\r\n"
        '  <Principals><Principal id="Author"><UserId>S-1-5-18</UserId></Principal></Principals>\r\n'
        f"  <Settings><Enabled>{'true' if index % 3 else 'false'}</Enabled></Settings>\r\n"
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


def listed_tasks(prefix):
    settings = prefix.read_ini(prefix.common_data_dir + "Bootmark\\Bootmark.ini")
    if "TaskStatus" not in settings.section_names():
        return 0
    return sum(1 for key in settings.section("TaskStatus") if key.startswith("Updater task "))


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--counts", default="0,500,1000,2000")
    options = parser.parse_args()
    counts = [int(text) for text in options.counts.split(",")]

    screen = display.display()
    prefix = prefix_module.Prefix(screen.name)
    try:
        prefix.install()
        runner.Probe(prefix).run("list", check=True, timeout=120)
        store = prefix.unix_path(STORE)
        base = None
        print(f"{'tasks':>6} {'median s':>9} {'min s':>7} {'per task ms':>12}")
        for count in counts:
            place_tasks(store, count)
            times = []
            for _ in range(options.runs):
                result = runner.BootmarkProcess(prefix, ["/UpdateTaskschd"]).wait(600)
                if result.exit_code != 0 or result.duration is None:
                    raise SystemExit(f"run with {count} tasks failed: {result!r}")
                times.append(result.duration)
            if listed_tasks(prefix) != count:
                raise SystemExit(f"{count} tasks placed, {listed_tasks(prefix)} listed")
            median = statistics.median(times)
            if count == 0:
                base = median
            per_task = f"{(median - base) / count * 1000:.2f}" if count and base is not None else "-"
            print(f"{count:>6} {median:>9.3f} {min(times):>7.3f} {per_task:>12}", flush=True)
    finally:
        prefix.stop()


if __name__ == "__main__":
    main()
