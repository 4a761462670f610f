#!/usr/bin/env python3
"""Start-up race: how long each program takes from its start to its first pixels on the screen.

Runs, interleaved in rounds, the shipped 32-bit launcher, a floor program (bench/floor.cpp: one
full-screen white window, the least a Windows program does to light the screen) and a peer (an NSIS
program whose AdvSplash plugin shows the splash picture, bench/peer.nsi) under the emulated 32-bit
Wine, and the x86_64 launcher and floor under the native 64-bit Wine.  Each run starts the program
in a fresh 1024x768 Wine virtual desktop with a black background on a private Xvfb with a black
root window; first_light (bench/first_light.c) grabs the X screen every 5 ms and reports the first
grab with a pixel that is not black.  The time counts from starting Wine's loader, so it includes
the virtual desktop's start, which is the same for every program; the floor's time is that common
part, and each program's cost is its time above the floor's, by median.

Then a benchmark build of each launcher (AUTORUN_PHASE_TIMES) breaks its start-up into phases.

Prints Markdown tables.  Build output goes to build/bench/build.log, the runs' files to
build/bench/race.  Exits 1 when a build fails or a program never lit the screen.
"""

import argparse
import os
import platform
import shutil
import signal
import statistics
import subprocess
import sys
import time
import uuid
from dataclasses import dataclass
from pathlib import Path

sys.dont_write_bytecode = True
from bench_support import (BENCH, LOG, NATIVE_BIN2DAT, ROOT, BenchError, integer, load_average, log_command,  # noqa: E402
                           make_preset, progress, run_e2e, table, wine)

WORK = BENCH / "race"
SCREEN = (1024, 768)
POLLER_SOURCE = ROOT / "bench" / "first_light.c"
POLLER = BENCH / "first_light"
PEER_SCRIPT = ROOT / "bench" / "peer.nsi"
PICTURE = ROOT / "resources" / "splash.jpg"
WINE32 = Path("/usr/lib/wine/wine")
LIGHT_TIMEOUT_MS = 60000
EXIT_TIMEOUT_S = 30
PHASE_PRESETS = ("windows-x86", "windows-x64")
GAME = "game.exe"


@dataclass(frozen=True)
class Contestant:
    label: str
    program: Path
    emulated: bool
    settings: bool = False  # a bin2.dat naming the game beside the program

    @property
    def key(self):
        return self.label.replace(" ", "-").replace(",", "")


def build_dir(preset):
    return ROOT / "build" / preset


def contestants(before_i686=None, before_x86_64=None):
    """The programs of the race; launchers of an earlier build, when given, run beside them."""
    x86, x64 = build_dir("windows-x86"), build_dir("windows-x64")
    entrants = [
        Contestant("launcher, i686", x86 / "launcher" / "autorun.exe", True, settings=True),
        Contestant("floor, i686", x86 / "bench" / "startup_floor.exe", True),
        Contestant("NSIS peer, i686", WORK / "peer.exe", True),
        Contestant("launcher, x86_64", x64 / "launcher" / "autorun.exe", False, settings=True),
        Contestant("floor, x86_64", x64 / "bench" / "startup_floor.exe", False),
    ]
    if before_i686:
        entrants.insert(1, Contestant("earlier launcher, i686", before_i686, True, settings=True))
    if before_x86_64:
        entrants.append(Contestant("earlier launcher, x86_64", before_x86_64, False, settings=True))
    return tuple(entrants)


def phase_launcher(preset):
    return BENCH / f"phases-{preset}" / "launcher" / "autorun.exe"


def make_everything():
    for preset in PHASE_PRESETS:
        progress(f"building the launcher and the floor for {preset}")
        make_preset(preset, ("autorun", "startup_floor"))
        progress(f"building the phase-timing launcher for {preset}")
        directory = BENCH / f"phases-{preset}"
        log_command(["cmake", "--preset", preset, "-B", directory, "-DAUTORUN_PHASE_TIMES=ON",
                     "-DAUTORUN_BUILD_TESTS=OFF"])
        log_command(["cmake", "--build", directory, "--target", "autorun"])
    make_preset("native", ("bin2dat",))
    progress("building the NSIS peer and the screen poller")
    WORK.mkdir(parents=True, exist_ok=True)
    splash_bmp = WORK / "splash.bmp"
    log_command(["convert", PICTURE, "-type", "TrueColor", f"bmp3:{splash_bmp}"])
    log_command(["makensis", "-V2", f"-DSPLASH_BMP={splash_bmp}", f"-DOUT_FILE={WORK / 'peer.exe'}", PEER_SCRIPT])
    log_command(["cc", "-O2", "-Wall", "-Wextra", "-o", POLLER, POLLER_SOURCE, "-lX11", "-lXext"])


def runs_32_bit_natively():
    """True when the kernel executes i386 programs itself rather than through qemu-user's binfmt entry."""
    return not Path("/proc/sys/fs/binfmt_misc/qemu-i386").exists()


def usable_qemu():
    """The path of a qemu-i386 of version 10 or later, or None.  Debian 12's own qemu-user 7.2 lacks
    MAP_FIXED_NOREPLACE, and Wine's 32-bit loader then needs tens of seconds a start, so that every
    emulated run would wait for first light until it timed out."""
    for name in ("qemu-i386", "qemu-i386-static"):
        path = shutil.which(name)
        if not path:
            continue
        result = subprocess.run([path, "--version"], capture_output=True, text=True, timeout=30)
        words = result.stdout.split()
        version = words[words.index("version") + 1] if "version" in words[:-1] else "0"
        if int(version.split(".")[0] or 0) >= 10:
            return path
    return None


def emulated_loader_dir(qemu):
    """Wine starts a 32-bit program through the 32-bit loader beside its own 64-bit one.  Where the
    kernel runs 32-bit code itself, a copy of the 64-bit loader in a folder of our own finds there a
    script in the 32-bit loader's place that runs it under qemu-i386, so that the emulated figures
    compare with a machine that has to emulate."""
    root = BENCH / "emulated-wine"
    folder = root / "lib" / "wine"
    folder.mkdir(parents=True, exist_ok=True)
    (root / "share").mkdir(exist_ok=True)
    # The loader finds its libraries and data relative to its own folder, as in Debian's layout.
    for link, target in ((root / "share" / "wine", "/usr/share/wine"),
                         (root / "lib" / "x86_64-linux-gnu", "/usr/lib/x86_64-linux-gnu")):
        if not link.is_symlink():
            link.symlink_to(target)
    shutil.copy2("/usr/lib/wine/wine64", folder / "wine64")
    script = folder / "wine"
    script.write_text(f'#!/bin/sh\nWINELOADERNOEXEC=1 exec {qemu} {WINE32} "$@"\n')
    script.chmod(0o755)
    return folder


class Race:
    def __init__(self, qemu):
        self.qemu = qemu  # the qemu-i386 that starts the 32-bit loader, or None to leave that to the kernel
        self.wine = wine(BENCH / "wineprefix")
        self.xvfb = None
        self.loader64 = {True: self.wine.env["WINELOADER"], False: self.wine.env["WINELOADER"]}
        self.faults = []

    def start(self):
        if self.qemu:
            self.loader64[True] = str(emulated_loader_dir(self.qemu) / "wine64")
        self.wine.ensure_prefix()
        self.wine.start_server()
        self.wine.paint_desktop_black()
        screen = f"{SCREEN[0]}x{SCREEN[1]}x24"
        # -br: a black root window, so that only the programs light the screen.
        self.xvfb = run_e2e.Xvfb(screen, WORK / "xvfb.log", options=("-br",))

    def close(self):
        if self.xvfb:
            self.xvfb.stop()
        self.wine.stop_server()

    def disc(self, contestant):
        """The program's folder: the program, and a bin2.dat naming a game that isn't there, so that
        the launcher's start of it fails quietly and nothing else lights the screen."""
        folder = WORK / contestant.key
        if folder.exists():
            shutil.rmtree(folder)
        folder.mkdir(parents=True)
        target = folder / contestant.program.name
        shutil.copyfile(contestant.program, target)
        if contestant.settings:
            subprocess.run([str(NATIVE_BIN2DAT), "write", "--exe", GAME, str(folder / "bin2.dat")],
                           check=True, timeout=30, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
        return folder, target

    def run(self, contestant, extra_env=None):
        """Milliseconds from starting Wine's loader to the first lit pixel, or None."""
        folder, program = self.disc(contestant)
        tag = uuid.uuid4().hex
        env = dict(self.wine.env, DISPLAY=self.xvfb.display, E2E_RUN_TAG=tag, **(extra_env or {}))
        poller = subprocess.Popen([str(POLLER), self.xvfb.display, str(LIGHT_TIMEOUT_MS)], stdin=subprocess.DEVNULL,
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        with open(folder / "wine.log", "wb") as log:
            try:
                if not poller.stdout.readline().startswith("ready"):
                    raise BenchError(f"first_light could not watch {self.xvfb.display}")
                command = [self.loader64[contestant.emulated], "explorer",
                           f"/desktop=race_{tag[:12]},{SCREEN[0]}x{SCREEN[1]}", run_e2e.windows_path(program)]
                started = time.monotonic()
                explorer = subprocess.Popen(command, env=env, cwd=folder, stdin=subprocess.DEVNULL, stdout=log,
                                            stderr=log)
                report, _ = poller.communicate(timeout=LIGHT_TIMEOUT_MS / 1000 + 10)
            finally:
                if poller.poll() is None:
                    poller.kill()
                    poller.wait()
            try:
                explorer.wait(EXIT_TIMEOUT_S)
            except subprocess.TimeoutExpired:
                explorer.kill()
                explorer.wait(10)
        run_e2e.end_leftovers(tag, (str(folder), run_e2e.windows_path(folder)))
        values = dict(line.split("=", 1) for line in report.splitlines() if "=" in line)
        if "lit_ms" not in values:
            self.faults.append(f"{contestant.label}: the screen stayed black for {LIGHT_TIMEOUT_MS} ms")
            return None
        return float(values["lit_ms"]) - started * 1000.0, float(values["longest_gap_ms"])


def run_race(race, entrants, runs):
    """Interleaved rounds; the order within a round turns every round, so that no program always
    follows the same one."""
    times = {entrant: [] for entrant in entrants}
    gaps = []
    progress("a first round, not measured, so that Wine's files are in the page cache")
    for entrant in entrants:
        race.run(entrant)
    for number in range(runs):
        order = entrants[number % len(entrants):] + entrants[:number % len(entrants)]
        shown = []
        for entrant in order:
            result = race.run(entrant)
            if result:
                times[entrant].append(result[0])
                gaps.append(result[1])
                shown.append(f"{entrant.label} {result[0]:.0f}")
        progress(f"round {number + 1}/{runs}: " + ", ".join(shown))
    return times, gaps


def run_phases(race, runs, emulate):
    """Phase durations in ms per preset: {preset: {phase: [ms, ...]}} in the order the phases ran."""
    found = {}
    for preset in PHASE_PRESETS:
        emulated = preset == "windows-x86"
        found[preset] = {}
        if emulated and not emulate:
            continue
        entrant = Contestant(f"phases {preset}", phase_launcher(preset), emulated, settings=True)
        phases = {}
        for number in range(runs):
            log = WORK / f"phases-{preset}.txt"
            log.unlink(missing_ok=True)
            race.run(entrant, {"AUTORUN_PHASE_LOG": run_e2e.windows_path(log)})
            if log.exists():
                for name, value in run_e2e.load_report(log).items():
                    phases.setdefault(name, []).append(float(value))
            progress(f"phases {preset}, run {number + 1}/{runs}")
        found[preset] = phases
    return found


def race_table(entrants, times):
    rows = []
    for entrant in entrants:
        samples = times[entrant]
        if not samples:
            rows.append((entrant.label, "0", "n/a", "n/a", "n/a"))
            continue
        rows.append((entrant.label, str(len(samples)), integer(min(samples)), integer(statistics.median(samples)),
                     integer(max(samples))))
    return table(("start -> first pixels on screen (ms)", "runs", "min", "median", "max"), rows)


def cost_table(entrants, times):
    """Each program's median above its floor's median, and the ratios the goals are set in."""
    median = {entrant: statistics.median(times[entrant]) if times[entrant] else None for entrant in entrants}
    by_label = {entrant.label: entrant for entrant in entrants}

    def above(label, floor):
        if label not in by_label or floor not in by_label:
            return None
        ours, base = median[by_label[label]], median[by_label[floor]]
        return None if ours is None or base is None else ours - base

    ours32, peer32 = above("launcher, i686", "floor, i686"), above("NSIS peer, i686", "floor, i686")
    ours64 = above("launcher, x86_64", "floor, x86_64")
    rows = []
    if "earlier launcher, i686" in by_label:
        earlier = above("earlier launcher, i686", "floor, i686")
        rows += [("emulated i686: earlier launcher above the floor", fmt(earlier)),
                 ("emulated i686: earlier launcher's cost / peer's cost",
                  f"{earlier / peer32:.2f}" if earlier is not None and peer32 else "n/a")]
    if "earlier launcher, x86_64" in by_label:
        rows.append(("native x86_64: earlier launcher above the floor", fmt(above("earlier launcher, x86_64",
                                                                                  "floor, x86_64"))))
    rows += [
        ("emulated i686: launcher above the floor", fmt(ours32)),
        ("emulated i686: NSIS peer above the floor", fmt(peer32)),
        ("emulated i686: launcher's cost / peer's cost (goal <= 0.50)",
         f"{ours32 / peer32:.2f}" if ours32 is not None and peer32 else "n/a"),
        ("native x86_64: launcher above the floor (goal <= 10 ms)", fmt(ours64)),
    ]
    return table(("medians", "ms or ratio"), rows)


def fmt(value):
    return "n/a" if value is None else f"{value:+,.0f}"


def phase_table(found):
    names = list(dict.fromkeys(name for phases in found.values() for name in phases))
    rows = []
    for name in names:
        cells = []
        for preset in PHASE_PRESETS:
            samples = found[preset].get(name)
            cells.append(f"{statistics.median(samples):,.1f}" if samples else "n/a")
        rows.append((name, *cells))
    totals = [sum(statistics.median(v) for v in found[preset].values()) if found[preset] else None
              for preset in PHASE_PRESETS]
    rows.append(("total: process created -> splash flushed", *(f"{t:,.1f}" if t else "n/a" for t in totals)))
    return table(("launcher phase, median ms", "i686, emulated", "x86_64, native"), rows)


def sizes_table():
    rows = []
    for preset in PHASE_PRESETS:
        exe = build_dir(preset) / "launcher" / "autorun.exe"
        rows.append((f"{exe.relative_to(ROOT)}", integer(exe.stat().st_size),
                     integer(exe.stat().st_size - section_size(exe, ".rsrc"))))
    return table(("launcher", "bytes", "bytes without .rsrc"), rows)


def section_size(exe, name):
    """Raw size of a PE section from objdump's header list, 0 when it is missing."""
    result = subprocess.run(["x86_64-w64-mingw32-objdump", "-h", str(exe)], capture_output=True, text=True, timeout=30)
    for line in result.stdout.splitlines():
        parts = line.split()
        if len(parts) > 2 and parts[1] == name:
            return int(parts[2], 16)
    return 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--runs", type=int, default=9, help="measured rounds of every program (default 9)")
    parser.add_argument("--phase-runs", type=int, default=5, help="runs of each phase-timing launcher (default 5)")
    parser.add_argument("--before-i686", type=Path, help="an earlier i686 autorun.exe to race beside the others")
    parser.add_argument("--before-x86_64", type=Path, help="an earlier x86_64 autorun.exe to race beside the others")
    parser.add_argument("--call-qemu", action="store_true",
                        help="start the 32-bit Wine loader through qemu-i386 explicitly even where binfmt_misc "
                             "would (the default where the kernel runs 32-bit code itself)")
    args = parser.parse_args()
    if not 1 <= args.runs <= 50 or not 0 <= args.phase_runs <= 50:
        parser.error("--runs wants 1 to 50, --phase-runs 0 to 50")

    BENCH.mkdir(parents=True, exist_ok=True)
    LOG.write_text("")
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    try:
        progress(f"building (log: {LOG.relative_to(ROOT)})")
        make_everything()
    except (BenchError, subprocess.SubprocessError, OSError) as error:
        raise SystemExit(f"first_pixels.py: {error}")
    for earlier in (args.before_i686, args.before_x86_64):
        if earlier and not earlier.is_file():
            parser.error(f"{earlier}: no such file")
    entrants = contestants(args.before_i686, args.before_x86_64)
    call_qemu = args.call_qemu or runs_32_bit_natively()
    qemu = usable_qemu() if call_qemu else None
    emulate = qemu is not None or not call_qemu
    if not emulate:
        print("first_pixels.py: note: no qemu-i386 10 or later to start the i686 programs with "
              "(scripts/bootstrap-qemu-i386.sh installs it); the emulated column is left out", file=sys.stderr)
        entrants = tuple(entrant for entrant in entrants if not entrant.emulated)
    race = Race(qemu)
    loads = [load_average()]
    try:
        race.start()
        times, gaps = run_race(race, list(entrants), args.runs)
        found = run_phases(race, args.phase_runs, emulate) if args.phase_runs else {}
    except (BenchError, run_e2e.Failure, subprocess.SubprocessError, OSError) as error:
        raise SystemExit(f"first_pixels.py: {error}")
    finally:
        race.close()
    loads.append(load_average())

    emulation = ("not run: no usable qemu-i386" if not emulate else
                 "qemu-i386 called by the bench" if call_qemu else "qemu-i386 through binfmt_misc")
    print(f"## Start-up race, {SCREEN[0]}x{SCREEN[1]} Wine virtual desktop on Xvfb, rounds interleaved\n")
    print(f"{platform.node()}, {os.cpu_count()} CPUs, load average {loads[0]} at the start, {loads[1]} at the end; "
          f"i686 programs emulated ({emulation}); screen grabbed every 5 ms, longest gap between grabs "
          f"{max(gaps, default=0):.0f} ms.\n")
    print(race_table(entrants, times))
    print()
    print(cost_table(entrants, times))
    print()
    if found:
        print(f"## Launcher start-up phases (benchmark build, {args.phase_runs} runs each)\n")
        print(phase_table(found))
        print()
    print(sizes_table())
    for fault in race.faults:
        print(f"\nFault: {fault}")
    return 1 if race.faults else 0


if __name__ == "__main__":
    sys.exit(main())
