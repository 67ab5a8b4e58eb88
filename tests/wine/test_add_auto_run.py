"""/AddAutoRun: the suite reports a new startup item. The gate of a full-screen
program in front (the user's notification setting is a rule of the unit tables), and
the hand-over of an item to the alert window that another instance already shows."""

import time

from harness import WineTestCase
from harness.prefix import RECORDER_TOOL
from harness.suite_input import ALERT_CLASS, hex_arg

# (kind, name, path, location) as the suite's watcher reports them.
ITEM_A = ("/1", hex_arg("Tarvo Test Updater"), hex_arg("C:\\Tools\\Updater\\updater.exe"),
          hex_arg("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run"))
# All six item arguments, one with a blank inside (quoted on the command line).
ITEM_B = ("/1", hex_arg("Backup Agent"), hex_arg("C:\\Tools\\Backup\\agent.exe"),
          hex_arg("Startup"), "/with blank", "/7")
# The items' programs.
PROGRAMS = ("C:\\Tools\\Updater\\updater.exe", "C:\\Tools\\Backup\\agent.exe")


class AddAutoRunTest(WineTestCase):
    """The items' programs exist (an unsigned program of no known publisher), so the
    screening lets the items through to the alert."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        for program in PROGRAMS:
            cls.prefix.install_stand_in(RECORDER_TOOL, program)

    def setUp(self):
        super().setUp()
        self.prefix.write_ini(self.prefix.user_data_dir + "Main.ini", "[Notification]\nDisplayTime=4\n")

    # --- a run that ends without an alert window, and the one beside it that shows it ---

    def test_full_screen_program_in_front_stops_the_alert(self):
        front = self.start_probe("fullscreen-window", "BmTestFullScreen")
        self.assertTrue(front.first_line.endswith("\tforeground"), front.first_line)
        result = self.run_silent("/AddAutoRun", *ITEM_A, window_class=ALERT_CLASS, timeout=30)
        self.assertHasLine(result, "CheckIsFull is  : 1")
        front.stop()
        # Once it has gone, the same item is alerted.
        run, _ = self.open_alert(*ITEM_A, timeout=20)
        self.assertNotIn("CheckIsFull is  : 1", run.lines())
        run.kill()

    # --- a second /AddAutoRun while the first one's alert window is open hands its item
    # over and ends; the first window shows it after its own item.

    def test_second_start_hands_its_item_to_the_open_window(self):
        watch = self.start_probe("watch")
        a = self.start_bootmark("/AddAutoRun", *ITEM_A)
        a_pid = a.pid()
        time.sleep(0.5)
        b = self.start_bootmark("/AddAutoRun", *ITEM_B)

        b_result = b.wait(timeout=30)
        self.assertEqual(b_result.exit_code, 0, b_result)
        for n in (2, 4, 6):
            self.assertHasLine(b_result, f"ParamStr({n}) : {ITEM_B[n - 2]} ParamStr({n + 1}) : {ITEM_B[n - 1]}")
        # B found the mutex, waited 2 s for A's window, sent its item and ended; it
        # never stayed on as a window of its own.
        self.assertGreaterEqual(b_result.duration, 1.9, b_result)
        self.assertLess(b_result.duration, 5.0, b_result)

        a_result = a.wait(timeout=60)
        self.assertEqual(a_result.exit_code, 0, a_result)
        self.assertEqual(self.alert_log_names(), ["Tarvo Test Updater", "Backup Agent"])

        alerts = {w.hwnd: w for w in watch.windows() if w.class_name == ALERT_CLASS}
        self.assertEqual(len(alerts), 1, f"alert windows: {list(alerts.values())}")
        self.assertEqual(next(iter(alerts.values())).pid, a_pid)
        watch.stop()

    def test_open_window_shows_copied_text_exactly(self):
        # What arrives by WM_COPYDATA (UTF-16 with its terminator) is taken as it
        # is, characters outside any ANSI code page included (the alert log shows it).
        a, alert = self.open_alert(*ITEM_A, timeout=20)
        text = "/1 " + hex_arg("Übersicht 漢字") + " " + hex_arg(PROGRAMS[0]) + hex_arg("Run\\") + "/ /with blank"

        self.probe.copydata(alert.hwnd, text)

        result = a.wait(timeout=60)
        self.assertEqual(result.exit_code, 0, result)
        self.assertEqual(self.alert_log_names(), ["Tarvo Test Updater", "Übersicht 漢字"])
