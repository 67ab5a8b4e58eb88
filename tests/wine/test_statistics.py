"""The switches that do one job and end, and the statistics set-up of real runs: the
statistics are set up by the first event (the suite library, bmtasktype.dll as
"Quillcore.dll", is asked for the installation type), so a run that sends none never
asks it, and an unknown switch does nothing else. (An event sent with the
installation: test_disable_rate.)"""

from harness import WineTestCase
from harness.prefix import RECORDER_TOOL, TASK_TYPE_TOOL
from harness.suite_input import create_lookup_databases

UNKNOWN_SWITCHES = [(), ("/Bogus",), ("/AddAutoRunX", "/1")]


class StatisticsSetUpTest(WineTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        prefix = cls.prefix
        prefix.install_stand_in(RECORDER_TOOL, "Tallyhop3.exe")
        prefix.install_stand_in(TASK_TYPE_TOOL, "Quillcore.dll")
        create_lookup_databases(prefix)  # the inventory of /mainData needs them

    def setUp(self):
        super().setUp()
        self.remove_program_files("Tallyhop3.calls.txt", "GetTaskTypeEx.calls.txt")

    def type_calls(self):
        record = self.prefix.unix_path(self.prefix.program_dir + "GetTaskTypeEx.calls.txt")
        return record.read_text().splitlines() if record.is_file() else []

    def statistics_lines(self):
        return [command for command, _ in self.prefix.recorded_calls("Tallyhop3.exe")]

    def test_modes_without_a_window_set_up_no_statistics_and_only_known_ones_write(self):
        known = [(("/UpdateTaskschd",), "UpdateTaskschd : UpdateTaskschd"),
                 (("/LoadAVList",), "LoadAVList : LoadAVList")]
        for args, line in known + [(args, None) for args in UNKNOWN_SWITCHES]:
            with self.subTest(args=args):
                self.prefix.remove_suite_data()
                self.remove_program_files("GetTaskTypeEx.calls.txt")
                result = self.run_silent(*args)
                self.assertEqual(self.type_calls(), [])
                self.assertEqual(self.statistics_lines(), [])
                if line is not None:
                    self.assertHasLine(result, line)
                else:
                    self.assertNoSuiteData(f"after Bootmark {args}")
        # The switch is found without regard to case; the main-data job sets up no
        # statistics either, and its file is the positive control of the unknown switches.
        self.remove_program_files("GetTaskTypeEx.calls.txt")
        result = self.run_bootmark("/MAINDATA")
        self.assertEqual(result.exit_code, 0, result)
        self.assertEqual(self.type_calls(), [])
        self.assertIn("Startup Manager/mainData.dat", self.prefix.files_under(self.prefix.common_data_dir))
