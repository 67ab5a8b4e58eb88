"""The real Windows ports: bmporttests.exe, a GoogleTest program built with the win64
preset (the contracts of tests/contracts and what only the real system does), run
inside the fixture machine beside a copy of Bootmark.exe signed at test time."""

import shutil

import fixture_programs
from harness import WineTestCase, paths, runner

SIGNER = "Tarvo Test Signing \u00c9dition"


class PortTests(WineTestCase):
    def test_real_ports_behave_as_the_program_expects(self):
        program_dir = self.prefix.program_dir
        unix_dir = self.prefix.unix_path(program_dir)
        shutil.copy2(paths.bootmark_exe().parent / "bmporttests.exe", unix_dir / "bmporttests.exe")
        fixture_programs.sign(paths.bootmark_exe(), unix_dir / "signed.exe", SIGNER, organization="Tarvo")

        saved = dict(self.prefix.env)
        self.prefix.env.update(BMPORT_SIGNED_FILE=program_dir + "signed.exe", BMPORT_SIGNER_NAME=SIGNER)
        try:
            run = runner.BootmarkProcess(self.prefix, ["--gtest_brief=1"], exe=program_dir + "bmporttests.exe")
            result = run.wait(timeout=240)
        finally:
            self.prefix.env.clear()
            self.prefix.env.update(saved)
        output = run.stdout_text()
        self.assertEqual(result.exit_code, 0, f"port tests failed:\n{output}")
        self.assertRegex(output, r"\[  PASSED  \] \d+ tests")
