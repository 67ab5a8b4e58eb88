"""A scratch copy of the template prefix with its own wineserver: the fixture machine."""
# Maps Windows paths into the prefix, installs the program, seeds settings files and
# registry keys. Windows paths are resolved the way Wine resolves them: without regard
# to case, component by component.

import os
import shutil
import subprocess
import tempfile
from pathlib import Path, PureWindowsPath

from . import ini, paths, template, wine

INSTALL_DIR = "Tarvo\\Kestrune"  # below Program Files
SUITE_DATA = "Tarvo\\Kestrune"  # below the user's and the common application data

SERVER_LINGER = 60  # seconds
ROOT_PREFIX = "bootmark-wine-"  # temporary folders of the prefixes

CAPTURE_TOOL = "bmdbgcapture.exe"
PROBE_TOOL = "bmprobe.exe"
# The stand-ins of the suite's libraries; every other program is bmrecorder.exe.
STAND_INS = {"Quillcore.dll": "bmtasktype.dll", "Statewell.dll": "bmstatewell.dll"}


class Prefix:
    def __init__(self, display_name, keep=False):
        template_dir, self.facts = template.template()
        _sweep_abandoned_prefixes()
        self.root = Path(tempfile.mkdtemp(prefix=ROOT_PREFIX))
        (self.root / "owner.pid").write_text(str(os.getpid()))
        self.dir = self.root / "prefix"
        self.artifacts = self.root / "artifacts"
        self.artifacts.mkdir()
        self.keep = keep
        subprocess.run(["cp", "-a", "--reflink=auto", str(template_dir), str(self.dir)], check=True)
        self.env = wine.wine_env(self.dir, display_name)
        self._counter = 0
        try:
            # One server for the whole test class keeps each Wine start short. It stays
            # SERVER_LINGER seconds after its last process, so that a test process killed
            # on a timeout leaves no server behind for long.
            # (It keeps whatever output it was given open: give it none to wait on.)
            started = subprocess.run(["wineserver", f"-p{SERVER_LINGER}"], env=self.env, stdin=subprocess.DEVNULL,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
            if started.returncode != 0:
                raise AssertionError(f"wineserver failed with exit code {started.returncode}")
        except BaseException:
            shutil.rmtree(self.root, ignore_errors=True)
            raise

    # --- folders -------------------------------------------------------------------

    @property
    def program_dir(self):  # with a trailing backslash, as the other folders
        return self.facts["program_files"] + "\\" + INSTALL_DIR + "\\"

    @property
    def user_data_dir(self):
        return self.facts["appdata"] + "\\" + SUITE_DATA + "\\"

    @property
    def common_data_dir(self):
        return self.facts["common_appdata"] + "\\" + SUITE_DATA + "\\"

    @property
    def exe(self):
        return self.program_dir + "Bootmark.exe"

    # The file behind a Windows path ("C:\\..." or "Z:\\..."), matched without regard to case
    # where an exact name is missing; missing parts are kept as written.
    def unix_path(self, windows_path):
        path = PureWindowsPath(windows_path)
        drive = path.drive.rstrip(":").lower()
        if drive == "c":
            current = self.dir / "drive_c"
        elif drive == "z":
            current = Path("/")
        else:
            raise ValueError(f"no such drive in the prefix: {windows_path}")
        for part in path.parts[1:]:
            candidate = current / part
            if not candidate.exists() and current.is_dir():
                matches = [c for c in current.iterdir() if c.name.lower() == part.lower()]
                if matches:
                    candidate = matches[0]
            current = candidate
        return current

    def new_artifact(self, stem, suffix):
        self._counter += 1
        return self.artifacts / f"{self._counter:03d}-{stem}{suffix}"

    # --- the fixture machine -------------------------------------------------------

    def install(self):  # Bootmark.exe and the test tools into the suite's program folder
        for tool in (paths.bootmark_exe(), paths.tools_dir() / CAPTURE_TOOL, paths.tools_dir() / PROBE_TOOL):
            self.copy_in(tool, self.program_dir + tool.name)

    # Copies the stand-in of each program or library, given by Windows path or as one of
    # the suite's files in its program folder; returns the copies.
    def install_stand_ins(self, *names):
        return [self.copy_in(paths.tools_dir() / STAND_INS.get(name, "bmrecorder.exe"),
                           name if ":" in name else self.program_dir + name) for name in names]

    def copy_in(self, source, windows_path):  # a file from outside, its folders made
        target = self.unix_path(windows_path)
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(source, target)
        return target

    # The lines a recorder copied as `name` wrote, as (command line, folder) pairs.
    def recorded_calls(self, name):
        record = self.unix_path(self.program_dir + name.rsplit(".", 1)[0] + ".calls.txt")
        if not record.is_file():
            return []
        return [tuple(line.split("\t", 1)) for line in record.read_text(encoding="utf-8").splitlines()]

    def write_ini(self, windows_path, text):  # as the suite writes them
        target = self.unix_path(windows_path)
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(ini.encode(text))

    def read_ini(self, windows_path):
        return ini.IniFile.parse(self.unix_path(windows_path).read_bytes())

    def import_reg(self, text):
        wine.import_reg(self.env, self.new_artifact("import", ".reg"), text)

    def remove_suite_data(self):  # the next run starts from a clean machine
        for folder in (self.user_data_dir, self.common_data_dir):
            shutil.rmtree(self.unix_path(folder), ignore_errors=True)

    # --- the end ---------------------------------------------------------------------

    # Stops every Wine process of the prefix, deletes the prefix (and the artifacts unless
    # asked to keep them). Returns the folder that was kept, if any.
    def stop(self, keep_artifacts=False):
        subprocess.run(["wineserver", "-k"], env=self.env, capture_output=True, timeout=30)
        subprocess.run(["wineserver", "-w"], env=self.env, capture_output=True, timeout=30)
        if self.keep:
            (self.root / "owner.pid").unlink()  # kept on purpose: not for the sweep
            return self.root
        shutil.rmtree(self.dir, ignore_errors=True)
        if keep_artifacts:
            return self.artifacts
        shutil.rmtree(self.root, ignore_errors=True)
        return None


# Deletes the prefixes of test processes that were killed before they could clean up (a
# CTest timeout); their artifacts stay for a look.
def _sweep_abandoned_prefixes():
    for root in Path(tempfile.gettempdir()).glob(ROOT_PREFIX + "*"):
        try:
            owner = int((root / "owner.pid").read_text())
            os.kill(owner, 0)
            continue  # still running
        except ProcessLookupError:
            pass
        except (OSError, ValueError):
            continue  # not ours to judge
        shutil.rmtree(root / "prefix", ignore_errors=True)
