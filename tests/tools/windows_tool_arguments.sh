# Sourced by the Windows autorun-disc tests: their arguments, LINUX_AUTORUN_DISC LAUNCHER GAME_EXE
# EMULATOR... AUTORUN_DISC_EXE, as absolute paths in linux_tool, launcher, game_exe and the array tool
# (the emulator's command followed by the Windows tool), since the tests work in a folder of their own.
linux_tool=$(realpath "$1") launcher=$(realpath "$2") game_exe=$(realpath "$3")
shift 3
tool=("$@")
last=$((${#tool[@]} - 1))
tool[last]=$(realpath "${tool[last]}")
