#!/usr/bin/env python3
"""End-to-end tests of the launcher under Wine, in virtual desktops on private Xvfb servers.

For each scenario a disc folder is laid out under the work directory (the launcher, copies of the fake
game under the names the scenario needs, a bin2.dat or none).  The driver, a Windows program run as
the program of a new virtual desktop, starts the launcher and records its message boxes, the splash
and its exit; the fake game records what it finds when the launcher starts it; a hook library records
the launcher's window from inside its process.  This script checks those reports and screen captures.
Each group has its own X servers and its own copy of the suite's Wine prefix, so groups may run side
by side.

  run_e2e.py OPTIONS --make-prefix   create a fresh Wine prefix for this run of the suite
  run_e2e.py OPTIONS --group NAME    run one group of scenarios (--scenario NAME: only that one)
  run_e2e.py OPTIONS --stop-wine     stop the prefix's wineserver

The group "elevation" has the hook library make CreateProcessW fail inside the launcher as Windows does
for a program that needs elevation (ERROR_ELEVATION_REQUIRED), which Wine never does: the launcher must
then start the game through ShellExecuteExW.  Every other scenario checks that it never even looks
that function up.

The group "disc" runs launchers made by autorun-disc (--disc-tool) with artwork of its own: a branded
launcher, the same signed with a throwaway key, and a disc image made from a game folder, extracted into
a read-only folder and started from there with the disc's root as the current directory, as AutoPlay does.
"""

import argparse
import os
import select
import shutil
import signal
import subprocess
import sys
import time
import uuid
from dataclasses import dataclass
from pathlib import Path

# The test reads its helper module straight from the source tree and leaves no cache files there.
sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent))
import bmp  # noqa: E402

PICTURE_SIZE = (800, 600)
WINDOW_SIZE = 200
LAUNCHER_NAME = "autorun.exe"
DEFAULT_GAME = "lmq.bin"

WS_POPUP = 0x80000000
WS_CAPTION = 0x00C00000
WS_THICKFRAME = 0x00040000
WS_SYSMENU = 0x00080000
WS_EX_TOPMOST = 0x00000008

# Accepted delays in milliseconds: this machine is small and shared, so the bounds are loose, but a
# missing or doubled wait still falls outside them.
SPLASH_TO_GAME = (800, 2500)
GAME_TO_EXIT = (800, 2500)
SPLASH_TO_EXIT = (1800, 4500)
# Without a splash, from the launcher's start; a 32-bit program's start alone can take seconds when
# it is emulated.
LONG_PATH_EXIT_MS = 30000

# The screen against the scaled splash picture: mean colour differences of a grid of blocks, which
# different stretching filters hardly move.
BLOCK_GRID = (16, 12)
BLOCK_MEAN_LIMIT = 6.0
BLOCK_WORST_LIMIT = 24.0
MIN_PICTURE_COLOURS = 4
CONVERT = "/usr/bin/convert"

# A system DLL that the window manager loads by name when a process makes its first window.  Windows
# prefers a DLL of that name in the program's own folder to the system's; Wine prefers its own builtin
# DLLs unless told otherwise.  The override makes Wine search as Windows does for this one name.
PLANTED_SYSTEM_DLL = "uxtheme.dll"
PLANTED_DLL_OVERRIDE = "uxtheme=n,b"
GAME_DLL = "e2e_game_library.dll"

LAUNCHER_TIMEOUT_MS = 60000
SCENARIO_TIMEOUT_S = 120
XVFB_24 = "1920x1200x24"
XVFB_8 = "1024x768x8"


@dataclass(frozen=True)
class Scenario:
    name: str
    screen: tuple = (1024, 768)
    depth: int = 24
    settings_name: str = "game.exe"  # the name written into bin2.dat; None: no bin2.dat at all
    settings_beside_launcher: bool = False  # bin2.dat in the launcher's folder instead of the current directory
    cwd_elsewhere: bool = False  # the launcher's current directory is not its own folder
    games: tuple = ("game.exe",)  # copies of the fake game, relative to the launcher's folder
    folder: str = "disc"  # the launcher's folder, relative to the scenario's directory
    long_path: bool = False  # bury the launcher's folder so that its path exceeds 260 characters
    game_window: bool = False  # the game opens a window of its own while the launcher still shows
    # Our DLL, planted under this name beside the launcher and its game, or in the current directory
    # with planted_in_cwd.  The launcher must not load it; the game, which loads it by name, must find
    # it, as it does when nothing started it.
    planted_dll: str = None
    planted_in_cwd: bool = False
    # "branded": a launcher branded with the disc artwork; "signed": branded, then signed (Authenticode);
    # "iso": a whole disc made by autorun-disc
    disc: str = None
    # "required": CreateProcessW fails with ERROR_ELEVATION_REQUIRED; "declined": the same, and the
    # user declines the consent prompt (ShellExecuteExW fails with ERROR_CANCELLED)
    elevation: str = None
    # The hook library refuses the creation of the launcher's window: an error box, exit code 1, no game.
    window_refused: bool = False

    @property
    def settings_found(self):
        return self.settings_name is not None and not (self.settings_beside_launcher and self.cwd_elsewhere)

    @property
    def started_name(self):
        return self.settings_name if self.settings_found else DEFAULT_GAME

    @property
    def game_expected(self):
        return self.started_name in self.games and self.elevation != "declined" and not self.window_refused

    @property
    def boxes_expected(self):
        """The settings file's box, or the refused window's."""
        return 0 if (self.settings_found and not self.window_refused) or self.long_path else 1


GROUPS = {
    "screens": [
        Scenario("screen_1024x768_game_opens_window", game_window=True),
        Scenario("screen_1280x1024", screen=(1280, 1024)),
        Scenario("screen_1366x768", screen=(1366, 768)),
        Scenario("screen_1920x1080", screen=(1920, 1080)),
    ],
    "settings": [
        Scenario("settings_missing", settings_name=None, games=(DEFAULT_GAME,)),
        Scenario("settings_only_beside_launcher", settings_beside_launcher=True, cwd_elsewhere=True,
                 games=("game.exe", DEFAULT_GAME)),
        Scenario("no_game_at_joined_path", games=()),
        Scenario("name_with_subfolder", settings_name="bin\\game.exe", games=("bin\\game.exe",)),
        Scenario("nine_byte_name", settings_name="game9.exe", games=("game9.exe",)),
        Scenario("window_refused", window_refused=True),
    ],
    "paths": [
        Scenario("folder_with_spaces_and_unicode", folder="Disc Ünïcode 目录", cwd_elsewhere=True),
        Scenario("launcher_path_over_260", long_path=True, cwd_elsewhere=True),
        Scenario("screen_8bit", depth=8),
    ],
    "dlls": [
        Scenario("system_dll_planted_beside_launcher", planted_dll=PLANTED_SYSTEM_DLL),
        Scenario("game_finds_dll_in_current_directory", settings_name="bin\\game.exe", games=("bin\\game.exe",),
                 planted_dll=GAME_DLL, planted_in_cwd=True),
    ],
    "elevation": [
        # In a current directory of its own, which the game must get, not the launcher's folder.
        Scenario("elevation_required_started_through_shell", elevation="required", cwd_elsewhere=True),
        Scenario("elevation_required_game_missing", elevation="required", games=()),
        Scenario("elevation_declined", elevation="declined"),
    ],
    "disc": [
        Scenario("branded_launcher", disc="branded"),
        Scenario("branded_signed_launcher", disc="signed"),
        Scenario("iso_extracted_read_only", disc="iso", screen=(1280, 720)),
    ],
}

DISC_LABEL = "E2E Disc"

ELEVATION_REQUIRED = 740
ERROR_CANCELLED = 1223
SEE_MASK_NOASYNC = 0x100
SEE_MASK_FLAG_NO_UI = 0x400


def picture_on_screen(screen):
    """The splash's width and height scaled to the screen's width, and how many of its rows show."""
    width, height = screen
    scaled = width * PICTURE_SIZE[1] // PICTURE_SIZE[0]
    return width, scaled, min(height, scaled)


class Failure(Exception):
    pass


def windows_path(path):
    """The path under Wine's drive Z:, which maps the Unix root."""
    return "Z:" + str(path).replace("/", "\\")


def same_path(a, b):
    return a.rstrip("\\").casefold() == b.rstrip("\\").casefold()


def load_report(path):
    values = {}
    for line in path.read_text(encoding="utf-8").splitlines():
        key, _, value = line.partition("=")
        out, i = [], 0
        while i < len(value):
            if value[i] == "\\" and i + 1 < len(value):
                i += 1
                out.append({"n": "\n", "r": "\r"}.get(value[i], value[i]))
            else:
                out.append(value[i])
            i += 1
        values[key] = "".join(out)
    return values


def save_config(path, values):
    def escape(text):
        return str(text).replace("\\", "\\\\").replace("\n", "\\n").replace("\r", "\\r")
    path.write_text("".join(f"{key}={escape(value)}\n" for key, value in values.items()), encoding="utf-8")


def number(report, key, default=None):
    try:
        return float(report[key])
    except (KeyError, ValueError):
        return default


def rect(text):
    return tuple(int(part) for part in text.split(","))


def first_argument(command_line):
    """Splits off the program name as Windows does: up to the closing quote, or the first blank."""
    if command_line.startswith('"'):
        end = command_line.find('"', 1)
        if end < 0:
            return command_line[1:], ""
        return command_line[1:end], command_line[end + 1:]
    head, _, rest = command_line.partition(" ")
    return head, rest


class Wine:
    """The Wine environment of one prefix, taken from the project's wine-env.sh."""

    def __init__(self, environment, prefix):
        self.script = environment  # scripts/wine-env.sh
        self.prefix = prefix
        self.env = self._environment()

    def _shell(self, command, timeout):
        # Wine's own diagnoses of a broken setup (no display driver, a crash) go to the scenario's log.
        env = dict(os.environ)
        env.setdefault("WINEDEBUG", "-all,err+winediag,err+x11drv,err+seh")
        return subprocess.run(["bash", "-c", f'. "$0" "$1" && {command}', self.script, str(self.prefix)], env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, timeout=timeout, check=True)

    def _environment(self):
        env = {key: value for key, value in os.environ.items() if not key.startswith(("E2E_", "WINE"))}
        for entry in self._shell("env -0", 30).stdout.split(b"\0"):
            key, _, value = entry.decode().partition("=")
            if key.startswith("WINE"):
                env[key] = value
        env["LC_ALL"] = "C.UTF-8"
        return env

    def ensure_prefix(self):
        self._shell("wine_ensure_prefix", 300)

    def start_server(self):
        self._shell("wine_start_server", 60)

    def stop_server(self):
        if not (self.prefix / "system.reg").exists():
            return
        for option in ("-k", "-w"):
            subprocess.run([self.env["WINESERVER"], option], env=self.env, stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)

    def remove_prefix(self):
        self.stop_server()
        shutil.rmtree(self.prefix, ignore_errors=True)

    def paint_desktop_black(self):
        """Nothing but the launcher's drawing may light the screen, so that the lit area shows where it drew."""
        subprocess.run([self.env["WINELOADER"], "reg", "add", "HKCU\\Control Panel\\Colors", "/v", "Background",
                        "/t", "REG_SZ", "/d", "0 0 0", "/f"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120, check=True)

    def clone_from(self, template):
        """A prefix of its own, with a wineserver of its own, made from the suite's prefix in a moment:
        files are linked, not copied, except the registry, which Wine rewrites in place when a file
        has other links."""
        self.remove_prefix()
        subprocess.run(["cp", "-al", str(template), str(self.prefix)], check=True, timeout=120,
                       stdin=subprocess.DEVNULL)
        for registry in self.prefix.glob("*.reg"):
            copy = registry.with_suffix(".copy")
            shutil.copyfile(registry, copy)
            copy.replace(registry)


class Xvfb:
    """A private X server on a display number it picks itself."""

    def __init__(self, screen, log_path, options=()):
        self.screen = screen
        self.log_path = log_path
        self.options = tuple(options)
        for _ in range(3):
            self.display = self._start()
            if self.display and self.alive():
                return
            self.stop()
        raise Failure(f"Xvfb ({screen}) did not start; see {log_path}")

    def _start(self):
        read_end, write_end = os.pipe()
        with open(self.log_path, "a") as log:
            self.process = subprocess.Popen(
                ["Xvfb", "-displayfd", str(write_end), "-screen", "0", self.screen, "-nolisten", "tcp",
                 *self.options],
                pass_fds=(write_end,), stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True)
        os.close(write_end)
        # The number and its newline come in two writes, and the server dies if the second one finds
        # the pipe closed: read up to the newline.
        text = b""
        deadline = time.monotonic() + 20
        try:
            while b"\n" not in text and time.monotonic() < deadline:
                ready, _, _ = select.select([read_end], [], [], max(0.0, deadline - time.monotonic()))
                chunk = os.read(read_end, 64) if ready else b""
                if not chunk:
                    break
                text += chunk
        finally:
            os.close(read_end)
        number = text.decode(errors="replace").strip()
        return f":{number}" if b"\n" in text and number.isdigit() else None

    def alive(self):
        return self.process.poll() is None and Path(f"/tmp/.X11-unix/X{self.display[1:]}").exists()

    def stop(self):
        if self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait(10)


def tagged_processes(tag, mentioning):
    """Processes whose environment carries this scenario's tag and whose command line mentions one of
    the given texts: the driver, the launcher and the game of this scenario.  Wine's own processes
    carry the tag too when this scenario started them, but the whole session shares them."""
    found = []
    marker = f"E2E_RUN_TAG={tag}".encode()
    for entry in Path("/proc").iterdir():
        if not entry.name.isdigit():
            continue
        try:
            if marker not in (entry / "environ").read_bytes().split(b"\0"):
                continue
            command = (entry / "cmdline").read_bytes().replace(b"\0", b" ").decode(errors="replace").strip()
        except OSError:
            continue
        if any(text.casefold() in command.casefold() for text in mentioning):
            found.append((int(entry.name), command))
    return found


def end_leftovers(tag, mentioning):
    """Gives this scenario's programs a moment to end by themselves, then ends them."""
    deadline = time.monotonic() + 5
    while tagged_processes(tag, mentioning) and time.monotonic() < deadline:
        time.sleep(0.1)
    notes = []
    for pid, command in tagged_processes(tag, mentioning):
        notes.append(f"still running after the driver had finished, so ended: {command}")
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    return notes


class Suite:
    def __init__(self, args, wine):
        self.args = args
        self.wine = wine
        self.work = args.work / args.group
        self.work.mkdir(parents=True, exist_ok=True)
        self.servers = {}
        self.references = References(self.work)
        self.artwork = None
        self.signing_key = None

    def display(self, depth):
        server = self.servers.get(depth)
        if server is None or not server.alive():
            if server:
                server.stop()
            server = self.servers[depth] = Xvfb(XVFB_8 if depth == 8 else XVFB_24, self.work / f"xvfb-{depth}.log")
        return server.display

    def close(self):
        for server in self.servers.values():
            server.stop()

    def game_program(self, scenario):
        """The fake game: a quick starter in general; for a planted DLL one of the launcher's own
        architecture, since only such a DLL tells whether the launcher would have loaded it."""
        return self.args.launcher_arch_probe if scenario.planted_dll else self.args.probe

    def disc_artwork(self):
        """A splash picture and an icon of our own, unlike the launcher's: a picture left unreplaced fails
        the comparison with the screen."""
        if self.artwork is None:
            folder = self.work / "artwork"
            folder.mkdir(exist_ok=True)
            picture, icon = folder / "disc-splash.jpg", folder / "disc-icon.ico"
            width, height = PICTURE_SIZE
            subprocess.run([CONVERT, "-size", f"{width}x{height}", "gradient:darkgreen-gold", "-fill", "navy",
                            "-draw", "rectangle 80,80 360,520", "-fill", "white", "-draw", "circle 600,300 600,420",
                            "-quality", "92", str(picture)], check=True, timeout=60, stdin=subprocess.DEVNULL)
            subprocess.run([CONVERT, str(picture), "-define", "icon:auto-resize=256,48,32,16", str(icon)],
                           check=True, timeout=60, stdin=subprocess.DEVNULL)
            self.artwork = (picture, icon)
        return self.artwork

    def signing_options(self):
        """--sign with a throwaway self-signed key made here: no key is committed."""
        if self.signing_key is None:
            folder = self.work / "signing-key"
            folder.mkdir(exist_ok=True)
            subprocess.run(["openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "key.pem", "-out",
                            "cert.pem", "-days", "2", "-subj", "/CN=E2E Games"], cwd=folder, check=True, timeout=60,
                           stdin=subprocess.DEVNULL, capture_output=True)
            subprocess.run(["openssl", "pkcs12", "-export", "-inkey", "key.pem", "-in", "cert.pem", "-out", "key.pfx",
                            "-passout", "pass:e2e"], cwd=folder, check=True, timeout=60, stdin=subprocess.DEVNULL)
            (folder / "password").write_text("e2e\n")
            self.signing_key = ["--sign", folder / "key.pfx", "--sign-password-file", folder / "password"]
        return self.signing_key

    def disc_tool(self, *arguments):
        result = subprocess.run([str(self.args.disc_tool), *map(str, arguments)], stdin=subprocess.DEVNULL,
                                stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
        if result.returncode != 0:
            raise Failure(f"autorun-disc {arguments[0]} failed: {result.stdout.decode(errors='replace')}")

    def layout_iso(self, root):
        """A disc image made from a game folder, extracted as a drive would show it: read-only."""
        picture, icon = self.disc_artwork()
        game = root / "game"
        game.mkdir()
        shutil.copyfile(self.args.probe, game / "game.exe")
        image = root / "disc.iso"
        self.disc_tool("make", "--game", game, "--exe", "game.exe", "--splash", picture, "--icon", icon,
                       "--label", DISC_LABEL, "--launcher", self.args.launcher, "--iso", image)
        folder = root / "drive"
        subprocess.run(["xorriso", "-osirrox", "on", "-indev", str(image), "-extract", "/", str(folder)], check=True,
                       timeout=120, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run(["chmod", "-R", "a-w", str(folder)], check=True, timeout=60)
        return folder, folder

    def layout(self, scenario, root):
        """Lays out the disc folder; returns the launcher's folder and its current directory."""
        if scenario.disc == "iso":
            return self.layout_iso(root)
        folder = root / scenario.folder
        if scenario.long_path:
            folder = root.joinpath("long", *["folder_with_a_long_name_" + "x" * 36] * 4)
        folder.mkdir(parents=True)
        cwd = root / "elsewhere" if scenario.cwd_elsewhere else folder
        cwd.mkdir(exist_ok=True)
        if scenario.disc in ("branded", "signed"):
            picture, icon = self.disc_artwork()
            signing = self.signing_options() if scenario.disc == "signed" else []
            self.disc_tool("brand", "--launcher", self.args.launcher, "--splash", picture, "--icon", icon,
                           "--product", "E2E Game", *signing, "--out", folder / LAUNCHER_NAME)
        else:
            shutil.copyfile(self.args.launcher, folder / LAUNCHER_NAME)
        for game in scenario.games:
            target = folder.joinpath(*game.split("\\"))
            target.parent.mkdir(parents=True, exist_ok=True)
            shutil.copyfile(self.game_program(scenario), target)
        if scenario.settings_name is not None:
            settings = (folder if scenario.settings_beside_launcher else cwd) / "bin2.dat"
            subprocess.run([str(self.args.bin2dat), "write", "--exe", scenario.settings_name, "--fill", "random",
                            str(settings)], check=True, timeout=30, stdin=subprocess.DEVNULL)
        if scenario.planted_dll:
            shutil.copyfile(self.args.planted_dll, (cwd if scenario.planted_in_cwd else folder) / scenario.planted_dll)
        if scenario.long_path and len(windows_path(folder / LAUNCHER_NAME)) <= 260:
            raise Failure("the long launcher path is not longer than 260 characters")
        return folder, cwd

    def run(self, scenario):
        root = self.work / scenario.name
        make_writable(root)
        shutil.rmtree(root, ignore_errors=True)
        root.mkdir(parents=True)
        folder, cwd = self.layout(scenario, root)
        reports = root / "reports"
        reports.mkdir()
        tag = uuid.uuid4().hex
        save_config(root / "config.txt", {
            "launcher": windows_path(folder / LAUNCHER_NAME),
            "cwd": windows_path(cwd),
            "report": windows_path(reports / "driver.txt"),
            "capture": windows_path(reports / "splash.bmp"),
            "first_capture": windows_path(reports / "splash-first.bmp"),
            "picture_rows": picture_on_screen(scenario.screen)[2],
            "probe_dir": windows_path(reports),
            "token": tag,
            "probe_window": int(scenario.game_window),
            "screen_width": scenario.screen[0],
            "screen_height": scenario.screen[1],
            "launcher_timeout_ms": LAUNCHER_TIMEOUT_MS,
            "boxes_expected": scenario.boxes_expected,
            "hook_dll": windows_path(self.args.hook),
        })
        env = dict(self.wine.env, DISPLAY=self.display(scenario.depth), E2E_RUN_TAG=tag)
        if scenario.planted_dll:
            env["E2E_PROBE_LOAD_DLL"] = scenario.planted_dll
        if scenario.elevation:
            env["E2E_INJECT_ELEVATION"] = scenario.elevation
        if scenario.window_refused:
            env["E2E_REFUSE_WINDOW"] = "1"
        if scenario.planted_dll == PLANTED_SYSTEM_DLL:
            env["WINEDLLOVERRIDES"] = ";".join(filter(None, (env.get("WINEDLLOVERRIDES"), PLANTED_DLL_OVERRIDE)))
        width, height = scenario.screen
        command = [env["WINELOADER"], "explorer", f"/desktop=e2e_{tag[:12]},{width}x{height}",
                   windows_path(self.args.driver), windows_path(root / "config.txt")]
        notes = []
        with open(root / "wine.log", "wb") as log:
            explorer = subprocess.Popen(command, env=env, cwd=root, stdin=subprocess.DEVNULL, stdout=log,
                                        stderr=log)
            try:
                explorer.wait(SCENARIO_TIMEOUT_S)
            except subprocess.TimeoutExpired:
                notes.append(f"the virtual desktop did not close within {SCENARIO_TIMEOUT_S} s")
                explorer.kill()
                explorer.wait(10)
        notes += end_leftovers(tag, (str(root), windows_path(root), windows_path(self.args.driver)))
        before = folder_listing(folder) if scenario.disc == "iso" else None
        picture = self.disc_artwork()[0] if scenario.disc else self.args.picture
        check = Check(scenario, folder, cwd, reports, notes, self.references, picture).run()
        if before is not None:
            check.expect(folder_listing(folder) == before, "the disc folder changed while the launcher ran")
        return check


class References:
    """A splash picture scaled as the launcher must show it, made with ImageMagick once per picture and size."""

    def __init__(self, folder):
        self.folder = folder

    def scaled(self, picture, width, height):
        path = self.folder / f"reference-{Path(picture).stem}-{width}x{height}.bmp"
        if not path.exists():
            partial = path.with_suffix(".part.bmp")
            subprocess.run([CONVERT, str(picture), "-resize", f"{width}x{height}!", "-type", "TrueColor",
                            f"bmp3:{partial}"], check=True, timeout=60, stdin=subprocess.DEVNULL)
            partial.replace(path)
        return bmp.read_bmp(path)


class Check:
    """Compares one scenario's reports and captures with what the launcher must do."""

    def __init__(self, scenario, folder, cwd, reports, notes, references, picture):
        self.references = references
        self.picture = picture
        self.scenario = scenario
        self.folder = folder
        self.cwd = cwd
        self.reports = reports
        self.failures = list(notes)
        self.timings = []

    def fail(self, message):
        self.failures.append(message)

    def expect(self, condition, message):
        if not condition:
            self.fail(message)
        return condition

    def run(self):
        driver_report = self.reports / "driver.txt"
        if not driver_report.exists():
            self.fail("the driver wrote no report (see wine.log)")
            return self
        driver = load_report(driver_report)
        if "launch_error" in driver:
            self.fail(f"the driver could not start the launcher (Windows error {driver['launch_error']})")
            return self
        if "unexpected_box" in driver:
            box = f"box{driver['unexpected_box']}"
            self.fail(f"an unexpected message box stopped the launcher and the scenario: "
                      f"{driver.get(box + '_caption')!r} saying {driver.get(box + '_text')!r} "
                      f"with buttons {driver.get(box + '_buttons')!r}")
            return self
        self.check_screen(driver)
        self.check_exit(driver)
        self.check_boxes(driver)
        if self.scenario.window_refused:
            self.check_window_refused(driver)
            return self
        if self.scenario.long_path:
            self.note_long_path(driver)
            return self
        self.check_window_shown()
        self.check_start_path()
        self.check_splash(driver)
        self.check_game(driver)
        self.check_planted_dll()
        return self

    def check_screen(self, driver):
        width, height = self.scenario.screen
        self.expect(driver.get("screen_width") == str(width) and driver.get("screen_height") == str(height),
                    f"the virtual desktop is {driver.get('screen_width')} x {driver.get('screen_height')}, "
                    f"expected {width} x {height}")
        if self.scenario.depth == 8:
            self.expect(driver.get("screen_bits") == "8",
                        f"the display has {driver.get('screen_bits')} bits per pixel, expected 8")

    def check_exit(self, driver):
        if driver.get("launcher_exit") != "exited":
            self.fail(f"the launcher did not exit within {LAUNCHER_TIMEOUT_MS} ms and was ended")
            return
        expected = "1" if self.scenario.window_refused else "0"
        self.expect(driver.get("exit_code") == expected,
                    f"the launcher's exit code is {driver.get('exit_code')}, expected {expected}")
        self.timings.append(f"launch to exit {number(driver, 'exit_ms') - number(driver, 'launch_ms'):.0f} ms")

    def check_boxes(self, driver):
        count = int(driver.get("box_count", "0"))
        if self.scenario.boxes_expected == 0:
            self.expect(count == 0, f"{count} message box(es) appeared, expected none; the first said "
                                    f"{driver.get('box1_text')!r}")
            return
        if not self.expect(count == 1, f"{count} message box(es) appeared, expected exactly one"):
            if count == 0:
                return
        shown = {"caption": driver.get("box1_caption"), "text": driver.get("box1_text"),
                 "icon": driver.get("box1_icon"), "buttons": driver.get("box1_buttons")}
        wanted = {"caption": "Autorun", "text": "Cannot open file bin2.dat.", "icon": "hand", "buttons": "OK"}
        if self.scenario.window_refused:
            # The system's reason, when it gives one, follows on the same line.
            text = shown["text"] or ""
            self.expect(text.startswith("Cannot create the window") and text.endswith(".") and "\n" not in text,
                        f"message box text is {text!r}, expected one line saying the window could not be created")
            wanted.pop("text")
        for key, value in wanted.items():
            self.expect(shown[key] == value, f"message box {key} is {shown[key]!r}, expected {value!r}")
        self.expect(driver.get("box1_closed") == "1", "the message box did not close when OK was pressed")
        splash = number(driver, "splash_ms")
        if splash is not None:
            self.expect(splash >= number(driver, "box1_closed_ms", 0) - 50,
                        "the splash appeared while the message box was still open")

    def check_window_refused(self, driver):
        """Without its window the launcher shows nothing and starts no game."""
        hooks = sorted(self.reports.glob("hook-*.txt"))
        self.expect(len(hooks) == 1 and load_report(hooks[0]).get("window_refused") == "1",
                    "the hook did not refuse the launcher's window")
        self.expect("splash_ms" not in driver, "a splash appeared though the launcher has no window")
        self.check_game(driver)

    def check_planted_dll(self):
        """Which processes loaded the DLL we planted: never the launcher; the game when it looks for it."""
        if not self.scenario.planted_dll:
            return
        loaded_by = [load_report(path).get("process", "") for path in self.reports.glob("planted-*.txt")]
        launcher = windows_path(self.folder) + "\\" + LAUNCHER_NAME
        self.expect(not any(same_path(process, launcher) for process in loaded_by),
                    "the launcher loaded the DLL planted "
                    + ("in its current directory" if self.scenario.planted_in_cwd else "beside it"))
        game = windows_path(self.folder) + "\\" + self.scenario.started_name
        self.expect(any(same_path(process, game) for process in loaded_by),
                    "the game did not load the planted DLL, which it finds without the launcher: either the "
                    "launcher changed the game's DLL search or the test plants it where nothing looks")

    def check_start_path(self):
        """How the launcher started the game, seen from inside it: CreateProcessW once, and the shell only
        when Windows asked for elevation, with shell32 loaded for that call alone."""
        hooks = sorted(self.reports.glob("hook-*.txt"))
        if len(hooks) != 1:
            return  # check_window_shown has said so
        hook = load_report(hooks[0])
        if not self.expect(hook.get("start_watch_installed") == "1",
                           "the hook could not watch the launcher's CreateProcessW and GetProcAddress imports"):
            return
        self.expect(hook.get("create_process_calls") == "1",
                    f"the launcher called CreateProcessW {hook.get('create_process_calls')} times, expected once")
        self.expect(hook.get("shell32_loaded_at_close") == "0",
                    "shell32.dll was loaded in the launcher when its window closed"
                    if "shell32_loaded_at_close" in hook else "the hook did not see the launcher's window close")
        if not self.scenario.elevation:
            self.expect(hook.get("shell_execute_lookups") == "0",
                        "the launcher looked up ShellExecuteExW though CreateProcessW did not ask for elevation")
            return
        if not self.expect(hook.get("shell_execute_calls") == "1",
                           f"after ERROR_ELEVATION_REQUIRED the launcher called ShellExecuteExW "
                           f"{hook.get('shell_execute_calls')} times, expected once"):
            return
        expected = windows_path(self.folder) + "\\" + self.scenario.started_name
        wanted = {
            "file": (same_path(hook.get("shell_execute_file", ""), expected), expected),
            "directory": (same_path(hook.get("shell_execute_directory", ""), windows_path(self.cwd)),
                          windows_path(self.cwd)),
            "verb": (hook.get("shell_execute_verb") == "", "none"),
            "parameters": (hook.get("shell_execute_parameters") == "", "none"),
            "mask": (hook.get("shell_execute_mask") == str(SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI),
                     "SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI"),
            # The foreground window owns the consent prompt, which then comes to the front.
            "owner_class": (hook.get("shell_execute_owner_class") == "TForm1", "the launcher's window TForm1"),
        }
        for key, (good, value) in wanted.items():
            self.expect(good, f"ShellExecuteExW's {key} is {hook.get('shell_execute_' + key)!r}, expected {value}")
        succeeded = self.scenario.game_expected
        self.expect(hook.get("shell_execute_result") == str(int(succeeded)),
                    f"ShellExecuteExW {'failed' if succeeded else 'succeeded'} (error "
                    f"{hook.get('shell_execute_error')})")
        if self.scenario.elevation == "declined":
            self.expect(hook.get("shell_execute_error") == str(ERROR_CANCELLED),
                        f"the declined prompt gave error {hook.get('shell_execute_error')}, expected "
                        f"{ERROR_CANCELLED}")

    def check_window_shown(self):
        """The window as it is activated and just before it is maximized, seen from inside the launcher."""
        hooks = sorted(self.reports.glob("hook-*.txt"))
        if not self.expect(len(hooks) == 1, f"{len(hooks)} hook reports from inside the launcher, expected 1"):
            return
        hook = load_report(hooks[0])
        width, height = self.scenario.screen
        left, top = (width - WINDOW_SIZE) // 2, (height - WINDOW_SIZE) // 2
        centred = (left, top, left + WINDOW_SIZE, top + WINDOW_SIZE)
        for moment in ("activate", "maximize"):
            if not self.expect(hook.get(f"{moment}_window_found") == "1",
                               f"the launcher's window was never {moment}d"):
                continue
            shown = rect(hook[f"{moment}_window_rect"])
            self.expect(shown == centred, f"window rectangle when {moment}d is {shown}, expected 200 x 200 "
                                          f"centred: {centred}")
            self.check_styles(hook, f"{moment}_window", f"when {moment}d")
        if hook.get("maximize_window_found") == "1":
            normal = rect(hook["maximize_window_normal_rect"])
            self.expect(normal == centred, f"normal placement is {normal}, expected {centred}")

    def check_styles(self, report, prefix, when):
        style = int(report[f"{prefix}_style"])
        exstyle = int(report[f"{prefix}_exstyle"])
        self.expect(style & WS_POPUP, f"the window is not a pop-up {when} (style {style:#010x})")
        for flag, name in ((WS_CAPTION, "a caption"), (WS_THICKFRAME, "a sizing frame"),
                           (WS_SYSMENU, "a system menu")):
            self.expect(not style & flag, f"the window has {name} {when} (style {style:#010x})")
        self.expect(exstyle & WS_EX_TOPMOST, f"the window is not topmost {when} (ex-style {exstyle:#010x})")

    def expected_picture(self):
        """The picture's size on the screen, and how much of it the screen shows."""
        return picture_on_screen(self.scenario.screen)

    def extent_problem(self, bitmap, what):
        """Why the lit part of the screen is not the picture at the top, across the full width, black
        below it; None when it is."""
        width, scaled, shown = self.expected_picture()
        extent = bmp.lit_extent(bitmap)
        if extent is None:
            return f"the screen is black {what}"
        wanted = bmp.Extent(0, 0, width - 1, shown - 1, shown)
        if not (extent.left == 0 and extent.top == 0 and extent.right == width - 1
                and abs(extent.bottom - (shown - 1)) <= 1):
            return f"the picture {what} covers {extent}, expected {wanted}"
        if extent.lit_rows < 0.98 * (extent.bottom + 1):
            return f"only {extent.lit_rows} of the picture's {extent.bottom + 1} rows are lit {what}"
        return None

    def check_capture(self, path, what):
        """The screen shows the picture at the top, across the full width, black below it."""
        if not self.expect(path.exists(), f"no screen capture {what}"):
            return
        bitmap = bmp.read_bmp(path)
        problem = self.extent_problem(bitmap, what)
        if problem:
            self.fail(f"{problem} ({path.name})")
        elif self.scenario.depth == 8:
            # Wine's virtual desktop maps an 8-bit display's colours to its default palette whatever
            # palette a program realizes, so only the picture's presence and size can be checked.
            colours = bmp.distinct_colours(bitmap)
            self.expect(colours >= MIN_PICTURE_COLOURS, f"the picture {what} is a flat fill of {colours} "
                                                        f"colour(s) ({path.name})")
        else:
            self.compare_with_picture(bitmap, path, what)

    def compare_with_picture(self, bitmap, path, what):
        """Block by block, the screen looks like the splash picture scaled to the screen's width: a
        picture drawn upside down, sheared by a wrong row length or squeezed differs by far more."""
        width, scaled, shown = self.expected_picture()
        reference = self.references.scaled(self.picture, width, scaled)
        columns, rows = BLOCK_GRID
        differences = [sum(abs(a - b) for a, b in zip(seen, wanted)) / 3
                       for seen, wanted in zip(bmp.block_means(bitmap, width, shown, columns, rows),
                                               bmp.block_means(reference, width, shown, columns, rows))]
        worst = max(range(len(differences)), key=differences.__getitem__)
        mean = sum(differences) / len(differences)
        self.expect(mean <= BLOCK_MEAN_LIMIT and differences[worst] <= BLOCK_WORST_LIMIT,
                    f"the screen {what} does not look like the splash picture: blocks differ by {mean:.1f} "
                    f"on average and by {differences[worst]:.1f} at block {worst % columns},{worst // columns} "
                    f"of {columns} x {rows} (limits {BLOCK_MEAN_LIMIT}, {BLOCK_WORST_LIMIT}; {path.name})")

    def check_splash(self, driver):
        if not self.expect(driver.get("splash_seen") == "1",
                           "the splash never appeared (largest lit share of the screen while the window was "
                           f"maximized: {driver.get('last_lit_share', 'never maximized')})"):
            return
        # The first capture that showed the splash may have caught the picture still on its way to the X
        # screen, which is X's doing, not the launcher's: the driver captured again, for a while, until
        # the picture's rows were lit, and this is the last capture.
        self.check_capture(self.reports / "splash.bmp", "once the splash appeared" +
                           ("" if driver.get("splash_complete", "1") == "1" else
                            f" (still so {number(driver, 'splash_complete_ms'):.0f} ms later)"))
        self.note_first_capture(driver)
        self.timings.append(f"launch to splash {number(driver, 'splash_ms') - number(driver, 'launch_ms'):.0f} ms")
        if not self.scenario.game_expected and "exit_ms" in driver:
            self.check_delay("splash to exit", number(driver, "exit_ms") - number(driver, "splash_ms"),
                             SPLASH_TO_EXIT)

    def note_first_capture(self, driver):
        """Says when the first capture of the splash was incomplete, and how long the rest took."""
        first = self.reports / "splash-first.bmp"
        if first.exists():
            problem = self.extent_problem(bmp.read_bmp(first), "at first") or "the first capture was incomplete"
            self.timings.append(f"{problem}; captured {driver.get('splash_captures')} times in "
                                f"{number(driver, 'splash_complete_ms'):.0f} ms")

    def check_delay(self, what, value, bounds):
        self.timings.append(f"{what} {value:.0f} ms")
        self.expect(bounds[0] <= value <= bounds[1], f"{what} took {value:.0f} ms, expected {bounds[0]} to "
                                                     f"{bounds[1]} ms")

    def check_game(self, driver):
        probes = sorted(self.reports.glob("probe-*.txt"))
        stray = sorted(self.folder.rglob("probe-*.txt"))
        if stray:
            self.fail("the game did not inherit the launcher's environment (it wrote its report beside itself)")
        if not self.scenario.game_expected:
            self.expect(not probes and not stray, "a game was started, but there is none at the joined path")
            return
        if not self.expect(len(probes) == 1, f"the game was started {len(probes) + len(stray)} times, "
                                             f"expected once ({self.scenario.started_name})"):
            return
        probe = load_report(probes[0])
        expected = windows_path(self.folder) + "\\" + self.scenario.started_name
        self.expect(same_path(probe.get("module_path", ""), expected),
                    f"the started program is {probe.get('module_path')!r}, expected {expected!r}")
        command_line = probe.get("command_line", "")
        program, rest = first_argument(command_line)
        self.expect(command_line.startswith('"') and same_path(program, expected) and not rest.strip(),
                    f"the game's command line is {command_line!r}, expected its own path as one quoted argument")
        self.expect(same_path(probe.get("current_directory", ""), windows_path(self.cwd)),
                    f"the game's current directory is {probe.get('current_directory')!r}, expected the "
                    f"launcher's: {windows_path(self.cwd)!r}")
        self.expect(probe.get("token") == driver_token(self.reports),
                    "the game did not inherit the launcher's environment")
        if self.looked_in_time(probe, driver, "started_ms"):
            self.check_launcher_at_game_start(probe)
        if not self.scenario.game_window and self.looked_in_time(probe, driver, "capture_ms"):
            self.check_capture(self.reports / (probes[0].stem + "-start.bmp"), "when the game started")
        if "splash_ms" in driver:
            self.check_delay("splash to game", number(probe, "created_ms") - number(driver, "splash_ms"),
                             SPLASH_TO_GAME)
        if "exit_ms" in driver:
            self.check_delay("game to exit", number(driver, "exit_ms") - number(probe, "created_ms"), GAME_TO_EXIT)
        if self.scenario.game_window:
            self.check_game_window(probe)

    def looked_in_time(self, probe, driver, moment):
        """Whether the game looked before the launcher closed.  On a busy machine, and always for an
        emulated game, its code may run only after the launcher's last second; when the game started
        is checked by its creation time instead, so a late look is noted rather than failed."""
        looked, closed = number(probe, moment), number(driver, "exit_ms")
        if looked is None or closed is None or looked < closed:
            return True
        self.timings.append(f"the game's {moment[:-3]} look came {looked - closed:.0f} ms after the launcher closed")
        return False

    def check_launcher_at_game_start(self, probe):
        if not self.expect(probe.get("launcher_found") == "1", "the launcher's window was gone when the game "
                                                               "started"):
            return
        width, height = self.scenario.screen
        shown = rect(probe["launcher_rect"])
        self.expect(shown == (0, 0, width, height),
                    f"the launcher's window covers {shown} when the game starts, expected the screen")
        self.expect(probe.get("launcher_zoomed") == "1", "the launcher's window is not maximized when the game "
                                                         "starts")
        self.check_styles(probe, "launcher", "when the game starts")

    def check_game_window(self, probe):
        """The game's own window stays below the launcher's until the launcher closes."""
        if not self.expect(probe.get("window_created") == "1", "the game could not open its window"):
            return
        samples, above = int(probe.get("window_samples", "0")), int(probe.get("window_launcher_above", "0"))
        self.expect(samples > 0, "the launcher's window had gone before the game's window was open")
        self.expect(above == samples, f"the game's window was above the launcher's in {samples - above} of "
                                      f"{samples} looks at the z-order, first at look "
                                      f"{probe.get('window_first_below', '?')}")
        self.expect(probe.get("game_window_visible") == "1", "the game's window is not visible")

    def note_long_path(self, driver):
        """Whether or not the game starts from such a path, the launcher closes on time."""
        if "exit_ms" not in driver:
            return
        if "splash_ms" in driver:
            self.check_delay("splash to exit", number(driver, "exit_ms") - number(driver, "splash_ms"),
                             SPLASH_TO_EXIT)
        else:
            took = number(driver, "exit_ms") - number(driver, "launch_ms")
            self.expect(took <= LONG_PATH_EXIT_MS, f"the launcher took {took:.0f} ms to exit without showing its "
                                                   f"splash, expected at most {LONG_PATH_EXIT_MS} ms")
        started = bool(list(self.reports.glob("probe-*.txt")))
        self.timings.append(f"splash {'seen' if driver.get('splash_seen') == '1' else 'not seen'}, "
                            f"game {'started' if started else 'not started'}")


def make_writable(root):
    """Disc folders are made read-only; a rerun must be able to remove them."""
    if root.exists():
        subprocess.run(["chmod", "-R", "u+w", str(root)], timeout=60, check=False)


def folder_listing(folder):
    return sorted((str(path.relative_to(folder)), path.stat().st_size) for path in folder.rglob("*"))


def driver_token(reports):
    config = load_report(reports.parent / "config.txt")
    return config.get("token")


def run_group(args, template):
    scenarios = GROUPS[args.group]
    if args.scenario:
        scenarios = [scenario for scenario in scenarios if scenario.name == args.scenario]
        if not scenarios:
            raise SystemExit(f"run_e2e.py: no scenario {args.scenario!r} in group {args.group!r}")
    started = time.monotonic()
    template.ensure_prefix()
    # Virtual desktops that share a wineserver also share its idea of the screen's size, so every
    # group, which may run beside the others, has a prefix and a wineserver of its own.
    (args.work / args.group).mkdir(parents=True, exist_ok=True)
    wine = Wine(args.wine_env, args.work / args.group / "wineprefix")
    wine.clone_from(template.prefix)
    suite = Suite(args, wine)
    failed = 0
    try:
        wine.start_server()
        wine.paint_desktop_black()
        for scenario in scenarios:
            began = time.monotonic()
            try:
                check = suite.run(scenario)
                failures, timings = check.failures, check.timings
            except (Failure, subprocess.SubprocessError, OSError, ValueError) as error:
                failures, timings = [str(error)], []
            verdict = "FAIL" if failures else "ok"
            print(f"{verdict:4} {scenario.name} ({time.monotonic() - began:.1f} s; {', '.join(timings)})")
            for failure in failures:
                print(f"     {scenario.name}: {failure}")
            failed += bool(failures)
            if not failures and not args.keep:
                for capture in (suite.work / scenario.name).rglob("*.bmp"):
                    capture.unlink()
    finally:
        suite.close()
        wine.remove_prefix()
    print(f"group {args.group}: {len(scenarios) - failed} of {len(scenarios)} scenarios passed in "
          f"{time.monotonic() - started:.1f} s (work folder {suite.work})")
    return 1 if failed else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    for name in ("launcher", "driver", "probe", "launcher-arch-probe", "hook", "planted-dll", "bin2dat", "picture",
                 "wine-env", "prefix", "work"):
        parser.add_argument(f"--{name}", type=Path, required=True)
    parser.add_argument("--disc-tool", type=Path, help="autorun-disc for the machine that runs the tests "
                                                        "(group disc)")
    action = parser.add_mutually_exclusive_group(required=True)
    action.add_argument("--make-prefix", action="store_true", help="create a fresh Wine prefix")
    action.add_argument("--stop-wine", action="store_true", help="stop the prefix's wineserver")
    action.add_argument("--group", choices=sorted(GROUPS), help="run one group of scenarios")
    parser.add_argument("--scenario", help="with --group: run only this scenario")
    parser.add_argument("--keep", action="store_true", help="keep the screen captures of passing scenarios")
    args = parser.parse_args()
    if args.group:
        for name in ("launcher", "driver", "probe", "launcher_arch_probe", "hook", "planted_dll", "bin2dat", "picture",
                     "wine_env"):
            if not getattr(args, name).is_file():
                hint = "; build the native preset first" if name == "bin2dat" else ""
                raise SystemExit(f"run_e2e.py: {getattr(args, name)}: no such file (--{name.replace('_', '-')}){hint}")
    if args.group == "disc" and not (args.disc_tool and args.disc_tool.is_file()):
        raise SystemExit(f"run_e2e.py: {args.disc_tool}: no such file (--disc-tool); build the native preset first")
    args.prefix = args.prefix.resolve()
    args.work = args.work.resolve()

    # ctest ends a test that runs too long with SIGTERM on some platforms: clean up on the way out.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    template = Wine(args.wine_env, args.prefix)
    if args.make_prefix:
        template.remove_prefix()
        template.ensure_prefix()
        return 0
    if args.stop_wine:
        template.stop_server()
        return 0
    return run_group(args, template)


if __name__ == "__main__":
    sys.exit(main())
