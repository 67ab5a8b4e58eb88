"""/UpdateTaskschd: the stored enabled state of every scheduled task. Real Task
Scheduler 2.0 task files are placed in the scheduler's store of the prefix
(C:\\windows\\system32\\Tasks); Wine's scheduler service opens those folders but does
not implement its task collections, so the program reads the same files itself."""

import os
import shutil
import time

from harness import WineTestCase

TASKS = "C:\\windows\\system32\\Tasks"
NAMESPACE = "http://schemas.microsoft.com/windows/2004/02/mit/task"
EXEC = "<Exec><Command>C:\\Tools\\tool.exe</Command></Exec>"
LOGON = "<LogonTrigger><Enabled>true</Enabled></LogonTrigger>"


def task_xml(triggers=LOGON, actions=EXEC, enabled=True):
    text = (
        '<?xml version="1.0" encoding="UTF-16"?>\r\n'
        f'<Task version="1.2" xmlns="{NAMESPACE}">\r\n'
        "  <RegistrationInfo><Author>Tarvo</Author></RegistrationInfo>\r\n"
        f"  <Triggers>{triggers}</Triggers>\r\n"
        '  <Principals><Principal id="Author"><UserId>S-1-5-18</UserId></Principal></Principals>\r\n'
        f"  <Settings><Enabled>{'true' if enabled else 'false'}</Enabled></Settings>\r\n"
        f'  <Actions Context="Author">{actions}</Actions>\r\n'
        "</Task>\r\n")
    return b"\xff\xfe" + text.encode("utf-16-le")


class UpdateTaskschdTest(WineTestCase):

    def setUp(self):
        super().setUp()
        self.store = self.prefix.unix_path(TASKS)
        self.placed = []

    def tearDown(self):
        for path in self.placed:
            shutil.rmtree(path, ignore_errors=True) if path.is_dir() else path.unlink(missing_ok=True)
        super().tearDown()

    def place(self, relative, data):
        path = self.store.joinpath(*relative.split("\\"))
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
        top = self.store / relative.split("\\")[0]
        if top not in self.placed:
            self.placed.append(top)

    def task_status(self):
        """The [TaskStatus] keys; a file without the section lists none."""
        settings = self.prefix.read_ini(self.prefix.common_data_dir + "Bootmark\\Bootmark.ini")
        if "TaskStatus" not in settings.section_names():
            return {}
        return settings.section("TaskStatus")

    def test_snapshot_lists_every_task_with_its_state(self):
        self.place("BmRoot Updater", task_xml())
        self.place("BmVendor\\BmNo Trigger", task_xml(triggers=""))
        self.place("BmVendor\\Deep\\BmDisabled", task_xml(enabled=False))
        self.place("BmVendor\\BmMail First", task_xml(
            actions="<SendEmail><Server>mail</Server></SendEmail>" + EXEC))
        self.place("Microsoft\\Windows\\BmSystem\\BmDefrag", task_xml())
        # A stale key and the suite's own records, both to be replaced.
        self.prefix.write_ini(self.prefix.common_data_dir + "Bootmark\\Bootmark.ini",
                              "[TaskStatus]\nBmGone=1\n[Other]\nKeep=1\n")
        self.prefix.write_ini(self.prefix.common_data_dir + "Bootmark\\AutoRunConfig.ini",
                              "[Item1]\nName=A\nType=1\n[Item2]\nName=B\nType=3\n")

        result = self.run_bootmark("/UpdateTaskschd", timeout=60)

        self.assertEqual(result.exit_code, 0, result)
        self.assertHasLine(result, "UpdateTaskschd : UpdateTaskschd")
        status = {k: v for k, v in self.task_status().items() if k.startswith("Bm")}
        self.assertEqual(status, {"BmRoot Updater": "1", "BmNo Trigger": "1", "BmDisabled": "0",
                                  "BmMail First": "1", "BmDefrag": "1"})
        self.assertEqual(self.prefix.read_ini(self.prefix.common_data_dir + "Bootmark\\Bootmark.ini")
                         .section("Other"), {"Keep": "1"})
        auto_run = self.prefix.read_ini(self.prefix.common_data_dir + "Bootmark\\AutoRunConfig.ini")
        self.assertEqual(auto_run.section_names(), [])

    def test_unreadable_task_is_stored_disabled_and_logged(self):
        self.place("BmBroken", b"\xff\xfe<\x00T\x00")
        self.place("BmGood", task_xml())
        log = self.prefix.unix_path(self.prefix.program_dir + "TaskException.log")
        log.unlink(missing_ok=True)

        result = self.run_bootmark("/UpdateTaskschd", timeout=60)

        self.assertEqual(result.exit_code, 0, result)
        status = self.task_status()
        self.assertEqual((status.get("BmBroken"), status.get("BmGood")), ("0", "1"))
        self.assertIn("GetTaskInfo3.exception : ", log.read_bytes().decode("utf-16-le", "replace"))

    def test_machine_without_our_tasks_leaves_no_stale_keys(self):
        self.prefix.write_ini(self.prefix.common_data_dir + "Bootmark\\Bootmark.ini",
                              "[TaskStatus]\nBmGone=1\n")

        result = self.run_bootmark("/UpdateTaskschd", timeout=60)

        self.assertEqual(result.exit_code, 0, result)
        self.assertNotIn("BmGone", self.task_status())


class UpdateTaskschdTimingTest(WineTestCase):
    """Not an assertion: times a whole run over 2,000 task files in 50 folders
    (BOOTMARK_TASK_TIMING=1); the figures are in docs/PERFORMANCE.md."""

    def test_time_a_run_over_2000_tasks(self):
        if os.environ.get("BOOTMARK_TASK_TIMING") != "1":
            self.skipTest("timing run only with BOOTMARK_TASK_TIMING=1")
        store = self.prefix.unix_path(TASKS)
        for count in (500, 1000, 2000):
            shutil.rmtree(store / "BmBench", ignore_errors=True)
            data = task_xml()
            for i in range(count):
                folder = store / "BmBench" / f"Folder{i % 50:02d}"
                folder.mkdir(parents=True, exist_ok=True)
                (folder / f"BmTask{i:05d}").write_bytes(data)
            start = time.monotonic()
            result = self.run_bootmark("/UpdateTaskschd", timeout=600)
            elapsed = time.monotonic() - start
            self.assertEqual(result.exit_code, 0, result)
            print(f"\n[timing] /UpdateTaskschd over {count} tasks: {elapsed:.2f} s wall, "
                  f"{result.duration:.2f} s process")
        shutil.rmtree(store / "BmBench", ignore_errors=True)
