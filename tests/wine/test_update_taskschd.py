# /UpdateTaskschd: the stored enabled state of every scheduled task. Real Task
# Scheduler 2.0 task files are placed in the scheduler's store of the prefix
# (C:\windows\system32\Tasks); Wine's scheduler service opens those folders but does
# not implement its task collections, so the program reads the same files itself.

from harness import WineTestCase
from harness.suite_input import TASKS, task_xml


def task_status(prefix):
    return prefix.read_ini(prefix.common_data_dir + "Bootmark\\Bootmark.ini").section("TaskStatus")


class UpdateTaskschdTest(WineTestCase):

    def place(self, relative, data):  # a task file below the store; its top folder goes after the test
        super().place(TASKS + "\\" + relative, data)
        self._placed.append(self.prefix.unix_path(TASKS + "\\" + relative.split("\\")[0]))

    def test_snapshot_lists_every_task_with_its_state(self):
        self.place("BmRoot Updater", task_xml())
        self.place("BmVendor\\Deep\\BmDisabled", task_xml(enabled=False))
        # An unreadable task is stored disabled and logged.
        self.place("BmBroken", b"\xff\xfe<\x00T\x00")
        # A stale key, to be replaced. (That the suite's records are cleared is a unit rule.)
        self.prefix.write_ini(self.prefix.common_data_dir + "Bootmark\\Bootmark.ini", "[TaskStatus]\nBmGone=1\n")

        result = self.run_bootmark("/UpdateTaskschd")

        self.assertEqual(result.exit_code, 0, result)
        self.assertHasLine(result, "UpdateTaskschd : UpdateTaskschd")
        status = {k: v for k, v in task_status(self.prefix).items() if k.startswith("Bm")}
        self.assertEqual(status, {"BmRoot Updater": "1", "BmDisabled": "0", "BmBroken": "0"})
        log = self.prefix.unix_path(self.prefix.program_dir + "TaskException.log").read_bytes()
        self.assertIn("GetTaskInfo3.exception : ", log.decode("utf-16-le", "replace"))


class LegacySchedulerTest(WineTestCase):
    # The same run on a system that reports Windows XP (5.2): the program takes the older
    # task scheduler, whose work items are ".job" files read through its own COM interface.

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.prefix.import_reg("[HKEY_CURRENT_USER\\Software\\Wine]\n\"Version\"=\"winxp64\"\n")

    def test_work_items_are_listed_with_their_extension_and_state(self):
        self.probe.run("new-job", "BmLegacyLogon", "C:\\Tools\\tool.exe", "/quiet", check=True)
        self.probe.run("new-job", "BmLegacyOff", "C:\\Tools\\off.exe", "", "disabled", check=True)

        result = self.run_bootmark("/UpdateTaskschd")

        self.assertEqual(result.exit_code, 0, result)
        status = {k: v for k, v in task_status(self.prefix).items() if k.startswith("BmLegacy")}
        self.assertEqual(status, {"BmLegacyLogon.job": "1", "BmLegacyOff.job": "0"})
