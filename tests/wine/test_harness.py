"""The harness's own instruments, checked inside Wine: the debug-string capture must
give back exactly what a program sent and how it ended, and the window probe must see
and stand in for windows as the program's checks will. Every test of the program
relies on both."""

import unittest

from harness import WineTestCase, display, prefix, runner


class CaptureTest(WineTestCase):
    install_bootmark = False

    def run_probe_captured(self, *args):
        return self.run_bootmark(*args, exe=self.prefix.program_dir + prefix.PROBE_TOOL)

    def test_each_debug_string_is_one_exact_line(self):
        # (argument passed on the command line, line expected in the capture)
        cases = [
            ("plain", "plain"),
            ("two words", "two words"),
            ('a "quoted" word', 'a "quoted" word'),
            ("trailing backslash\\", "trailing backslash\\"),
            ('backslash before quote\\"', 'backslash before quote\\"'),
            ("C:\\Program Files\\Tarvo\\", "C:\\Program Files\\Tarvo\\"),
            ("", ""),
            ("äöü € ß", "äöü € ß"),  # inside the ANSI code page
            ("漢字 Ωμέγα Кириллица 😀", "漢字 Ωμέγα Кириллица 😀"),  # outside it
            ("one newline at the end\n", "one newline at the end"),
            ("crlf at the end\r\n", "crlf at the end"),
            ("inner\nbreaks\r\nkept\n\n", "inner\\nbreaks\\r\\nkept\\n"),
            ("tab\there", "tab\there"),
            ("x" * 5000, "x" * 5000),  # longer than Wine's own trace keeps
        ]
        result = self.run_probe_captured("echo-debug", *[arg for arg, _ in cases])
        self.assertEqual(result.exit_code, 0)
        self.assertEqual(result.lines, [line for _, line in cases])

    def test_exit_code_of_the_child_is_passed_through(self):
        for args, code in [(("echo-debug",), 0), (("find", "NoSuchClass", "*"), 1), (("bogus",), 2)]:
            with self.subTest(args=args):
                result = self.run_probe_captured(*args)
                self.assertEqual(result.exit_code, code)
                self.assertIsNotNone(result.pid)

    def test_a_program_that_cannot_start_is_reported(self):
        result = runner.BootmarkProcess(self.prefix, [], exe="C:\\no\\such.exe").wait(60)
        self.assertFalse(result.started)
        self.assertIsNone(result.exit_code)
        self.assertEqual(result.process_exit_code, 122)


class StandInWindowTest(WineTestCase):
    install_bootmark = False

    def test_full_screen_window_covers_the_screen_in_front(self):
        stand_in = self.start_probe("fullscreen-window", "BmTestFullScreen")
        self.assertTrue(stand_in.first_line.endswith("\tforeground"), stand_in.first_line)
        front = self.probe.foreground()
        width, height = display.SCREEN_SIZE
        self.assertEqual((front.class_name, front.rect, front.visible),
                         ("BmTestFullScreen", (0, 0, width, height), True))

    def test_maximized_window_leaves_a_task_bar_strip(self):
        stand_in = self.start_probe("maximized-window", "BmTestMaximized")
        self.assertTrue(stand_in.first_line.endswith("\tforeground"), stand_in.first_line)
        front = self.probe.foreground()
        width, height = display.SCREEN_SIZE
        self.assertEqual(front.class_name, "BmTestMaximized")
        left, top, right, bottom = front.rect
        self.assertLessEqual((left, top), (0, 0))
        self.assertGreaterEqual(right, width)
        self.assertLess(bottom, height)

    def test_find_wait_and_watch_see_a_new_window(self):
        watch = self.start_probe("watch")
        self.assertIsNone(self.probe.find("BmTestLate", "*"))
        self.start_probe("fullscreen-window", "BmTestLate", "Late window")
        hwnd = self.probe.wait("BmTestLate", "Late window", timeout=10)
        self.assertIsNotNone(hwnd)
        self.assertEqual(self.probe.find("BmTestLate", "*"), hwnd)
        self.assertEqual(self.probe.text(hwnd), "Late window")
        self.wait_until(lambda: any(w.hwnd == hwnd and w.visible for w in watch.windows()), 5,
                        "watch did not record the new window")


if __name__ == "__main__":
    unittest.main()
