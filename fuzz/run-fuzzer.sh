#!/usr/bin/env bash
# Runs one fuzz target from its committed seeds for a number of seconds.
# New inputs go to a scratch folder, so the committed seeds stay as they are;
# with FUZZ_KEEP=1 they go into the seed folder itself. FUZZ_SEED fixes the
# random seed (the ctest runs use 1, so that a test run explores the same
# inputs every time; fuzz-all.sh leaves it random); FUZZ_SCRATCH names the
# folder of the scratch folders (default /dev/shm, else /tmp).
#   run-fuzzer.sh TARGET SEED_FOLDER SECONDS
set -euo pipefail
target="$1"
seeds="$2"
seconds="${3:-20}"
# The longest input a target is given. The archive is 1,300 lines, which
# fit in 4 KiB written short (LF ends, numbers without padding: the seed
# compact.TXT), so every slot and the end stay reachable; longer inputs
# only repeat the per-line work and halve the rate. The others take what
# their formats may hold.
case "$(basename "$target")" in
archive_fuzz) max_len=4096 ;;
*) max_len=65536 ;;
esac
if [[ "${FUZZ_KEEP:-0}" == 1 ]]; then
    folders=("$seeds")
else
    # In memory where the system has a folder for it: the fuzzer writes
    # every input that finds something new, and on a disk those writes
    # cost the archive target a tenth of its speed.
    base=/tmp
    [[ -d /dev/shm && -w /dev/shm ]] && base=/dev/shm
    scratch="$(mktemp -d "${FUZZ_SCRATCH:-$base}/camini-fuzz-corpus-XXXXXX")"
    trap 'rm -rf "$scratch"' EXIT
    folders=("$scratch" "$seeds")
fi
"$target" -max_total_time="$seconds" -max_len="$max_len" -rss_limit_mb=1024 -timeout=10 \
    ${FUZZ_SEED:+-seed=$FUZZ_SEED} -print_final_stats=1 "${folders[@]}" 2>&1 | tail -n 40
