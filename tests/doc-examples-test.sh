#!/usr/bin/env bash
# Runs every camini-calc command of the README and of the manual as written,
# from a folder laid out as the repository's root after ./run (docs/ and
# build/bin/), so that the examples cannot drift from the program.
#   doc-examples-test.sh BUILD-FOLDER SOURCE-FOLDER
set -euo pipefail
build="$1"
source="$2"
tmp="$(mktemp -d /tmp/camini-examples-XXXXXX)"
trap 'rm -rf "$tmp"' EXIT
ln -s "$source/docs" "$tmp/docs"
mkdir "$tmp/build"
ln -s "$build/bin" "$tmp/build/bin"

# The README's indented command lines, the manual's <pre> lines (either may
# set SOURCE_DATE_EPOCH first), and the examples of --help, which name the
# program as installed: they run with build/bin first on the PATH.
{
    sed -n 's/^ \{4,\}\(\(SOURCE_DATE_EPOCH=[0-9]* \)\?build\/bin\/camini-calc .*\)$/\1/p' \
        "$source/README.md"
    sed -n 's/^<pre>\(\(SOURCE_DATE_EPOCH=[0-9]* \)\?build\/bin\/camini-calc .*\)<\/pre>$/\1/p' \
        "$source/data/manuale.html" | sed 's/&gt;/>/g; s/&lt;/</g; s/&amp;/\&/g'
    "$build/bin/camini-calc" --help | sed -n '/^Esempi/,$ s/^  \(\(SOURCE_DATE_EPOCH=[0-9]* \)\?camini-calc .*\)$/\1/p'
} >"$tmp/commands"
export PATH="$tmp/build/bin:$PATH"
count=0
while IFS= read -r command; do
    [[ "$command" == *"["* || "$command" == *" | --"* ]] && continue # a synopsis
    if ! (cd "$tmp" && bash -o pipefail -c "$command" >/dev/null 2>"$tmp/err"); then
        echo "failed: $command" >&2
        cat "$tmp/err" >&2
        exit 1
    fi
    count=$((count + 1))
done <"$tmp/commands"
((count >= 16)) || { echo "only $count commands found" >&2; exit 1; }
echo "$count commands of the README, of the manual and of --help ran"
