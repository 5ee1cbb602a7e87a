#!/usr/bin/env bash
# run-fuzz.sh FUZZER CORPUS SECONDS: replays the stored corpus, then fuzzes for SECONDS
# with a scratch folder for what it finds. Any crash fails the run and is left in the
# scratch folder's parent for a person to add to the corpus.
set -eu
fuzzer=$1 corpus=$2 seconds=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$(dirname "$scratch")/" \
  "$scratch" "$corpus" 2>&1 | tail -n 3
exit "${PIPESTATUS[0]}"
