# /AddAutoRun screening where only a real machine answers: Authenticode signers of
# programs signed at test time, antivirus products as uninstall entries of the
# registry. A filter that passes an item over writes its debug line and the run ends
# without a window; an item that passes every filter reaches the alert window.

import shutil
import sqlite3
import tempfile
from pathlib import Path

import fixture_programs
from harness import WineTestCase, paths
from harness.suite_input import ALERT_CLASS, hex_arg

FIXTURES = "C:\\BmScreen\\"
TRUSTED_SIGNER = "Trusted Screen Signer"
AV_SIGNER = "Shieldy Labs"
AV_FOLDER = "C:\\BmShield\\"
RUN_KEY = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\"

_built = None  # folder of the signed programs made once for the module


def setUpModule():
    global _built
    _built = Path(tempfile.mkdtemp(prefix="bootmark-screening-"))
    for signed, signer in (("trusted.exe", TRUSTED_SIGNER), ("guard.exe", AV_SIGNER)):
        fixture_programs.sign(paths.tools_dir() / "bmagent.exe", _built / signed, signer)


def tearDownModule():
    shutil.rmtree(_built, ignore_errors=True)


class ScreeningTest(WineTestCase):
    # (The white list, shortcuts and tasks are screened by the unit tables; the program's
    # company and the links and task files of a real machine are read by /mainData.)

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        for program, copy in (("trusted.exe", FIXTURES + "trusted.exe"), ("guard.exe", AV_FOLDER + "guard.exe"),
                              ("guard.exe", FIXTURES + "shieldagent.exe")):
            cls.prefix.copy_in(_built / program, copy)

    def screen(self, kind, *texts):
        return self.run_silent("/AddAutoRun", f"/{kind}", *[hex_arg(t) for t in texts], window_class=ALERT_CLASS)

    def test_signer_in_the_signature_list_is_passed_over(self):
        path = self.place(self.prefix.program_dir + "Database\\startupSignature.db", b"")
        with sqlite3.connect(path) as connection:
            connection.executescript("CREATE TABLE signatureList(signature TEXT);"
                                     f"INSERT INTO signatureList VALUES('{TRUSTED_SIGNER.lower()}');")
        connection.close()
        result = self.screen(1, RUN_KEY + "BmTrusted", f'"{FIXTURES}trusted.exe" -min', RUN_KEY)
        self.assertHasLine(result, "1.startupSignature.db : BmTrusted")

    def test_installed_products_signer_is_passed_over(self):
        # The antivirus products of "DetectionEx.ini" are found through uninstall entries.
        self.place(self.prefix.program_dir + "DetectionEx.ini",
                   "[P_Shieldy]\r\nEnable=1\r\nDisplayName='shieldy'\r\n".encode("ascii"))
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
