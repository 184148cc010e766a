#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks the layout, that the
# installed programs start and find their data in PREFIX/share/camini, also
# once the tree is moved, and the desktop entry and the MIME type.
set -euo pipefail
build="$1"
app_id="$(sed -n 's/^CAMINI_APP_ID:STRING=//p' "$build/CMakeCache.txt")"
# A prefix with a blank, as a home folder may have: the desktop entry must
# quote the program's path.
tmp="$(mktemp -d "/tmp/camini install-XXXXXX")"
trap 'rm -rf "$tmp"' EXIT
prefix="$tmp/prefix"
home="$tmp/home"
mkdir -p "$home"

cmake --install "$build" --prefix "$prefix" >/dev/null

for f in bin/camini-calc share/camini/materiali.TXT share/camini/stabile1.txt \
    share/camini/sezione1.jpg share/camini/sezione2.jpg share/camini/manuale.html \
    share/doc/camini/README.md share/doc/camini/LICENSE share/doc/camini/esempi/camino-130.CAM \
    share/icons/hicolor/scalable/apps/camini.svg share/bash-completion/completions/camini-calc; do
    [[ -e "$prefix/$f" ]] || { echo "missing: $f"; exit 1; }
done
[[ ! -e "$prefix/lib/camini" ]] || { echo "a lib/camini folder"; exit 1; }

# The batch calculator finds the shipped archive from bin/, here and once the
# tree is moved, and writes nothing into the home folder.
calc_report() {
    env -u XDG_DATA_HOME HOME="$home" "$1/bin/camini-calc" "$1/share/doc/camini/esempi/camino-130.CAM"
}
grep -q "^temp per resistenza al fuoco(est)=" <<<"$(calc_report "$prefix")" ||
    { echo "camini-calc printed no report"; exit 1; }
mv "$prefix" "$tmp/moved"
grep -q "^temp per resistenza al fuoco(est)=" <<<"$(calc_report "$tmp/moved")" ||
    { echo "the moved camini-calc printed no report"; exit 1; }
mv "$tmp/moved" "$prefix"
[[ -z "$(ls -A "$home")" ]] || { echo "camini-calc wrote into the home folder"; exit 1; }

if [[ -e "$prefix/bin/camini" ]]; then
    desktop="$prefix/share/applications/$app_id.desktop"
    [[ -f "$desktop" ]] || { echo "no desktop entry"; exit 1; }
    grep -qxF "Exec=\"$prefix/bin/camini\" %f" "$desktop" || { echo "desktop entry Exec is wrong"; cat "$desktop"; exit 1; }
    grep -qx "MimeType=application/x-camini-project;" "$desktop" || { echo "desktop entry has no MimeType"; exit 1; }
    desktop-file-validate "$desktop"
    # The project files' type, and the database built from it.
    [[ -f "$prefix/share/mime/packages/camini.xml" ]] || { echo "no MIME package"; exit 1; }
    [[ -f "$prefix/share/mime/application/x-camini-project.xml" ]] || { echo "MIME database not updated"; exit 1; }
    for glob in '*.CAM' '*.cam'; do
        grep -qF "application/x-camini-project:$glob" "$prefix/share/mime/globs2" || { echo "no glob $glob"; exit 1; }
    done
    # The window starts (headless) and keeps running until stopped.
    set +e
    HOME="$home" QT_QPA_PLATFORM=offscreen timeout 3 "$prefix/bin/camini" >/dev/null 2>&1
    rc=$?
    set -e
    [[ $rc -eq 124 ]] || { echo "camini ended by itself with status $rc"; exit 1; }
fi
echo "installed and started from $prefix"
