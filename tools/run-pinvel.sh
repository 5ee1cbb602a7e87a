#!/usr/bin/env bash
# Starts the freshly built Pinvel.exe from its own program folder under build/run
# (its notes and settings live beside it) and stays until Pinvel exits. PINVEL_ARCH and
# PINVEL_WIN_DIR name the build: the i686 one unless the machine runs no 32-bit code.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
export PINVEL_ARCH=${PINVEL_ARCH:-win32}
build=${PINVEL_WIN_DIR:-$root/build/$PINVEL_ARCH}
folder=$root/build/run
mkdir -p "$folder"
[ "$PINVEL_ARCH" = win64 ] && echo "This machine runs no 32-bit code: running the x86-64 build."
cp "$build/Pinvel.exe" "$folder/Pinvel.exe"
# The help files the tray menu opens (the English UI takes Pinvel.en.chm), when they
# were built.
for chm in Pinvel.chm Pinvel.en.chm; do
  [ -f "$build/$chm" ] && cp "$build/$chm" "$folder/$chm"
done
cd "$folder"
if [ -n "${DISPLAY:-}" ]; then
  echo "Pinvel runs on display $DISPLAY from $folder. Its icon is in the notification area."
  exec "$root/tools/wine-run.sh" "$folder/Pinvel.exe" "$@"
fi
# No display: a virtual one, with Wine's desktop and taskbar so that the icon shows.
export PINVEL_ANNOUNCE="Pinvel runs from $folder on the virtual display %s.
Look at it with:  DISPLAY=%s import -window root pinvel.png
Stop it with:     make stop   (or Ctrl+C here)"
exec "$root/tools/wine-run.sh" --desktop 1024x768 "$folder/Pinvel.exe" "$@"
