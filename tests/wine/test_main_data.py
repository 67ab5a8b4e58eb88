# /mainData on a seeded machine: services made with the service manager, tasks in the
# scheduler's store, run keys, shortcuts and a store app, and the lookup databases made
# at test time. The run lists every existing service file once in "mainData.dat" and
# writes the startup cache; a bad database writes nothing. (Which states and flags the
# items get are rules of the unit tables: the cache rows checked here are those read
# from the real machine.)

from harness import WineTestCase, paths, wine
from harness.suite_input import BOOT_TRIGGER, LOGON_TRIGGER, TASKS, create_lookup_databases, exec_action, task_xml

TOOLS = "C:\\BmInventory\\"
AGENT = TOOLS + "agent.exe"
MISSING = TOOLS + "gone.exe"
STARTUP_MANAGER = "Startup Manager\\"
# name, start type for sc, binary path, display name
SERVICES = [
    ("BmAuto", "auto", AGENT, "Bm Auto"),
    ("BmOff", "disabled", AGENT + " -service", "Bm Off"),
    ("BmGone", "auto", MISSING, "Bm Gone"),
]

# name, triggers, program
TASK_FILES = [("BmBootTask", BOOT_TRIGGER, AGENT), ("BmGoneTask", LOGON_TRIGGER, MISSING)]

RUN = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"
USER_RUN = "HKEY_CURRENT_USER\\" + RUN
# The 64-bit view, which the 64-bit test build sees as the 32-bit program on 64-bit Windows.
MACHINE_RUN = "HKEY_LOCAL_MACHINE\\" + RUN
APP_DATA = "Software\\Classes\\Local Settings\\Software\\Microsoft\\Windows\\CurrentVersion\\AppModel\\SystemAppData"
# Wine's one user, whose "explorer.exe" runs the desktop.
WINE_USER_SID = "S-1-5-21-0-0-0-1000"
STORE_FAMILY = "BmStore.Tray_bm1"
STORE_FOLDER = "C:\\Program Files\\WindowsApps\\BmStore.Tray_1.0.0.0_x64__bm1\\"
STORE_MANIFEST = ('<?xml version="1.0" encoding="utf-8"?>\n<Package xmlns:uap="u" xmlns:uap5="u5">\n'
                  '<Identity Name="BmStore.Tray" Version="1.0.0.0"/>\n<Applications><Application Id="App">\n'
                  '<uap:VisualElements DisplayName="Bm Store Tray" Square44x44Logo="logo.png"/>\n'
                  '<Extensions><uap5:Extension Category="windows.startupTask" Executable="on.exe">'
                  '<uap5:StartupTask TaskId="BmTaskOn" DisplayName="BmTaskOn display"/></uap5:Extension>'
                  '</Extensions></Application></Applications>\n</Package>\n')


class MainDataTest(WineTestCase):

    def setUp(self):
        super().setUp()
        self.prefix.copy_in(paths.tools_dir() / "bmagent.exe", AGENT)
        for name, start, path, display in SERVICES:
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
        wine.run(["wine", "sc", *args], self.prefix.env, timeout=60, cwd=self.prefix.artifacts, check=False)

    def test_every_kind_of_item_is_listed_with_its_existing_files(self):
        common = self.prefix.facts["common_appdata"] + "\\Microsoft\\Windows\\Start Menu\\Programs\\StartUp\\"
        agent = AGENT.replace("\\", "\\\\")
        self.prefix.import_reg(
            f'[{USER_RUN}]\n"BmUserRun"="{agent}"\n\n[{MACHINE_RUN}]\n"BmWideRun"="{agent} -w"\n\n'
            f'[HKEY_USERS\\{WINE_USER_SID}\\{APP_DATA}\\{STORE_FAMILY}\\SplashScreen\\{STORE_FAMILY}!App]\n\n'
            f'[HKEY_USERS\\{WINE_USER_SID}\\{APP_DATA}\\{STORE_FAMILY}\\BmTaskOn]\n"State"=dword:00000002\n')
        self.make_link(common + "BmCommon.lnk", AGENT, "-tray")
        self.place(STORE_FOLDER + "on.exe", (paths.tools_dir() / "bmagent.exe").read_bytes())
        self.place(STORE_FOLDER + "AppxManifest.xml", STORE_MANIFEST.encode())
        result = self.run_bootmark("/mainData")
        self.assertEqual(result.exit_code, 0, result)
        data = self.prefix.read_ini(self.prefix.common_data_dir + STARTUP_MANAGER + "mainData.dat")
        listed = [data.value("btl", str(i))[2:].upper() for i in range(1, int(data.value("btl", "count")) + 1)]
        self.assertEqual(listed.count(AGENT.upper()), 1, listed)  # the file of many items, once
        self.assertNotIn(MISSING.upper(), listed)

        cache = self.prefix.read_ini(self.prefix.common_data_dir + STARTUP_MANAGER + "StartupCache.dat")
        by_name = {cache.value(s, "Name"): s for s in cache.section_names()[1:]}
        expected = {
            "BmAuto": {"ItemType": "Service", "ItemStatus": "1", "Manufacture": "Agent Makers"},
            "BmOff": {"ItemType": "Service", "ItemStatus": "3"},
            "BmGone": {"ItemType": "Service", "ItemStatus": "4"},
            "BmBootTask": {"ItemType": "TaskSchedule", "IsStartBoot": "1", "Location": "\\BmBootTask"},
            "BmGoneTask": {"ItemType": "TaskSchedule", "Exist": "0"},
            "Bm Store Tray": {"StartupType": "5", "ItemStatus": "1"},
            "BmCommon.lnk": {"StartupType": "4", "LnkparamStr": "-tray", "Manufacture": "Agent Makers"},
            "BmUserRun": {"StartupType": "1", "RegType": "1"},
            "BmWideRun": {"StartupType": "1", "RegType": "2"},
        }
        for name, values in expected.items():
            self.assertIn(name, by_name, cache.section_names())
            self.assertEqual({key: cache.value(by_name[name], key) for key in values}, values, name)
        self.assertEqual(cache.value(by_name["BmCommon.lnk"], "FullPath").upper(), AGENT.upper())

    def test_bad_database_writes_nothing(self):
        black = self.prefix.unix_path(self.prefix.program_dir + "Database\\startupBlack.db")
        black.write_bytes(b"this is not a database file at all, only text " * 4)
        result = self.run_bootmark("/mainData")
        self.assertEqual(result.exit_code, 0, result)
        main_data = self.prefix.unix_path(self.prefix.common_data_dir + STARTUP_MANAGER + "mainData.dat")
        self.assertFalse(main_data.exists(), "no mainData.dat from a failed inventory")
