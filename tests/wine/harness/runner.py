"""Running Bootmark.exe through bmdbgcapture.exe, and windows through bmprobe.exe."""
# bmdbgcapture.exe records every debug string of the program in full.

import os
import re
import subprocess
import time
from types import SimpleNamespace

from . import prefix as prefix_module
from . import wine

_STARTED = re.compile(r"^bmdbgcapture: started pid (\d+)\r?$", re.M)
_EXITED = re.compile(r"^bmdbgcapture: pid (\d+) exited with code (\d+) after (\d+) ms\r?$", re.M)


# One finished run: args, lines, exit_code (None when the program was never seen to end),
# pid (None if the process was never created), duration (seconds from process creation
# to exit, by the debugger) and stderr.
class RunResult(SimpleNamespace):
    def __repr__(self):
        shown = "\n  ".join(self.lines[-40:]) or "(no debug lines)"
        return f"<{self.args}: exit code {self.exit_code}, {self.duration} s, debug lines:\n  {shown}>"


def _start(prefix, command, output, errors=None, cwd=None):
    # A Wine process of the prefix in a session of its own, its output (and errors) into files.
    with open(output, "wb") as out, open(errors or os.devnull, "wb") as err:
        return subprocess.Popen(command, env=prefix.env, cwd=cwd or prefix.artifacts, stdin=subprocess.DEVNULL,
                                stdout=out, stderr=err if errors else subprocess.STDOUT, start_new_session=True)


def _lines(path):  # so far: the last element is an unfinished line, or ""
    return path.read_bytes().decode("utf-8", "replace").split("\n")[:-1]


class BootmarkProcess:
    # Bootmark.exe (or `exe`, another program of the prefix) started through the capture tool.
    def __init__(self, prefix, args, exe=None):
        self.args = list(args)
        self.capture = prefix.new_artifact("capture", ".txt")
        self.capture.touch()
        self._stdout = prefix.new_artifact("wine", ".stdout")
        self._stderr = self._stdout.with_suffix(".stderr")
        command = ["wine", prefix.program_dir + prefix_module.CAPTURE_TOOL, wine.windows_path(self.capture),
                   exe or prefix.exe, *self.args]
        # Scheduled tasks start programs in the system folder when they name no other.
        self.process = _start(prefix, command, self._stdout, self._stderr, prefix.unix_path("C:\\windows\\system32"))

    def lines(self):  # the capture tool writes each one as it comes
        return _lines(self.capture)

    def pid(self, timeout=20):  # once the debugger has seen the process start
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            found = _STARTED.search(self._err_text())
            if found:
                return int(found.group(1))
            if self.process.poll() is not None:
                break
            time.sleep(0.02)
        raise AssertionError(f"Bootmark {self.args} was never seen to start:\n{self._err_text()}")

    def running(self):
        return self.process.poll() is None

    def wait(self, timeout=60):  # a run that hangs is killed and fails the test
        try:
            self.process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            self.kill()
            raise AssertionError(f"Bootmark {self.args} did not end within {timeout} s; lines: {self.lines()}")
        stderr = self._err_text()
        started = _STARTED.search(stderr)
        exited = _EXITED.search(stderr)
        return RunResult(args=self.args, lines=self.lines(), exit_code=int(exited.group(2)) if exited else None,
                         pid=int(started.group(1)) if started else None,
                         duration=int(exited.group(3)) / 1000 if exited else None, stderr=stderr)

    def kill(self):
        wine.kill_group(self.process)

    def stdout_text(self):  # of console programs
        return self._stdout.read_bytes().decode("utf-8", "replace")

    def _err_text(self):
        return self._stderr.read_bytes().decode("utf-8", "replace")


# One line of `bmprobe list/watch` (WINDOW) or `bmprobe children` (CHILD).
WINDOW = ("hwnd", "pid", "class_name", "title", "visible", "rect")
CHILD = ("hwnd", "class_name", "control_id", "visible", "rect", "text")


def record(line, fields):
    found = SimpleNamespace(**{name: unescape(value) for name, value in zip(fields, line.split("\t"))})
    found.visible, found.rect = found.visible == "1", tuple(int(n) for n in found.rect.split(","))
    for number in ("pid", "control_id"):
        if hasattr(found, number):
            setattr(found, number, int(getattr(found, number)))
    return found


def unescape(text):
    return re.sub(r"\\(.)", lambda m: {"t": "\t", "n": "\n", "r": "\r"}.get(m.group(1), m.group(1)), text)


class Probe:  # bmprobe.exe, run inside the prefix
    def __init__(self, prefix):
        self.prefix = prefix
        self.tool = prefix.program_dir + prefix_module.PROBE_TOOL

    def run(self, *args, timeout=30, check=False):
        return wine.run(["wine", self.tool, *args], self.prefix.env, timeout=timeout, cwd=self.prefix.artifacts,
                        check=check)

    def _out(self, result):
        return result.stdout.decode("utf-8").splitlines()

    def wait(self, class_name, title, timeout):
        result = self.run("wait", class_name, title, str(int(timeout * 1000)), timeout=timeout + 30)
        return self._out(result)[0] if result.returncode == 0 else None

    def list(self):
        return [record(line, WINDOW) for line in self._out(self.run("list", check=True))]

    def children(self, hwnd):
        return [record(line, CHILD) for line in self._out(self.run("children", hwnd, check=True))]


class ProbeProcess:
    # A long-running probe (stand-in window, watch), ready when it printed its first line.
    def __init__(self, probe, args, timeout=20):
        self.output = probe.prefix.new_artifact("probe-" + args[0], ".txt")
        self.process = _start(probe.prefix, ["wine", probe.tool, *args], self.output)
        deadline = time.monotonic() + timeout
        while not self.lines():
            if self.process.poll() is not None:
                raise AssertionError(f"bmprobe {args} ended with exit code {self.process.returncode}: "
                                     f"{self.output.read_text(errors='replace')}")
            if time.monotonic() > deadline:
                self.stop()
                raise AssertionError(f"bmprobe {args} was not ready within {timeout} s")
            time.sleep(0.02)
        self.first_line = self.lines()[0]

    def lines(self):
        return _lines(self.output)

    def windows(self):  # of `watch`: every line so far (a window may come again, changed)
        return [record(line, WINDOW) for line in self.lines()[1:] if line.count("\t") == 5]

    def stop(self):
        wine.kill_group(self.process)
