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
    if not (path / "bmprobe.exe").is_file():  # (a tool missing beside it fails its copy)
        raise AssertionError(f"{path} has no test tools: build the win64 preset first")
    return path
