# /AddAutoRun with the online disable-rate look-up against a local stand-in of the
# statistics server: advice to keep the item ends the run without an alert, stored,
# cached and counted with the installation ("KST.exe" is a copy of bmporttests.exe, which
# has a version of its own); no usable answer leaves the rate unknown.

import socket
import tempfile
import time

import fixture_programs
from harness import ini, paths
from harness.statistics import INFO_SECTION, ITEM_ARGS, ITEM_ID, StatisticsServer, StatisticsServerCase, answer
from harness.suite_input import ALERT_CLASS

INSERT_URL = "https://stats.tarvo.example/usage_v2.php?action=insert"
KST_VERSION = "7.6 port test build"  # the string version of bmporttests.exe


class DisableRateTest(StatisticsServerCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.prefix.install_stand_ins("Tallyhop3.exe", "Quillcore.dll")
        cls.prefix.copy_in(paths.bootmark_exe().parent / "bmporttests.exe", cls.prefix.program_dir + "KST.exe")
        with tempfile.TemporaryDirectory() as keys:  # read when the server starts
            cert, key = fixture_programs.self_signed_certificate(keys, "/CN=127.0.0.1",
                                                                 "-addext", "subjectAltName=IP:127.0.0.1")
            cls.untrusted = StatisticsServer(certificate=(str(cert), str(key)))

    @classmethod
    def tearDownClass(cls):
        cls.untrusted.stop()
        super().tearDownClass()

    def setUp(self):
        super().setUp()
        self.reset_server()
        self.update_ini = self.prefix.program_dir + "Update\\Update.ini"
        self.info_ini = self.prefix.common_data_dir + "Bootmark\\DisableItemInfo.ini"
        self.cache = self.prefix.common_data_dir + "Startup Manager\\disableRate.db"
        self.prefix.unix_path(self.update_ini).unlink(missing_ok=True)

    def reset_server(self, reply=b"", delay=0.0, trickle=False, status=200):
        self.server.requests.clear()
        self.server.reply, self.server.delay, self.server.trickle, self.server.status = reply, delay, trickle, status

    def switch_on(self, url=None, extra=""):
        self.prefix.write_ini(self.update_ini,
                              f"[Startup]\nOpenRequest=1\nRequesturl={url or self.server.url}\n{extra}")

    def info(self):
        return self.prefix.read_ini(self.info_ini).section(INFO_SECTION)

    # --- answers -------------------------------------------------------------------------

    def test_advice_to_keep_ends_without_an_alert(self):
        # A slow answer is waited for.
        self.switch_on()
        self.reset_server(reply=answer("12.5%", 3), delay=4.0)
        # Installation facts: type code 2, an older version installed before, a
        # partner, and the channel in the registry view the 32-bit program sees.
        self.remove_program_files("Tallyhop3.calls.txt")
        self.place(self.prefix.program_dir + "GetTaskTypeEx.txt", b"2")
        self.place(self.prefix.facts["common_appdata"] + "\\Tarvo\\Install.ini",
                   ini.encode("[install]\nkst19=1\nkst17=1\n"))
        self.place(self.prefix.program_dir + "Lang.dat", ini.encode("[CusLan]\npr= acme \n"))
        self.prefix.import_reg("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Tarvo\\Kestrune]\n\"insur\"=\" bank \"\n")
        result = self.run_silent("/AddAutoRun", *ITEM_ARGS, window_class=ALERT_CLASS)
        for line in ("DisableRate: 12.5%", "Recommend: 3", "6.IsRecommand :Enable ", "FNewItemDisRate : 12.5"):
            self.assertHasLine(result, line)
        self.assertGreaterEqual(result.duration, 4.0, result)

        # One POST of the identifier with the client's default headers.
        [request] = self.server.requests
        self.assertEqual((request["path"], request["body"]), ("/proportion.php", f'[{{"id":"{ITEM_ID}"}}]'.encode()))
        headers = {key.lower(): value for key, value in request["headers"].items()}
        self.assertEqual((headers.get("content-type"), headers.get("user-agent")),
                         ("application/x-www-form-urlencoded", "Mozilla/4.0"))

        self.assertEqual(self.info(), {"DisableRate": "12.5%", "Recommand": "3"})
        cache = self.prefix.read_ini(self.cache)
        self.assertEqual(cache.section(ITEM_ID), {"drate": "12.5%", "recommendation": "3"})

        # The band of 12.5 % and the advice to keep the item; each start of the
        # statistics program runs on its own, so the records may come in either order.
        tallyhop = self.prefix.program_dir + "Tallyhop3.exe"
        installation = (f' /pd "kst" /url "{INSERT_URL}" /user 2 /insur "bank" /type 3 /pr "acme"'
                        f' /ver "{KST_VERSION}"')
        self.wait_until(lambda: len(self.prefix.recorded_calls("Tallyhop3.exe")) >= 2, 20, "no statistics starts")
        # The suite library was asked (the positive control of test_statistics' absent call record).
        type_calls = self.prefix.unix_path(self.prefix.program_dir + "GetTaskTypeEx.calls.txt")
        self.assertIn("GetTaskTypeEx(", type_calls.read_text())
        self.assertEqual(sorted(command for command, _ in self.prefix.recorded_calls("Tallyhop3.exe")), sorted(
            [f'"{tallyhop}" /statcom /stflag {event} /appid "kst19"{installation}' for event in ("229", "231")]))

    # --- no usable answer ----------------------------------------------------------------

    def test_no_usable_answer_leaves_the_rate_unknown(self):
        # A good answer counts only with a success status, within 64 KiB and before
        # the look-up's deadline.
        good = answer("12.5%", "3")
        with socket.socket() as closed:  # a local port on which nothing listens once closed
            closed.bind(("127.0.0.1", 0))
            refused = f"http://127.0.0.1:{closed.getsockname()[1]}/proportion.php"
        rows = [  # (case, server, update settings, seconds the run waits at least)
            ("status 500", dict(status=500, reply=good), {}, 0),
            ("oversized", dict(reply=good + b" " * (64 * 1024)), {}, 0),
            ("trickles past the deadline", dict(trickle=True), dict(extra="RequestTimeout=3\n"), 3),
            ("refused connection", {}, dict(url=refused), 0),
            # A certificate the system does not trust: no request reaches that server.
            ("untrusted certificate", {}, dict(url=self.untrusted.url), 0),
        ]
        for case, server, update, wait in rows:
            with self.subTest(case):
                self.prefix.remove_suite_data()
                self.reset_server(**server)
                self.switch_on(**update)
                started = time.monotonic()
                run = self.open_alert(*ITEM_ARGS)[0]  # the decision is written before the window opens
                elapsed = time.monotonic() - started
                self.assertEqual(self.info(), {"DisableRate": "", "Recommand": "-1"})
                self.assertIn("DisableRate: ", run.lines())
                self.assertIn("Recommend: -1", run.lines())
                self.assertFalse(self.prefix.unix_path(self.cache).exists())
                self.assertEqual(len(self.server.requests), 0 if update.get("url") else 1)
                self.assertEqual(self.untrusted.requests, [])
                self.assertGreaterEqual(elapsed, wait)
                self.assertLess(elapsed, 20.0, "the look-up outlived its deadline")
                run.kill()

