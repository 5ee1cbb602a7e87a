#!/bin/bash
# Builds Pinvel's setup program with makensis from Debian's nsis.
# Usage: tools/make-setup.sh VERSION PROGRAM-FOLDER ICON OUTFILE
# PROGRAM-FOLDER holds Pinvel.exe, Pinvel.chm and Pinvel.en.chm; ICON is the setup's icon.
# The setup's pictures are taken from ICON's folder, the art the build draws.
set -eu

if [ $# -ne 4 ]; then
    echo "usage: $0 VERSION PROGRAM-FOLDER ICON OUTFILE" >&2
    exit 2
fi
version=$1 build=$2 icon=$3 out=$4
here=$(cd "$(dirname "$0")" && pwd)
command -v makensis >/dev/null || { echo "make-setup: makensis not found (install nsis)" >&2; exit 1; }

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$build/Pinvel.exe" "$build/Pinvel.chm" "$build/Pinvel.en.chm" "$stage/"
cp "$icon" "$stage/setup.ico"
art=$(dirname "$icon")
cp "$art/setup-wizard.bmp" "$art/setup-header.bmp" "$stage/"
mkdir -p "$(dirname "$out")"
out=$(cd "$(dirname "$out")" && pwd)/$(basename "$out")
# The file's own version has four numbers; the version shown has what was given.
IFS=. read -r a b c d <<<"$version"
version4=${a:-0}.${b:-0}.${c:-0}.${d:-0}
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DVERSION4="$version4" -DSOURCE="$stage" -DOUTFILE="$out" "$here/setup/Pinvel.nsi"
