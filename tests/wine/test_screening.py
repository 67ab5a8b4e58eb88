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
from harness import WineTestCase, paths
from harness.suite_input import ALERT_CLASS, TASKS, exec_action, hex_arg, task_xml

FIXTURES = "C:\\BmScreen\\"
AGENT = FIXTURES + "agent.exe"
TRUSTED_SIGNER = "Trusted Screen Signer"
AV_SIGNER = "Shieldy Labs"
AV_FOLDER = "C:\\BmShield\\"
RUN_KEY = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\"

_built = None  # folder of the signed programs made once for the module


def setUpModule():
    global _built
    _built = Path(tempfile.mkdtemp(prefix="bootmark-screening-"))
    shutil.copy2(paths.tools_dir() / "bmagent.exe", _built / "agent.exe")
    fixture_programs.sign(_built / "agent.exe", _built / "trusted.exe", TRUSTED_SIGNER)
    fixture_programs.sign(_built / "agent.exe", _built / "guard.exe", AV_SIGNER)


def tearDownModule():
    shutil.rmtree(_built, ignore_errors=True)


class ScreeningCase(WineTestCase):
    # A prefix with the fixture programs, cleaned of databases, tasks, shortcuts and
    # product definitions after each test.

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        fixtures = cls.prefix.unix_path(FIXTURES)
        fixtures.mkdir(parents=True, exist_ok=True)
        for name in ("agent.exe", "trusted.exe"):
            shutil.copy2(_built / name, fixtures / name)

    def database(self, name, sql):
        path = self.place(self.prefix.program_dir + "Database\\" + name, b"")
        with sqlite3.connect(path) as connection:
            connection.executescript(sql)
        connection.close()

    def screen(self, kind, *texts):
        return self.run_silent("/AddAutoRun", f"/{kind}", *[hex_arg(t) for t in texts], window_class=ALERT_CLASS)


class ChainTest(ScreeningCase):

    def test_each_filter_passes_its_item_over(self):
        link = FIXTURES + "Startup\\BmAgent.lnk"
        ignore = self.prefix.user_data_dir + "Startup Manager\\Ignore.ini"
        # The white-list key: name, program file name, company and kind, upper case.
        white_key = hashlib.md5("BmAgentagent.exeAgent Makers1".upper().encode()).hexdigest().upper()
        rows = [  # (case, set-up, item, lines shown)
            ("signer in the signature list",
             lambda: self.database("startupSignature.db", "CREATE TABLE signatureList(signature TEXT);"
                                   f"INSERT INTO signatureList VALUES('{TRUSTED_SIGNER.lower()}');"),
             (1, RUN_KEY + "BmTrusted", f'"{FIXTURES}trusted.exe" -min', RUN_KEY),
             ["1.startupSignature.db : BmTrusted"]),
            ("item in the white list",
             lambda: self.database("startupWhite.db", "CREATE TABLE whiteList(MD5 TEXT); INSERT INTO whiteList "
                                   f"VALUES('{white_key}');"),
             (1, RUN_KEY + "BmAgent", AGENT + " -tray", RUN_KEY), ["2.startupWhite.db : BmAgent"]),
            # A shortcut is screened with its target (the ignore filter ends the run).
            ("shortcut", lambda: (self.make_link(link, AGENT, "-tray"),
                                  self.prefix.write_ini(ignore, f"[Monitor]\nBmAgent.lnk{AGENT}4=1\n")),
             (4, link), ["NewItemExePath : " + AGENT, "6.manu ignore : BmAgent.lnk"]),
        ]
        for case, set_up, item, shown in rows:
            with self.subTest(case):
                self.remove_placed()
                self.prefix.remove_suite_data()
                set_up()
                result = self.screen(*item)
                for line in shown:
                    self.assertHasLine(result, line)

    def test_disabled_task_is_stored_disabled(self):
        self.place(TASKS + "\\BmOff", task_xml(actions=exec_action(AGENT), enabled=False))
        result = self.screen(3, TASKS + "\\BmOff")
        self.assertHasLine(result, "NewItemExePath : " + AGENT)
        self.assertHasLine(result, "4.TaskFilter : BmOff")
        status = self.prefix.read_ini(self.prefix.common_data_dir + "Bootmark\\Bootmark.ini").section("TaskStatus")
        self.assertEqual(status.get("BmOff"), "0")


class AntivirusTest(ScreeningCase):
    # The antivirus products of "DetectionEx.ini" found through uninstall entries; a
    # program signed by a product's signer is passed over.

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

    def test_installed_products_signer_is_passed_over(self):
        item = (RUN_KEY + "BmShield", FIXTURES + "shieldagent.exe", RUN_KEY)
        # Without the product its signer passes nothing over: the item reaches the alert.
        run, _ = self.open_alert("/1", *[hex_arg(t) for t in item])
        run.kill()
        self.assertNotIn("3.AVSoftwareFilter : BmShield", run.lines())
        key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\BmShieldy"
        self.prefix.import_reg(f'[{key}]\n"DisplayName"="Shieldy Antivirus"\n"Publisher"="Shieldy Labs"\n'
                               f'"InstallLocation"="{AV_FOLDER.replace(chr(92), chr(92) * 2)}"\n')
        try:
            self.assertHasLine(self.screen(1, *item), "3.AVSoftwareFilter : BmShield")
        finally:
            self.prefix.import_reg(f"[-{key}]\n")
