# The real Windows ports: bmporttests.exe (built with the win64 preset) run inside
# the fixture machine.

from harness import WineTestCase, paths, runner


class PortTests(WineTestCase):
    def test_real_ports_behave_as_the_program_expects(self):
        exe = self.prefix.program_dir + "bmporttests.exe"
        self.prefix.copy_in(paths.bootmark_exe().parent / "bmporttests.exe", exe)
        run = runner.BootmarkProcess(self.prefix, ["--gtest_brief=1"], exe=exe)
        result = run.wait(timeout=240)
        output = run.stdout_text()
        self.assertEqual(result.exit_code, 0, f"port tests failed:\n{output}")
        self.assertRegex(output, r"\[  PASSED  \] \d+ tests")
