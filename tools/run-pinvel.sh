#!/usr/bin/env bash
# Starts the freshly built Pinvel.exe from its own program folder under build/run
# (its notes and settings live beside it) and stays until Pinvel exits.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
folder=$root/build/run
mkdir -p "$folder"
cp "$root/build/win32/Pinvel.exe" "$folder/Pinvel.exe"
# The help file the tray menu opens, when it was built.
[ -f "$root/build/win32/Pinvel.chm" ] && cp "$root/build/win32/Pinvel.chm" "$folder/Pinvel.chm"
cd "$folder"
export PINVEL_PREFIX=$root/build/wineprefix
if [ -n "${DISPLAY:-}" ]; then
  echo "Pinvel runs on display $DISPLAY from $folder. Its icon is in the notification area."
  exec "$root/tools/wine-run.sh" "$folder/Pinvel.exe" "$@"
fi
# No display: a virtual one, with Wine's desktop and taskbar so that the icon shows.
export PINVEL_ANNOUNCE="Pinvel runs from $folder on the virtual display %s.
Look at it with:  DISPLAY=%s import -window root pinvel.png
Stop it with:     make stop   (or Ctrl+C here)"
exec "$root/tools/wine-run.sh" --desktop 1024x768 "$folder/Pinvel.exe" "$@"
