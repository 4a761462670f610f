#!/bin/sh
# The Linux game on the demo disc: it saves a screenshot of the launcher's splash, which is still on
# the screen when the game starts, and notes how the launcher started it.
capture=${AUTORUN_DEMO_CAPTURE:?}
import -window root "$capture/linux-splash.png"
printf 'program: %s\ncurrent directory: %s\n' "$0" "$PWD" >"$capture/linux-game.txt"
