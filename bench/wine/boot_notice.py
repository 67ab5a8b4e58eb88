#!/usr/bin/env python3
"""Times /BootTask from its start to the boot time notice being visible, under Wine,
on a machine with n services and n scheduled tasks (the inventory runs before the
notice), against the whole run of a trivial program started the same way.

Both are wall times from the start of the Wine command: to the notice's window
showing (polled by the probe every 50 ms), and to the trivial program's end.
Usage (after the win64 build): bench/wine/boot_notice.py [--runs 3] [--counts 0,500]
"""

import argparse
import shutil
import statistics
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "wine"))
sys.path.insert(0, str(Path(__file__).resolve().parent))

from inventory import STORE, add_services, make_databases  # noqa: E402
from task_walk import place_tasks  # noqa: E402
from bench_prefix import bench_prefix  # noqa: E402
from harness import runner, wine  # noqa: E402


def until_visible(prefix, probe, runs):
    times = []
    for _ in range(runs):
        prefix.write_ini(prefix.common_data_dir + "Startup Manager\\boottime.dat", "[main]\nboottime=45000\ncount=0\n")
        prefix.write_ini(prefix.user_data_dir + "Main.ini", "[Notification]\nDisplayTime=0\n")
        started = time.monotonic()
        process = runner.BootmarkProcess(prefix, ["/BootTask"])
        try:
            shown = []
            while not shown:
                if time.monotonic() - started > 600:
                    raise SystemExit(f"no notice: {process.lines()}")
                time.sleep(0.05)
                shown = [w for w in probe.list() if w.class_name == "TBmark_MainForm" and w.visible]
            times.append(time.monotonic() - started)
            probe.close(shown[0].hwnd)  # the notice ends its process
            process.wait(60)
        finally:
            if process.running():
                process.kill()
    return statistics.median(times), min(times)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--counts", default="0,500")
    options = parser.parse_args()

    with bench_prefix() as (prefix, built):
        probe = runner.Probe(prefix)
        shutil.copy2(built / "trivial.exe", prefix.unix_path(prefix.program_dir) / "trivial.exe")
        make_databases(prefix)
        wine.run(["wineserver", "-k"], prefix.env, timeout=60, check=False)
        probe.run("list", check=True, timeout=120)
        trivial = statistics.median(runner.BootmarkProcess(prefix, [], exe=prefix.program_dir + "trivial.exe")
                                    .wait(120).wall_time for _ in range(options.runs))
        print(f"trivial program, whole run: median {trivial:.3f} s")
        services = 0
        for count in [int(text) for text in options.counts.split(",")]:
            add_services(prefix, services, count)
            services = max(services, count)
            wine.run(["wineserver", "-k"], prefix.env, timeout=60, check=False)
            place_tasks(prefix.unix_path(STORE), count)
            probe.run("list", check=True, timeout=120)
            median, fastest = until_visible(prefix, probe, options.runs)
            print(f"{2 * count:>6} items: notice visible after median {median:.3f} s, min {fastest:.3f} s, "
                  f"{median / trivial:.1f} x trivial", flush=True)


if __name__ == "__main__":
    main()
