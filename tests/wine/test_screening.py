"""/AddAutoRun screening: each filter of the chain on a real machine. Programs with
version information and Authenticode signatures are made at test time, the lookup
databases with SQLite, shortcuts through the shell's link object, tasks as files
of the scheduler's store, antivirus products as uninstall entries of the registry.
A filter that passes an item over writes its debug line and the run ends without
a window; an item that passes every filter reaches the alert window."""

import hashlib
import shutil
import sqlite3
import tempfile
from pathlib import Path

import fixture_programs
from harness import WineTestCase
from harness.suite_input import TASKS, exec_action, hex_arg, task_xml

ALERT_CLASS = "TBmark_AutoRunNotice"
ALERT_TITLE = "AutoRunNotice"
FIXTURES = "C:\\BmScreen\\"
AGENT = FIXTURES + "agent.exe"
AGENT_COMPANY = "Agent Makers"
TRUSTED_SIGNER = "Trusted Screen Signer"
AV_SIGNER = "Shieldy Labs"
AV_FOLDER = "C:\\BmShield\\"
RUN_KEY = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\"
LOGON = "<LogonTrigger><Enabled>true</Enabled></LogonTrigger>"
DAILY = ("<CalendarTrigger><StartBoundary>2024-03-01T09:30:15</StartBoundary>"
         "<ScheduleByDay><DaysInterval>1</DaysInterval></ScheduleByDay></CalendarTrigger>")

_built = None  # folder of the programs made once for the module


def setUpModule():
    global _built
    _built = Path(tempfile.mkdtemp(prefix="bootmark-screening-"))
    fixture_programs.build_program(_built / "agent.exe", AGENT_COMPANY)
    fixture_programs.build_program(_built / "winpart.exe", "Microsoft Corporation Test Division")
    fixture_programs.sign(_built / "agent.exe", _built / "trusted.exe", TRUSTED_SIGNER)
    fixture_programs.sign(_built / "agent.exe", _built / "guard.exe", AV_SIGNER)


def tearDownModule():
    shutil.rmtree(_built, ignore_errors=True)



def item_md5(name, exe_file_name, company, kind):
    """The white-list key of an item whose name no normalization rule changes."""
    key = (name.strip() + exe_file_name.strip() + company.strip() + str(kind)).upper()
    return hashlib.md5(key.encode("cp1252")).hexdigest().upper()


class ScreeningCase(WineTestCase):
    """A prefix with the fixture programs, cleaned of databases, tasks, shortcuts and
    product definitions after each test."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        fixtures = cls.prefix.unix_path(FIXTURES)
        fixtures.mkdir(parents=True, exist_ok=True)
        for name in ("agent.exe", "winpart.exe", "trusted.exe"):
            shutil.copy2(_built / name, fixtures / name)

    def setUp(self):
        super().setUp()
        self.placed = []

    def tearDown(self):
        for path in self.placed:
            shutil.rmtree(path, ignore_errors=True) if path.is_dir() else path.unlink(missing_ok=True)
        super().tearDown()

    def place(self, windows_path, data):
        path = self.prefix.unix_path(windows_path)
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
        self.placed.append(path)

    def place_task(self, name, triggers=LOGON, enabled=True):
        self.place(TASKS + "\\" + name, task_xml(triggers, exec_action(AGENT), enabled))

    def database(self, name, sql):
        path = self.prefix.unix_path(self.prefix.program_dir + "Database\\" + name)
        path.parent.mkdir(parents=True, exist_ok=True)
        with sqlite3.connect(path) as connection:
            connection.executescript(sql)
        connection.close()
        self.placed.append(path)

    def make_link(self, link, target, arguments=""):
        self.prefix.unix_path(link).parent.mkdir(parents=True, exist_ok=True)
        saved = self.probe.run("new-link", target, arguments, link)
        self.assertEqual(saved.returncode, 0, saved)
        self.placed.append(self.prefix.unix_path(link))

    def screen(self, kind, *texts):
        """Runs /AddAutoRun for the item and checks that it showed no window."""
        watch = self.start_probe("watch")
        result = self.run_bootmark("/AddAutoRun", f"/{kind}", *[hex_arg(t) for t in texts], timeout=60)
        self.assertEqual(result.exit_code, 0, result)
        self.assertShowedNoWindow(watch, result, ALERT_CLASS)
        return result

    def assertAlerted(self, kind, *texts):
        run = self.start_bootmark("/AddAutoRun", f"/{kind}", *[hex_arg(t) for t in texts])
        hwnd = self.probe.wait(ALERT_CLASS, ALERT_TITLE, timeout=30)
        self.assertIsNotNone(hwnd, f"no alert window; lines: {run.lines()}")
        run.kill()
        return run


class ChainTest(ScreeningCase):

    def test_microsoft_task_is_passed_over_on_drive_c_only(self):
        result = self.screen(3, "C:\\Windows\\System32\\Tasks\\Microsoft\\Windows\\BmDefrag")
        self.assertHasLine(result, "TaskPath : C:\\Windows\\System32\\Tasks\\Microsoft\\Windows\\BmDefrag")
        self.assertHasLine(result, "00. Task Microsoft")

        result = self.screen(3, "D:\\Windows\\System32\\Tasks\\Microsoft\\Windows\\BmDefrag")
        self.assertNoLine(result, "00. Task Microsoft")
        self.assertHasLine(result, "0-1 Task is not system start type")

    def test_task_without_triggers(self):
        self.place_task("BmBare", triggers="")
        result = self.screen(3, TASKS + "\\BmBare")
        self.assertHasLine(result, "0 TaskTriger disable")

    def test_task_on_a_schedule_is_no_startup_task(self):
        self.place_task("BmDaily", triggers=DAILY)
        result = self.screen(3, TASKS + "\\BmDaily")
        self.assertHasLine(result, "0-1 Task is not system start type")

    def test_missing_program(self):
        result = self.screen(1, RUN_KEY + "BmGone", "C:\\BmScreen\\gone.exe /tray", RUN_KEY)
        self.assertHasLine(result, "NewItemExePath : C:\\BmScreen\\gone.exe /tray")
        self.assertHasLine(result, "1.startupSignature.db: NewItemExePath is Null")

    def test_signer_in_the_signature_list(self):
        self.database("startupSignature.db", "CREATE TABLE signatureList(signature TEXT);"
                      f"INSERT INTO signatureList VALUES('{TRUSTED_SIGNER.lower()}');")
        result = self.screen(1, RUN_KEY + "BmTrusted", f'"{FIXTURES}trusted.exe" -min', RUN_KEY)
        self.assertHasLine(result, "1.startupSignature.db : BmTrusted")

    def test_item_in_the_white_list(self):
        self.database("startupWhite.db", "CREATE TABLE whiteList(MD5 TEXT);"
                      f"INSERT INTO whiteList VALUES('{item_md5('BmAgent', 'agent.exe', AGENT_COMPANY, 1)}');")
        result = self.screen(1, RUN_KEY + "BmAgent", AGENT + " -tray", RUN_KEY)
        self.assertHasLine(result, "2.startupWhite.db : BmAgent")

    def test_service_hosted_by_svchost(self):
        result = self.screen(2, "BmNetSvc", "C:\\windows\\system32\\svchost.exe -k netsvcs", "Bm Net")
        self.assertHasLine(result, "2.1 svchost.exe Filter : BmNetSvc")

    def test_program_published_by_microsoft(self):
        result = self.screen(1, RUN_KEY + "BmWinPart", FIXTURES + "winpart.exe", RUN_KEY)
        self.assertHasLine(result, "2.2 Microsoft Corporation Filter : BmWinPart")

    def test_task_already_enabled_and_disabled_task(self):
        self.place_task("BmKnown")
        self.prefix.write_ini(self.prefix.common_data_dir + "Bootmark\\Bootmark.ini", "[TaskStatus]\nBmKnown=1\n")
        result = self.screen(3, TASKS + "\\BmKnown")
        self.assertHasLine(result, "NewItemExePath : " + AGENT)
        self.assertHasLine(result, "4.TaskFilter : BmKnown")

        self.place_task("BmOff", enabled=False)
        result = self.screen(3, TASKS + "\\BmOff")
        self.assertHasLine(result, "4.TaskFilter : BmOff")
        status = self.prefix.read_ini(self.prefix.common_data_dir + "Bootmark\\Bootmark.ini").section("TaskStatus")
        self.assertEqual((status.get("BmKnown"), status.get("BmOff")), ("1", "0"))

    def test_item_the_suite_wrote_is_passed_over_once(self):
        config = self.prefix.common_data_dir + "Bootmark\\AutoRunConfig.ini"
        self.prefix.write_ini(config, "[Item1]\nName=bmagent\nType=1\nExePath=\n[Item2]\nName=Other\nType=1\n")
        result = self.screen(1, RUN_KEY + "BmAgent", AGENT, RUN_KEY)
        self.assertHasLine(result, "5.IsTarvoOperation : BmAgent")
        self.assertEqual(self.prefix.read_ini(config).section_names(), ["Item2"])

    def test_ignored_item(self):
        self.prefix.write_ini(self.prefix.user_data_dir + "Startup Manager\\Ignore.ini",
                              f"[Monitor]\nBmAgent{AGENT}1=1\n")
        result = self.screen(1, RUN_KEY + "BmAgent", AGENT, RUN_KEY)
        self.assertHasLine(result, "6.manu ignore : BmAgent")

    def test_shortcut_is_screened_with_its_target(self):
        link = FIXTURES + "Startup\\BmAgent.lnk"
        self.make_link(link, AGENT, "-tray")
        self.prefix.write_ini(self.prefix.user_data_dir + "Startup Manager\\Ignore.ini",
                              f"[Monitor]\nBmAgent.lnk{AGENT}4=1\n")
        result = self.screen(4, link)
        self.assertHasLine(result, "NewItemExePath : " + AGENT)
        self.assertHasLine(result, "6.manu ignore : BmAgent.lnk")


class AlertTest(ScreeningCase):
    """Items that pass every filter reach the alert window."""

    def test_new_registry_value(self):
        self.assertAlerted(1, RUN_KEY + "BmAgent", AGENT + " -tray", RUN_KEY)

    def test_newly_enabled_task_is_stored_and_alerted(self):
        self.place_task("BmFresh")
        self.assertAlerted(3, TASKS + "\\BmFresh")
        status = self.prefix.read_ini(self.prefix.common_data_dir + "Bootmark\\Bootmark.ini").section("TaskStatus")
        self.assertEqual(status.get("BmFresh"), "1")

    def test_new_shortcut(self):
        link = FIXTURES + "Startup\\BmTray.lnk"
        self.make_link(link, AGENT)
        self.assertAlerted(4, link)


class AntivirusTest(ScreeningCase):
    """The antivirus products of "DetectionEx.ini" found through uninstall entries in
    either registry view; a program signed by a product's signer is passed over."""

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        folder = cls.prefix.unix_path(AV_FOLDER)
        folder.mkdir(parents=True, exist_ok=True)
        shutil.copy2(_built / "guard.exe", folder / "guard.exe")
        shutil.copy2(_built / "guard.exe", cls.prefix.unix_path(FIXTURES) / "shieldagent.exe")

    def setUp(self):
        super().setUp()
        self.place(self.prefix.program_dir + "DetectionEx.ini",
                   "[P_Shieldy]\r\nEnable=1\r\nDisplayName='shieldy'\r\n".encode("ascii"))

    def install_product(self, uninstall_key):
        self.prefix.import_reg("Windows Registry Editor Version 5.00\n\n"
                               f"[HKEY_LOCAL_MACHINE\\{uninstall_key}]\n"
                               '"DisplayName"="Shieldy Antivirus"\n"Publisher"="Shieldy Labs"\n'
                               f'"InstallLocation"="{AV_FOLDER.replace(chr(92), chr(92) * 2)}"\n')

    def uninstall_product(self, uninstall_key):
        self.prefix.import_reg(f"Windows Registry Editor Version 5.00\n\n[-HKEY_LOCAL_MACHINE\\{uninstall_key}]\n")

    def check_view(self, uninstall_key):
        self.install_product(uninstall_key)
        try:
            result = self.screen(1, RUN_KEY + "BmShield", FIXTURES + "shieldagent.exe", RUN_KEY)
            self.assertHasLine(result, "3.AVSoftwareFilter : BmShield")
        finally:
            self.uninstall_product(uninstall_key)

    def test_product_of_the_64_bit_view(self):
        self.check_view("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\BmShieldy")

    def test_product_of_the_32_bit_view(self):
        self.check_view("SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\BmShieldy")

    def test_no_product_installed(self):
        # Without the product its signer passes nothing over: the item reaches the alert.
        run = self.assertAlerted(1, RUN_KEY + "BmShield", FIXTURES + "shieldagent.exe", RUN_KEY)
        self.assertNotIn("3.AVSoftwareFilter : BmShield", run.lines())


if __name__ == "__main__":
    import unittest
    unittest.main()
