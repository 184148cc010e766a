#!/usr/bin/env bash
# The batch calculator on every seed file, as a project and as an archive:
# it must end with status 0, 1 or 3 (with a message for 1 and 3), never by a
# signal, and never print inf or nan.
#   calc-on-corpora.sh CAMINI_CALC CORPUS_FOLDER
set -uo pipefail
calc="$1"
corpus="$2"
work="$(mktemp -d /tmp/camini-corpora-XXXXXX)"
trap 'rm -rf "$work"' EXIT
failures=0
count=0
check() {
    local what="$1" file="$2"
    shift 2
    "$@" >"$work/out" 2>"$work/err"
    local rc=$?
    count=$((count + 1))
    case $rc in
    0) ;;
    1 | 3) [[ -s "$work/err" ]] || { echo "$what $file: status $rc without a message"; failures=$((failures + 1)); } ;;
    *) echo "$what $file: status $rc"; head -5 "$work/err"; failures=$((failures + 1)) ;;
    esac
    # Numbers the program wrote: the results table, the fire-resistance
    # lines and the layer checks (the input lines and descriptions echo
    # the file's own texts).
    if sed -n '/^strato /,$p' "$work/out" | grep -v '^-->' | grep -qiwE "nan|inf"; then
        echo "$what $file: inf or nan printed"
        failures=$((failures + 1))
    fi
}
for file in "$corpus"/*/*; do
    [[ -f "$file" ]] || continue
    check project "$file" "$calc" "$file"
    mkdir -p "$work/data"
    cp "$file" "$work/data/materiali.TXT"
    check archive "$file" "$calc" --data-dir "$work/data"
done
echo "$count runs, $failures failures"
[[ $failures -eq 0 ]]
