# The switches that do one job and end, and the statistics set-up of real runs: the
# statistics are set up by the first event (the suite library, bmtasktype.dll as
# "Quillcore.dll", is asked for the installation type), so a run that sends none never
# asks it, and a start without a known switch does nothing else. (An event sent with
# the installation: test_disable_rate.)

from harness import WineTestCase


class StatisticsSetUpTest(WineTestCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.prefix.install_stand_ins("Tallyhop3.exe", "Quillcore.dll")

    def test_modes_without_a_window_set_up_no_statistics_and_no_switch_does_nothing(self):
        # (arguments, debug line, whether the run writes suite data: /UpdateTaskschd's file
        # is the positive control of the start without a switch, which writes none)
        for args, line, writes in [(("/UpdateTaskschd",), "UpdateTaskschd : UpdateTaskschd", True),
                                   (("/LoadAVList",), "LoadAVList : LoadAVList", None), ((), None, False)]:
            with self.subTest(args=args):
                self.prefix.remove_suite_data()
                self.remove_program_files("Tallyhop3.calls.txt", "GetTaskTypeEx.calls.txt")
                result = self.run_silent(*args)
                self.assertFalse(self.prefix.unix_path(self.prefix.program_dir + "GetTaskTypeEx.calls.txt").exists())
                self.assertEqual(self.prefix.recorded_calls("Tallyhop3.exe"), [])
                if line is not None:
                    self.assertHasLine(result, line)
                written = [path for folder in (self.prefix.user_data_dir, self.prefix.common_data_dir)
                           for path in self.prefix.unix_path(folder).rglob("*") if path.is_file()]
                if writes is not None:
                    self.assertEqual(written != [], writes, written)
