# Where the program under test and the test tools are: given by CTest, or the
# default win64 build of this checkout.

import os
from pathlib import Path

REPO = Path(__file__).resolve().parents[3]
DEFAULT_BUILD = REPO / "build" / "win64"


def bootmark_exe():
    path = Path(os.environ.get("BOOTMARK_EXE") or DEFAULT_BUILD / "Bootmark.exe")
    if not path.is_file():
        raise AssertionError(f"{path} is missing: build it with the win64 preset first")
    return path


def tools_dir():
    path = Path(os.environ.get("BOOTMARK_WINE_TOOLS") or DEFAULT_BUILD / "wine_tools")
    for tool in ("bmdbgcapture.exe", "bmprobe.exe", "bmrecorder.exe", "bmtasktype.dll", "bmstatewell.dll",
                 "bmagent.exe"):
        if not (path / tool).is_file():
            raise AssertionError(f"{path / tool} is missing: build the win64 preset first")
    return path
