"""What the benchmarks share: where they build and log, how they run build commands, report progress
and print tables, and the Wine environment of the end-to-end harness, imported from the source tree."""

import os
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
# The harness is imported from the source tree and leaves no cache files there.
sys.dont_write_bytecode = True
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
import run_e2e  # noqa: E402,F401  (the benchmarks use its Xvfb, reports and checks too)

BENCH = ROOT / "build" / "bench"
LOG = BENCH / "build.log"
NATIVE_BIN2DAT = ROOT / "build" / "native" / "tools" / "bin2dat" / "bin2dat"
WINE_ENV = ROOT / "scripts" / "wine-env.sh"


def wine(prefix):
    """The project's Wine environment for one prefix."""
    return run_e2e.Wine(WINE_ENV, prefix)


class BenchError(Exception):
    pass


def log_command(command, timeout=1800):
    """Runs a build command with its output appended to the build log."""
    with open(LOG, "a") as log:
        log.write(f"\n$ {' '.join(map(str, command))}\n")
        log.flush()
        result = subprocess.run([str(part) for part in command], cwd=ROOT, stdin=subprocess.DEVNULL, stdout=log,
                                stderr=subprocess.STDOUT, timeout=timeout)
    if result.returncode != 0:
        raise BenchError(f"'{' '.join(map(str, command))}' failed (exit {result.returncode}); see {LOG}")


def make_preset(preset, targets):
    """Builds targets in the preset's own build directory, configuring it first if it never was."""
    directory = ROOT / "build" / preset
    if not (directory / "CMakeCache.txt").exists():
        log_command(["cmake", "--preset", preset])
    log_command(["cmake", "--build", directory, "--target", *targets])


STARTED = time.monotonic()


def progress(message):
    print(f"bench: [{time.monotonic() - STARTED:3.0f} s] {message}", file=sys.stderr, flush=True)


def integer(value):
    return f"{value:,.0f}"


def table(header, rows):
    widths = [max(len(str(row[column])) for row in [header, *rows]) for column in range(len(header))]

    def line(cells):
        return "| " + " | ".join(str(cell).ljust(width) for cell, width in zip(cells, widths)) + " |"

    return "\n".join([line(header), "|" + "|".join("-" * (width + 2) for width in widths) + "|",
                      *map(line, rows)])


def load_average():
    return " / ".join(f"{value:.2f}" for value in os.getloadavg())
