"""/AddAutoRun with the online disable-rate look-up: the suite's update settings
switch it on, Bootmark POSTs the item's identifier to the statistics server, an answer
that advises to keep the item ends the run without an alert, and the rate and advice
are stored for the alert window ("Bootmark\\DisableItemInfo.ini") and cached per
machine ("Startup Manager\\disableRate.db"). A local server stands in for the
statistics server."""

import json
import shutil
import socket
import subprocess
import tempfile
import time
import unittest
from pathlib import Path

from harness import WineTestCase
from harness.statistics import INFO_SECTION, ITEM_ARGS, ITEM_ID, StatisticsServer, StatisticsServerCase, answer, install_item_program

ALERT_CLASS = "TBmark_AutoRunNotice"
ALERT_TITLE = "AutoRunNotice"


def closed_port():
    """A local port on which nothing listens: connections are refused."""
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class DisableRateTest(StatisticsServerCase):

    def setUp(self):
        super().setUp()
        self.server.requests.clear()
        self.server.reply = None
        self.server.delay = 0.0
        self.server.trickle = False
        self.server.status = 200
        self.update_ini = self.prefix.program_dir + "Update\\Update.ini"
        self.info_ini = self.prefix.common_data_dir + "Bootmark\\DisableItemInfo.ini"
        self.cache = self.prefix.common_data_dir + "Startup Manager\\disableRate.db"
        self.prefix.unix_path(self.update_ini).unlink(missing_ok=True)

    def switch_on(self, url=None, extra=""):
        self.prefix.write_ini(self.update_ini,
                              f"[Startup]\nOpenRequest=1\nRequesturl={url or self.server.url}\n{extra}")

    def info(self):
        path = self.prefix.unix_path(self.info_ini)
        if not path.is_file():
            return None
        return self.prefix.read_ini(self.info_ini).section(INFO_SECTION)

    def run_to_alert(self):
        """Starts the run and waits for its alert window: the decision is written
        before the window opens."""
        run = self.start_bootmark("/AddAutoRun", *ITEM_ARGS)
        hwnd = self.probe.wait(ALERT_CLASS, ALERT_TITLE, timeout=60)
        self.assertIsNotNone(hwnd, f"no alert window; lines: {run.lines()}")
        return run

    # --- switched off ------------------------------------------------------------------

    def test_switched_off_asks_nothing_and_alerts(self):
        self.server.reply = answer("5%", 3)
        for settings in (None, "[Startup]\nRequesturl={url}\n", "[Startup]\nOpenRequest=0\nRequesturl={url}\n"):
            with self.subTest(settings=settings):
                self.prefix.remove_suite_data()
                if settings is None:
                    self.prefix.unix_path(self.update_ini).unlink(missing_ok=True)
                else:
                    self.prefix.write_ini(self.update_ini, settings.format(url=self.server.url))
                run = self.run_to_alert()
                run.kill()

                self.assertEqual(self.server.requests, [])
                self.assertIsNone(self.info())
                self.assertFalse(any(line.startswith("DisableRate: ") for line in run.lines()), run.lines())

    # --- answers -------------------------------------------------------------------------

    def test_advice_to_keep_ends_without_an_alert(self):
        self.switch_on()
        self.server.reply = answer("12.5%", 3)
        watch = self.start_probe("watch")

        result = self.run_bootmark("/AddAutoRun", *ITEM_ARGS, timeout=60)

        self.assertEqual(result.exit_code, 0, result)
        for line in ("DisableRate: 12.5%", "Recommend: 3", "6.IsRecommand :Enable ", "FNewItemDisRate : 12.5"):
            self.assertHasLine(result, line)
        self.assertShowedNoWindow(watch, result, ALERT_CLASS)

        # One POST of the identifier with the client's default headers.
        self.assertEqual(len(self.server.requests), 1, self.server.requests)
        request = self.server.requests[0]
        self.assertEqual(request["path"], "/proportion.php")
        self.assertEqual(request["body"], f'[{{"id":"{ITEM_ID}"}}]'.encode())
        headers = {key.lower(): value for key, value in request["headers"].items()}
        self.assertEqual(headers.get("content-type"), "application/x-www-form-urlencoded")
        self.assertEqual(headers.get("user-agent"), "Mozilla/4.0")

        self.assertEqual(self.info(), {"DisableRate": "12.5%", "Recommand": "3"})
        cache = self.prefix.read_ini(self.cache)
        self.assertEqual(cache.section(ITEM_ID), {"drate": "12.5%", "recommendation": "3"})

    def test_answer_in_brackets_reads_as_the_object(self):
        self.switch_on()
        self.server.reply = b"[" + answer("9.99%", "0") + b"]"

        run = self.run_to_alert()

        self.assertEqual(self.info(), {"DisableRate": "9.99%", "Recommand": "0"})
        self.assertIn("Recommend: 0", run.lines())
        self.assertNotIn("6.IsRecommand :Enable ", run.lines())
        cache = self.prefix.read_ini(self.cache)
        self.assertEqual(cache.section(ITEM_ID), {"drate": "9.99%", "recommendation": "0"})

    def test_slow_server_is_waited_for(self):
        self.switch_on()
        self.server.reply = answer("40%", 3)
        self.server.delay = 4.0

        result = self.run_bootmark("/AddAutoRun", *ITEM_ARGS, timeout=60)

        self.assertHasLine(result, "6.IsRecommand :Enable ")
        self.assertGreaterEqual(result.duration, 4.0, result)
        self.assertEqual(self.info(), {"DisableRate": "40%", "Recommand": "3"})

    # --- no usable answer ----------------------------------------------------------------

    def check_no_answer(self, expect_request=True):
        run = self.run_to_alert()
        self.assertEqual(self.info(), {"DisableRate": "", "Recommand": "-1"})
        lines = run.lines()
        self.assertIn("DisableRate: ", lines)
        self.assertIn("Recommend: -1", lines)
        self.assertFalse(self.prefix.unix_path(self.cache).exists())
        if expect_request:
            self.assertEqual(len(self.server.requests), 1)
        run.kill()

    def test_garbage_short_failed_and_oversized_answers_leave_the_rate_unknown(self):
        self.switch_on()
        # A good answer counts only with a success status and within 64 KiB.
        oversized = answer("12.5%", "3") + b" " * (64 * 1024)
        for status, reply in ((200, b"<html><body>Service Unavailable</body></html>"),
                              (200, json.dumps({"id": ITEM_ID, "prop": "12%"}).encode()), (200, b""),
                              (500, answer("12.5%", "3")), (404, answer("12.5%", "3")), (200, oversized)):
            with self.subTest(status=status, reply=reply[:60]):
                self.prefix.remove_suite_data()
                self.server.requests.clear()
                self.server.status = status
                self.server.reply = reply
                self.check_no_answer()

    def test_server_that_hangs_up_after_a_while_leaves_the_rate_unknown(self):
        self.switch_on()
        self.server.delay = 3.0
        started = time.monotonic()
        self.check_no_answer()
        self.assertGreaterEqual(time.monotonic() - started, 3.0)

    def test_trickling_server_is_cut_at_the_look_ups_deadline(self):
        self.switch_on(extra="RequestTimeout=3\n")
        self.server.trickle = True
        started = time.monotonic()
        self.check_no_answer()
        elapsed = time.monotonic() - started
        self.assertGreaterEqual(elapsed, 3.0)
        self.assertLess(elapsed, 20.0, "the look-up outlived its deadline")

    def test_refused_connection_leaves_the_rate_unknown(self):
        self.switch_on(f"http://127.0.0.1:{closed_port()}/proportion.php")
        self.check_no_answer(expect_request=False)


class UntrustedCertificateTest(WineTestCase):
    """An HTTPS server whose certificate the system does not trust gets no request."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        install_item_program(cls.prefix)
        cls.keys = Path(tempfile.mkdtemp(prefix="bootmark-cert-"))
        key, cert = cls.keys / "key.pem", cls.keys / "cert.pem"
        subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", str(key),
                        "-out", str(cert), "-days", "2", "-subj", "/CN=127.0.0.1",
                        "-addext", "subjectAltName=IP:127.0.0.1"],
                       check=True, capture_output=True, timeout=60)
        cls.server = StatisticsServer(certificate=(str(cert), str(key)))

    @classmethod
    def tearDownClass(cls):
        cls.server.stop()
        shutil.rmtree(cls.keys, ignore_errors=True)
        super().tearDownClass()

    def test_self_signed_server_is_refused(self):
        self.server.reply = answer("5%", 3)
        self.prefix.write_ini(self.prefix.program_dir + "Update\\Update.ini",
                              f"[Startup]\nOpenRequest=1\nRequesturl={self.server.url}\n")

        run = self.start_bootmark("/AddAutoRun", *ITEM_ARGS)
        hwnd = self.probe.wait(ALERT_CLASS, ALERT_TITLE, timeout=60)

        self.assertIsNotNone(hwnd, f"no alert window; lines: {run.lines()}")
        self.assertIn("Recommend: -1", run.lines())
        self.assertEqual(self.server.requests, [])
        info = self.prefix.read_ini(self.prefix.common_data_dir + "Bootmark\\DisableItemInfo.ini")
        self.assertEqual(info.section(INFO_SECTION), {"DisableRate": "", "Recommand": "-1"})


if __name__ == "__main__":
    unittest.main()
