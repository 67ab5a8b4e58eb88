"""The switches that do one job and end, and the statistics set-up of real runs: the
statistics are set up by the first event (the suite library, bmtasktype.dll as
"Quillcore.dll", is asked for the installation type), so a run that sends none never
asks it, and an unknown switch does nothing else. (An event sent with the
installation: test_disable_rate.)"""

from harness import WineTestCase
from harness.prefix import RECORDER_TOOL, TASK_TYPE_TOOL

UNKNOWN_SWITCHES = [(), ("/Bogus",), ("/AddAutoRunX", "/1")]


class StatisticsSetUpTest(WineTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.prefix.install_stand_in(RECORDER_TOOL, "Tallyhop3.exe")
        cls.prefix.install_stand_in(TASK_TYPE_TOOL, "Quillcore.dll")

    def setUp(self):
        super().setUp()
        self.remove_program_files("Tallyhop3.calls.txt", "GetTaskTypeEx.calls.txt")

    def type_calls(self):
        record = self.prefix.unix_path(self.prefix.program_dir + "GetTaskTypeEx.calls.txt")
        return record.read_text().splitlines() if record.is_file() else []

    def statistics_lines(self):
        return [command for command, _ in self.prefix.recorded_calls("Tallyhop3.exe")]

    def test_modes_without_a_window_set_up_no_statistics_and_unknown_switches_do_nothing(self):
        # (arguments, debug line, whether the run writes suite data: /UpdateTaskschd's file
        # is the positive control of the unknown switches, which write none)
        rows = [(("/UpdateTaskschd",), "UpdateTaskschd : UpdateTaskschd", True),
                (("/LoadAVList",), "LoadAVList : LoadAVList", None)]
        rows += [(args, None, False) for args in UNKNOWN_SWITCHES]
        for args, line, writes in rows:
            with self.subTest(args=args):
                self.prefix.remove_suite_data()
                self.remove_program_files("GetTaskTypeEx.calls.txt")
                result = self.run_silent(*args)
                self.assertEqual(self.type_calls(), [])
                self.assertEqual(self.statistics_lines(), [])
                if line is not None:
                    self.assertHasLine(result, line)
                written = [self.prefix.files_under(folder) for folder in (self.prefix.user_data_dir,
                                                                         self.prefix.common_data_dir)]
                if writes is not None:
                    self.assertEqual(written != [[], []], writes, written)
