"""The switches that do one job and end, and the statistics set-up of real runs: the
common start-up of every mode but /mainData sets the statistics up (the suite library,
bmtasktype.dll as "Quillcore.dll", is asked for the installation type) and sends
nothing, and an unknown switch does nothing else. (An event sent with the
installation: test_disable_rate.)"""

from harness import WineTestCase
from harness.prefix import RECORDER_TOOL, TASK_TYPE_TOOL
from harness.suite_input import create_lookup_databases

UNKNOWN_SWITCHES = [(), ("/Bogus",), ("mainData",), ("-mainData",), ("/mainData2",), ("/",), ("",), ("/main Data",),
                    ("/AddAutoRunX", "/1")]


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

    def test_modes_without_a_window_set_up_the_statistics_and_only_known_ones_write(self):
        known = [(("/UpdateTaskschd",), "UpdateTaskschd : UpdateTaskschd"),
                 (("/LoadAVList",), "LoadAVList : LoadAVList")]
        for args, line in known + [(args, None) for args in UNKNOWN_SWITCHES]:
            with self.subTest(args=args):
                self.prefix.remove_suite_data()
                self.remove_program_files("GetTaskTypeEx.calls.txt")
                result = self.run_silent(*args)
                self.assertEqual(self.type_calls(), ["GetTaskTypeEx(0)"])
                self.assertEqual(self.statistics_lines(), [])
                if line is not None:
                    self.assertHasLine(result, line)
                else:
                    self.assertNoSuiteData(f"after Bootmark {args}")
        # The library was freed after the call: it can be replaced at once.
        self.prefix.install_stand_in(TASK_TYPE_TOOL, "Quillcore.dll")

        # The switch is found without regard to case; the main-data job sets up no
        # statistics, and its file is the positive control of the unknown switches.
        self.remove_program_files("GetTaskTypeEx.calls.txt")
        result = self.run_bootmark("/MAINDATA")
        self.assertEqual(result.exit_code, 0, result)
        self.assertEqual(self.type_calls(), [])
        self.assertIn("Startup Manager/mainData.dat", self.prefix.files_under(self.prefix.common_data_dir))
