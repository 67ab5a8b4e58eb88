"""The real Windows ports and the settings classes on real files: bmporttests.exe, a
GoogleTest program built with the win64 preset, run inside the fixture machine."""

import shutil

from harness import WineTestCase, paths, runner


class PortTests(WineTestCase):
    def test_real_ports_behave_as_the_program_expects(self):
        source = paths.bootmark_exe().parent / "bmporttests.exe"
        self.assertTrue(source.is_file(), f"{source} is missing: build the win64 preset first")
        program_dir = self.prefix.unix_path(self.prefix.program_dir)
        shutil.copy2(source, program_dir / "bmporttests.exe")
        # Stand-ins the tests install under the suite's names in their own folders.
        for tool in ("bmstatewell.dll", "bmrecorder.exe"):
            shutil.copy2(paths.tools_dir() / tool, program_dir / tool)

        run = runner.BootmarkProcess(self.prefix, ["--gtest_brief=1"],
                                     exe=self.prefix.program_dir + "bmporttests.exe")
        result = run.wait(timeout=240)
        output = run.stdout_text()
        self.assertEqual(result.exit_code, 0, f"port tests failed:\n{output}")
        self.assertRegex(output, r"\[  PASSED  \] \d+ tests")
