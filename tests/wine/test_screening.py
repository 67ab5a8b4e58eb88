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
AGENT_COMPANY = "Agent Makers"
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
        for name in ("agent.exe", "trusted.exe"):
            shutil.copy2(_built / name, fixtures / name)

    def place_task(self, name, enabled=True):
        self.place(TASKS + "\\" + name, task_xml(actions=exec_action(AGENT), enabled=enabled))

    def database(self, name, sql):
        path = self.place(self.prefix.program_dir + "Database\\" + name, b"")
        with sqlite3.connect(path) as connection:
            connection.executescript(sql)
        connection.close()

    def make_link(self, link, target, arguments=""):
        self.prefix.unix_path(link).parent.mkdir(parents=True, exist_ok=True)
        self.probe.run("new-link", target, arguments, link, check=True)
        self._placed.append(self.prefix.unix_path(link))

    def screen(self, kind, *texts):
        """Runs /AddAutoRun for the item and checks that it showed no window."""
        return self.run_silent("/AddAutoRun", f"/{kind}", *[hex_arg(t) for t in texts], window_class=ALERT_CLASS)

    def assertAlerted(self, kind, *texts):
        run, _ = self.open_alert(f"/{kind}", *[hex_arg(t) for t in texts])
        run.kill()
        return run


class ChainTest(ScreeningCase):

    def test_each_filter_passes_its_item_over(self):
        link = FIXTURES + "Startup\\BmAgent.lnk"
        ignore = self.prefix.user_data_dir + "Startup Manager\\Ignore.ini"
        rows = [  # (case, set-up, item, lines shown)
            ("signer in the signature list",
             lambda: self.database("startupSignature.db", "CREATE TABLE signatureList(signature TEXT);"
                                   f"INSERT INTO signatureList VALUES('{TRUSTED_SIGNER.lower()}');"),
             (1, RUN_KEY + "BmTrusted", f'"{FIXTURES}trusted.exe" -min', RUN_KEY),
             ["1.startupSignature.db : BmTrusted"]),
            ("item in the white list",
             lambda: self.database("startupWhite.db", "CREATE TABLE whiteList(MD5 TEXT); INSERT INTO whiteList "
                                   f"VALUES('{item_md5('BmAgent', 'agent.exe', AGENT_COMPANY, 1)}');"),
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
                if set_up is not None:
                    set_up()
                result = self.screen(*item)
                for line in shown:
                    self.assertHasLine(result, line)

    def test_disabled_task_is_stored_disabled(self):
        self.place_task("BmOff", enabled=False)
        result = self.screen(3, TASKS + "\\BmOff")
        self.assertHasLine(result, "NewItemExePath : " + AGENT)
        self.assertHasLine(result, "4.TaskFilter : BmOff")
        status = self.prefix.read_ini(self.prefix.common_data_dir + "Bootmark\\Bootmark.ini").section("TaskStatus")
        self.assertEqual(status.get("BmOff"), "0")

    def test_item_the_suite_wrote_is_passed_over_once(self):
        config = self.prefix.common_data_dir + "Bootmark\\AutoRunConfig.ini"
        self.prefix.write_ini(config, "[Item1]\nName=bmagent\nType=1\nExePath=\n[Item2]\nName=Other\nType=1\n")
        result = self.screen(1, RUN_KEY + "BmAgent", AGENT, RUN_KEY)
        self.assertHasLine(result, "5.IsTarvoOperation : BmAgent")
        self.assertEqual(self.prefix.read_ini(config).section_names(), ["Item2"])


class AlertTest(ScreeningCase):
    """Items that pass every filter reach the alert window: the positive controls of
    the chain's ends without a window (a registry item: AntivirusTest)."""

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
    """The antivirus products of "DetectionEx.ini" found through uninstall entries; a
    program signed by a product's signer is passed over."""

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
        key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\BmShieldy"
        self.prefix.import_reg(f'[{key}]\n"DisplayName"="Shieldy Antivirus"\n"Publisher"="Shieldy Labs"\n'
                               f'"InstallLocation"="{AV_FOLDER.replace(chr(92), chr(92) * 2)}"\n')
        try:
            result = self.screen(1, RUN_KEY + "BmShield", FIXTURES + "shieldagent.exe", RUN_KEY)
            self.assertHasLine(result, "3.AVSoftwareFilter : BmShield")
        finally:
            self.prefix.import_reg(f"[-{key}]\n")

    def test_no_product_installed(self):
        # Without the product its signer passes nothing over: the item reaches the alert.
        run = self.assertAlerted(1, RUN_KEY + "BmShield", FIXTURES + "shieldagent.exe", RUN_KEY)
        self.assertNotIn("3.AVSoftwareFilter : BmShield", run.lines())
