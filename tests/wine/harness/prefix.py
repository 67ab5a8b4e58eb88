"""A scratch copy of the template prefix with its own wineserver: the fixture machine.

Maps Windows paths into the prefix, installs the program, seeds settings files and
registry keys. Windows paths are resolved the way Wine resolves them: without regard
to case, component by component.
"""

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
# Stand-ins for the suite's programs and libraries, copied under the suite's names
# by the tests that need them (install_stand_in).
RECORDER_TOOL = "bmrecorder.exe"
TASK_TYPE_TOOL = "bmtasktype.dll"


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
        self.display_name = display_name
        subprocess.run(["cp", "-a", "--reflink=auto", str(template_dir), str(self.dir)], check=True)
        self.env = wine.wine_env(self.dir, display_name)
        self._counter = 0
        try:
            # One server for the whole test class keeps each Wine start short. It stays
            # SERVER_LINGER seconds after its last process, so that a test process killed
            # on a timeout leaves no server behind for long.
            # (It keeps whatever output it was given open: give it none to wait on.)
            started = subprocess.run(["wineserver", f"-p{SERVER_LINGER}"], env=self.env,
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, timeout=60)
            if started.returncode != 0:
                raise AssertionError(f"wineserver failed with exit code {started.returncode}")
        except BaseException:
            shutil.rmtree(self.root, ignore_errors=True)
            raise

    # --- folders -------------------------------------------------------------------

    @property
    def program_dir(self):
        """C:\\Program Files\\Tarvo\\Kestrune\\ (with the trailing backslash)."""
        return self.facts["program_files"] + "\\" + INSTALL_DIR + "\\"

    @property
    def user_data_dir(self):
        """%APPDATA%\\Tarvo\\Kestrune\\"""
        return self.facts["appdata"] + "\\" + SUITE_DATA + "\\"

    @property
    def common_data_dir(self):
        """Common application data \\Tarvo\\Kestrune\\"""
        return self.facts["common_appdata"] + "\\" + SUITE_DATA + "\\"

    @property
    def exe(self):
        return self.program_dir + "Bootmark.exe"

    def unix_path(self, windows_path):
        """The file behind a Windows path ("C:\\..." or "Z:\\..."), matched without regard
        to case where an exact name is missing; missing parts are kept as written."""
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

    @staticmethod
    def windows_path(unix_path):
        """A file outside the prefix as Wine's Z: drive shows it."""
        return "Z:" + str(Path(unix_path).resolve()).replace("/", "\\")

    def new_artifact(self, stem, suffix):
        self._counter += 1
        return self.artifacts / f"{self._counter:03d}-{stem}{suffix}"

    # --- the fixture machine -------------------------------------------------------

    def install(self):
        """Copies Bootmark.exe and the test tools into the suite's program folder."""
        target = self.unix_path(self.program_dir)
        target.mkdir(parents=True, exist_ok=True)
        shutil.copy2(paths.bootmark_exe(), target / "Bootmark.exe")
        tools = paths.tools_dir()
        for tool in (CAPTURE_TOOL, PROBE_TOOL, RECORDER_TOOL, TASK_TYPE_TOOL):
            shutil.copy2(tools / tool, target / tool)

    def install_stand_in(self, tool, name):
        """Copies a stand-in tool to a Windows path, or into the suite's program folder
        as one of the suite's own files: RECORDER_TOOL as "KST.exe" or "Tallyhop3.exe"
        (each start appends "<command line>\t<current folder>" to "<name>.calls.txt"
        beside it), TASK_TYPE_TOOL as "Quillcore.dll"."""
        target = self.unix_path(name if ":" in name else self.program_dir + name)
        target.parent.mkdir(parents=True, exist_ok=True)
        shutil.copy2(paths.tools_dir() / tool, target)
        return target

    def recorded_calls(self, name):
        """The lines a recorder copied as `name` wrote, as (command line, folder) pairs."""
        stem = name.rsplit(".", 1)[0]
        record = self.unix_path(self.program_dir + stem + ".calls.txt")
        if not record.is_file():
            return []
        return [tuple(line.split("\t", 1)) for line in record.read_text(encoding="utf-8").splitlines()]

    def write_ini(self, windows_path, text):
        """Writes a settings file as the suite does: UTF-16 LE with BOM, CRLF lines."""
        target = self.unix_path(windows_path)
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(ini.encode(text))
        return target

    def read_ini(self, windows_path):
        return ini.IniFile.parse(self.unix_path(windows_path).read_bytes())

    def files_under(self, windows_dir):
        """Every file below a folder, as paths relative to it (empty if it is missing)."""
        root = self.unix_path(windows_dir)
        if not root.is_dir():
            return []
        return sorted(str(p.relative_to(root)) for p in root.rglob("*") if not p.is_dir())

    def import_reg(self, text):
        """Imports the keys and values of .reg text with reg.exe."""
        reg = self.new_artifact("import", ".reg")
        text = "Windows Registry Editor Version 5.00\n\n" + text
        reg.write_bytes(ini.encode(text))
        # reg.exe by name runs from the current folder first: run it from the artifacts.
        wine.run(["wine", "reg", "import", self.windows_path(reg)], self.env, timeout=60,
                 cwd=self.artifacts)

    def remove_suite_data(self):
        """Deletes both suite data folders: the next run starts from a clean machine."""
        for folder in (self.user_data_dir, self.common_data_dir):
            shutil.rmtree(self.unix_path(folder), ignore_errors=True)

    # --- the end ---------------------------------------------------------------------

    def stop(self, keep_artifacts=False):
        """Stops every Wine process of the prefix, deletes the prefix (and the artifacts
        unless asked to keep them). Returns the folder that was kept, if any."""
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


def _sweep_abandoned_prefixes():
    """Deletes the prefixes of test processes that were killed before they could clean
    up (a CTest timeout); their artifacts stay for a look."""
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
