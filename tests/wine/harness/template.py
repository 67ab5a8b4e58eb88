# The template Wine prefix: made once per machine, cached outside the repository.
#
# The cache key is a hash of the Wine version, this file and wine.py, so the template is
# made again whenever either changes. A lock file keeps parallel test processes from
# making it twice; the finished template appears under its final name in one rename.

import fcntl
import glob
import hashlib
import json
import os
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

from . import wine

# Fonts of Debian's fonts-wine, the only fonts Wine finds in a prefix.
FONT_DIR = "/usr/share/wine/fonts"

# The suite's windows ask for Segoe UI, which Wine lacks: draw it with Tahoma. No
# crash dialog: a crash must end the run, not leave a window waiting for a click.
SETUP_REG = """[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]
"Segoe UI"="Tahoma"

[HKEY_CURRENT_USER\\Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000
"""

# What the tests need to know of the prefix, asked of Wine itself once.
FOLDER_QUERY = "echo %APPDATA%^|%ProgramData%^|%ProgramFiles%"


def template_key():
    digest = hashlib.sha256()
    digest.update(subprocess.run(["wine", "--version"], capture_output=True, check=True).stdout)
    digest.update(Path(__file__).read_bytes())
    digest.update(Path(wine.__file__).read_bytes())  # the environment of every Wine command
    return digest.hexdigest()[:16]


def template():
    # (prefix directory, facts) of the template, made first if needed.
    root = Path(os.environ.get("XDG_CACHE_HOME") or os.path.join(os.path.expanduser("~"), ".cache")) / "bootmark-wine"
    root.mkdir(parents=True, exist_ok=True)
    key = template_key()
    final = root / key
    with open(root / f"{key}.lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if not (final / "facts.json").exists():
            _remove_unused_templates(root)
            _make(root, final)
        (final / "facts.json").touch()  # its time tells when the template was last used
    return final / "prefix", json.loads((final / "facts.json").read_text())


def _remove_unused_templates(root, unused_days=2):
    # Templates of other Wine versions or harness versions, unused for some days.
    for facts in root.glob("*/facts.json"):
        if time.time() - facts.stat().st_mtime > unused_days * 86400:
            shutil.rmtree(facts.parent, ignore_errors=True)
            (root / f"{facts.parent.name}.lock").unlink(missing_ok=True)


def _make(root, final):
    work = Path(tempfile.mkdtemp(prefix="making-", dir=root))
    try:
        prefix = work / "prefix"
        env = wine.wine_env(prefix)
        wine.run(["wineboot", "-i"], env, timeout=300)
        wine.run(["wineserver", "-w"], env, timeout=120)
        _detach_home_folders(prefix)
        _copy_fonts(prefix)
        wine.import_reg(env, work / "setup.reg", SETUP_REG)
        facts = _ask_folders(env, work)
        wine.run(["wineserver", "-w"], env, timeout=120)
        (work / "facts.json").write_text(json.dumps(facts, indent=2))
        if final.exists():
            shutil.rmtree(final)
        os.rename(work, final)
    finally:
        if work.exists():
            shutil.rmtree(work, ignore_errors=True)


def _detach_home_folders(prefix):
    # Wine links Desktop, Documents and the like to the real home folder: make them
    # plain folders so that nothing a test runs can write outside its prefix.
    for folder, dirs, files in os.walk(prefix / "drive_c" / "users"):
        for name in dirs + files:
            path = Path(folder) / name
            if path.is_symlink():
                path.unlink()
                path.mkdir()


def _copy_fonts(prefix):
    fonts = sorted(glob.glob(os.path.join(FONT_DIR, "*.ttf")))
    if not fonts:
        raise AssertionError(f"no TrueType fonts in {FONT_DIR}: install fonts-wine")
    (prefix / "drive_c" / "windows" / "Fonts").mkdir(parents=True, exist_ok=True)
    for font in fonts:
        shutil.copy2(font, prefix / "drive_c" / "windows" / "Fonts")


def _ask_folders(env, cwd):
    # cmd.exe right after the prefix was made sometimes ends with 1 and prints
    # nothing: ask again before giving up.
    for attempt in range(3):
        out = wine.run(["wine", "cmd", "/c", FOLDER_QUERY], env, timeout=120, cwd=cwd, check=False)
        lines = out.stdout.decode("utf-8", "replace").strip().splitlines()
        if out.returncode == 0 and lines and lines[-1].count("|") == 2:
            break
    else:
        raise AssertionError(f"Wine did not name its folders: exit code {out.returncode}, "
                             f"{out.stdout!r} {out.stderr[-1000:]!r}")
    appdata, program_data, program_files = lines[-1].split("|")
    # CSIDL_APPDATA, CSIDL_COMMON_APPDATA and the program files folder
    return {"appdata": appdata, "common_appdata": program_data, "program_files": program_files}
