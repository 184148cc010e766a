#!/usr/bin/env bash
# Runs every fuzz target for as long as asked (default 120 seconds each) from
# the sanitizer build (build-asan/bin), growing the committed seed folders
# with what the fuzzer finds when FUZZ_KEEP=1.
#   fuzz/fuzz-all.sh [SECONDS]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-120}"
for target in "$ROOT"/build-asan/bin/*_fuzz; do
    name="$(basename "$target" _fuzz)"
    echo "== $name ($seconds s)"
    if [[ "${FUZZ_KEEP:-0}" == 1 ]]; then
        "$target" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=1024 -timeout=10 \
            -print_final_stats=1 "$ROOT/fuzz/corpus/$name" 2>&1 | grep -E "stat::number_of_executed_units|ERROR|invariant" || true
    else
        "$ROOT/fuzz/run-fuzzer.sh" "$target" "$ROOT/fuzz/corpus/$name" "$seconds" | grep -E "stat::number_of_executed_units|ERROR|invariant" || true
    fi
done
