#!/usr/bin/env python3
"""Start-up benchmark of the launcher under Wine, and the choice between libjpeg with and without SIMD.

Builds the launcher from the preset's settings twice, on libjpeg without SIMD (as shipped) and on
libjpeg with SIMD, for the measured architecture and for the shipped i686 one.  Runs both measured
launchers, in turn, on a demo disc whose game is the end-to-end tests' probe, in a 1024x768 Wine
virtual desktop on a private Xvfb, and times the splash picture's decoding alone with decode_bench.
Prints Markdown tables (minimum, median and maximum over the runs) and a recommendation.

Build output goes to build/bench/build.log; the last run's reports stay in build/bench/work.
Exits 1 when a build fails or the end-to-end checks found a fault in a run (the tables still print).
"""

import argparse
import os
import platform
import signal
import statistics
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path
from types import SimpleNamespace

# The helpers are imported from the source tree and leave no cache files there.
sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent))
from bench_support import (BENCH, LOG, NATIVE_BIN2DAT, ROOT, STARTED, BenchError, integer, load_average,  # noqa: E402
                           log_command, make_preset, progress, run_e2e, table, wine)

PICTURE = ROOT / "resources" / "splash.jpg"
SHIPPED_PRESET = "windows-x86"
# Preset: the MinGW triple its toolchain builds for, and a name.
PRESETS = {
    "windows-x86": ("i686-w64-mingw32", "i686"),
    "windows-x64": ("x86_64-w64-mingw32", "x86_64"),
}
HARNESS_TARGETS = ("e2e_driver", "probe_game", "e2e_hook")
CD_1X_BYTES_PER_S = 150 * 1024
CD_SPEEDS = (1, 24, 52)
DECODE_TIMEOUT_S = 300
# The decoders take turns in rounds, so that a change in the machine's load touches both alike.
DECODE_ROUNDS = 4

# Measures of one run: key, label, unit.
ROWS = (
    ("launch_to_splash", "launcher start -> splash on screen", "ms"),
    ("splash_to_game", "splash -> game start", "ms"),
    ("game_to_exit", "game start -> launcher exit", "ms"),
    ("peak_working_set", "launcher peak working set", "KiB"),
    ("peak_pagefile", "launcher peak pagefile usage", "KiB"),
)


def cache_value(build_dir, name):
    for line in (build_dir / "CMakeCache.txt").read_text().splitlines():
        key, _, value = line.partition("=")
        if key.split(":")[0] == name:
            return value
    return None


@dataclass(frozen=True)
class Build:
    """The launcher built from a preset's settings on libjpeg with or without SIMD, in a directory of
    the benchmark's own, so that the two differ in the library alone."""

    preset: str
    simd: bool

    @property
    def triple(self):
        return PRESETS[self.preset][0]

    @property
    def arch(self):
        return PRESETS[self.preset][1]

    @property
    def libjpeg(self):
        name = f"libjpeg-simd-{self.triple}" if self.simd else f"libjpeg-{self.triple}"
        return ROOT / "build" / "deps" / name

    @property
    def directory(self):
        return BENCH / f"{self.preset}-simd-{'on' if self.simd else 'off'}"

    @property
    def launcher(self):
        return self.directory / "launcher" / "autorun.exe"

    @property
    def decoder(self):
        return self.directory / "bench" / "decode_bench.exe"

    @property
    def label(self):
        return "SIMD on" if self.simd else "SIMD off"

    def make(self, targets):
        log_command([ROOT / "scripts" / "build-libjpeg-mingw.sh", self.triple, self.libjpeg]
                    + (["--simd"] if self.simd else []))
        # A fresh cache every time, so that both builds follow the toolchain files as they are now;
        # unchanged compile commands leave the objects up to date.
        log_command(["cmake", "--fresh", "--preset", self.preset, "-B", self.directory,
                     f"-DAUTORUN_DEPS_PREFIX={self.libjpeg}", "-DAUTORUN_BUILD_TESTS=OFF"])
        found = cache_value(self.directory, "JPEG_LIBRARY_RELEASE") or ""
        if not found.startswith(str(self.libjpeg)):
            raise BenchError(f"{self.directory}: CMake found libjpeg at {found!r}, not under {self.libjpeg}")
        log_command(["cmake", "--build", self.directory, "--target", *targets])


def make_everything(preset):
    """Returns the comparison builds: {(preset, simd): Build}.  The ones without SIMD also make the
    libjpeg that the presets' own build directories use."""
    builds = {}
    for each in dict.fromkeys((SHIPPED_PRESET, preset)):
        for simd in (False, True):
            build = builds[(each, simd)] = Build(each, simd)
            progress(f"building the launcher for {build.arch}, {build.label}")
            build.make(("autorun", "decode_bench") if each == preset else ("autorun",))
    progress("building the end-to-end test programs, the shipped launcher and bin2dat")
    make_preset(preset, HARNESS_TARGETS)
    make_preset(SHIPPED_PRESET, ("autorun",))
    make_preset("native", ("bin2dat",))
    return builds


def measure(reports):
    """The measures of one run from the driver's and the game's reports; missing ones are left out."""
    driver_path = reports / "driver.txt"
    driver = run_e2e.load_report(driver_path) if driver_path.exists() else {}
    probes = sorted(reports.glob("probe-*.txt"))
    probe = run_e2e.load_report(probes[0]) if len(probes) == 1 else {}

    def span(start, end):
        return None if start is None or end is None else end - start

    launch, splash, exit_ = (run_e2e.number(driver, key) for key in ("launch_ms", "splash_ms", "exit_ms"))
    game = run_e2e.number(probe, "created_ms")
    found = {
        "launch_to_splash": span(launch, splash),
        "splash_to_game": span(splash, game),
        "game_to_exit": span(game, exit_),
        "peak_working_set": run_e2e.number(driver, "launcher_peak_working_set_kib"),
        "peak_pagefile": run_e2e.number(driver, "launcher_peak_pagefile_kib"),
    }
    return {key: value for key, value in found.items() if value is not None}


class Runner:
    """Runs measured launchers on the demo disc, each in a suite of the end-to-end harness of its own
    that shares the benchmark's Wine prefix."""

    def __init__(self, preset, builds):
        self.wine = wine(BENCH / "wineprefix")
        harness = ROOT / "build" / preset / "tests" / "e2e"
        self.suites = {}
        for build in builds:
            self.suites[build] = run_e2e.Suite(SimpleNamespace(
                launcher=build.launcher, probe=harness / "probe_game.exe", driver=harness / "e2e_driver.exe",
                hook=harness / "e2e_hook.dll", bin2dat=NATIVE_BIN2DAT, picture=PICTURE, work=BENCH / "work",
                group=build.directory.name), self.wine)
        self.scenario = run_e2e.Scenario("demo_disc")
        self.faults = []

    def start(self):
        self.wine.ensure_prefix()
        self.wine.start_server()
        self.wine.paint_desktop_black()

    def close(self):
        for suite in self.suites.values():
            suite.close()
        self.wine.stop_server()

    def run(self, build, number):
        try:
            check = self.suites[build].run(self.scenario)
        except (run_e2e.Failure, subprocess.SubprocessError, OSError, ValueError) as error:
            self.faults.append(f"run {number}, {build.label}: {error}")
            return {}
        self.faults += [f"run {number}, {build.label}: {failure}" for failure in check.failures]
        return measure(check.reports)

    def decode(self, builds, count):
        """Milliseconds of one decode of the splash picture for each build: the least and the largest
        of all rounds, and the median of the rounds' medians."""
        rounds = {build: [] for build in builds}
        for _ in range(DECODE_ROUNDS):
            for build in builds:
                rounds[build].append(self.decode_round(build, max(1, count // DECODE_ROUNDS)))
        return {build: (min(low for low, _, _ in found), statistics.median(middle for _, middle, _ in found),
                        max(high for _, _, high in found)) for build, found in rounds.items()}

    def decode_round(self, build, count):
        output = BENCH / "work" / f"decode-{build.directory.name}.txt"
        with open(output, "wb") as out:
            result = subprocess.run([self.wine.env["WINELOADER"], run_e2e.windows_path(build.decoder), "--count",
                                     str(count), run_e2e.windows_path(PICTURE)], env=self.wine.env,
                                    stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL,
                                    timeout=DECODE_TIMEOUT_S)
        report = run_e2e.load_report(output)
        if result.returncode != 0 or "ms_median" not in report:
            raise BenchError(f"{build.decoder} failed (exit {result.returncode}); see {output}")
        return tuple(float(report[key]) for key in ("ms_min", "ms_median", "ms_max"))


def spread(samples):
    return (min(samples), statistics.median(samples), max(samples)) if samples else None


def signed(value, digits=0):
    """With its sign, unless it rounds to zero."""
    return f"{value:+,.{digits}f}" if round(value, digits) else f"{0:.{digits}f}"


def summary(values, digits=0):
    """median (min-max), or n/a."""
    if values is None:
        return "n/a"
    low, middle, high = values
    return f"{middle:,.{digits}f} ({low:,.{digits}f}-{high:,.{digits}f})"


def wine_version(runner):
    result = subprocess.run([runner.wine.env["WINELOADER"], "--version"], env=runner.wine.env,
                            stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=30)
    return result.stdout.strip() or "Wine"


def start_up_table(build, results, runs):
    rows = []
    for key, label, unit in ROWS:
        values = spread(results[key])
        cells = ("n/a",) * 3 if values is None else tuple(integer(value) for value in values)
        rows.append((f"{label} ({unit})", *cells))
    return table((f"{build.arch} launcher, libjpeg without SIMD, {len(results['launch_to_splash'])} of {runs} runs",
                  "min", "median", "max"), rows)


def size_table(shipped, measured):
    rows = [(f"shipped: {shipped.relative_to(ROOT)} (i686)", integer(shipped.stat().st_size))]
    if measured != shipped:
        rows.append((f"measured: {measured.relative_to(ROOT)}", integer(measured.stat().st_size)))
    return table(("executable", "bytes"), rows)


def comparison_table(builds, preset, results, decodes):
    off, on = builds[(preset, False)], builds[(preset, True)]
    rows = []
    for each in dict.fromkeys((SHIPPED_PRESET, preset)):
        sizes = [builds[(each, simd)].launcher.stat().st_size for simd in (False, True)]
        rows.append((f"autorun.exe, {PRESETS[each][1]} (bytes)", integer(sizes[0]), integer(sizes[1]),
                     signed(sizes[1] - sizes[0])))
    for key, label, unit in ROWS:
        values = [spread(results[build][key]) for build in (off, on)]
        change = signed(values[1][1] - values[0][1]) if None not in values else "n/a"
        rows.append((f"{label}, {unit}: median (min-max)", summary(values[0]), summary(values[1]), change))
    rows.append((f"decode of the 800x600 splash, {off.arch}, ms: median (min-max)", summary(decodes[off], 2),
                 summary(decodes[on], 2), signed(decodes[on][1] - decodes[off][1], 2)))
    extra = extra_shipped_bytes(builds)
    for speed in CD_SPEEDS:
        rows.append((f"reading the i686 difference from CD at {speed}x ({integer(150 * speed)} KiB/s), ms", "", "",
                     signed(read_ms(extra, speed))))
    return table(("libjpeg", off.label, on.label, "on - off"), rows)


def extra_shipped_bytes(builds):
    return (builds[(SHIPPED_PRESET, True)].launcher.stat().st_size
            - builds[(SHIPPED_PRESET, False)].launcher.stat().st_size)


def read_ms(size, speed):
    return 1000.0 * size / (CD_1X_BYTES_PER_S * speed)


def recommendation(builds, preset, decodes):
    """SIMD pays only when the decoding it saves outweighs reading its extra bytes from the disc, and
    the slower the drive, the more those bytes cost: the choice holds for the slowest drive."""
    off, on = builds[(preset, False)], builds[(preset, True)]
    extra = extra_shipped_bytes(builds)
    saved = decodes[off][1] - decodes[on][1]
    costs = ", ".join(f"{read_ms(extra, speed):,.0f} ms at {speed}x" for speed in CD_SPEEDS)
    cost = f"{signed(extra / 1024)} KiB on the i686 launcher, read in {costs}"
    if saved <= 0:
        return (f"Recommendation: libjpeg without SIMD: SIMD decoded the splash no faster here "
                f"({signed(saved, 2)} ms saved per decode on {off.arch}) and costs {cost}.")
    gain = f"saves {saved:.2f} ms per decode ({decodes[off][1] / decodes[on][1]:.2f}x as fast on {off.arch})"
    break_even = max(0.0, extra / (CD_1X_BYTES_PER_S * saved / 1000.0))
    if break_even <= CD_SPEEDS[0]:
        return f"Recommendation: libjpeg with SIMD: it {gain}, more than its extra bytes cost ({cost})."
    pays = ("on no CD drive" if break_even > CD_SPEEDS[-1]
            else f"only on drives faster than {break_even:,.0f}x and loses on slower ones")
    return (f"Recommendation: libjpeg without SIMD: it {gain} but costs {cost}; it pays {pays} "
            f"(break-even {break_even:,.0f}x).")


def run_measurements(runner, measured, args):
    """Returns Wine's version, the decoding times and, per build, the measures of every run."""
    progress(f"starting Wine ({runner.wine.prefix.relative_to(ROOT)})")
    runner.start()
    version = wine_version(runner)
    progress(f"timing {args.decodes} decodes of the splash per libjpeg build")
    decodes = runner.decode(measured, args.decodes)
    progress("a first launcher run, not measured, so that Wine's files are in the page cache")
    runner.run(measured[0], 0)
    results = {build: {key: [] for key, _, _ in ROWS} for build in measured}
    # The two launchers take turns, so that a change in the machine's load touches both alike.
    for number in range(1, args.runs + 1):
        for build in measured:
            values = runner.run(build, number)
            for key, value in values.items():
                results[build][key].append(value)
            shown = ", ".join(f"{key} {values[key]:.0f}" for key in ("launch_to_splash", "peak_working_set")
                              if key in values)
            progress(f"run {number}/{args.runs}, {build.label}: {shown or 'no measures'}")
    return version, decodes, results


def print_report(args, builds, results, decodes, version, loads):
    off = builds[(args.preset, False)]
    shipped = ROOT / "build" / SHIPPED_PRESET / "launcher" / "autorun.exe"
    fresh = builds[(SHIPPED_PRESET, False)].launcher
    print(f"## Launcher start-up: {args.preset} under {version}, 1024x768 virtual desktop on Xvfb\n")
    print(f"{platform.node()}, {os.cpu_count()} CPUs, load average {loads[0]} at the start, {loads[1]} at the "
          "end.\n")
    print(start_up_table(off, results[off], args.runs))
    print()
    print(size_table(shipped, off.launcher))
    print(f"\n## libjpeg without and with SIMD ({args.runs} runs each, {args.decodes} decodes each)\n")
    print(comparison_table(builds, args.preset, results, decodes))
    print()
    print(recommendation(builds, args.preset, decodes))
    if shipped.stat().st_size != fresh.stat().st_size:
        print(f"\nNote: {shipped.relative_to(ROOT)} differs in size from a fresh build of the same sources "
              f"({fresh.relative_to(ROOT)}): its build directory was configured with other settings; "
              f"`cmake --fresh --preset {SHIPPED_PRESET}` renews it.")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--runs", type=int, default=7, help="launcher runs per libjpeg build (default 7)")
    parser.add_argument("--preset", choices=sorted(PRESETS), default="windows-x64",
                        help="the build that runs under Wine (default windows-x64)")
    parser.add_argument("--decodes", type=int, default=200,
                        help=f"timed decodes of the splash picture per libjpeg build, in {DECODE_ROUNDS} rounds "
                             "(default 200)")
    args = parser.parse_args()
    if not 1 <= args.runs <= 50 or not DECODE_ROUNDS <= args.decodes <= 10000:
        parser.error(f"--runs wants 1 to 50 and --decodes {DECODE_ROUNDS} to 10000")

    BENCH.mkdir(parents=True, exist_ok=True)
    (BENCH / "work").mkdir(exist_ok=True)
    LOG.write_text("")
    # ctest or a shell may end the benchmark with SIGTERM: clean up on the way out.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    try:
        progress(f"building (log: {LOG.relative_to(ROOT)})")
        builds = make_everything(args.preset)
        measured = (builds[(args.preset, False)], builds[(args.preset, True)])
        runner = Runner(args.preset, measured)
    except (BenchError, subprocess.SubprocessError, OSError) as error:
        raise SystemExit(f"run_bench.py: {error}")
    load_at_start = load_average()
    try:
        version, decodes, results = run_measurements(runner, measured, args)
    except (BenchError, run_e2e.Failure, subprocess.SubprocessError, OSError) as error:
        raise SystemExit(f"run_bench.py: {error}")
    finally:
        runner.close()

    print_report(args, builds, results, decodes, version, (load_at_start, load_average()))
    for fault in runner.faults:
        print(f"\nFault: {fault}")
    print(f"\nBench time: {time.monotonic() - STARTED:.0f} s.")
    return 1 if runner.faults else 0


if __name__ == "__main__":
    sys.exit(main())
