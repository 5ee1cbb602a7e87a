#!/bin/bash
# Build the Pinvel help files with chmcmd: Pinvel.chm (Chinese) from docs/help and
# Pinvel.en.chm (English) from docs/help/en.
# Usage: tools/build-help.sh OUTDIR
set -u

if [ $# -ne 1 ]; then
    echo "usage: $0 OUTDIR" >&2
    exit 2
fi

outdir=$1
srcdir=$(cd "$(dirname "$0")/../docs/help" && pwd) || exit 1

command -v chmcmd >/dev/null 2>&1 || { echo "build-help: chmcmd not found (install fp-utils)" >&2; exit 1; }

tmp=$(mktemp -d) || exit 1
trap 'rm -rf "$tmp"' EXIT

# build SOURCE-FOLDER CHM-NAME [PICTURES]: the folder's own files only, so that the
# Chinese build does not take the English folder in with it; the pictures the README
# shows too, taken from the program in the help's language.
build() {
    local work=$tmp/$2
    mkdir -p "$work" || return 1
    find "$1" -maxdepth 1 -type f -exec cp -p {} "$work"/ \; || return 1
    if [ -n "${3:-}" ]; then
        cp -p "$3"/*.png "$work"/ || return 1
    fi
    if ! (cd "$work" && chmcmd Pinvel.hhp) >"$work/chmcmd.log" 2>&1 || [ ! -s "$work/$2" ]; then
        echo "build-help: chmcmd failed for $2:" >&2
        cat "$work/chmcmd.log" >&2
        return 1
    fi
}

# A page added to one language only would leave the other help without it, and a byte
# above 127 in the English pages would show as a wrong letter under the windows-1252 meta:
# the English pages spell other characters as numeric references.
missing=$(diff <(cd "$srcdir" && ls -- *.htm) <(cd "$srcdir/en" && ls -- *.htm) | sed -n 's/^[<>] //p')
if [ -n "$missing" ]; then
    echo "build-help: pages in only one of docs/help and docs/help/en:" $missing >&2
    exit 1
fi
if LC_ALL=C grep -l -P '[^\x00-\x7F]' "$srcdir"/en/* >&2; then
    echo "build-help: the files above in docs/help/en are not plain ASCII" >&2
    exit 1
fi

build "$srcdir" Pinvel.chm || exit 1
build "$srcdir/en" Pinvel.en.chm "$srcdir/../en" || exit 1

mkdir -p "$outdir" || exit 1
mv -f "$tmp/Pinvel.chm/Pinvel.chm" "$outdir/Pinvel.chm" || exit 1
mv -f "$tmp/Pinvel.en.chm/Pinvel.en.chm" "$outdir/Pinvel.en.chm" || exit 1
