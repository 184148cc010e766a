#!/usr/bin/env bash
# Runs one fuzz target from its committed seeds for a number of seconds.
# New inputs go to a scratch folder, so the committed seeds stay as they are.
# FUZZ_SEED fixes the random seed (the ctest runs use 1, so that a test run
# explores the same inputs every time; fuzz-all.sh leaves it random).
#   run-fuzzer.sh TARGET SEED_FOLDER SECONDS
set -euo pipefail
target="$1"
seeds="$2"
seconds="${3:-20}"
scratch="$(mktemp -d /tmp/camini-fuzz-corpus-XXXXXX)"
trap 'rm -rf "$scratch"' EXIT
"$target" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=1024 -timeout=10 \
    ${FUZZ_SEED:+-seed=$FUZZ_SEED} -print_final_stats=1 "$scratch" "$seeds" 2>&1 | tail -n 20
