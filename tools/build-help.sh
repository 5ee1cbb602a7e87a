#!/bin/bash
# Build the Pinvel help file (Pinvel.chm) from docs/help with chmcmd.
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

cp -p "$srcdir"/* "$tmp"/ || exit 1

if ! (cd "$tmp" && chmcmd Pinvel.hhp) >"$tmp/chmcmd.log" 2>&1 || [ ! -s "$tmp/Pinvel.chm" ]; then
    echo "build-help: chmcmd failed:" >&2
    cat "$tmp/chmcmd.log" >&2
    exit 1
fi

mkdir -p "$outdir" || exit 1
mv -f "$tmp/Pinvel.chm" "$outdir/Pinvel.chm" || exit 1
