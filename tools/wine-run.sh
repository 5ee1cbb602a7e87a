#!/usr/bin/env bash
# Runs a Windows program, or a host command that drives Windows programs, under Wine
# with Pinvel's private prefix and the Chinese ANSI code page (936). PINVEL_LANG names
# another locale for everything in the run, and so another code page: en_US.UTF-8 makes
# it a Western Windows (1252). PINVEL_DPI gives a new prefix's display that DPI (144 is
# 150 % scaling); Wine reads it only when its server starts. PINVEL_ARCH picks the
# build the run is for: win32 (the default) runs 32-bit Wine, win64 the 64-bit loader
# and server. A machine that runs no 32-bit code cannot run win32 at all: the run is
# then skipped with exit code 77, and says so.
#
#   wine-run.sh [--desktop WxH] program.exe [args...]
#   wine-run.sh [--desktop WxH] host-command [args...]
#   wine-run.sh --join program.exe [args...]     (alongside a run that is going on)
#
# Without DISPLAY it starts an Xvfb display of its own. With --desktop the program runs
# inside Wine's virtual desktop, which also shows the notification area. The Xvfb and
# the wineserver that this script started are ended when the command ends, and only
# those. Runs that share a prefix take turns.
set -u

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
desktop=""
join=0
if [ "${1:-}" = "--desktop" ]; then
  desktop=$2
  shift 2
elif [ "${1:-}" = "--join" ]; then
  join=1
  shift
fi
[ $# -ge 1 ] || { echo "usage: wine-run.sh [--desktop WxH] program.exe|command [args...]" >&2; exit 2; }

arch=${PINVEL_ARCH:-win32}
case $arch in
  win32)
    if ! "$here/runs-32bit.sh"; then
      echo "wine-run: skipped: this machine runs no 32-bit code, so the i686 build cannot run here" >&2
      exit 77
    fi
    ;;
  win64)
    # With 32-bit Wine installed too, the plain wine command always picks its 32-bit
    # loader; the shims beside this script call the 64-bit one, for this script and for
    # every program it starts.
    export WINELOADER=/usr/lib/wine/wine64
    export WINESERVER=/usr/lib/wine/wineserver64
    export PATH="$here/wine64:$PATH"
    ;;
  *)
    echo "wine-run: PINVEL_ARCH is win32 or win64, not $arch" >&2
    exit 2
    ;;
esac
export PINVEL_ARCH=$arch
export WINEARCH=$arch
export WINEPREFIX=${PINVEL_PREFIX:-$root/build/wineprefix-$arch}
export WINEDEBUG=${WINEDEBUG:--all}
# Wine takes the ANSI code page from the locale, not from the registry.
export LANG=${PINVEL_LANG:-zh_CN.UTF-8}
export LC_ALL=$LANG
# No Mono or Gecko installers, no menu entries on the host.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export WINE_RUN_SCRIPT="$here/wine-run.sh"
mkdir -p "$(dirname "$WINEPREFIX")"

# The architecture a finished prefix was made for; prefixes made before there were two
# builds are 32-bit and say nothing.
prefix_arch() {
  [ -f "$WINEPREFIX/.pinvel-ready" ] || return 0
  local made
  made=$(cat "$WINEPREFIX/.pinvel-ready")
  echo "${made:-win32}"
}

if [ $join -eq 1 ]; then
  # Talks to programs of a run already going on: its server, its display, no lock.
  [ "$(prefix_arch)" = "$arch" ] || { echo "wine-run: no $arch Wine prefix at $WINEPREFIX" >&2; exit 1; }
  exec wine "$@"
fi

exec 9>"$WINEPREFIX.lock"
flock 9

xvfb_pid=""
own_server=0
cleanup() {
  if [ $own_server -eq 1 ]; then
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start_xvfb() {
  local fifo num
  fifo=$(mktemp -u)
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 "${desktop:-1280x800}x24" -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  xvfb_pid=$!
  if ! read -r -t 15 num <"$fifo"; then
    rm -f "$fifo"
    echo "wine-run: Xvfb did not start" >&2
    exit 1
  fi
  rm -f "$fifo"
  export DISPLAY=":$num"
}

[ -n "${DISPLAY:-}" ] || start_xvfb
if [ -n "${PINVEL_ANNOUNCE:-}" ]; then
  # shellcheck disable=SC2059
  printf "$PINVEL_ANNOUNCE\n" "$DISPLAY" "$DISPLAY"
fi

make_prefix() {
  local made
  made=$(prefix_arch)
  [ "$made" = "$arch" ] && return 0
  # Wine cannot run one architecture's programs in the other's prefix.
  [ -n "$made" ] && echo "wine-run: $WINEPREFIX was made for $made; making it again for $arch" >&2
  # The server started above serves the folder about to go: left alone, it would never see
  # a program end, so it would never end, and it holds the prefix's lock.
  if [ $own_server -eq 1 ]; then
    wineserver -k >/dev/null 2>&1
    wineserver -w >/dev/null 2>&1
  fi
  rm -rf "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 || { echo "wine-run: cannot make the Wine prefix" >&2; exit 1; }
  # Dialog fonts the Chinese texts ask for, mapped to the CJK font installed on the host.
  local fs='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
  for face in "宋体" "SimSun" "新宋体" "NSimSun"; do
    wine reg add "$fs" /v "$face" /d "WenQuanYi Micro Hei" /f >/dev/null 2>&1
  done
  # A crashing program ends; no debugger dialog waits for a user.
  wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
  if [ -n "${PINVEL_DPI:-}" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$PINVEL_DPI" /f >/dev/null 2>&1
  fi
  wineserver -w
  echo "$arch" >"$WINEPREFIX/.pinvel-ready"
}

if wineserver -p3 >/dev/null 2>&1; then
  own_server=1
fi
make_prefix

# Every program of this run shares Wine's virtual desktop, or none does.
if [ -n "$desktop" ]; then
  wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d shell /f >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v shell /d "$desktop" /f >/dev/null 2>&1
else
  wine reg delete 'HKCU\Software\Wine\Explorer' /v Desktop /f >/dev/null 2>&1
fi
if [ $own_server -eq 1 ]; then
  # Bring up Wine's own services and desktop before the command starts programs of its
  # own: programs started while they are still coming up can stall.
  wine cmd /c exit >/dev/null 2>&1
fi

cmd=("$@")
case "$1" in
  *.exe | *.EXE) cmd=(wine "$@") ;;
esac

"${cmd[@]}"
exit $?
