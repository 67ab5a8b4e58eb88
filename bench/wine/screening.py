#!/usr/bin/env python3
"""Times the screening of one new startup item end to end under Wine, against the
start of a trivial program in the same prefix, and prints the ratio.

Three kinds of run, each timed by the debugger from the creation of the process to
its end, alternated so that load on the machine hits them alike:
  trivial   a program that returns at once (made with the MinGW tool chain);
  shell     a program that asks the shell for the user's application data folder
            and returns: what the gate cannot do without (its settings file lives
            there), and the loader's work that comes with the shell;
  gate      Bootmark.exe /AddAutoRun ending at its first gate (notifications off):
            the program's own start;
  screening Bootmark.exe /AddAutoRun whose item passes every filter up to the last,
            the user's ignore list: a signed program whose signer the signature list
            (1,000 rows) does not hold, a white list of 10,000 rows without it, one
            installed antivirus product with a signed program, three records of the
            suite's own items, and the ignore entry that ends the chain.
With --before EXE, another build of Bootmark.exe is installed beside it and its gate and
screening runs ("gate before", "screening before") alternate with the others.
Usage (after the win64 build): bench/wine/screening.py [--runs 15] [--before EXE]
"""

import argparse
import hashlib
import shutil
import sqlite3
import subprocess
import sys
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "wine"))

import fixture_programs  # noqa: E402
from bench_prefix import bench_prefix, print_against_trivial  # noqa: E402
from harness import runner  # noqa: E402

FIXTURES = "C:\\BmScreen\\"
SHELL_SOURCE = ("#include <windows.h>\n#include <shlobj.h>\n"
                "int main() { wchar_t path[MAX_PATH];\n"
                "  return !SHGetSpecialFolderPathW(nullptr, path, CSIDL_APPDATA, FALSE); }\n")
RUN_KEY = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\"


def hex_arg(text):
    return "/" + text.encode("utf-16-le").hex().upper()


def build_shell_program(built):
    (built / "shell.cpp").write_text(SHELL_SOURCE)
    subprocess.run([fixture_programs.COMPILER, "-O1", "-s", "-static", str(built / "shell.cpp"), "-o",
                    str(built / "shell.exe"), "-lshell32"], check=True, capture_output=True)


def prepare(prefix, built):
    fixtures = prefix.unix_path(FIXTURES)
    (fixtures / "Shield").mkdir(parents=True, exist_ok=True)
    build_shell_program(built)
    for program in ("trivial.exe", "shell.exe"):
        shutil.copy2(built / program, fixtures / program)
    shutil.copy2(built / "signed.exe", fixtures / "agent.exe")
    shutil.copy2(built / "guard.exe", fixtures / "Shield" / "guard.exe")

    database = prefix.unix_path(prefix.program_dir + "Database")
    database.mkdir(parents=True, exist_ok=True)
    with sqlite3.connect(database / "startupSignature.db") as connection:
        connection.execute("CREATE TABLE signatureList(signature TEXT)")
        connection.executemany("INSERT INTO signatureList VALUES(?)", [(f"signer {i}",) for i in range(1000)])
    with sqlite3.connect(database / "startupWhite.db") as connection:
        connection.execute("CREATE TABLE whiteList(MD5 TEXT)")
        connection.executemany("INSERT INTO whiteList VALUES(?)",
                               [(hashlib.md5(str(i).encode()).hexdigest().upper(),) for i in range(10000)])

    prefix.unix_path(prefix.program_dir + "DetectionEx.ini").write_bytes(
        b"[P_Shieldy]\r\nEnable=1\r\nDisplayName='shieldy'\r\n[P_Other]\r\nDisplayName='other'\r\n")
    prefix.import_reg("Windows Registry Editor Version 5.00\n\n"
                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\BmShieldy]\n"
                      '"DisplayName"="Shieldy Antivirus"\n"Publisher"="Shieldy Labs"\n'
                      '"InstallLocation"="C:\\\\BmScreen\\\\Shield\\\\"\n')


def write_item_files(prefix):
    """The files a screening run reads and may change, as they are before each run."""
    prefix.write_ini(prefix.common_data_dir + "Bootmark\\AutoRunConfig.ini",
                     "".join(f"[Item{i}]\nName=Other{i}\nType=1\nExePath=C:\\Other\\\n" for i in range(3)))
    prefix.write_ini(prefix.user_data_dir + "Startup Manager\\Ignore.ini",
                     f"[Monitor]\nBmAgent{FIXTURES}agent.exe1=1\n")


def timed(prefix, args, exe=None, line=None):
    result = runner.BootmarkProcess(prefix, args, exe=exe).wait(120)
    if result.exit_code != 0 or result.duration is None or (line and line not in result.lines):
        raise SystemExit(f"run {args} failed: {result!r}")
    return result.duration


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=15)
    parser.add_argument("--before", type=Path, help="another build of Bootmark.exe to compare")
    options = parser.parse_args()

    with bench_prefix() as (prefix, built):
        fixture_programs.sign(built / "trivial.exe", built / "signed.exe", "Bench Agent Signer")
        fixture_programs.sign(built / "trivial.exe", built / "guard.exe", "Shieldy Labs")
        runner.Probe(prefix).run("list", check=True, timeout=120)
        prepare(prefix, built)

        item = ["/AddAutoRun", "/1", hex_arg(RUN_KEY + "BmAgent"), hex_arg(f'"{FIXTURES}agent.exe" -tray'),
                hex_arg(RUN_KEY)]
        builds = {"": prefix.exe}
        if options.before:
            builds[" before"] = prefix.program_dir + "BootmarkBefore.exe"
            shutil.copy2(options.before, prefix.unix_path(builds[" before"]))
        gate_settings = prefix.user_data_dir + "Main.ini"
        times = {"trivial": [], "shell": []}
        for _ in range(options.runs + 1):  # the first round warms the caches and is dropped
            times["trivial"].append(timed(prefix, [], exe=FIXTURES + "trivial.exe"))
            times["shell"].append(timed(prefix, [], exe=FIXTURES + "shell.exe"))
            for suffix, exe in builds.items():
                prefix.write_ini(gate_settings, "[Notification]\nStartupNotification=0\n")
                times.setdefault("gate" + suffix, []).append(timed(prefix, item, exe, "Kestrune Settings : 0"))
                prefix.unix_path(gate_settings).unlink()
                write_item_files(prefix)
                times.setdefault("screening" + suffix, []).append(
                    timed(prefix, item, exe, "6.manu ignore : BmAgent"))

        medians, minimums = print_against_trivial(times)
        for label, figures in (("median", medians), ("min", minimums)):
            extra = figures["screening"] - figures["gate"]
            print(f"screening beyond the program's start ({label}): {extra * 1000:.1f} ms "
                  f"({extra / figures['trivial']:.2f} x trivial)")


if __name__ == "__main__":
    main()
