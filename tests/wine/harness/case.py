"""The base class of the end-to-end tests."""
# Each test class gets its own copy of the template prefix with Bootmark installed and
# a wineserver kept alive; each test starts with empty suite data folders. All test
# classes of a process share one Xvfb display. When a test fails, a screenshot and the
# test's debug captures are kept (the path is printed); otherwise everything is deleted.
# Set BOOTMARK_WINE_KEEP=1 to keep the whole prefix of every class.

import os
import re
import shutil
import subprocess
import sys
import time
import unittest

from . import display as display_module
from . import prefix as prefix_module
from . import runner, wine
from .suite_input import ALERT_CLASS, ALERT_TITLE


class WineTestCase(unittest.TestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.display = display_module.display()
        cls.prefix = prefix_module.Prefix(cls.display.name, keep=os.environ.get("BOOTMARK_WINE_KEEP") == "1")
        cls._class_failed = False
        try:
            cls.prefix.install()
            cls.probe = runner.Probe(cls.prefix)
            # Start the prefix's own processes (desktop, services) before any timing.
            cls.probe.run("list", check=True, timeout=120)
        except BaseException:
            cls.prefix.stop(keep_artifacts=True)
            raise

    @classmethod
    def tearDownClass(cls):
        kept = cls.prefix.stop(keep_artifacts=cls._class_failed)
        if kept:
            print(f"\n[wine] kept {kept}", file=sys.stderr)
        super().tearDownClass()

    def setUp(self):
        super().setUp()
        self._background = []
        self._placed = []
        self._problems_before = self._problem_count()
        self.prefix.remove_suite_data()

    def tearDown(self):
        if self._problem_count() > self._problems_before:
            type(self)._class_failed = True
            try:
                shot = self.display.screenshot(self.prefix.new_artifact(self.id().rsplit(".", 1)[-1], ".png"))
                print(f"\n[wine] screenshot {shot}", file=sys.stderr)
            except Exception as error:  # a missing screenshot must not hide the failure
                print(f"\n[wine] no screenshot: {error}", file=sys.stderr)
        for process in self._background:
            wine.kill_group(process.process)
        for path in reversed(self._placed):
            shutil.rmtree(path, ignore_errors=True) if path.is_dir() else path.unlink(missing_ok=True)
        super().tearDown()

    def _problem_count(self):
        # Failures and errors are reported to the result as they happen (Python 3.11+),
        # so a count that grew during the test means the test failed.
        result = self._outcome.result
        return len(getattr(result, "failures", [])) + len(getattr(result, "errors", []))

    # --- running the program ---------------------------------------------------------

    # Runs Bootmark.exe to its end (killed and failed after timeout seconds) and checks
    # that it really started and ended.
    def run_bootmark(self, *args, timeout=60):
        result = runner.BootmarkProcess(self.prefix, args).wait(timeout)
        self.assertTrue(result.pid is not None and result.exit_code is not None,
                        f"Bootmark {args} never ran:\n{result.stderr[-2000:]}")
        return result

    # Background processes are killed at the end of the test.
    def start_bootmark(self, *args):
        self._background.append(runner.BootmarkProcess(self.prefix, args))
        return self._background[-1]

    def start_probe(self, *args):
        self._background.append(runner.ProbeProcess(self.probe, args))
        return self._background[-1]

    # Runs the program to its end (with that exit code) under a `watch` probe and checks
    # that it showed no window and, given `window_class`, made none of that class at all:
    # a mode's window may exist unseen (the alert window receives items while hidden).
    def run_silent(self, *args, window_class=None, timeout=60, exit_code=0):
        watch = self.start_probe("watch")
        result = self.run_bootmark(*args, timeout=timeout)
        self.assertEqual(result.exit_code, exit_code, result)
        windows = [w for w in watch.windows() if w.pid == result.pid]
        self.assertEqual([w for w in windows if w.visible or w.class_name == window_class], [],
                         f"windows of {result!r}")
        watch.stop()
        return result

    # Starts the program and waits until its window of that class is shown: (run, the
    # window's `list` line). The `watch` probe beside it must see the window too: the
    # positive control of every run_silent.
    def open_window(self, args, window_class, title="*", timeout=60):
        watch = self.start_probe("watch")
        run = self.start_bootmark(*args)
        hwnd = self.probe.wait(window_class, title, timeout=timeout)
        self.assertIsNotNone(hwnd, f"no {window_class} window; lines: {run.lines()}")

        def seen():
            return [w for w in watch.windows() if w.hwnd == hwnd and w.visible and w.pid == run.pid()]
        self.wait_until(seen, 20, f"the watch never saw {window_class} {hwnd} of {run.args} shown")
        watch.stop()
        # As it is now, or as it was last seen when it has closed already.
        return run, ([w for w in self.probe.list() if w.hwnd == hwnd] or seen())[-1]

    def open_alert(self, *item_args, timeout=60):
        return self.open_window(["/AddAutoRun", *item_args], ALERT_CLASS, ALERT_TITLE, timeout=timeout)

    # --- the fixture machine ---------------------------------------------------------

    # Writes a file into the prefix (its folders made), removed after the test.
    def place(self, windows_path, data):
        path = self.prefix.unix_path(windows_path)
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
        self._placed.append(path)
        return path

    # A shortcut saved by the shell's link object, removed after the test.
    def make_link(self, link, target, arguments=""):
        self.prefix.unix_path(link).parent.mkdir(parents=True, exist_ok=True)
        self.probe.run("new-link", target, arguments, link, check=True)
        self._placed.append(self.prefix.unix_path(link))

    # Deletes files a test leaves in the program folder (records of stand-ins).
    def remove_program_files(self, *names):
        for name in names:
            self.prefix.unix_path(self.prefix.program_dir + name).unlink(missing_ok=True)

    # The events of each start of the statistics stand-in "Tallyhop3.exe".
    def statistics_events(self):
        return [int(found.group(1)) for command, _ in self.prefix.recorded_calls("Tallyhop3.exe")
                for found in [re.search(r"/stflag (\d+)", command)] if found]

    # Waits until the statistics events are these (or, not `exactly`, include them).
    def wait_for_events(self, *expected, exactly=True):
        def arrived():
            events = self.statistics_events()
            return sorted(events) == sorted(expected) if exactly else set(expected) <= set(events)
        self.wait_until(arrived, 20, f"statistics events {expected}, got {self.statistics_events()}")

    # The names of the items the alert showed, in order, from its log (UTF-16).
    def alert_log_names(self):
        log = self.prefix.unix_path(self.prefix.common_data_dir + "Bootmark\\smAutoRun.log")
        text = log.read_bytes().decode("utf-16") if log.is_file() else ""
        return re.findall(r"FNewItemName : (.*)\r\n", text)

    # --- driving a window ------------------------------------------------------------

    def window(self, hwnd):
        return [w for w in self.probe.list() if w.hwnd == hwnd][0]

    def texts(self, hwnd):  # of the window's visible controls
        return [child.text for child in self.probe.children(hwnd) if child.visible]

    def click(self, hwnd, text=None, control_id=None):
        children = self.probe.children(hwnd)
        found = [child for child in children if child.text == text or child.control_id == control_id]
        self.assertTrue(found, f"no control {text or control_id} in {children}")
        # The click may end the process while the probe still waits for the answer.
        self.probe.run("click", found[0].hwnd)

    # Moves the X pointer, as the user's mouse does (a pointer moved from inside Wine is
    # not always seen by another process's windows).
    def move_pointer(self, x, y):
        subprocess.run(["xdotool", "mousemove", str(x), str(y)], env={**os.environ, "DISPLAY": self.display.name},
                       check=True, timeout=30)

    def finish(self, run, timeout=30):  # waits for the end and checks exit code 0
        result = run.wait(timeout=timeout)
        self.assertEqual(result.exit_code, 0, result)
        return result

    # --- assertions ------------------------------------------------------------------

    def assertHasLine(self, result, line):
        self.assertIn(line, result.lines, f"no debug line {line!r} in {result!r}")

    # With the environment variable set to a PNG path, the window (a notice) is saved
    # there, for the README.
    def save_documentation_screenshot(self, hwnd, variable):
        target = os.environ.get(variable)
        if target:
            time.sleep(1.0)  # let the window finish painting
            self.display.screenshot(target, self.window(hwnd).rect)

    def wait_until(self, condition, timeout, message):
        deadline = time.monotonic() + timeout
        while not condition():
            if time.monotonic() > deadline:
                self.fail(message)
            time.sleep(0.05)
