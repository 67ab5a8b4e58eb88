# The crash safety net: a failure that nothing caught (an exception out of a mode,
# one that ends a thread, a processor fault) is written to the program's log
# "Bootmark.log" and the debug output, and the process ends at once without a
# dialog. The test build fails on request: "TestFault.txt" beside the program names
# the failure.

import re
import subprocess
import time

from harness import WineTestCase

MODE = "/UpdateTaskschd"


class CrashNetTest(WineTestCase):

    def setUp(self):
        super().setUp()
        self.fault = self.prefix.unix_path(self.prefix.program_dir + "TestFault.txt")
        self.log = self.prefix.unix_path(self.prefix.program_dir + "Bootmark.log")
        self.log.unlink(missing_ok=True)

    def tearDown(self):
        self.fault.unlink(missing_ok=True)
        super().tearDown()

    def log_text(self):
        return self.log.read_bytes().decode("utf-16") if self.log.is_file() else ""

    def test_escaping_exceptions_are_logged_and_end_the_run_at_once(self):
        # The first row, without a fault, is the mode as usual: the positive control
        # of the absent mode line.
        cases = [(None, None), ("exception", "std::runtime_error: injected failure"),
                 ("thread", "std::logic_error: injected failure in a thread")]
        for kind, what in cases:
            with self.subTest(kind=kind):
                self.log.unlink(missing_ok=True)
                self.fault.unlink(missing_ok=True)
                if kind is not None:
                    self.fault.write_bytes(kind.encode())
                result = self.run_silent(MODE, timeout=30, exit_code=0 if kind is None else 3)
                if kind is None:
                    self.assertHasLine(result, "UpdateTaskschd : UpdateTaskschd")
                    self.assertNotIn("Unhandled failure", self.log_text())
                else:
                    line = f"Unhandled failure: {what} in {MODE}"
                    self.assertHasLine(result, line)
                    self.assertIn(line, self.log_text())
                    self.assertNotIn("UpdateTaskschd : UpdateTaskschd", result.lines)

    def test_processor_fault_is_logged_with_its_code_and_address(self):
        # Run without the capture tool: a debugged process never reaches the
        # system's last-chance handler.
        self.fault.write_bytes(b"access")
        started = time.monotonic()
        subprocess.run(["wine", self.prefix.exe, MODE], env=self.prefix.env,
                       cwd=self.prefix.unix_path("C:\\windows\\system32"),
                       stdin=subprocess.DEVNULL, capture_output=True, timeout=60)
        self.assertLess(time.monotonic() - started, 30)
        self.assertRegex(self.log_text(),
                         rf"Unhandled failure: exception 0xC0000005 at 0x[0-9A-F]{{16}} in {re.escape(MODE)}")
