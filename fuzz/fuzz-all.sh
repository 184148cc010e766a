#!/usr/bin/env bash
# Runs every fuzz target (or the ones named) for as long as asked (default
# 120 seconds each), one after the other, from the sanitizer build
# (build-asan/bin), and prints for each its executions and executions per
# second, and a last line with the total. The committed seed folders grow
# with what the fuzzer finds when FUZZ_KEEP=1.
#   fuzz/fuzz-all.sh [SECONDS] [TARGET...]
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-120}"
shift || true
if [[ $# -gt 0 ]]; then
    targets=()
    for name in "$@"; do targets+=("$ROOT/build-asan/bin/${name}_fuzz"); done
else
    targets=("$ROOT"/build-asan/bin/*_fuzz)
fi
total=0
status=0
for target in "${targets[@]}"; do
    name="$(basename "$target" _fuzz)"
    echo "== $name ($seconds s)"
    out="$("$ROOT/fuzz/run-fuzzer.sh" "$target" "$ROOT/fuzz/corpus/$name" "$seconds")" || status=1
    grep -E "ERROR|invariant|^artifact_prefix|Test unit written" <<<"$out" || true
    runs="$(sed -n 's/^stat::number_of_executed_units: *//p' <<<"$out")"
    rate="$(sed -n 's/^stat::average_exec_per_sec: *//p' <<<"$out")"
    echo "$name: ${runs:-0} executions, ${rate:-0} per second"
    total=$((total + ${runs:-0}))
done
echo "total: $total executions"
exit $status
