"""Signers of real signed programs: a copy of Bootmark.exe signed at test time with
osslsigncode and a self-signed certificate made with openssl (so its chain is not
trusted), read through the real crypt32 by the signer tests of bmporttests.exe, run
together with its lookup database and publisher tests."""

import shutil

import fixture_programs
from harness import WineTestCase, paths, runner

SIGNER = "Tarvo Test Signing \u00c9dition"


class SignedProgramTests(WineTestCase):
    def test_signer_of_an_untrusted_embedded_signature(self):
        program_dir = self.prefix.program_dir
        unix_dir = self.prefix.unix_path(program_dir)
        tests_exe = paths.bootmark_exe().parent / "bmporttests.exe"
        self.assertTrue(tests_exe.is_file(), f"{tests_exe} is missing: build the win64 preset first")
        shutil.copy2(tests_exe, unix_dir / "bmporttests.exe")
        shutil.copy2(paths.bootmark_exe(), unix_dir / "unsigned.exe")

        fixture_programs.sign(unix_dir / "unsigned.exe", unix_dir / "signed.exe", SIGNER, organization="Tarvo")

        env = self.prefix.env
        saved = dict(env)
        env.update(BMPORT_SIGNED_FILE=program_dir + "signed.exe",
                   BMPORT_UNSIGNED_FILE=program_dir + "unsigned.exe",
                   BMPORT_SIGNER_NAME=SIGNER)
        try:
            run = runner.BootmarkProcess(
                self.prefix, ["--gtest_filter=Win32FileSigner.*:Win32LookupDatabases.*:Win32FileCompany.*"],
                exe=program_dir + "bmporttests.exe")
            result = run.wait(timeout=120)
        finally:
            env.clear()
            env.update(saved)
        output = run.stdout_text()
        self.assertEqual(result.exit_code, 0, f"signer tests failed:\n{output}")
        self.assertRegex(output, r"\[  PASSED  \] 5 tests")
        self.assertNotIn("SKIPPED", output)
