"""The switches that do one job and end: which files they write or erase and what
they print, on a clean machine; and that only a known switch does anything."""

import re
import unittest

from harness import WineTestCase

MAIN_DATA = "Startup Manager\\mainData.dat"  # below the common data folder
AUTO_RUN_CONFIG = "Bootmark\\AutoRunConfig.ini"  # below the common data folder


class SingleJobModesTest(WineTestCase):
    """These modes touch nothing but the suite data folders, emptied before each test,
    so they share one prefix."""

    def setUp(self):
        super().setUp()
        # The suite installs its lookup databases in this folder; the inventory
        # of /mainData cannot open them without it.
        self.prefix.unix_path(self.prefix.program_dir + "Database").mkdir(parents=True, exist_ok=True)

    def test_main_data_writes_a_numbered_startup_file_list(self):
        # The switch is found without regard to case. The machine's own services
        # are listed too (the job lists every entry); test_main_data seeds items.
        for switch in ["/mainData", "/MAINDATA", "/maindata"]:
            with self.subTest(switch=switch):
                self.prefix.remove_suite_data()
                result = self.run_bootmark(switch)
                self.assertEqual(result.exit_code, 0, result)
                path = self.prefix.common_data_dir + MAIN_DATA
                self.assertTrue(self.prefix.unix_path(path).is_file(),
                                f"{path} missing; suite data: "
                                f"{self.prefix.files_under(self.prefix.common_data_dir)}")
                data = self.prefix.read_ini(path)  # fails unless UTF-16 LE with BOM
                self.assertEqual(data.section_names(), ["btl"])
                self.assertRegex(data.value("btl", "ckey") or "", r"^-?\d+$")
                numbered = [key for _, entries in data.sections for key, _ in entries
                            if re.fullmatch(r"\d+", key)]
                count = int(data.value("btl", "count"))
                self.assertEqual(numbered, [str(i) for i in range(1, count + 1)])

    def test_update_taskschd_erases_every_section_of_the_suites_auto_run_config(self):
        path = self.prefix.common_data_dir + AUTO_RUN_CONFIG
        self.prefix.write_ini(path, "[Updater]\nPath=C:\\Tools\\updater.exe\nType=1\n"
                                    "[Helper]\nPath=C:\\Tools\\helper.exe\nType=2\n")
        self.assertEqual(self.prefix.read_ini(path).section_names(), ["Updater", "Helper"])

        result = self.run_bootmark("/UpdateTaskschd")

        self.assertEqual(result.exit_code, 0, result)
        self.assertHasLine(result, "UpdateTaskschd : UpdateTaskschd")
        self.assertTrue(self.prefix.unix_path(path).is_file(), f"{path} was deleted")
        self.assertEqual(self.prefix.read_ini(path).section_names(), [])

    def test_load_av_list_prints_its_name_and_ends(self):
        watch = self.start_probe("watch")
        result = self.run_bootmark("/LoadAVList")
        self.assertEqual(result.exit_code, 0, result)
        self.assertHasLine(result, "LoadAVList : LoadAVList")
        self.assertShowedNoWindow(watch, result)

    def test_without_a_known_switch_nothing_is_written(self):
        # The positive control: the same harness, in the same prefix, sees what a
        # known switch prints and writes. Without it an empty result proves nothing.
        control = self.run_bootmark("/LoadAVList")
        self.assertHasLine(control, "LoadAVList : LoadAVList")
        self.run_bootmark("/mainData")
        self.assertNotEqual(self.prefix.files_under(self.prefix.common_data_dir), [])

        for args in [(), ("/Bogus",), ("mainData",), ("-mainData",), ("/mainData2",),
                     ("/",), ("",), ("/main Data",), ("/AddAutoRunX", "/1")]:
            with self.subTest(args=args):
                self.prefix.remove_suite_data()
                result = self.run_bootmark(*args)
                self.assertEqual(result.exit_code, 0, result)
                self.assertNoSuiteData(f"after Bootmark {args}")


if __name__ == "__main__":
    unittest.main()
