#!/usr/bin/env bash
# Installs what building, running and testing Pinvel needs on Debian 12.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)

need_pkgs=(
  g++-mingw-w64-i686-posix mingw-w64-i686-dev
  g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
  wine wine64
  xvfb xdotool xclip x11-utils xcompmgr
  fonts-wqy-microhei fonts-wine fonts-dejavu-core
  locales
  cmake make g++ googletest
  clang libclang-rt-14-dev
  imagemagick zip fp-utils
  python3
)
# The sync test's engine and the setup program's compiler: a machine that cannot have
# one skips the tests that need it, and says so.
optional_pkgs=(syncthing nsis)
# 32-bit Wine only where 32-bit code runs; elsewhere the x86-64 build is what runs.
if "$here/runs-32bit.sh"; then
  need_pkgs+=(wine32:i386)
fi

missing=()
installed=$(dpkg-query -W -f='${Package}:${Architecture} ${Status}\n' 2>/dev/null | awk '/install ok installed/ {print $1}')
native=$(dpkg --print-architecture)
for p in "${need_pkgs[@]}"; do
  name=${p%%:*}
  arch=${p#*:}
  [ "$arch" = "$p" ] && arch=""
  if [ -n "$arch" ]; then
    grep -qx "$name:$arch" <<<"$installed" || missing+=("$p")
  else
    grep -qxF -e "$name:$native" -e "$name:all" <<<"$installed" || missing+=("$p")
  fi
done

optional_missing=()
for p in "${optional_pkgs[@]}"; do
  grep -qxF -e "$p:$native" -e "$p:all" <<<"$installed" || optional_missing+=("$p")
done

# Chinese for the program's own code page (936); English for the run that checks notes
# are kept on a Western Windows (1252).
locales=(zh_CN en_US)
locale_ok=1
for l in "${locales[@]}"; do
  locale -a 2>/dev/null | grep -qiE "^$l\.utf-?8\$" || locale_ok=0
done

if [ ${#missing[@]} -eq 0 ] && [ ${#optional_missing[@]} -eq 0 ] && [ $locale_ok -eq 1 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "bootstrap: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  SUDO="sudo"
fi

export DEBIAN_FRONTEND=noninteractive

# A mirror caught mid-sync fails one index with a size mismatch; a later try usually
# finds it whole. If none does, the indexes that did come are used, and the install says
# whether they were enough.
update_index() {
  local try
  for try in 1 2 3; do
    $SUDO apt-get update -qq && return 0
    echo "bootstrap: the package index did not update (try $try of 3)" >&2
    sleep $((try * 10))
  done
  return 1
}

if [ ${#missing[@]} -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  update_index || true
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if [ ${#optional_missing[@]} -gt 0 ]; then
  echo "bootstrap: installing ${optional_missing[*]}"
  if ! $SUDO apt-get install -y -qq --no-install-recommends "${optional_missing[@]}" >/dev/null 2>&1; then
    update_index || true
    $SUDO apt-get install -y -qq --no-install-recommends "${optional_missing[@]}" >/dev/null 2>&1 ||
      echo "bootstrap: ${optional_missing[*]} cannot be installed here; the tests that need it are skipped"
  fi
fi

for l in "${locales[@]}"; do
  locale -a 2>/dev/null | grep -qiE "^$l\.utf-?8\$" && continue
  echo "bootstrap: generating $l.UTF-8"
  if [ -f /etc/locale.gen ] && grep -qE "^# *$l.UTF-8 UTF-8" /etc/locale.gen; then
    $SUDO sed -i -E "s/^# *($l.UTF-8 UTF-8)/\\1/" /etc/locale.gen
  elif ! grep -qE "^$l.UTF-8 UTF-8" /etc/locale.gen 2>/dev/null; then
    echo "$l.UTF-8 UTF-8" | $SUDO tee -a /etc/locale.gen >/dev/null
  fi
  $SUDO locale-gen >/dev/null
done
