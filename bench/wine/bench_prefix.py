"""What the Wine benchmarks share: a fresh prefix on its own display with a trivial
program to compare against, and the table of medians and minimums against it."""

import contextlib
import shutil
import statistics
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tests" / "wine"))

import fixture_programs  # noqa: E402
from harness import display, prefix as prefix_module  # noqa: E402


@contextlib.contextmanager
def bench_prefix():
    """An installed prefix and a scratch folder holding "trivial.exe", a program that
    returns at once (made with the MinGW tool chain); both are removed afterwards."""
    built = Path(tempfile.mkdtemp(prefix="bootmark-bench-"))
    screen = display.display()
    prefix = prefix_module.Prefix(screen.name)
    try:
        fixture_programs.build_program(built / "trivial.exe", "Bench")
        prefix.install()
        yield prefix, built
    finally:
        prefix.stop()
        shutil.rmtree(built, ignore_errors=True)


def print_against_trivial(times):
    """Prints each kind of run's median and minimum, in ms and as a multiple of the
    "trivial" kind's; the first round warmed the caches and is dropped. On a busy
    machine the minimum is the run least disturbed by other work."""
    medians = {kind: statistics.median(values[1:]) for kind, values in times.items()}
    minimums = {kind: min(values[1:]) for kind, values in times.items()}
    print(f"{'run':<16} {'median ms':>10} {'x trivial':>10} {'min ms':>8} {'x trivial':>10}")
    for kind in times:
        print(f"{kind:<16} {medians[kind] * 1000:>10.1f} {medians[kind] / medians['trivial']:>10.2f} "
              f"{minimums[kind] * 1000:>8.1f} {minimums[kind] / minimums['trivial']:>10.2f}")
    return medians, minimums
