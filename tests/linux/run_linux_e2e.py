#!/usr/bin/env python3
"""End-to-end tests of the Linux launcher: a real SDL2 window on private Xvfb servers, with no window
manager and with openbox.

For each scenario a disc folder is laid out under the work directory (the launcher, a Windows
executable carrying the splash picture, copies of the probe game under the names the scenario needs,
a bin2lnx.dat or none).  The launcher is started there; the probe game reports how it was started;
this script takes screenshots, watches the launcher's exit and checks all of it.

  run_linux_e2e.py OPTIONS --group NAME   run one group of scenarios (--scenario NAME: only that one)
"""

import argparse
import os
import shutil
import subprocess
import sys
import time
from dataclasses import dataclass
from pathlib import Path

sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))
import bmp  # noqa: E402
from run_e2e import (BLOCK_GRID, BLOCK_MEAN_LIMIT, BLOCK_WORST_LIMIT, CONVERT, GAME_TO_EXIT,  # noqa: E402
                     PICTURE_SIZE, SPLASH_TO_EXIT, SPLASH_TO_GAME, Failure, Xvfb)

SETTINGS_FILE = "bin2lnx.dat"
DEFAULT_GAME = "lmq.bin"
# Launcher start to game start: the first wait plus start-up, which is SDL, X and one JPEG decode.
START_TO_GAME = (900, 4000)
REPORT_TIMEOUT_S = 15
LAUNCHER_TIMEOUT_S = 30
BOX_TIMEOUT_S = 10
# How long a box stays up before the test dismisses it: the game must not start meanwhile.
BOX_HOLD_S = 2.5
LINGER_MS = 3000
ODD_FOLDER = "Game Disc \u00c4\u00d6\u00fc \u76ee\u5f55 'q' $x"


@dataclass(frozen=True)
class Scenario:
    name: str
    screen: tuple = (1024, 768)
    window_manager: bool = False
    settings_name: str = "game"  # the name in bin2lnx.dat; None: no settings file
    games: tuple = ("game",)  # probe copies, relative to the launcher's folder
    non_executable: tuple = ()  # of those, the ones without execute permission
    folder: str = "disc"
    # None: the launcher is run directly; "exec" / "noexec": autorun.sh is run with sh from a
    # read-only bind mount of the disc folder, with or without the right to execute; "iso-noexec":
    # from an ISO image of the folder, loop-mounted noexec.
    mount: str = None
    linger: bool = True  # the game outlives the launcher; False: it ends at once
    # autorun.exe is the shipped launcher branded by autorun-disc with a picture of its own, which the
    # Linux launcher must show instead of the one the launcher was built with.
    branded: bool = False


    @property
    def game_expected(self):
        name = self.settings_name or DEFAULT_GAME
        return name in self.games and name not in self.non_executable


GROUPS = {
    "screens": [
        Scenario("plain-1024x768"),
        Scenario("plain-1920x1080", screen=(1920, 1080)),
        Scenario("openbox-1024x768", window_manager=True),
        Scenario("openbox-1920x1080", screen=(1920, 1080), window_manager=True),
    ],
    "settings": [
        Scenario("no-settings-default-game", settings_name=None, games=(DEFAULT_GAME,)),
        Scenario("no-settings-no-game", settings_name=None, games=()),
        Scenario("missing-game", settings_name="nothing-here", games=("game",)),
        Scenario("game-not-executable", games=("game",), non_executable=("game",)),
        Scenario("quick-game-leaves-no-zombie", linger=False),
    ],
    "branded": [
        Scenario("branded-autorun-exe", branded=True),
    ],
    "paths": [
        Scenario("odd-folder", folder=f"{ODD_FOLDER}/disc", settings_name="sub dir/the game \u00e9",
                 games=("sub dir/the game \u00e9",)),
    ],
    "autorun-sh": [
        # The game can't run from a noexec disc; one outside the mount shows where the launcher looked.
        Scenario("noexec-read-only", mount="noexec", settings_name="../games/game", games=("../games/game",)),
        Scenario("exec-read-only", mount="exec", folder=f"{ODD_FOLDER}/disc"),
    ],
    # Needs a kernel with ISO 9660 support and loop devices; skipped where either is missing.
    "autorun-sh-iso": [
        Scenario("iso-noexec", mount="iso-noexec", settings_name="../games/game", games=("../games/game",)),
    ],
}


def run(command, **kwargs):
    return subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True, text=True, timeout=60, **kwargs)


def read_report(path):
    facts = {"env": []}
    for line in Path(path).read_bytes().split(b"\0\n"):
        if b"=" in line:
            key, value = line.decode("utf-8", "surrogateescape").split("=", 1)
            if key == "env":
                facts["env"].append(value)
            else:
                facts[key] = value
    return facts


def wait_for(condition, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        result = condition()
        if result:
            return result
        time.sleep(0.02)
    return None


class Display:
    """Xvfb of the scenario's size, with openbox on it when asked for."""

    def __init__(self, scenario, work):
        width, height = scenario.screen
        self.xvfb = Xvfb(f"{width}x{height}x24", work / "xvfb.log")
        self.name = self.xvfb.display
        self.window_manager = None
        if scenario.window_manager:
            with open(work / "openbox.log", "a") as log:
                self.window_manager = subprocess.Popen(
                    ["openbox", "--sm-disable"], env=self.environment(), stdin=subprocess.DEVNULL,
                    stdout=log, stderr=log, start_new_session=True)
            if not self.window_manager_manages_windows():
                self.close()
                raise Failure("openbox did not take over the screen")

    def environment(self, extra=None):
        return {**os.environ, "DISPLAY": self.name, **(extra or {})}

    def window_manager_manages_windows(self):
        """Openbox names itself on the root window before it handles requests to show windows, and a
        request that comes in between is lost: only a window it has taken on shows that it's ready.
        A test window shown too early is never taken on, so a new one is tried."""
        for _ in range(10):
            test_window = subprocess.Popen(["xmessage", "-timeout", "30", "ready?"], env=self.environment(),
                                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL)
            try:
                managed = wait_for(lambda: self.client_count() > 0, 2)
            finally:
                test_window.terminate()
                test_window.wait(10)
            if managed:
                return wait_for(lambda: self.client_count() == 0, 10)
        return False

    def client_count(self):
        result = run(["xprop", "-root", "_NET_CLIENT_LIST"], env=self.environment())
        return result.stdout.count("0x")

    def screenshot(self, path):
        run(["import", "-window", "root", "-type", "TrueColor", f"bmp3:{path}"], env=self.environment(),
            check=True)
        return bmp.read_bmp(path)

    def visible_windows(self, title):
        """Ids of the mapped windows with this title (xdotool can't match SDL's UTF8_STRING titles)."""
        tree = run(["xwininfo", "-root", "-tree"], env=self.environment()).stdout
        named = [line.split()[0] for line in tree.splitlines() if f'"{title}":' in line]
        return [window for window in named
                if "IsViewable" in run(["xwininfo", "-id", window], env=self.environment()).stdout]

    def press_return(self, window):
        run(["xdotool", "windowfocus", "--sync", window, "key", "--clearmodifiers", "Return"],
            env=self.environment())

    def close(self):
        if self.window_manager and self.window_manager.poll() is None:
            self.window_manager.terminate()
            self.window_manager.wait(10)
        self.xvfb.stop()


class BindMount:
    """The disc folder mounted read-only at another place, with or without the right to execute."""

    def __init__(self, source, target, executable):
        self.target = target
        target.mkdir(parents=True, exist_ok=True)
        options = "remount,bind,ro" + ("" if executable else ",noexec")
        bound = run(["mount", "--bind", str(source), str(target)])
        if bound.returncode != 0:
            reason = (bound.stderr.strip().splitlines() or ["mount failed"])[0]
            raise Skip(f"cannot bind-mount here (not root and no user namespace, or mounting is not allowed): "
                       f"{reason}")
        if run(["mount", "-o", options, str(target)]).returncode != 0:
            self.close()
            raise Skip(f"cannot remount a bind mount {options}")

    def close(self):
        run(["umount", str(self.target)])


class IsoMount(BindMount):
    """The disc folder as an ISO 9660 image with Rock Ridge and Joliet names, loop-mounted noexec."""

    def __init__(self, source, target, executable):
        self.target = target
        target.mkdir(parents=True, exist_ok=True)
        image = target.with_suffix(".iso")
        result = run(["xorriso", "-as", "mkisofs", "-quiet", "-R", "-J", "-o", str(image), str(source)])
        if result.returncode != 0:
            raise Failure(f"xorriso could not make {image}: {result.stderr.strip()}")
        options = "loop,ro" + ("" if executable else ",noexec")
        if run(["mount", "-t", "iso9660", "-o", options, str(image), str(target)]).returncode != 0:
            raise Skip("cannot loop-mount an ISO image here (not root, or no loop devices)")


class Skip(Exception):
    pass


class ScenarioRun:
    def __init__(self, args, scenario):
        self.args = args
        self.scenario = scenario
        self.work = Path(args.work) / scenario.name
        self.problems = []
        self.timings = []

    def expect(self, condition, message):
        if not condition:
            self.problems.append(message)

    def lay_out(self):
        shutil.rmtree(self.work, ignore_errors=True)
        self.root = self.work / self.scenario.folder
        self.root.mkdir(parents=True)
        shutil.copy(self.args.launcher, self.root / "autorun")
        if self.scenario.branded:
            self.brand(self.root / "autorun.exe")
        else:
            shutil.copy(self.args.windows_launcher, self.root / "autorun.exe")
        shutil.copy(self.args.autorun_sh, self.root / "autorun.sh")
        for game in self.scenario.games:
            path = (self.root / game).resolve()
            path.parent.mkdir(parents=True, exist_ok=True)
            shutil.copy(self.args.probe, path)
            path.chmod(0o644 if game in self.scenario.non_executable else 0o755)
        if self.scenario.settings_name is not None:
            run([self.args.bin2dat, "write", "--exe", self.scenario.settings_name, str(self.root / SETTINGS_FILE)],
                check=True)
        self.report = self.work / "probe.report"

    def picture(self):
        return self.work / "branded.jpg" if self.scenario.branded else Path(self.args.picture)

    def brand(self, out):
        shipped = self.args.shipped_launcher
        if not (shipped and self.args.autorun_disc and Path(shipped).is_file()):
            raise Skip(f"no shipped autorun.exe to brand ({shipped}): build the windows-x86 preset first")
        # The same size as the built-in picture, so the screen checks apply alike, but in inverted
        # colours: a launcher that showed the old picture would fail them.
        run([CONVERT, self.args.picture, "-negate", "-quality", "90", str(self.picture())], check=True)
        result = run([self.args.autorun_disc, "brand", "--splash", str(self.picture()), "--launcher", shipped,
                      "--out", str(out)])
        if result.returncode != 0:
            raise Failure(f"autorun-disc brand failed: {result.stderr.strip()}")

    def command(self, disc):
        if self.scenario.mount:
            # Run from elsewhere, as a desktop would: the script must find the disc by itself.
            return ["sh", str(disc / "autorun.sh")], self.work
        return [str(disc / "autorun")], disc

    def run(self):
        self.lay_out()
        display = Display(self.scenario, self.work)
        mount = None
        try:
            disc = self.root
            if self.scenario.mount:
                kind = IsoMount if self.scenario.mount == "iso-noexec" else BindMount
                mount = kind(self.root, self.work / "mnt", self.scenario.mount == "exec")
                disc = mount.target
            self.launched_at = time.time() * 1000
            command, cwd = self.command(disc)
            self.environment = display.environment({
                "AUTORUN_PROBE_REPORT": str(self.report), "AUTORUN_TEST_MARK": "\u00fcmlaut value with spaces"})
            if self.scenario.linger:
                self.environment["AUTORUN_PROBE_LINGER_MS"] = str(LINGER_MS)
            with open(self.work / "launcher.log", "w") as log:
                launcher = subprocess.Popen(command, cwd=cwd, env=self.environment, stdin=subprocess.DEVNULL,
                                            stdout=log, stderr=log)
            try:
                self.watch(launcher, display, disc)
            finally:
                if launcher.poll() is None:
                    launcher.kill()
                    launcher.wait()
                self.stop_probes()
        finally:
            if mount:
                mount.close()
            display.close()
        return self.problems

    def watch(self, launcher, display, disc):
        if self.scenario.settings_name is None:
            self.dismiss_box(display)
        # The window grows to the screen's size right before the splash is painted into it.
        covering = wait_for(lambda: (self.launcher_window(display) or (0, ()))[1] == self.scenario.screen,
                            REPORT_TIMEOUT_S)
        splash_at = time.time() * 1000
        self.expect(covering, "the launcher's window never covered the screen")
        report = wait_for(lambda: self.report.exists() and read_report(self.report),
                          REPORT_TIMEOUT_S if self.scenario.game_expected else 0.1)
        if report:
            if not self.scenario.linger:
                self.check_no_zombie(report, launcher)
            self.check_window(display)
            self.check_screen(display.screenshot(self.work / "splash.bmp"), "as the game starts")
        else:
            # No game: the splash shows between the waits all the same.
            time.sleep(0.3)
            self.check_screen(display.screenshot(self.work / "splash.bmp"), "while the launcher waits")
        try:
            code = launcher.wait(LAUNCHER_TIMEOUT_S)
        except subprocess.TimeoutExpired:
            raise Failure(f"{self.scenario.name}: the launcher did not end within {LAUNCHER_TIMEOUT_S} s")
        exited_at = time.time() * 1000
        self.expect(code == 0, f"the launcher exited with {code}, not 0 (see {self.work / 'launcher.log'})")
        self.expect(not display.visible_windows("Autorun"), "a window titled Autorun is still on screen")
        if not self.scenario.game_expected:
            self.expect(report is None, "a game was started although none could be")
            self.check_delay("the splash's appearance to the launcher's end", exited_at - splash_at, SPLASH_TO_EXIT)
            return
        if report is None:
            self.problems.append(f"the game {self.scenario.settings_name or DEFAULT_GAME} was not started")
            return
        self.check_delay("the splash's appearance to the game's start", int(report["time_ms"]) - splash_at,
                         SPLASH_TO_GAME)
        self.check_game(report, disc, exited_at)

    def check_delay(self, what, value, bounds):
        self.timings.append(f"{what}: {value:.0f} ms")
        low, high = bounds
        self.expect(low <= value <= high, f"{value:.0f} ms from {what}, not {low}..{high}")

    def dismiss_box(self, display):
        boxes = wait_for(lambda: display.visible_windows("Autorun"), BOX_TIMEOUT_S)
        if not boxes:
            raise Failure(f"{self.scenario.name}: no message box titled Autorun appeared")
        display.screenshot(self.work / "message-box.bmp")
        time.sleep(BOX_HOLD_S)
        self.expect(not self.report.exists(), "the game started while the message box was still open")
        display.press_return(boxes[0])
        if not wait_for(lambda: boxes[0] not in display.visible_windows("Autorun"), BOX_TIMEOUT_S):
            raise Failure(f"{self.scenario.name}: the message box did not close on Return")
        # The sequence begins once the box is gone: its timings count from here.
        self.launched_at = time.time() * 1000

    @staticmethod
    def launcher_window(display):
        """The launcher's mapped window and its size, or None."""
        windows = display.visible_windows("Autorun")
        if not windows:
            return None
        info = run(["xwininfo", "-id", windows[0]], env=display.environment()).stdout
        size = tuple(int(line.split(":")[1]) for line in info.splitlines()
                     if line.strip().startswith(("Width:", "Height:")))
        return windows[0], size

    def check_window(self, display):
        """The launcher's window covers the screen, and a window manager keeps it above the others."""
        window = self.launcher_window(display)
        if not window:
            self.problems.append("no window titled Autorun is on screen while the launcher waits")
            return
        self.expect(window[1] == self.scenario.screen, f"the launcher's window is {window[1]}, not {self.scenario.screen}")
        if self.scenario.window_manager:
            state = run(["xprop", "-id", window[0], "_NET_WM_STATE"], env=display.environment()).stdout
            self.expect("_NET_WM_STATE_ABOVE" in state, f"openbox does not keep the window on top: {state.strip()}")

    def check_screen(self, shot, what):
        """Block by block, the screen looks like the splash picture scaled to the screen's width."""
        width, height = self.scenario.screen
        scaled = width * PICTURE_SIZE[1] // PICTURE_SIZE[0]
        shown = min(scaled, height)
        reference_path = self.work / f"reference-{width}x{scaled}.bmp"
        if not reference_path.exists():
            run([CONVERT, str(self.picture()), "-resize", f"{width}x{scaled}!", "-type", "TrueColor",
                 f"bmp3:{reference_path}"], check=True)
        reference = bmp.read_bmp(reference_path)
        columns, rows = BLOCK_GRID
        differences = [sum(abs(a - b) for a, b in zip(seen, wanted)) / 3
                       for seen, wanted in zip(bmp.block_means(shot, width, shown, columns, rows),
                                               bmp.block_means(reference, width, shown, columns, rows))]
        mean = sum(differences) / len(differences)
        self.expect(mean <= BLOCK_MEAN_LIMIT and max(differences) <= BLOCK_WORST_LIMIT,
                    f"the screen {what} does not look like the splash picture: blocks differ by {mean:.1f} on "
                    f"average and by {max(differences):.1f} at worst")
        if shown < height:
            below = bmp.Bitmap(width, height - shown, shot.rows[shown:])
            self.expect(bmp.lit_extent(below) is None, f"the band below the picture is not black {what}")

    def check_game(self, report, disc, exited_at):
        game = self.scenario.settings_name or DEFAULT_GAME
        expected_path = os.path.join(str(disc), game)
        self.expect(report.get("argc") == "1" and report.get("argv0") == expected_path,
                    f"the game's arguments are {report.get('argv0')!r} (argc {report.get('argc')}), "
                    f"expected only its path {expected_path!r}")
        # Run directly, the launcher was started in the disc's folder; autorun.sh changes there.
        self.expect(report.get("cwd") == str(disc), f"the game ran in {report.get('cwd')!r}, not in {str(disc)!r}")
        # The script's shell keeps its own bookkeeping variables up to date.
        shell_variables = ("PWD=", "OLDPWD=", "SHLVL=", "_=") if self.scenario.mount else ()
        seen = sorted(v for v in report["env"] if not v.startswith(shell_variables))
        given = sorted(f"{key}={value}" for key, value in self.environment.items()
                       if not f"{key}=".startswith(shell_variables))
        self.expect(seen == given, f"the game's environment differs from the launcher's: {sorted(set(seen) ^ set(given))}")
        self.expect(report.get("sid") == report.get("pid"), "the game does not lead a session of its own")
        started = int(report["time_ms"])
        self.check_delay("the launcher's start to the game's", started - self.launched_at, START_TO_GAME)
        self.check_delay("the game's start to the launcher's end", exited_at - started, GAME_TO_EXIT)
        if self.scenario.linger:
            later = Path(str(self.report) + ".later")
            self.expect(wait_for(later.exists, LINGER_MS / 1000 + 5),
                        "the game did not outlive the launcher (no second report)")

    def check_no_zombie(self, report, launcher):
        """A game that ends while the launcher still waits is reaped at once, not left a zombie."""
        stat = Path(f"/proc/{report['pid']}/stat")
        time.sleep(0.2)
        self.expect(launcher.poll() is None, "the launcher ended too early to look for a zombie")
        state = stat.read_text().rsplit(")", 1)[1].split()[0] if stat.exists() else None
        self.expect(state != "Z", "the ended game is a zombie while the launcher runs")

    def stop_probes(self):
        for path in (self.report, Path(str(self.report) + ".later")):
            if path.exists():
                pid = int(read_report(path).get("pid", 0))
                try:
                    os.kill(pid, 15)
                except (ProcessLookupError, PermissionError):
                    pass


def run_scenario(args, scenario):
    """Runs a scenario; once more when the launcher could not reach its fresh X server, which happens
    now and then on a busy machine and says nothing about the launcher."""
    for attempt in (1, 2):
        scenario_run = ScenarioRun(args, scenario)
        try:
            problems = scenario_run.run()
        except Failure as failure:
            problems = [str(failure)]
        log = scenario_run.work / "launcher.log"
        if not (problems and attempt == 1 and log.exists() and "Autorun: no display" in log.read_text(errors="replace")):
            return scenario_run, problems
        print(f"note {scenario.name}: the launcher could not reach its X server; running the scenario once more")
    return scenario_run, problems


# Set in the copy of this script that runs inside a user namespace of its own.
IN_USER_NAMESPACE = "AUTORUN_E2E_IN_USER_NAMESPACE"


def mounting_in_user_namespace(group):
    """Bind mounts need root.  Without it, the group runs again in a new user and mount namespace in
    which this user is root: the mounts are private to it and vanish with it.  Returns the command that
    does so, or None when root already or when the group mounts nothing."""
    if os.geteuid() == 0 or os.environ.get(IN_USER_NAMESPACE):
        return None
    if not any(scenario.mount in ("exec", "noexec") for scenario in GROUPS[group]):
        return None
    probe = run(["unshare", "--user", "--map-root-user", "--mount", "true"])
    if probe.returncode != 0:
        print(f"note: not root, and no user namespace to mount in ({probe.stderr.strip() or 'unshare failed'})")
        return None
    return ["unshare", "--user", "--map-root-user", "--mount", "--", sys.executable, *sys.argv]


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    for option in ("--launcher", "--windows-launcher", "--autorun-sh", "--probe", "--bin2dat", "--picture", "--work"):
        parser.add_argument(option, required=True)
    parser.add_argument("--autorun-disc", help="autorun-disc, for the branded scenario")
    parser.add_argument("--shipped-launcher", help="the autorun.exe that the branded scenario brands")
    parser.add_argument("--group", required=True, choices=sorted(GROUPS))
    parser.add_argument("--scenario")
    args = parser.parse_args()
    in_namespace = mounting_in_user_namespace(args.group)
    if in_namespace:
        sys.stdout.flush()
        return subprocess.run(in_namespace, env={**os.environ, IN_USER_NAMESPACE: "1"}).returncode
    Path(args.work).mkdir(parents=True, exist_ok=True)
    failed = skipped = 0
    for scenario in GROUPS[args.group]:
        if args.scenario and scenario.name != args.scenario:
            continue
        try:
            scenario_run, problems = run_scenario(args, scenario)
        except Skip as reason:
            print(f"SKIP {scenario.name}: {reason}")
            skipped += 1
            continue
        for problem in problems:
            print(f"FAIL {scenario.name}: {problem}")
        if problems:
            failed += 1
        else:
            print(f"ok   {scenario.name} ({'; '.join(scenario_run.timings)})")
    if failed:
        return 1
    return 77 if skipped else 0


if __name__ == "__main__":
    sys.exit(main())
