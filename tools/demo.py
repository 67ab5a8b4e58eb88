"""Runs Bootmark's jobs on the demo machine (examples/demo-machine) in a fresh Wine
prefix, the way the suite starts them, and shows what each one printed and wrote."""

import sys
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
sys.path.insert(0, str(REPO / "tests" / "wine"))

from harness import display, ini, prefix, runner, wine  # noqa: E402

DEMO = REPO / "examples" / "demo-machine"
TASK_STORE = "C:\\windows\\system32\\Tasks"


def seed(machine):
    for source_root, target_root in ((DEMO / "user-data", machine.user_data_dir),
                                     (DEMO / "common-data", machine.common_data_dir)):
        for source in sorted([*source_root.rglob("*.ini"), *source_root.rglob("*.dat")]):
            relative = str(source.relative_to(source_root)).replace("/", "\\")
            machine.write_ini(target_root + relative, source.read_text(encoding="utf-8"))
    machine.import_reg((DEMO / "registry.reg").read_text(encoding="utf-8"))
    # The suite's program folder: its lookup databases ("Database\").
    for source in sorted(path for path in (DEMO / "program").rglob("*") if path.is_file()):
        target = machine.unix_path(machine.program_dir) / source.relative_to(DEMO / "program")
        target.parent.mkdir(parents=True, exist_ok=True)
        target.write_bytes(source.read_bytes())
    for line in (DEMO / "services.txt").read_text(encoding="utf-8").splitlines():
        if line.strip() and not line.startswith("#"):
            name, start, program, display = line.split("|")
            wine.run(["wine", "sc", "create", name, "binPath=", program, "start=", start, "DisplayName=", display],
                     machine.env, timeout=60, cwd=machine.artifacts)
    # Task files go into the scheduler's store as the scheduler writes them.
    store = machine.unix_path(TASK_STORE)
    for source in sorted(path for path in (DEMO / "tasks").rglob("*") if path.is_file()):
        target = store / source.relative_to(DEMO / "tasks")
        target.parent.mkdir(parents=True, exist_ok=True)
        text = source.read_text(encoding="utf-8").replace("\n", "\r\n")
        target.write_bytes(ini.BOM + text.encode("utf-16-le"))


    seed_startup_entries(machine)


def seed_startup_entries(machine):
    """Shortcuts saved through the shell's link object, an Internet shortcut and a
    store app installed in "WindowsApps" (its registration is in registry.reg)."""
    backup = machine.user_data_dir + "Startup Manager\\Shortcut\\"
    startup = machine.facts["appdata"] + "\\Microsoft\\Windows\\Start Menu\\Programs\\Startup\\"
    probe = runner.Probe(machine)
    for line in (DEMO / "shortcuts.txt").read_text(encoding="utf-8").splitlines():
        if line.strip() and not line.startswith("#"):
            folder, name, target, arguments = line.split("|")
            link = (startup if folder == "startup" else backup) + name
            machine.unix_path(link).parent.mkdir(parents=True, exist_ok=True)
            probe.run("new-link", target, arguments, link, check=True)
    machine.unix_path(startup + "Demo Site.url").write_bytes(b"[InternetShortcut]\r\nURL=https://example.org/\r\n")
    apps = machine.unix_path("C:\\Program Files\\WindowsApps")
    notepad = machine.unix_path("C:\\windows\\notepad.exe").read_bytes()
    for package in sorted(path for path in (DEMO / "store-apps").iterdir() if path.is_dir()):
        (apps / package.name).mkdir(parents=True, exist_ok=True)
        (apps / package.name / "AppxManifest.xml").write_bytes((package / "AppxManifest.xml").read_bytes())
        (apps / package.name / "PhotoSyncTray.exe").write_bytes(notepad)


def show_startup_items(machine):
    """The Run values, shortcuts and store-app tasks of the startup cache."""
    cache = machine.read_ini(machine.common_data_dir + "Startup Manager\\StartupCache.dat")
    print("  startup items in StartupCache.dat (kind 1 Run value, 4 shortcut, 5 store app; "
          "state 1 enabled, 3 disabled, 4 file missing):")
    for section in cache.section_names():
        if cache.value(section, "ItemType") == "StartUp":
            print(f"    | kind {cache.value(section, 'StartupType')} state {cache.value(section, 'ItemStatus')}: "
                  f"{cache.value(section, 'Name')} -> {cache.value(section, 'FullPath')}")


def hex_argument(text):
    """An item field as the suite passes it: "/" and the hex of its UTF-16 LE bytes."""
    return "/" + text.encode("utf-16-le").hex().upper()


def show_file(machine, windows_path):
    path = machine.unix_path(windows_path)
    print(f"  {windows_path}")
    if not path.is_file():
        print("    (no file)")
        return
    raw = path.read_bytes()
    if raw.startswith(ini.BOM):
        print(f"    {len(raw)} bytes, UTF-16 LE with BOM")
        text = raw[2:].decode("utf-16-le", "replace")
    else:
        print(f"    {len(raw)} bytes, no UTF-16 byte order mark")
        text = raw.decode("latin-1")
    for line in text.splitlines():
        print(f"    | {line}")


def run_job(machine, switch, files, arguments=(), shown=None):
    print(f"\n> Bootmark.exe {shown or switch}")
    result = runner.BootmarkProcess(machine, [switch, *arguments]).wait(timeout=60)
    if not result.started:
        sys.exit(f"Bootmark.exe did not start: {result.stderr}")
    print(f"  exit code {result.exit_code} after {result.duration:.3f} s")
    for line in result.lines:
        print(f"  debug: {line}")
    for windows_path in files:
        show_file(machine, windows_path)


def main():
    screen = display.display()
    machine = prefix.Prefix(screen.name)
    try:
        machine.install()
        seed(machine)
        common = machine.common_data_dir
        print(f"Demo machine ready in {machine.dir}")
        print("Before:")
        show_file(machine, common + "Bootmark\\AutoRunConfig.ini")
        run_job(machine, "/mainData", [common + "Startup Manager\\mainData.dat",
                                       machine.user_data_dir + "Startup Manager\\config.ini",
                                       machine.user_data_dir + "Startup Manager\\delayEx.ini"])
        show_startup_items(machine)
        # The boot time notice: 50 s this boot after 62 s the boot before. It shows
        # the boot time with the 12 s saved for its display time (15 s, "Main.ini").
        run_job(machine, "/BootTask", [common + "BootTime.ini"])
        run_job(machine, "/UpdateTaskschd",
                [common + "Bootmark\\Bootmark.ini", common + "Bootmark\\AutoRunConfig.ini"])
        # A new Run value starting Notepad, reported as the suite's watcher does: the
        # screening's debug lines, then the alert shows the item until its display
        # time (10 s) runs out, logs it and leaves it in the notification center.
        run_job(machine, "/AddAutoRun",
                [common + "Bootmark\\smAutoRun.log", machine.user_data_dir + "ncconfig.ini"],
                ["/1", hex_argument("Notes"), hex_argument("C:\\windows\\notepad.exe"),
                 hex_argument("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\")],
                shown="/AddAutoRun /1 <Notes> <C:\\windows\\notepad.exe> <HKCU\\...\\Run\\>")
    finally:
        machine.stop()


if __name__ == "__main__":
    main()
