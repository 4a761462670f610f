#!/usr/bin/env python3
"""How close the splash on the screen comes to a high-quality scaling of the picture.

  splash_quality.py CAPTURE.bmp [CAPTURE.bmp ...]

Each capture is a 24-bit screen capture of the splash on a 1024x768 screen, as the end-to-end tests
keep them with --keep (work/screens/screen_1024x768_game_opens_window/reports/splash.bmp).  The
reference is resources/splash.jpg scaled to 1024x768 by ImageMagick (its default filter, Lanczos,
for enlarging), made once under build/bench.  Prints, per capture, the end-to-end tests' block
measure (mean and worst difference of the means of 16 x 12 blocks) and two per-pixel ones: the
mean absolute difference per channel and the peak signal-to-noise ratio.
"""

import math
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
sys.dont_write_bytecode = True
sys.path.insert(0, str(ROOT / "tests" / "e2e"))
import bmp  # noqa: E402

SIZE = (1024, 768)
BLOCKS = (16, 12)
REFERENCE = ROOT / "build" / "bench" / "reference-1024x768.bmp"


def reference():
    if not REFERENCE.exists():
        REFERENCE.parent.mkdir(parents=True, exist_ok=True)
        subprocess.run(["convert", str(ROOT / "resources" / "splash.jpg"), "-resize", f"{SIZE[0]}x{SIZE[1]}!",
                        "-type", "TrueColor", f"bmp3:{REFERENCE}"], check=True, timeout=60)
    return bmp.read_bmp(REFERENCE)


def measures(capture, wanted):
    width, height = SIZE
    differences = [sum(abs(a - b) for a, b in zip(seen, ideal)) / 3
                   for seen, ideal in zip(bmp.block_means(capture, width, height, *BLOCKS),
                                          bmp.block_means(wanted, width, height, *BLOCKS))]
    absolute = squared = 0
    for row in range(height):
        for a, b in zip(capture.rows[row][:3 * width], wanted.rows[row][:3 * width]):
            absolute += abs(a - b)
            squared += (a - b) ** 2
    count = 3 * width * height
    mse = squared / count
    psnr = float("inf") if mse == 0 else 10 * math.log10(255 ** 2 / mse)
    return sum(differences) / len(differences), max(differences), absolute / count, psnr


def main():
    if len(sys.argv) < 2:
        raise SystemExit(__doc__)
    wanted = reference()
    print("| capture | block mean | block worst | mean abs. difference | PSNR (dB) |")
    print("|---|---|---|---|---|")
    for path in sys.argv[1:]:
        capture = bmp.read_bmp(path)
        if (capture.width, capture.height) < SIZE:
            raise SystemExit(f"{path}: {capture.width}x{capture.height}, smaller than {SIZE[0]}x{SIZE[1]}")
        block_mean, block_worst, mean_abs, psnr = measures(capture, wanted)
        print(f"| {path} | {block_mean:.2f} | {block_worst:.2f} | {mean_abs:.2f} | {psnr:.1f} |")
    return 0


if __name__ == "__main__":
    sys.exit(main())
