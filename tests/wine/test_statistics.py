"""Usage statistics of real runs: the common start-up of every mode but /mainData
sets the statistics up (the suite library is asked for the installation type), and
an event starts the suite's statistics program with the event and the installation
in its command line. Stand-ins take the suite's names: bmrecorder.exe as
"Tallyhop3.exe" records each start, bmtasktype.dll as "Quillcore.dll" answers the
installation type, and bmporttests.exe as "KST.exe" has a version of its own."""

import shutil
import unittest

from harness import paths
from harness.prefix import RECORDER_TOOL, TASK_TYPE_TOOL
# An item the statistics server advises to keep is one event that a run sends
# without any window.
from harness.statistics import ITEM_ARGS, StatisticsServerCase, answer

INSERT_URL = "https://stats.tarvo.example/usage_v2.php?action=insert"
# The string version of bmporttests.exe's version resource.
KST_VERSION = "7.6 port test build"


class StatisticsTest(StatisticsServerCase):

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        prefix = cls.prefix
        prefix.install_stand_in(RECORDER_TOOL, "Tallyhop3.exe")
        prefix.install_stand_in(TASK_TYPE_TOOL, "Quillcore.dll")
        shutil.copy2(paths.bootmark_exe().parent / "bmporttests.exe",
                     prefix.unix_path(prefix.program_dir) / "KST.exe")

    def setUp(self):
        super().setUp()
        for name in ("Tallyhop3.calls.txt", "GetTaskTypeEx.calls.txt", "GetTaskTypeEx.txt", "Lang.dat"):
            self.prefix.unix_path(self.prefix.program_dir + name).unlink(missing_ok=True)
        self.install_ini = self.prefix.facts["common_appdata"] + "\\Tarvo\\Install.ini"
        self.prefix.unix_path(self.install_ini).unlink(missing_ok=True)

    def type_calls(self):
        record = self.prefix.unix_path(self.prefix.program_dir + "GetTaskTypeEx.calls.txt")
        return record.read_text().splitlines() if record.is_file() else []

    def statistics_lines(self):
        return [command for command, _ in self.prefix.recorded_calls("Tallyhop3.exe")]

    def test_every_mode_but_main_data_sets_up_the_statistics_and_sends_nothing(self):
        for args in [("/UpdateTaskschd",), ("/LoadAVList",), ("/Bogus",), ()]:
            with self.subTest(args=args):
                self.prefix.unix_path(self.prefix.program_dir + "GetTaskTypeEx.calls.txt").unlink(missing_ok=True)
                result = self.run_bootmark(*args)
                self.assertEqual(result.exit_code, 0, result)
                self.assertEqual(self.type_calls(), ["GetTaskTypeEx(0)"])
                self.assertEqual(self.statistics_lines(), [])
        # The library was freed after the call: it can be replaced at once.
        self.prefix.install_stand_in(TASK_TYPE_TOOL, "Quillcore.dll")

        self.prefix.unix_path(self.prefix.program_dir + "GetTaskTypeEx.calls.txt").unlink(missing_ok=True)
        result = self.run_bootmark("/mainData")
        self.assertEqual(result.exit_code, 0, result)
        self.assertEqual(self.type_calls(), [], "the main-data job sets up no statistics")

    def test_item_advised_to_keep_is_counted_with_the_installation(self):
        self.prefix.write_ini(self.prefix.program_dir + "Update\\Update.ini",
                              f"[Startup]\nOpenRequest=1\nRequesturl={self.server.url}\n")
        self.server.reply = answer("12.5%", 3)
        # Installation facts: type code 2, an older version installed before, a
        # partner, and the channel in the registry view the 32-bit program sees.
        (self.prefix.unix_path(self.prefix.program_dir) / "GetTaskTypeEx.txt").write_text("2")
        self.prefix.write_ini(self.install_ini, "[install]\nkst19=1\nkst17=1\n")
        self.prefix.write_ini(self.prefix.program_dir + "Lang.dat", "[CusLan]\npr= acme \n")
        self.prefix.import_reg("Windows Registry Editor Version 5.00\n\n"
                               "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Tarvo\\Kestrune]\n"
                               "\"insur\"=\" bank \"\n")

        result = self.run_bootmark("/AddAutoRun", *ITEM_ARGS, timeout=60)

        self.assertEqual(result.exit_code, 0, result)
        self.assertHasLine(result, "Recommend: 3")
        tallyhop = self.prefix.program_dir + "Tallyhop3.exe"
        installation = (f' /pd "kst" /url "{INSERT_URL}" /user 2 /insur "bank" /type 3 /pr "acme"'
                        f' /ver "{KST_VERSION}"')
        lines = self.wait_for_statistics(2)
        # The band of 12.5 % and the advice to keep the item; each start runs on its
        # own, so the records may come in either order.
        self.assertEqual(sorted(lines), sorted(
            [f'"{tallyhop}" /statcom /stflag {event} /appid "kst19"{installation}' for event in ("229", "231")]))

    def wait_for_statistics(self, count):
        """The statistics program runs on its own: wait for its records."""
        self.wait_until(lambda: len(self.statistics_lines()) >= count, 20,
                        f"expected {count} statistics starts")
        return self.statistics_lines()


if __name__ == "__main__":
    unittest.main()
