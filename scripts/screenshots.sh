#!/usr/bin/env bash
# Takes the screenshots of docs/ from the program running on a virtual X
# screen (Xvfb), driven with xdotool. Needs the build (./run or ./test first)
# and the packages xvfb, xdotool and imagemagick.
#   scripts/screenshots.sh [OUTPUT_FOLDER]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
OUT="${1:-$ROOT/docs}"
BIN="$ROOT/build/bin"
for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "missing $tool (apt-get install xvfb xdotool imagemagick)" >&2; exit 1; }
done
mkdir -p "$OUT"
DATA="$(mktemp -d /tmp/camini-shots-XXXXXX)"
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$DATA"' EXIT
# A copy of the program and its data, so the editor's saves touch nothing here.
cp "$BIN/camini" "$BIN"/materiali.TXT "$BIN"/stabile1.txt "$BIN"/sezione*.jpg "$BIN"/manuale.html "$DATA/"

shoot() { import -window root "$OUT/$1.png"; echo "$OUT/$1.png"; }
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.8; }

run_on_screen() {
    local width="$1" height="$2" display="$3"
    Xvfb ":$display" -screen 0 "${width}x${height}x24" >/dev/null 2>&1 &
    local xvfb=$!
    sleep 1
    export DISPLAY=":$display"
    "$DATA/camini" >/dev/null 2>&1 &
    local app=$!
    sleep 2
    click 700 $((height - 20)) # give the window the keyboard
    "session_$width"
    kill "$app" "$xvfb" 2>/dev/null || true
    wait "$app" "$xvfb" 2>/dev/null || true
}

session_1366() {
    shoot main-1366x768-start
    xdotool key alt+c; sleep 1
    shoot main-1366x768-calcolo
    click 42 313 # "isolante": the material list
    shoot main-1366x768-materiali
    click 600 40 # a material: the list closes
    xdotool key alt+c; sleep 1
    xdotool key alt+r; sleep 1.5 # the report in the viewer
    shoot viewer-1366x768-report
    click 510 687; sleep 1 # "Uscita": the profile graph
    shoot graph-1366x768-profile
    click 296 $((768 - 68 + 16)) # "continua"
    click 1216 486 # "Grafico lambda materiali"
    click 600 108 # material 5, the insulation
    shoot graph-1366x768-lambda
    click 296 $((768 - 68 + 16))
    click 502 313 # "materiali": the archive editor
    shoot editor-1366x768
}

session_1024() {
    shoot main-1024x768-start
    xdotool key alt+c; sleep 1
    shoot main-1024x768-calcolo
    click 32 313
    shoot main-1024x768-materiali
}

run_on_screen 1366 768 97
run_on_screen 1024 768 98
