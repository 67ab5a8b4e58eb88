"""/mainData on a seeded machine: services made with the service manager, tasks in
the scheduler's store, run keys, shortcuts and a store app, and the lookup databases
made at test time. The run lists every existing service file once in "mainData.dat"
and writes the startup cache; a bad database writes nothing."""

import shutil

from harness import WineTestCase, paths, wine
from harness.suite_input import (BOOT_TRIGGER, LOGON_TRIGGER, TASKS, create_lookup_databases,
                                 exec_action, task_xml)

TOOLS = "C:\\BmInventory\\"
AGENT = TOOLS + "agent.exe"
NO_EXT = TOOLS + "noext"
MISSING = TOOLS + "gone.exe"
STARTUP_MANAGER = "Startup Manager\\"
# name, start type for sc, binary path, display name
SERVICES = [
    ("BmAuto", "auto", AGENT, "Bm Auto"),
    ("BmDemand", "demand", AGENT + " -service", "Bm Demand"),
    ("BmOff", "disabled", AGENT, "Bm Off"),
    ("BmGone", "auto", MISSING, "Bm Gone"),
    ("BmNoExt", "demand", NO_EXT, "Bm NoExt"),
]

# name, triggers, program
TASK_FILES = [("BmBootTask", BOOT_TRIGGER, AGENT), ("BmGoneTask", LOGON_TRIGGER, MISSING)]


RUN = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"
USER_RUN = "HKEY_CURRENT_USER\\" + RUN
MACHINE_RUN = "HKEY_LOCAL_MACHINE\\" + RUN
# The 64-bit test build sees the 32-bit registry of the shipped program explicitly.
MACHINE_RUN_32 = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\Run"
APPROVED = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run"
APP_DATA = "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\AppModel\\SystemAppData"
# Wine's one user, whose "explorer.exe" runs the desktop.
WINE_USER_SID = "S-1-5-21-0-0-0-1000"
STORE_FAMILY = "BmStore.Tray_bm1"
STORE_FOLDER = "C:\\Program Files\\WindowsApps\\BmStore.Tray_1.0.0.0_x64__bm1\\"
STORE_TASKS = [("BmTaskOff", "off.exe", 0), ("BmTaskOn", "on.exe", 2), ("BmTaskPolicy", "policy.exe", 4)]


def store_manifest():
    tasks = "".join(f'<uap5:Extension Category="windows.startupTask" Executable="{exe}">'
                    f'<uap5:StartupTask TaskId="{task}" DisplayName="{task} display"/></uap5:Extension>'
                    for task, exe, _ in STORE_TASKS)
    return ('<?xml version="1.0" encoding="utf-8"?>\n<Package xmlns:uap="u" xmlns:uap5="u5">\n'
            '<Identity Name="BmStore.Tray" Version="1.0.0.0"/>\n<Applications><Application Id="App">\n'
            '<uap:VisualElements DisplayName="Bm Store Tray" Square44x44Logo="logo.png"/>\n'
            f'<Extensions>{tasks}</Extensions></Application></Applications>\n</Package>\n')


class MainDataTest(WineTestCase):

    def setUp(self):
        super().setUp()
        folder = self.prefix.unix_path(TOOLS)
        folder.mkdir(parents=True, exist_ok=True)
        shutil.copy(paths.tools_dir() / "bmagent.exe", folder / "agent.exe")
        shutil.copy(paths.tools_dir() / "bmagent.exe", folder / "noext.exe")
        for name, start, path, display in SERVICES:
            self.sc("delete", name)
            self.sc("create", name, "binPath=", path, "start=", start, "DisplayName=", display)
        for name, triggers, program in TASK_FILES:
            self.place(TASKS + "\\" + name, task_xml(triggers=triggers, actions=exec_action(program)))
        database = create_lookup_databases(self.prefix)
        (database / "startupService.db").write_bytes(b"\x00\x01\xff\xfe binary \x00")

    def tearDown(self):
        for name, _, _, _ in SERVICES:
            self.sc("delete", name)
        super().tearDown()

    def sc(self, *args):
        return wine.run(["wine", "sc", *args], self.prefix.env, timeout=60, cwd=self.prefix.artifacts,
                        check=False)

    def main_data_paths(self):
        data = self.prefix.read_ini(self.prefix.common_data_dir + STARTUP_MANAGER + "mainData.dat")
        self.assertEqual(data.section_names(), ["btl"])
        self.assertRegex(data.value("btl", "ckey") or "", r"^-?\d+$")
        count = int(data.value("btl", "count"))
        values = [data.value("btl", str(i)) for i in range(1, count + 1)]
        self.assertTrue(all(value.startswith("2|") for value in values), values)
        return [value[2:] for value in values]

    def test_services_are_listed_with_their_existing_files(self):
        result = self.run_bootmark("/mainData")
        self.assertEqual(result.exit_code, 0, result)

        paths = self.main_data_paths()
        self.assertEqual(paths, sorted(paths, key=str.upper), "sorted without regard to case")
        self.assertEqual(len({p.upper() for p in paths}), len(paths), "each path once")
        for path in paths:
            self.assertTrue(self.prefix.unix_path(path).is_file(), f"{path} does not exist")
        upper = [p.upper() for p in paths]
        self.assertIn(AGENT.upper(), upper)
        self.assertIn((NO_EXT + ".exe").upper(), upper)  # the ".exe" file of a path without one
        self.assertNotIn(MISSING.upper(), upper)

        cache = self.prefix.read_ini(self.prefix.common_data_dir + STARTUP_MANAGER + "StartupCache.dat")
        sections = cache.section_names()
        self.assertEqual(sections[0], "Main")
        by_name = {cache.value(s, "Name"): s for s in sections[1:]}
        expected_states = {"BmAuto": "1", "BmDemand": "3", "BmOff": "3", "BmGone": "4", "BmNoExt": "3"}
        for name, state in expected_states.items():
            self.assertIn(name, by_name, sections)
            section = by_name[name]
            self.assertEqual(cache.value(section, "ItemType"), "Service")
            self.assertEqual(cache.value(section, "ItemStatus"), state, name)
        self.assertEqual(cache.value(by_name["BmGone"], "Recommand"), "4")
        self.assertEqual(cache.value(by_name["BmAuto"], "Manufacture"), "Agent Makers")

        tasks = {cache.value(s, "Name"): s for s in sections[1:] if cache.value(s, "ItemType") == "TaskSchedule"}
        for name, boot, kind in [("BmBootTask", "1", "3"), ("BmGoneTask", "1", "4")]:
            self.assertIn(name, tasks, sections)
            self.assertEqual(cache.value(tasks[name], "IsStartBoot"), boot, name)
            self.assertEqual(cache.value(tasks[name], "TaskType"), kind, name)
            self.assertEqual(cache.value(tasks[name], "Location"), "\\" + name)
        self.assertEqual(cache.value(tasks["BmGoneTask"], "Exist"), "0")

    def startup_folders(self):
        user = self.prefix.facts["appdata"] + "\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\"
        common = self.prefix.facts["common_appdata"] + "\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp\\"
        return [user, common, self.prefix.user_data_dir + STARTUP_MANAGER + "Shortcut\\"]

    def seed_startup_entries(self):
        """Run values in three keys, shortcuts in the three folders, a store app."""
        sid = WINE_USER_SID
        states = "".join(f'[HKEY_USERS\\{sid}\\{APP_DATA}\\{STORE_FAMILY}\\{task}]\n"State"=dword:{state:08x}\n\n'
                         for task, _, state in STORE_TASKS)
        agent = AGENT.replace("\\", "\\\\")
        self.prefix.import_reg(
            f'[{USER_RUN}]\n"BmUserRun"="{agent}"\n"BmEmpty"=""\n"BmOff"="{agent} -off"\n\n'
            f'[{MACHINE_RUN_32}]\n"BmMachineRun"="{agent} -m"\n\n'
            f'[{MACHINE_RUN}]\n"BmWideRun"="{agent} -w"\n\n'
            f'[{APPROVED}]\n"BmOff"=hex:03,00,00,00,00,00,00,00,00,00,00,00\n\n'
            f'[HKEY_USERS\\{sid}\\{APP_DATA}\\{STORE_FAMILY}\\SplashScreen\\{STORE_FAMILY}!App]\n\n' + states)
        user, common, user_backup = self.startup_folders()
        for folder, name in [(user, "BmBoth.lnk"), (user_backup, "BmBoth.lnk"), (common, "BmCommon.lnk"),
                             (user_backup, "BmMoved.lnk")]:
            self.prefix.unix_path(folder).mkdir(parents=True, exist_ok=True)
            saved = self.probe.run("new-link", AGENT, "-tray", folder + name)
            self.assertEqual(saved.returncode, 0, saved)
        self.place(user + "BmSite.url", b"[InternetShortcut]\r\nURL=https://example.org/\r\n")
        for _, exe, _ in STORE_TASKS:
            self.place(STORE_FOLDER + exe, (paths.tools_dir() / "bmagent.exe").read_bytes())
        self.place(STORE_FOLDER + "AppxManifest.xml", store_manifest().encode())

    def test_run_values_shortcuts_and_store_apps_are_listed(self):
        # The entries stay for the later tests of the class, which look only at
        # services and tasks.
        self.seed_startup_entries()
        result = self.run_bootmark("/mainData")
        self.assertEqual(result.exit_code, 0, result)

        cache = self.prefix.read_ini(self.prefix.common_data_dir + STARTUP_MANAGER + "StartupCache.dat")
        startup = [s for s in cache.section_names()[1:] if cache.value(s, "ItemType") == "StartUp"]
        found = sorted((cache.value(s, "Name"), cache.value(s, "StartupType"), cache.value(s, "RegType"),
                        cache.value(s, "ItemStatus"), cache.value(s, "Lnkflag"))
                       for s in startup if cache.value(s, "Name").startswith("Bm"))
        self.assertEqual(found, sorted([
            ("BmUserRun", "1", "1", "1", "0"),
            ("BmOff", "1", "1", "3", "0"),  # Windows' startup settings disabled it
            ("BmMachineRun", "1", "1", "1", "0"),
            ("BmWideRun", "1", "2", "1", "0"),  # the 64-bit view
            ("BmBoth.lnk", "4", "0", "1", "1"),
            ("BmCommon.lnk", "4", "0", "1", "4"),
            ("BmMoved.lnk", "4", "0", "3", "2"),
            ("BmSite.url", "4", "0", "1", "1"),
            ("Bm Store Tray", "5", "0", "1", "0"),
            ("Bm Store Tray", "5", "0", "1", "0"),
        ]), found)
        by_name = {cache.value(s, "Name"): s for s in startup}
        link = by_name["BmCommon.lnk"]
        self.assertEqual(cache.value(link, "FullPath").upper(), AGENT.upper())
        self.assertEqual(cache.value(link, "LnkparamStr"), "-tray")
        self.assertEqual(cache.value(link, "Manufacture"), "Agent Makers")
        self.assertIn(AGENT.upper(), [p.upper() for p in self.main_data_paths()])

    def test_bad_database_writes_nothing(self):
        black = self.prefix.unix_path(self.prefix.program_dir + "Database\\startupBlack.db")
        black.write_bytes(b"this is not a database file at all, only text " * 4)
        result = self.run_bootmark("/mainData")
        self.assertEqual(result.exit_code, 0, result)
        main_data = self.prefix.unix_path(self.prefix.common_data_dir + STARTUP_MANAGER + "mainData.dat")
        self.assertFalse(main_data.exists(), "no mainData.dat from a failed inventory")
