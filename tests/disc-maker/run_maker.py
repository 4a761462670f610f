#!/usr/bin/env python3
"""The disc maker window ("Autorun Disc Maker.exe") under Wine, in a virtual desktop on a private Xvfb.

maker_driver.exe fills the window's fields with window messages and presses Enter, in steps:
  1. the demo disc (the demo game, its Linux script, a PNG splash, an icon, texts, CD as the medium),
     timed; the image must be the one the Linux autorun-disc makes from the same inputs, byte for byte
     (both under SOURCE_DATE_EPOCH), and pass `autorun-disc check` and xorriso.  Before the make the
     project is saved through the save dialog (its name typed without the extension); the Linux tool's
     `make --project` must make the same bytes from it, and so must the command the window shows, its
     words those the driver typed.  The saved project is opened in a second window from its command line
     at the end, and every field must come back;
  2. a splash picture that is no picture, 3. a game program missing from the folder, 4. an output inside
     the game folder: each status line must be the line the command line prints, without its
     "autorun-disc: ";
  5. the demo disc as a folder (without its Linux side), which must pass `autorun-disc check`;
  6. a make of a big (sparse) game cancelled once a tenth is written: nothing may be left behind.
Then the big make again, and Esc while it runs: the window must cancel it, wait and close, leaving nothing
behind either; the folders used must be remembered in the registry.

  run_maker.py OPTIONS [--screenshots DIR]   PNG captures of the filled window, its findings and a refusal
                                            (through ctest: AUTORUN_MAKER_SCREENSHOTS=DIR)
  run_maker.py OPTIONS --demo                the demo disc alone, with its captures, for scripts/demo.sh
"""

import argparse
import os
import shutil
import subprocess
import sys
import time
import uuid
from pathlib import Path

sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))
from run_e2e import Failure, Wine, Xvfb, end_leftovers, load_report, save_config, windows_path  # noqa: E402

MAKER_NAME = "Autorun Disc Maker.exe"
PROJECT_NAME = "autorun-demo"  # typed into the save dialog; the window adds ".autorun.json"
SCREEN = (1024, 768)
DESKTOP_TIMEOUT_S = 900
SOURCE_DATE_EPOCH = "1700000000"
BIG_GAME_BYTES = 600 << 20  # ten tenths of progress, each written in a moment
LABEL, PRODUCT, COMPANY = "Autorun Demo", "Autorun Demo Game", "Autorun developers"


def normalized(text):
    """A message with Wine's drive Z: paths written as the Linux tool writes them."""
    return text.replace("\\", "/").replace("Z:/", "/").strip()


class Run:
    def __init__(self, args):
        self.args = args
        self.work = args.work
        self.failures = []

    def expect(self, condition, message):
        if not condition:
            self.failures.append(message)
        return condition

    def tool(self, *arguments, check=True):
        env = dict(os.environ, SOURCE_DATE_EPOCH=SOURCE_DATE_EPOCH)
        result = subprocess.run([str(self.args.disc_tool), *map(str, arguments)], env=env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=300)
        if check and result.returncode != 0:
            raise Failure(f"autorun-disc {arguments[0]} failed: {result.stderr.decode(errors='replace')}")
        return result

    def lay_out(self):
        for name in ("tool", "demo", "big", "bad", "out", "cli", "reports"):
            shutil.rmtree(self.work / name, ignore_errors=True)
            (self.work / name).mkdir(parents=True)
        # An earlier run's project would make the window ask before replacing it.
        self.project_file().unlink(missing_ok=True)
        tool = self.work / "tool"
        shutil.copyfile(self.args.maker, tool / MAKER_NAME)
        shutil.copyfile(self.args.launcher, tool / "autorun.exe")
        shutil.copyfile(self.args.linux_launcher, tool / "autorun")
        game = self.work / "demo" / "game"
        game.mkdir()
        shutil.copyfile(self.args.demo_game, game / "demo_game.exe")
        shutil.copyfile(self.args.demo_script, game / "demo_game.sh")
        subprocess.run(["bash", str(self.args.artwork_script), str(self.work / "demo" / "artwork")], check=True,
                       timeout=300, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
        big = self.work / "big" / "game"
        big.mkdir()
        shutil.copyfile(self.args.demo_game, big / "demo_game.exe")
        with open(big / "level.pak", "wb") as pak:
            pak.truncate(BIG_GAME_BYTES)
        (self.work / "bad" / "notes.jpg").write_text("not a picture\n")

    # The inputs each step gives the window, as the command line takes them.
    def demo_inputs(self):
        demo = self.work / "demo"
        return {"game": demo / "game", "program": "demo_game.exe", "linux": "demo_game.sh",
                "splash": demo / "artwork" / "splash.png", "icon": demo / "artwork" / "icon.ico",
                "label": LABEL, "product": PRODUCT, "company": COMPANY}

    def cli_make(self, inputs, output, *extra):
        tool = self.work / "tool"
        arguments = ["make", "--game", inputs["game"], "--exe", inputs["program"], "--splash", inputs["splash"],
                     "--icon", inputs["icon"], "--label", LABEL, "--product", PRODUCT, "--company", COMPANY,
                     "--launcher", tool / "autorun.exe", "--iso", output, *extra]
        if inputs.get("linux"):
            arguments += ["--linux-exe", inputs["linux"], "--linux-launcher", tool / "autorun"]
        return self.tool(*arguments, check=False)

    def steps(self):
        demo = self.demo_inputs()
        out, reports = self.work / "out", self.work / "reports"
        as_window = lambda value: windows_path(value) if isinstance(value, Path) else value  # noqa: E731
        steps = [
            dict({key: as_window(value) for key, value in demo.items()}, kind="iso", medium=1,
                 output=windows_path(out / "autorun-demo.iso"), capture_filled=windows_path(reports / "filled.bmp"),
                 save_project=windows_path(self.work / PROJECT_NAME),
                 capture_done=windows_path(reports / "made.bmp")),
            {"splash": windows_path(self.work / "bad" / "notes.jpg"), "output": windows_path(out / "bad.iso"),
             "capture_done": windows_path(reports / "refused.bmp")},
            {"splash": windows_path(demo["splash"]), "program": "missing.exe", "output": windows_path(out / "missing.iso")},
            {"program": "demo_game.exe", "output": windows_path(demo["game"] / "disc.iso")},
            # Without the Linux side, which a folder written on Windows can't mark executable.
            {"output": windows_path(out / "demo-folder"), "kind": "folder", "linux": ""},
            {"game": windows_path(self.work / "big" / "game"), "linux": "", "program": "demo_game.exe", "medium": 0,
             "kind": "iso", "output": windows_path(out / "big.iso"), "action": "cancel"},
        ]
        if self.args.demo:
            steps = steps[:1]
        # Esc comes while the big make runs again.
        config = {"maker": windows_path(self.work / "tool" / MAKER_NAME), "report": windows_path(reports / "driver.txt"),
                  "steps": len(steps), "close_while_making": 0 if self.args.demo else 1,
                  "reopen_project": windows_path(self.project_file())}
        for number, step in enumerate(steps, 1):
            config.update({f"{number}.{key}": value for key, value in step.items()})
        return config

    def project_file(self):
        return self.work / f"{PROJECT_NAME}.autorun.json"

    def check_project(self, report):
        """The saved project and the command shown make the demo's bytes; the project opens again whole."""
        image = self.work / "out" / "autorun-demo.iso"
        project = self.project_file()
        self.expect(report.get("saved") == "1", f"the project was not saved: {report.get('save_status')!r} "
                    f"(dialog found: {report.get('save_dialog')!r})")
        self.expect(report.get("saved_title") == f"{project.name} - Autorun Disc Maker",
                    f"the title after saving: {report.get('saved_title')!r}")
        tool = self.work / "tool"
        launchers = ["--launcher", tool / "autorun.exe", "--linux-launcher", tool / "autorun"]
        if self.expect(project.is_file(), f"no project at {project}"):
            from_project = self.work / "cli" / "from-project.iso"
            made = self.tool("make", "--project", project, *launchers, "--iso", from_project, check=False)
            self.expect(made.returncode == 0 and from_project.read_bytes() == image.read_bytes(),
                        f"make --project {project.name} did not make the window's image: "
                        f"{made.stderr.decode(errors='replace')}")
        demo = self.demo_inputs()
        words = report.get("command_words", "").splitlines()
        expected = ["autorun-disc", "make", "--game", windows_path(demo["game"]), "--exe", "demo_game.exe",
                    "--linux-exe", "demo_game.sh", "--splash", windows_path(demo["splash"]),
                    "--icon", windows_path(demo["icon"]), "--label", LABEL, "--product", PRODUCT,
                    "--company", COMPANY, "--media", "cd", "--iso", windows_path(image)]
        self.expect(words == expected, f"the command shown: {report.get('command')!r}")
        # The command as a Linux author would run it: the same options, the paths on the Linux side.
        from_command = self.work / "cli" / "from-command.iso"
        arguments = [normalized(word) if word.startswith("Z:") else word for word in words[2:]]
        if "--iso" in arguments:
            arguments[arguments.index("--iso") + 1] = str(from_command)
        made = self.tool("make", *arguments, *launchers, check=False)
        self.expect(made.returncode == 0 and from_command.is_file()
                    and from_command.read_bytes() == image.read_bytes(),
                    f"the command shown did not make the window's image: {made.stderr.decode(errors='replace')}")
        self.expect(report.get("reopened") == "1" and report.get("reopened.closed") == "1",
                    "the window did not open the project from its command line, or did not close")
        self.expect(report.get("reopened.status") == f"Opened {project.name}",
                    f"the reopened window's status: {report.get('reopened.status')!r}")
        for key in ("game", "linux", "splash", "icon", "label", "product", "company", "output", "program", "kind",
                    "replace", "medium", "title"):
            saved = report.get(f"saved.{key}", "")
            reopened = report.get(f"reopened.{key}", "")
            if key == "title":
                saved = f"{project.name} - Autorun Disc Maker"
            self.expect(normalized(saved).casefold() == normalized(reopened).casefold(),
                        f"the project's {key} came back as {reopened!r}, not {saved!r}")
        if not self.args.demo:
            self.expect(same(report.get("remembered_project", ""), windows_path(self.work)),
                        f"the project folder remembered: {report.get('remembered_project')!r}")

    def forget_folders(self, wine, env):
        subprocess.run([env["WINELOADER"], "reg", "delete", "HKCU\\Software\\Autorun", "/f"], env=env,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)

    def drive(self, wine):
        save_config(self.work / "config.txt", self.steps())
        tag = uuid.uuid4().hex
        server = Xvfb(f"{SCREEN[0]}x{SCREEN[1]}x24", self.work / "xvfb.log")
        try:
            env = dict(wine.env, DISPLAY=server.display, E2E_RUN_TAG=tag, SOURCE_DATE_EPOCH=SOURCE_DATE_EPOCH)
            self.forget_folders(wine, env)
            command = [env["WINELOADER"], "explorer", f"/desktop=maker_{tag[:12]},{SCREEN[0]}x{SCREEN[1]}",
                       windows_path(self.args.driver), windows_path(self.work / "config.txt")]
            with open(self.work / "wine.log", "wb") as log:
                explorer = subprocess.Popen(command, env=env, cwd=self.work, stdin=subprocess.DEVNULL, stdout=log,
                                            stderr=log)
                try:
                    explorer.wait(DESKTOP_TIMEOUT_S)
                except subprocess.TimeoutExpired:
                    self.failures.append(f"the virtual desktop did not close within {DESKTOP_TIMEOUT_S} s")
                    explorer.kill()
                    explorer.wait(10)
            for note in end_leftovers(tag, (str(self.work), windows_path(self.work), MAKER_NAME)):
                self.failures.append(note)
        finally:
            server.stop()
        report = self.work / "reports" / "driver.txt"
        if not report.exists():
            raise Failure(f"the driver wrote no report (see {self.work / 'wine.log'})")
        return load_report(report)

    def check_demo(self, report):
        image = self.work / "out" / "autorun-demo.iso"
        status = report.get("1.status", "")
        print(f"demo disc made from the window in {float(report.get('1.ms', 0)) / 1000:.1f} s: {status}")
        self.expect(status.startswith("Made autorun-demo.iso: ") and "files, " in status,
                    f"the demo make's status: {status!r}")
        self.expect(report.get("1.estimate_shown") == "1" and "CD-R" in report.get("1.gauge_text", ""),
                    f"no estimate for the demo disc on a CD: {report.get('1.gauge_text')!r}")
        self.expect(report.get("1.splash_line", "") == "",
                    f"the splash line: {report.get('1.splash_line')!r}")
        findings = [line.split("\t", 1) for line in report.get("1.findings", "").splitlines()]
        self.expect(findings and all(level in ("ok", "note", "warning") for level, _ in findings),
                    f"the demo's findings: {findings}")
        if not self.expect(image.is_file(), f"no image at {image}"):
            return
        checked = self.tool("check", image, check=False)
        self.expect(checked.returncode == 0, f"autorun-disc check {image}: {checked.stdout.decode(errors='replace')}")
        window_findings = sorted(f"{level}: {text}" for level, text in findings)
        # check's last line sums up; the rest are its findings.
        check_findings = sorted(line for line in checked.stdout.decode(errors="replace").splitlines()
                                if not line.startswith(str(image)))
        self.expect(window_findings == check_findings,
                    f"the window's findings {window_findings} are not check's {check_findings}")
        listing = subprocess.run(["xorriso", "-indev", str(image), "-find", "/", "-type", "f"], capture_output=True,
                                 timeout=120, stdin=subprocess.DEVNULL).stdout.decode(errors="replace")
        for name in ("autorun.exe", "bin2.dat", "autorun.inf", "demo_game.exe", "autorun", "autorun.sh", "bin2lnx.dat"):
            self.expect(f"'/{name}'" in listing, f"xorriso finds no /{name} in the image")
        cli_image = self.work / "cli" / "autorun-demo.iso"
        made = self.cli_make(self.demo_inputs(), cli_image, "--media", "cd")
        self.expect(made.returncode == 0, f"the command line's demo make failed: {made.stderr.decode(errors='replace')}")
        self.expect(cli_image.is_file() and cli_image.read_bytes() == image.read_bytes(),
                    "the window's image differs from the command line's made from the same inputs")

    def check_errors(self, report):
        demo = self.demo_inputs()
        out = self.work / "out"
        cases = [
            (2, "a splash that is no picture", dict(demo, splash=self.work / "bad" / "notes.jpg"), out / "bad.iso"),
            (3, "a missing game program", dict(demo, program="missing.exe"), out / "missing.iso"),
            (4, "an output inside the game folder", demo, demo["game"] / "disc.iso"),
        ]
        for step, what, inputs, output in cases:
            cli = self.cli_make(inputs, output, "--media", "cd")
            line = cli.stderr.decode(errors="replace").strip()
            expected = normalized(line.removeprefix("autorun-disc: "))
            shown = normalized(report.get(f"{step}.status", ""))
            self.expect(cli.returncode == 1 and line.startswith("autorun-disc: "),
                        f"{what}: the command line did not refuse it: {line!r}")
            self.expect(shown == expected, f"{what}: the window says {shown!r}, the command line {expected!r}")
            self.expect(not output.exists(), f"{what}: {output} was written")

    def check_folder(self, report):
        folder = self.work / "out" / "demo-folder"
        status = report.get("5.status", "")
        self.expect(status.startswith("Made demo-folder: ") and "burnt as a disc at most" in status,
                    f"the folder make's status: {status!r}")
        self.expect("note\ton a USB stick, Windows 7 and later ignore open=" in report.get("5.findings", ""),
                    f"no note on USB sticks among the folder's findings: {report.get('5.findings')!r}")
        if self.expect(folder.is_dir(), f"no folder at {folder}"):
            checked = self.tool("check", folder, check=False)
            self.expect(checked.returncode == 0, f"autorun-disc check {folder}: {checked.stdout.decode(errors='replace')}")

    def check_cancel(self, report):
        self.expect(report.get("6.progress_seen") == "1", "the big make never reported a tenth written")
        self.expect(report.get("6.button_while_making") == "&Cancel",
                    f"Make read {report.get('6.button_while_making')!r} while making")
        self.expect(report.get("6.status") == "Cancelled: nothing was written",
                    f"the cancelled make's status: {report.get('6.status')!r}")
        self.expect(report.get("6.make_button") == "&Make", "Make did not come back after the cancel")
        left = sorted(path.name for path in (self.work / "out").iterdir())
        self.expect(left == ["autorun-demo.iso", "demo-folder"], f"left in the output folder after the cancel and Esc: {left}")
        print(f"cancelled make ended {float(report.get('6.ms', 0)) / 1000:.1f} s after Enter")

    def check_window(self, report):
        self.expect(report.get("fields_empty_at_start") == "1", "the fields did not start empty")
        self.expect(report.get("making_when_closed") == "1", "the make before Esc never reported a tenth written")
        self.expect(report.get("closed_by_esc") == "1" and report.get("exit_code") == "0",
                    f"Esc did not close the window (exit code {report.get('exit_code')!r})")
        self.expect(same(report.get("remembered_game", ""), windows_path(self.work / "big" / "game")),
                    f"the game folder remembered: {report.get('remembered_game')!r}")
        self.expect(same(report.get("remembered_output", ""), windows_path(self.work / "out")),
                    f"the output folder remembered: {report.get('remembered_output')!r}")

    def save_screenshots(self):
        folder = Path(self.args.screenshots) if self.args.screenshots else self.work / "screenshots"
        folder.mkdir(parents=True, exist_ok=True)
        captures = [("filled.bmp", "disc-maker-filled.png"), ("made.bmp", "disc-maker-findings.png")]
        if not self.args.demo:
            captures.append(("refused.bmp", "disc-maker-refused.png"))
        for capture, name in captures:
            source = self.work / "reports" / capture
            if self.expect(source.is_file(), f"no capture {source}"):
                subprocess.run(["convert", str(source), str(folder / name)], check=True, timeout=60,
                               stdin=subprocess.DEVNULL)
        print(f"screenshots in {folder}")


def same(a, b):
    return a.rstrip("\\").casefold() == b.rstrip("\\").casefold()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    for name in ("maker", "driver", "launcher", "linux-launcher", "disc-tool", "demo-game", "demo-script",
                 "artwork-script", "wine-env", "work"):
        parser.add_argument(f"--{name}", type=Path, required=True)
    parser.add_argument("--screenshots", type=Path, default=os.environ.get("AUTORUN_MAKER_SCREENSHOTS") or None,
                        help="where the PNG captures go (default: $AUTORUN_MAKER_SCREENSHOTS, else WORK/screenshots)")
    parser.add_argument("--demo", action="store_true", help="make the demo disc alone and save its captures")
    args = parser.parse_args()
    for name in ("maker", "driver", "launcher", "linux_launcher", "disc_tool", "demo_game", "demo_script",
                 "artwork_script", "wine_env"):
        if not getattr(args, name).is_file():
            raise SystemExit(f"run_maker.py: {getattr(args, name)}: no such file (--{name.replace('_', '-')})")
        # Wine is given them as Z:\ paths, which must be absolute.
        setattr(args, name, getattr(args, name).resolve())
    args.work = args.work.resolve()
    args.work.mkdir(parents=True, exist_ok=True)
    started = time.monotonic()
    run = Run(args)
    wine = Wine(args.wine_env, args.work / "wineprefix")
    try:
        run.lay_out()
        wine.ensure_prefix()
        wine.start_server()
        report = run.drive(wine)
        run.check_demo(report)
        run.check_project(report)
        if not args.demo:
            run.check_window(report)
            run.check_errors(report)
            run.check_folder(report)
            run.check_cancel(report)
        run.save_screenshots()
    except (Failure, subprocess.SubprocessError, OSError) as error:
        run.failures.append(str(error))
    finally:
        wine.stop_server()
        shutil.rmtree(args.work / "big", ignore_errors=True)
    for failure in run.failures:
        print(f"FAIL: {failure}")
    print(f"disc maker window: {'FAILED' if run.failures else 'passed'} in {time.monotonic() - started:.1f} s")
    return 1 if run.failures else 0


if __name__ == "__main__":
    sys.exit(main())
