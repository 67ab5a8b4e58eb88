"""Running Wine's own programs: the environment every Wine command of the tests gets."""

import os
import signal
import subprocess
import tempfile
from pathlib import Path

from . import ini

# wineboot must not ask for the .NET and HTML engines, nor write menu entries into
# the real home folder.
DLL_OVERRIDES = "mscoree,mshtml=;winemenubuilder.exe=d"


def wine_env(prefix_dir, display=None):
    # The environment of a Wine command in prefix_dir: fixed locale, quiet traces.
    env = {k: v for k, v in os.environ.items() if not k.startswith(("WINE", "LC_", "LANGUAGE", "DISPLAY"))}
    env.update(WINEPREFIX=str(prefix_dir), WINEDLLOVERRIDES=DLL_OVERRIDES, WINEDEBUG="-all", LANG="C.UTF-8")
    if display is not None:
        env["DISPLAY"] = display
    return env


def windows_path(unix_path):  # of a file outside the prefix, on Wine's Z: drive
    return "Z:" + str(Path(unix_path).resolve()).replace("/", "\\")


# Imports the keys and values of .reg text with reg.exe, through the file `reg`.
def import_reg(env, reg, text):
    reg.write_bytes(ini.encode("Windows Registry Editor Version 5.00\n\n" + text))
    # reg.exe by name runs from the current folder first: run it from the file's.
    run(["wine", "reg", "import", windows_path(reg)], env, timeout=120, cwd=reg.parent)


def die_with_parent():
    # preexec_fn: the child gets SIGTERM when the test process dies, even by SIGKILL,
    # so that no Xvfb or wineserver outlives a test run that was killed on a timeout.
    import ctypes

    pr_set_pdeathsig = 1
    ctypes.CDLL(None, use_errno=True).prctl(pr_set_pdeathsig, signal.SIGTERM)


def kill_group(process):
    # Kills a process started with start_new_session=True and everything it started.
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass
    try:
        process.wait(timeout=10)
    except subprocess.TimeoutExpired:
        pass


def run(args, env, timeout, cwd=None, check=True):
    # Runs one Wine command to its end; a hang is killed and reported, never waited out.
    #
    # Output goes through files, not pipes: the first command of a prefix starts Wine's
    # own background processes, which inherit its output and would keep a pipe open.
    with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
        process = subprocess.Popen(args, env=env, cwd=cwd, stdin=subprocess.DEVNULL, stdout=out,
                                   stderr=err, start_new_session=True)
        try:
            process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            kill_group(process)
            raise AssertionError(f"{args} did not end within {timeout} s")
        out.seek(0)
        err.seek(0)
        result = subprocess.CompletedProcess(args, process.returncode, out.read(), err.read())
    if check and result.returncode != 0:
        raise AssertionError(
            f"{args} failed with exit code {result.returncode}:\n"
            f"{result.stderr.decode('utf-8', 'replace')[-2000:]}")
    return result
