"""One Xvfb display per test process: Wine needs a display for every real window."""

import atexit
import os
import select
import socket
import subprocess
import time
from pathlib import Path

from . import wine

SCREEN = "1280x1024x24"
SCREEN_SIZE = (1280, 1024)
CONVERT = "/usr/bin/convert"  # Debian's ImageMagick, not a wrapper that may stand first on PATH

_display = None


class Display:
    def __init__(self):
        read_end, write_end = os.pipe()
        # Xvfb picks a free display number itself and writes it to the pipe.
        self.process = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", SCREEN, "-nolisten", "tcp", "-noreset"],
            pass_fds=[write_end], stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE,
            preexec_fn=wine.die_with_parent)
        os.close(write_end)
        try:
            number = self._read_display_number(read_end, timeout=30)
        finally:
            os.close(read_end)  # only after the whole line: Xvfb dies if it cannot write
        if not number.isdigit():
            self.process.kill()
            err = self.process.communicate()[1].decode("utf-8", "replace")
            raise AssertionError(f"Xvfb did not start (window tests need it):\n{err[-2000:]}")
        self.name = f":{number}"
        self._wait_until_serving()

    @staticmethod
    def _read_display_number(fd, timeout):
        text = b""
        deadline = time.monotonic() + timeout
        while not text.endswith(b"\n"):
            ready, _, _ = select.select([fd], [], [], max(0, deadline - time.monotonic()))
            chunk = os.read(fd, 64) if ready else b""
            if not chunk:
                break
            text += chunk
        return text.decode().strip()

    def _wait_until_serving(self, timeout=20):
        # Xvfb names its display before it serves it, and a connection made too early
        # may never be answered: a Wine process that came first would run without any
        # display for good. So try short connections until one gets an answer.
        deadline = time.monotonic() + timeout
        path = f"/tmp/.X11-unix/X{self.name[1:]}"
        while True:
            try:
                with socket.socket(socket.AF_UNIX) as connection:
                    connection.connect(path)
                    # The first 12 bytes of a connection setup (little endian, X11.0,
                    # no authorization): the server answers once it serves clients.
                    connection.sendall(b"l\0\x0b\0\0\0\0\0\0\0\0\0")
                    connection.settimeout(0.5)
                    if connection.recv(1) == b"\x01":  # 1: success
                        return
            except OSError:
                pass
            if self.process.poll() is not None or time.monotonic() > deadline:
                self.stop()
                raise AssertionError(f"Xvfb {self.name} does not answer")
            time.sleep(0.05)

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()

    def screenshot(self, png_path, rect=None):
        # Saves the whole screen, or the rectangle (left, top, right, bottom) of it, as PNG.
        xwd = subprocess.run(["xwd", "-root", "-silent", "-display", self.name], capture_output=True,
                             timeout=30, check=True)
        left, top, right, bottom = rect or (0, 0, *SCREEN_SIZE)
        subprocess.run([CONVERT, "xwd:-", "-crop", f"{right - left}x{bottom - top}+{left}+{top}", "+repage",
                        f"png:{png_path}"], input=xwd.stdout, capture_output=True, timeout=60, check=True)
        return Path(png_path)


def display():
    # The display of this test process, started on first use, stopped at exit.
    global _display
    if _display is None or _display.process.poll() is not None:
        _display = Display()
        atexit.register(_display.stop)
    return _display
