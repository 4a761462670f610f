; The benchmark's peer: a silent NSIS program whose AdvSplash plugin shows the splash picture
; (unscaled, centred) for a second and which then runs the game beside it, as a launcher would.
; makensis -DSPLASH_BMP=/path/splash.bmp -DOUT_FILE=/path/peer.exe peer.nsi
Unicode true
Name "Autorun"
OutFile "${OUT_FILE}"
SilentInstall silent
RequestExecutionLevel user
SetCompressor /SOLID lzma

Function .onInit
  InitPluginsDir
  File "/oname=$PLUGINSDIR\splash.bmp" "${SPLASH_BMP}"
  ; show for 1000 ms, no fade in or out, no transparent colour
  advsplash::show 1000 0 0 -1 "$PLUGINSDIR\splash"
  Pop $0
FunctionEnd

Section
  Exec '"$EXEDIR\game.exe"'
SectionEnd
