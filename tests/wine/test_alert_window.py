# /AddAutoRun: the new-startup-item alert, driven as a person would: what it shows,
# "Disable Now", the ignore box, the countdown that waits while the pointer rests on the
# alert, the notification center on time-out; the gate of a full-screen program in front
# and an item handed over to the open alert. (Many items handed over at once:
# test_alert_load.)

import time

from harness import wine
from harness.statistics import ITEM_ARGS, ITEM_EXE, ITEM_NAME, StatisticsServerCase, answer
from harness.suite_input import ALERT_CLASS, hex_arg

# The close button has no text; it is the fifth control the alert makes.
CLOSE_CONTROL_ID = 5
CREATOR = "C:\\Tools\\Setup\\setup.exe"
RUN_KEY = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"
# The item of ITEM_ARGS with the process that created it.
ITEM_WITH_CREATOR = ITEM_ARGS + (hex_arg("4242"), hex_arg(CREATOR))


def item_args(name, exe=ITEM_EXE):  # a registry item of its own name
    return ("/1", hex_arg(name), hex_arg(exe), hex_arg(RUN_KEY))


class AlertWindowCase(StatisticsServerCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        # The suite's programs: statistics, the suite itself and its exchange library.
        cls.prefix.install_stand_ins(CREATOR, "Tallyhop3.exe", "KST.exe", "Quillcore.dll", "Statewell.dll")

    def setUp(self):
        super().setUp()
        self.remove_program_files("Tallyhop3.calls.txt", "KST.calls.txt", "Statewell.calls.txt", "Statewell.reply.txt",
                                  "Update\\Update.ini")
        # An installation the statistics are sent for.
        (self.prefix.unix_path(self.prefix.program_dir) / "GetTaskTypeEx.txt").write_text("2")
        self.prefix.write_ini(self.prefix.facts["common_appdata"] + "\\Tarvo\\Install.ini", "[install]\nkst19=1\n")

    def settings(self, display_time):
        self.prefix.write_ini(self.prefix.user_data_dir + "Main.ini", f"[Notification]\nDisplayTime={display_time}\n")


class AlertItemTest(AlertWindowCase):

    def test_rows_rate_line_and_details(self):
        # The disable-rate look-up answers 20 %, advising nothing.
        self.prefix.write_ini(self.prefix.program_dir + "Update\\Update.ini",
                              f"[Startup]\nOpenRequest=1\nRequesturl={self.server.url}\n")
        self.server.reply = answer("20%", 1)
        self.settings(0)  # stays until closed
        run, alert = self.open_alert(*ITEM_WITH_CREATOR)
        texts = self.texts(alert.hwnd)
        for text in ["A new startup item detected", ITEM_NAME, "Details", "Disable Now", "Ignore this startup item",
                     "Disabled by <a>20%</a> users"]:
            self.assertIn(text, texts)
        # The key and the name run together, broken by a blank where they pass 350 pixels.
        location = [t for t in texts if t.startswith(RUN_KEY)]
        self.assertEqual([t.replace(" ", "") for t in location], [(RUN_KEY + ITEM_NAME).replace(" ", "")])
        self.assertNotEqual(location[0], RUN_KEY + ITEM_NAME)
        self.wait_for_events(224, exactly=False)
        self.save_documentation_screenshot(alert.hwnd, "BOOTMARK_DOC_SCREENSHOT_ALERT")

        self.click(alert.hwnd, "Details")
        self.click(alert.hwnd, "Details")
        opened = self.window(alert.hwnd)
        self.assertGreater(opened.rect[3] - opened.rect[1], alert.rect[3] - alert.rect[1])
        texts = self.texts(alert.hwnd)
        for text in [ITEM_EXE, "Publisher:", "Unknown", "Created by:", CREATOR]:
            self.assertIn(text, texts)
        self.save_documentation_screenshot(alert.hwnd, "BOOTMARK_DOC_SCREENSHOT_ALERT_DETAILS")
        self.click(alert.hwnd, control_id=CLOSE_CONTROL_ID)
        self.finish(run, 60)
        self.assertEqual(self.statistics_events().count(226), 1, self.statistics_events())

    def test_disable_now_hands_the_item_to_the_open_suite(self):
        # (The closed suite is started with its switch: the boot notice's buttons.)
        record = self.prefix.new_artifact("suite", ".txt")
        self.start_probe("suite-window", wine.windows_path(record))
        self.settings(0)
        run, alert = self.open_alert(*ITEM_ARGS)
        self.click(alert.hwnd, "Disable Now")
        self.finish(run, 60)
        self.wait_for_events(227, exactly=False)
        section = self.prefix.read_ini(self.prefix.user_data_dir + "Startup Manager\\NewStartupInfo.ini")\
            .section("NewStartupInfo")
        self.assertEqual(dict(section), {"TYPE": "1", "NAME": ITEM_NAME, "PATH": f'"{ITEM_EXE}" /background'})
        self.wait_until(lambda: "33357" in record.read_text(errors="replace"), 10, "no message 33357")
        self.assertEqual(self.prefix.recorded_calls("KST.exe"), [])

    def test_ignored_item_ends_at_the_ignore_filter_next_time(self):
        self.settings(0)
        run, alert = self.open_alert(*ITEM_ARGS)
        self.click(alert.hwnd, "Ignore this startup item")
        self.click(alert.hwnd, control_id=CLOSE_CONTROL_ID)
        self.finish(run, 60)

        result = self.run_silent("/AddAutoRun", *ITEM_ARGS, window_class=ALERT_CLASS)
        self.assertHasLine(result, "6.manu ignore : " + ITEM_NAME)


class AlertCountdownTest(AlertWindowCase):

    def test_pointer_on_the_alert_holds_the_countdown_and_time_out_reaches_the_suite(self):
        (self.prefix.unix_path(self.prefix.program_dir) / "Statewell.reply.txt").write_text("ok")
        self.settings(3)
        run, alert = self.open_alert(*ITEM_ARGS)
        left, top, right, bottom = alert.rect
        self.move_pointer((left + right) // 2, top + 60)
        time.sleep(6)
        self.assertTrue(run.running(), "the alert closed under the pointer")
        self.move_pointer(10, 10)
        moved = time.monotonic()
        self.finish(run, timeout=30)
        self.assertLess(time.monotonic() - moved, 10)
        # The exchange library got the target, the UTF-16 text with its terminator,
        # the reply capacity and an empty reply buffer.
        calls = (self.prefix.unix_path(self.prefix.program_dir) / "Statewell.calls.txt").read_text().splitlines()
        self.assertEqual(len(calls), 1, calls)
        target, size, capacity, reply, data = calls[0].split("\t")
        self.assertEqual((target, size, capacity, reply), ("Kestrune State", f"terminated{2 * len(data) + 2}",
                                                           "4096", "empty"))
        self.assertTrue(data.startswith("NC_MSG=msgid:3|opid:4|content:A new startup item."), data)
        self.assertIn(f"|dataEx:1+++{ITEM_NAME}+++\"{ITEM_EXE}\" /background|time:", data)
        self.assertFalse(self.prefix.unix_path(self.prefix.user_data_dir + "ncconfig.ini").exists())

    def test_time_out_without_the_suite_stores_the_message(self):
        self.settings(1)
        run, _ = self.open_alert(*ITEM_ARGS)
        self.finish(run, 60)
        [(key, value)] = self.prefix.read_ini(self.prefix.user_data_dir + "ncconfig.ini").section("Messages").items()
        self.assertTrue(key.endswith("_Base"), key)
        self.assertTrue(value.startswith("msgid:3|opid:4|"), value)

    def test_item_whose_program_is_gone_when_its_turn_comes_ends_the_run(self):
        gone = "C:\\Tools\\Gone\\gone.exe"
        [target] = self.prefix.install_stand_ins(gone)
        self.settings(0)
        run, alert = self.open_alert(*ITEM_ARGS)
        second = self.run_bootmark("/AddAutoRun", *item_args("Gone Tool", gone))
        self.assertEqual(second.exit_code, 0, second)
        target.unlink()
        self.click(alert.hwnd, control_id=CLOSE_CONTROL_ID)
        result = self.finish(run, 60)
        # The second item was never shown: its records come just before the window shows.
        self.assertNotIn("FNewItemName : Gone Tool", result.lines)
        self.assertEqual(self.alert_log_names(), [ITEM_NAME])


class AlertGateTest(AlertWindowCase):

    def test_full_screen_program_in_front_stops_the_alert_and_the_open_one_takes_copied_text_exactly(self):
        self.settings(4)
        front = self.start_probe("fullscreen-window", "BmTestFullScreen")
        self.assertTrue(front.first_line.endswith("\tforeground"), front.first_line)
        result = self.run_silent("/AddAutoRun", *ITEM_ARGS, window_class=ALERT_CLASS, timeout=30)
        self.assertHasLine(result, "CheckIsFull is  : 1")
        front.stop()
        # Once it has gone, the same item is alerted.
        run, alert = self.open_alert(*ITEM_ARGS, timeout=20)
        self.assertNotIn("CheckIsFull is  : 1", run.lines())
        # What arrives by WM_COPYDATA (UTF-16 with its terminator) is taken as it is,
        # characters outside any ANSI code page included (the alert log shows it).
        text = "/1 " + hex_arg("Übersicht 漢字") + " " + hex_arg(ITEM_EXE) + hex_arg("Run\\") + "/ /with blank"
        self.probe.run("copydata", alert.hwnd, text, check=True)
        self.finish(run, 60)
        self.assertEqual(self.alert_log_names(), [ITEM_NAME, "Übersicht 漢字"])
