#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks that the installed
# programs start and find their data through the links in PREFIX/bin.
set -euo pipefail
build="$1"
# A prefix with a blank, as a home folder may have: the desktop entry must
# quote the program's path.
prefix="$(mktemp -d "/tmp/camini install-XXXXXX")"
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" >/dev/null

for f in camini-calc materiali.TXT stabile1.txt sezione1.jpg sezione2.jpg manuale.html; do
    [[ -e "$prefix/lib/camini/$f" ]] || { echo "missing: lib/camini/$f"; exit 1; }
done
[[ -L "$prefix/bin/camini-calc" ]] || { echo "no link bin/camini-calc"; exit 1; }
[[ -f "$prefix/share/icons/hicolor/scalable/apps/camini.svg" ]] || { echo "no icon"; exit 1; }

# The batch calculator started through its link finds materiali.TXT.
out="$("$prefix/bin/camini-calc")"
grep -q "^temp per resistenza al fuoco(est)=" <<<"$out" || { echo "camini-calc printed no report"; exit 1; }

if [[ -e "$prefix/lib/camini/camini" ]]; then
    desktop="$prefix/share/applications/camini.desktop"
    [[ -f "$desktop" ]] || { echo "no desktop entry"; exit 1; }
    grep -qxF "Exec=\"$prefix/lib/camini/camini\" %f" "$desktop" || { echo "desktop entry Exec is wrong"; cat "$desktop"; exit 1; }
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
    QT_QPA_PLATFORM=offscreen timeout 3 "$prefix/bin/camini" >/dev/null 2>&1
    rc=$?
    set -e
    [[ $rc -eq 124 ]] || { echo "camini ended by itself with status $rc"; exit 1; }
fi
echo "installed and started from $prefix"
