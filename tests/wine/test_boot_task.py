# /BootTask: after Windows has started, the notice at the bottom right shows how long
# the boot took and one follow-up (the time saved, the startup items that can be
# optimised, or the suite's last cleaning findings), or ends silently with a debug
# line. A crash while its window framework starts has the suite's "Lazarun.exe"
# start the program again, at most once an hour.

import datetime

from harness import WineTestCase
from harness.suite_input import create_lookup_databases

NOTICE_CLASS = "TBmark_MainForm"
NOTICE_TITLE = "Bmark_MainForm"
RUN_KEY = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"


class BootTaskTest(WineTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        prefix = cls.prefix
        prefix.install_stand_ins("Tallyhop3.exe", "KST.exe", "Lazarun.exe", "Quillcore.dll")
        (prefix.unix_path(prefix.program_dir) / "GetTaskTypeEx.txt").write_text("2")
        create_lookup_databases(prefix)  # the inventory runs before every notice
        appdata = prefix.facts["appdata"]
        cls.low_data_dir = appdata[:appdata.rfind("\\AppData")] + "\\AppData\\LocalLow\\Tarvo\\Kestrune\\"
        cls.kst_cache = prefix.facts["common_appdata"] + "\\Tarvo\\KSTCache.dat"
        cls.boot_dat = prefix.common_data_dir + "Startup Manager\\boottime.dat"
        cls.boot_ini = prefix.common_data_dir + "BootTime.ini"
        cls.main_ini = prefix.user_data_dir + "Main.ini"

    def setUp(self):
        super().setUp()
        self.remove_program_files("Tallyhop3.calls.txt", "KST.calls.txt", "Lazarun.calls.txt", "ProcessRestart.ini",
                                  "TestFault.txt")
        for path in (self.kst_cache, self.low_data_dir + "HealthLevel.ini"):
            self.prefix.unix_path(path).unlink(missing_ok=True)

    # --- the machine ---------------------------------------------------------------

    def seed(self, boot_time="50000", last=None, dates="", main="DisplayTime=2\n"):
        self.prefix.write_ini(self.boot_dat, f"[main]\nboottime={boot_time}\ncount=0\n")
        if last is not None or dates:
            last_line = "" if last is None else f"boottime={last}\n"
            self.prefix.write_ini(self.boot_ini, f"[main]\n{last_line}{dates}")
        self.prefix.write_ini(self.main_ini, f"[Notification]\n{main}")

    def boot_ini_value(self, key):
        return self.prefix.read_ini(self.boot_ini).value("main", key)

    # --- the notice ----------------------------------------------------------------

    def open_notice(self):
        run, notice = self.open_window(["/BootTask"], NOTICE_CLASS, NOTICE_TITLE)
        return run, notice.hwnd

    def suite_started_with(self, switch):
        # Quoted: the suite's folder has a blank in its path.
        self.wait_until(lambda: self.prefix.recorded_calls("KST.exe"), 20, "the suite was not started")
        self.assertEqual(self.prefix.recorded_calls("KST.exe")[0][0], f'"{self.prefix.program_dir}KST.exe"{switch}')

    # --- tests ---------------------------------------------------------------------

    def test_boot_of_six_minutes_or_more_ends_silently(self):
        self.seed(boot_time="360000", last="62000")
        result = self.run_silent("/BootTask", window_class=NOTICE_CLASS)
        self.assertHasLine(result, "Millisecond >= 3600000")
        # The follow-up was chosen, counted and dated before the boot line.
        self.wait_until(lambda: len(self.statistics_events()) == 1, 20, "no follow-up event")
        self.assertEqual(self.boot_ini_value("boottime"), "62000")

    def test_saved_time_notice_records_its_date_and_the_check_box_switches_later_boots_off(self):
        self.seed(boot_time="50000", last="62000", main="DisplayTime=4\n")
        run, hwnd = self.open_notice()

        texts = self.texts(hwnd)
        self.assertIn("Your system boot time: <a>50s</a>", texts)
        self.assertIn("<a>12s</a> saved with Kestrune.", texts)
        self.assertNotIn("Optimize now", texts)
        self.save_documentation_screenshot(hwnd, "BOOTMARK_DOC_SCREENSHOT_SAVED")
        self.click(hwnd, "Don't show this again")
        self.wait_until(lambda: self.prefix.read_ini(self.main_ini).value("Notification", "BootTimeNotification")
                        == "0", 10, "the check box did not switch the notice off")

        self.finish(run)  # closes itself after its display time all the same
        self.wait_for_events(215)
        self.assertEqual(self.boot_ini_value("boottime"), "50000")
        self.assertRegex(self.boot_ini_value("ShareDateTime"), r"^4\d{4}\.\d+$")
        self.assertHasLine(self.run_silent("/BootTask", window_class=NOTICE_CLASS), "1111  11")  # the next boot

    def test_optimise_notice_offers_the_count_of_the_real_inventory(self):
        self.prefix.import_reg(f"[{RUN_KEY}]\n\"BmGhostTool\"=\"C:\\\\Gone\\\\ghost.exe /tray\"\n")
        try:
            self.seed(boot_time="81000", main="DisplayTime=0\n")
            run, hwnd = self.open_notice()

            count = self.prefix.read_ini(self.prefix.user_data_dir + "Startup Manager\\config.ini") \
                .value("main", "CanOptCount")
            self.assertNotIn(count, (None, "", "0"))
            texts = self.texts(hwnd)
            self.assertIn("Your system boot time: <a>1m 21s</a>", texts)
            self.assertIn(f"<a>{count}</a> items can be optimized.", texts)
            self.save_documentation_screenshot(hwnd, "BOOTMARK_DOC_SCREENSHOT_OPTIMIZE")

            self.click(hwnd, "Optimize now")
            self.finish(run)
            self.wait_for_events(217, 218)
            self.assertTrue(self.boot_ini_value("OptimizeDateTime"))
            self.suite_started_with(" /StartupOptimize")
        finally:
            self.prefix.import_reg(f"[-{RUN_KEY}]\n")

    def test_clean_notice_shows_the_junk_size_and_hands_its_kinds_to_the_suite(self):
        # Optimisation was offered today: the cleaning findings come next.
        today = (datetime.datetime.now() - datetime.datetime(1899, 12, 30)).days
        self.seed(boot_time="45000", dates=f"OptimizeDateTime={today}\n", main="DisplayTime=0\n")
        self.prefix.write_ini(self.low_data_dir + "HealthLevel.ini", "[Display]\ndays=3\n")
        self.prefix.write_ini(self.kst_cache, "[jk_scan_size]\nSize=1536000\n[py_scan_count]\nCount=0\n")
        run, hwnd = self.open_notice()

        texts = self.texts(hwnd)
        self.assertIn("<a>1.46 MB</a> junk files", texts)
        self.assertIn("Clean the items below for a faster PC:", texts)
        self.assertNotIn("Optimize now", texts)
        self.save_documentation_screenshot(hwnd, "BOOTMARK_DOC_SCREENSHOT_CLEAN")

        self.click(hwnd, "Clean now")
        self.finish(run)
        self.wait_for_events(219, 220)
        self.assertTrue(self.boot_ini_value("CleanDateTime"))
        self.assertTrue(self.boot_ini_value("Cleantype"))
        self.suite_started_with(" /cache 2")

    # --- the crash restart -----------------------------------------------------------

    def test_crash_while_the_framework_starts_restarts_once_an_hour(self):
        fault = self.prefix.unix_path(self.prefix.program_dir + "TestFault.txt")
        restart_ini = self.prefix.program_dir + "ProcessRestart.ini"
        fault.write_bytes(b"framework:oserror")
        try:
            self.finish(self.start_bootmark("/BootTask"))
            self.wait_until(lambda: self.prefix.recorded_calls("Lazarun.exe"), 20, "Lazarun.exe was not started")
            self.assertEqual([call for call, _ in self.prefix.recorded_calls("Lazarun.exe")],
                             [f'"{self.prefix.program_dir}Lazarun.exe" Bootmark.exe 1 /BootTask'])
            self.assertRegex(self.prefix.read_ini(restart_ini).value("Application", "Bootmark.exe"), r"^4\d{4}\.\d+$")

            second = self.run_bootmark("/BootTask")
            self.assertEqual(second.exit_code, 3, second)
            self.assertEqual(len(self.prefix.recorded_calls("Lazarun.exe")), 1)
        finally:
            fault.unlink(missing_ok=True)
