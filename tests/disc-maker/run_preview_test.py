#!/usr/bin/env python3
"""The disc maker's splash preview against the launcher, under Wine in 1024 x 768 virtual desktops.

A tall picture of our own (800 x 1000, so that every screen shape cuts some of it) is branded into the
launcher with autorun-disc; the end-to-end driver runs that launcher and captures the screen once the
splash shows.  preview_capture.exe shows the same JPEG in the preview, records the preview's numbers and
the colour at its cut marker for each shape, and captures the screen with the full-size view of the 4:3
screen open.  Both captures must be equal pixel for pixel: both are the launcher's painter drawing the
same bytes into a window of the screen's size.

  run_preview_test.py --preview-capture EXE --launcher autorun.exe --driver e2e_driver.exe
                      --bin2dat BIN2DAT --disc-tool AUTORUN-DISC --wine-env wine-env.sh --work DIR
"""

import argparse
import shutil
import signal
import subprocess
import sys
import uuid
from pathlib import Path

sys.dont_write_bytecode = True
sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "e2e"))
import bmp  # noqa: E402
from run_e2e import CONVERT, XVFB_24, Wine, Xvfb, load_report, save_config, windows_path  # noqa: E402

PICTURE = (800, 1000)
SCREEN = (1024, 768)
# What each shape's screen is and, by the launcher's integer rule (width * height / width of the
# picture, truncated), how many of the control's rows fall below it.
SHAPES = {"4x3": (1024, 768), "16x10": (1280, 800), "16x9": (1366, 768)}
CUT_LINE = "255,48,48"
DESKTOP_TIMEOUT_S = 120
SCREENS_RENDERED = 4


def expected_cut(screen):
    width, height = screen
    return max(0, width * PICTURE[1] // PICTURE[0] - height)


def run_in_desktop(wine, display, work, name, program, *arguments):
    """Runs one Windows program as the program of a new virtual desktop of the test's screen size."""
    tag = uuid.uuid4().hex[:12]
    command = [wine.env["WINELOADER"], "explorer", f"/desktop={name}_{tag},{SCREEN[0]}x{SCREEN[1]}",
               windows_path(program), *map(str, arguments)]
    with open(work / f"{name}-wine.log", "wb") as log:
        desktop = subprocess.Popen(command, env=dict(wine.env, DISPLAY=display), cwd=work, stdin=subprocess.DEVNULL,
                                   stdout=log, stderr=log)
        try:
            desktop.wait(DESKTOP_TIMEOUT_S)
        except subprocess.TimeoutExpired:
            desktop.kill()
            desktop.wait(10)
            return [f"{name}: the virtual desktop did not close within {DESKTOP_TIMEOUT_S} s"]
    return []


def make_disc(args, work):
    """The picture, and a launcher branded with it that starts nothing (its game is missing)."""
    picture = work / "tall-splash.jpg"
    width, height = PICTURE
    # Lit everywhere, so that the driver can tell when all of the screen's rows show.
    subprocess.run([CONVERT, "-size", f"{width}x{height}", "gradient:gold-steelblue", "-fill", "navy", "-draw",
                    "rectangle 60,60 300,900", "-fill", "white", "-draw", "circle 560,500 560,640", "-fill",
                    "darkred", "-draw", "rectangle 0,740 799,780", "-quality", "90", str(picture)],
                   check=True, timeout=60, stdin=subprocess.DEVNULL)
    disc = work / "disc"
    disc.mkdir()
    subprocess.run([str(args.disc_tool), "brand", "--launcher", str(args.launcher), "--splash", str(picture), "--out",
                    str(disc / "autorun.exe")], check=True, timeout=120, stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL)
    subprocess.run([str(args.bin2dat), "write", "--exe", "game.exe", str(disc / "bin2.dat")], check=True, timeout=30,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL)
    return picture, disc


def capture_launcher(args, wine, display, work, disc):
    reports = work / "launcher"
    reports.mkdir()
    config = work / "launcher-config.txt"
    save_config(config, {
        "launcher": windows_path(disc / "autorun.exe"),
        "cwd": windows_path(disc),
        "report": windows_path(reports / "driver.txt"),
        "capture": windows_path(reports / "splash.bmp"),
        "picture_rows": SCREEN[1],
        "probe_dir": windows_path(reports),
        "token": uuid.uuid4().hex,
        "screen_width": SCREEN[0],
        "screen_height": SCREEN[1],
        "launcher_timeout_ms": 30000,
        "boxes_expected": 0,
    })
    failures = run_in_desktop(wine, display, work, "launcher", args.driver, windows_path(config))
    report_path = reports / "driver.txt"
    if not report_path.exists():
        return failures + ["the driver wrote no report (see launcher-wine.log)"], None
    report = load_report(report_path)
    if report.get("splash_seen") != "1" or report.get("splash_complete") == "0":
        failures.append(f"the launcher's splash was not seen whole (splash_seen={report.get('splash_seen')}, "
                        f"splash_complete={report.get('splash_complete')})")
    if report.get("launcher_exit") != "exited" or report.get("exit_code") != "0":
        failures.append(f"the launcher ended with {report.get('launcher_exit')} {report.get('exit_code')}")
    capture = reports / "splash.bmp"
    return failures, (capture if capture.exists() else None)


def capture_preview(args, wine, display, work, picture, paints):
    """Runs preview_capture and checks its report; fills `paints` with each shape's first paint time."""
    reports = work / "preview"
    reports.mkdir()
    report_path, capture = reports / "preview.txt", reports / "full-size.bmp"
    failures = run_in_desktop(wine, display, work, "preview", args.preview_capture, windows_path(picture),
                              windows_path(report_path), windows_path(capture), *SCREEN)
    if not report_path.exists():
        return failures + ["preview_capture wrote no report (see preview-wine.log)"], None
    report = load_report(report_path)
    failures += check_preview_report(report)
    paints.update({shape: report.get(f"shape_{shape}_first_paint_ms") for shape in SHAPES})
    return failures, (capture if capture.exists() else None)


def check_preview_report(report):
    failures = []

    def expect(condition, message):
        if not condition:
            failures.append(message)

    expect(report.get("screen") == f"{SCREEN[0]}x{SCREEN[1]}", f"the virtual desktop is {report.get('screen')}")
    expect(report.get("preview_created") == "1", "the preview could not be made")
    for shape, screen in SHAPES.items():
        key = f"shape_{shape}"
        height = screen[0] * PICTURE[1] // PICTURE[0]
        expect(report.get(f"{key}_screen") == f"{screen[0]}x{screen[1]}",
               f"{shape}: the preview's screen is {report.get(key + '_screen')}, expected {screen[0]}x{screen[1]}")
        expect(report.get(f"{key}_picture_height") == str(height),
               f"{shape}: the picture is {report.get(key + '_picture_height')} rows high, expected {height}")
        expect(report.get(f"{key}_rows_cut") == str(expected_cut(screen)),
               f"{shape}: {report.get(key + '_rows_cut')} rows cut, expected {expected_cut(screen)}")
        try:
            left, top, width, fit_height = (int(part) for part in report[f"{key}_fit"].split(","))
            cut_row = int(report[f"{key}_cut_row"])
        except (KeyError, ValueError):
            failures.append(f"{shape}: no fit or cut row in the report")
            continue
        # The marker divides the drawn picture as the screen divides the rows drawn.
        rendered = min(height, SCREENS_RENDERED * screen[1])
        expect(fit_height > 0 and width * rendered // screen[0] in range(fit_height - 1, fit_height + 2),
               f"{shape}: the preview is drawn {width} x {fit_height}, "
               f"not in the proportion of {screen[0]} x {rendered}")
        expect(cut_row == top + screen[1] * fit_height // rendered,
               f"{shape}: the cut is marked at row {cut_row}, expected {top + screen[1] * fit_height // rendered}")
        expect(report.get(f"{key}_cut_colour") == CUT_LINE,
               f"{shape}: the preview shows {report.get(key + '_cut_colour')} at its cut row {cut_row}, "
               f"expected the marker's {CUT_LINE}")
        expect(report.get(f"{key}_above_cut_colour") not in (None, CUT_LINE),
               f"{shape}: the row above the cut is {report.get(key + '_above_cut_colour')}: the marker is not one line")
    for view in ("full", "full_clicked", "full_space"):
        expect(report.get(f"{view}_opened") == "1", f"{view}: the full-size view did not open")
        expect(report.get(f"{view}_window") == f"0,0,{SCREEN[0]},{SCREEN[1]}",
               f"{view}: the full-size view lies at {report.get(view + '_window')}, expected the whole screen")
        expect(report.get(f"{view}_topmost") == "1", f"{view}: the full-size view is not topmost")
        expect(report.get(f"{view}_steady") == "1", f"{view}: the screen did not settle while the view showed")
    expect(report.get("full_closed") == "1", "Esc did not close the full-size view")
    expect(report.get("full_clicked_closed") == "1", "a click did not close the full-size view")
    expect(report.get("full_space_closed") == "1", "Esc did not close the full-size view opened with Space")
    expect(report.get("full_views_same") == "1",
           "the full-size views opened by the function, a double click and Space differ")
    expect(report.get("capture_saved") == "1", "the full-size view's capture was not saved")
    return failures


def compare(launcher_capture, preview_capture):
    launcher, preview = bmp.read_bmp(launcher_capture), bmp.read_bmp(preview_capture)
    if (launcher.width, launcher.height) != (preview.width, preview.height):
        return [f"the captures differ in size: launcher {launcher.width} x {launcher.height}, "
                f"preview {preview.width} x {preview.height}"]
    differing, worst, first = 0, 0, None
    for y, (a, b) in enumerate(zip(launcher.rows, preview.rows)):
        if a == b:
            continue
        for x in range(launcher.width):
            delta = max(abs(a[3 * x + c] - b[3 * x + c]) for c in range(3))
            if delta:
                differing += 1
                worst = max(worst, delta)
                first = first or (x, y)
    if differing:
        return [f"the full-size view differs from the launcher's screen in {differing} pixels (the first at "
                f"{first}, by up to {worst} per colour)"]
    return []


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    for name in ("preview-capture", "launcher", "driver", "bin2dat", "disc-tool", "wine-env", "work"):
        parser.add_argument(f"--{name}", type=Path, required=True)
    parser.add_argument("--keep", action="store_true", help="keep the captures when the test passes")
    args = parser.parse_args()
    for name in ("preview_capture", "launcher", "driver", "bin2dat", "disc_tool", "wine_env"):
        if not getattr(args, name).is_file():
            raise SystemExit(f"run_preview_test.py: {getattr(args, name)}: no such file (--{name.replace('_', '-')})")
        # Wine runs the programs from the work folder: relative paths would mean something else there.
        setattr(args, name, getattr(args, name).resolve())
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    work = args.work.resolve()
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)

    picture, disc = make_disc(args, work)
    wine = Wine(args.wine_env, work / "wineprefix")
    xvfb = None
    try:
        wine.ensure_prefix()
        wine.start_server()
        wine.paint_desktop_black()
        xvfb = Xvfb(XVFB_24, work / "xvfb.log")
        failures, launcher_capture = capture_launcher(args, wine, xvfb.display, work, disc)
        paints = {}
        preview_failures, preview_capture = capture_preview(args, wine, xvfb.display, work, picture, paints)
        failures += preview_failures
        if launcher_capture and preview_capture:
            failures += compare(launcher_capture, preview_capture)
        else:
            failures.append("a capture is missing, so the screens could not be compared")
    finally:
        if xvfb:
            xvfb.stop()
        wine.remove_prefix()
    for failure in failures:
        print(f"FAIL {failure}")
    if failures:
        print(f"work folder {work}")
        return 1
    print(f"ok   the preview's full-size view equals the launcher's screen ({SCREEN[0]} x {SCREEN[1]}), "
          f"cut markers at each shape as the preview computes them; first paints "
          + ", ".join(f"{shape} {paints.get(shape, '?')} ms" for shape in SHAPES))
    if not args.keep:
        for capture in work.rglob("*.bmp"):
            capture.unlink()
    return 0


if __name__ == "__main__":
    sys.exit(main())
