#!/usr/bin/env bash
# The style check that ./test runs: every .cpp and .h of src, tests, bench and
# fuzz formatted as .clang-format says (clang-format 14), and the core's
# sources clean under .clang-tidy (clang-tidy 14, with the compilations of the
# build tree BUILD). Prints each finding; fails on any.
#   check-style.sh BUILD
set -uo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$ROOT/build}"
cd "$ROOT"
status=0

mapfile -t sources < <(find src tests bench fuzz -name '*.cpp' -o -name '*.h' | sort)
if ! clang-format-14 --dry-run -Werror "${sources[@]}"; then
    echo "check-style: files differ from .clang-format (clang-format-14 -i FILE formats one)"
    status=1
fi

if [[ ! -f "$build/compile_commands.json" ]]; then
    echo "check-style: no $build/compile_commands.json" >&2
    exit 1
fi
# GCC's own warning options in the compile commands are unknown to clang.
mapfile -t core < <(find src/core -name '*.cpp' | sort)
# clang-tidy counts the warnings it suppressed in the system's headers on
# standard error ("N warnings generated."): those lines say nothing.
printf '%s\n' "${core[@]}" |
    xargs -P "$(nproc 2>/dev/null || echo 2)" -n 4 clang-tidy-14 -p "$build" --quiet \
        --extra-arg=-Wno-unknown-warning-option 2>&1 |
    grep -vE '^[0-9]+ warnings? generated\.$'
if [[ ${PIPESTATUS[1]} != 0 ]]; then
    echo "check-style: clang-tidy findings in the core"
    status=1
fi
[[ $status == 0 ]] && echo "check-style: ${#sources[@]} files formatted, ${#core[@]} core sources clean"
exit $status
