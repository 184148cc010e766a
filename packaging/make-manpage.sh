#!/usr/bin/env bash
# Writes a program's man page from its --help and --version with help2man, in
# Italian, and its gzip-compressed copy for installing.
#   make-manpage.sh PROGRAM NAME-LINE OUTPUT.1 LOCALE-FOLDER DATE INCLUDE...
# The Italian section headings need the it_IT.UTF-8 locale: when the system
# has none, one is compiled into LOCALE-FOLDER (the build tree). DATE
# (YYYY-MM-DD, the release's) is the page's date, so the page does not change
# from one build to the next.
set -euo pipefail
program="$1" name="$2" out="$3" locales="$4" date="$5"
shift 5
includes=()
for f in "$@"; do
    includes+=(--include="$f")
done

locale=it_IT.UTF-8
if ! LC_ALL=$locale locale charmap 2>/dev/null | grep -qx UTF-8; then
    if [[ ! -d "$locales/$locale" ]]; then
        mkdir -p "$locales"
        localedef -i it_IT -f UTF-8 "$locales/$locale" 2>/dev/null || true
    fi
    export LOCPATH="$locales"
fi
# Without the locale help2man writes English headings; the page is still whole.
LC_ALL=$locale locale charmap >/dev/null 2>&1 || locale=C.UTF-8

SOURCE_DATE_EPOCH="$(date -u -d "$date" +%s)" help2man --locale="$locale" --no-info \
    --name="$name" "${includes[@]}" --output="$out.tmp" "$program"
# The examples that close --help would run together in one filled
# paragraph: the page has its own section of examples (ESEMPI) instead.
sed -i '/^\.SS "Esempi/,/^\.SH/{/^\.SH/!d}' "$out.tmp"
mv "$out.tmp" "$out"
gzip -n -9 -c "$out" >"$out.gz"
