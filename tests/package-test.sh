#!/usr/bin/env bash
# Makes the Debian package of the build, unpacks it into a temporary root and
# checks it as a distribution would: the layout, the programs running from
# where they were unpacked, lintian, the metainfo, the desktop entry, the man
# pages and the shell completion.
#   package-test.sh BUILD-FOLDER SOURCE-FOLDER
set -euo pipefail
build="$1"
source="$2"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
app_id="$(sed -n 's/^CAMINI_APP_ID:STRING=//p' "$build/CMakeCache.txt")"
tmp="$(mktemp -d /tmp/camini-package-XXXXXX)"
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "package: $*" >&2
    exit 1
}

# The package, made as `cpack -G DEB` in the build folder makes it.
(cd "$build" && cpack -G DEB -B "$tmp/out" >"$tmp/cpack.log") || {
    cat "$tmp/cpack.log"
    fail "cpack failed"
}
deb="$tmp/out/camini_${version}_amd64.deb"
[[ -f "$deb" ]] || fail "no $(basename "$deb"): $(ls "$tmp/out")"
info="$(dpkg-deb -I "$deb")"
for field in "Section: science" "Version: $version" "Depends: .*libc6 (>= " "Depends: .*libqt6widgets6"; do
    grep -q "^ $field" <<<"$info" || fail "dpkg -I has no '$field'"
done

root="$tmp/root"
dpkg-deb -x "$deb" "$root"
usr="$root/usr"

# The layout.
for f in bin/camini bin/camini-calc \
    share/camini/materiali.TXT share/camini/stabile1.txt share/camini/sezione1.jpg \
    share/camini/sezione2.jpg share/camini/manuale.html \
    share/doc/camini/README.md share/doc/camini/LICENSE share/doc/camini/copyright \
    share/doc/camini/changelog.gz share/doc/camini/manuale.html \
    share/doc/camini/materials-sources.md share/doc/camini/calcolo.schema.json \
    share/doc/camini/sweep.schema.json share/doc/camini/spessore-minimo.schema.json \
    share/doc/camini/esempi/esempio.CAM \
    share/doc/camini/esempi/camino-130.CAM \
    share/man/man1/camini.1.gz share/man/man1/camini-calc.1.gz \
    "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
    share/mime/packages/camini.xml share/bash-completion/completions/camini-calc \
    share/icons/hicolor/scalable/apps/camini.svg; do
    [[ -e "$usr/$f" ]] || fail "missing: /usr/$f"
done
for size in 16 32 48 64 128 256; do
    png="$usr/share/icons/hicolor/${size}x${size}/apps/camini.png"
    [[ -f "$png" ]] || fail "missing: the ${size}x${size} icon"
    file "$png" | grep -q "PNG image data, $size x $size" || fail "$png: $(file -b "$png")"
done
[[ ! -e "$usr/lib/camini" ]] || fail "a lib/camini folder"
grep -q "^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" \
    "$usr/share/doc/camini/copyright" || fail "the copyright file is not DEP-5"
zcat "$usr/share/doc/camini/changelog.gz" | head -1 | grep -q "^camini ($version) " ||
    fail "the changelog does not begin with $version"
for program in camini camini-calc; do
    file "$usr/bin/$program" | grep -q ", stripped" || fail "$program is not stripped"
done

# The unpacked programs run where they are, from their own share/camini, with
# a home of their own.
home="$tmp/home"
mkdir -p "$home"
run() { env -u XDG_DATA_HOME -u DISPLAY -u WAYLAND_DISPLAY HOME="$home" "$@"; }
[[ "$(run "$usr/bin/camini-calc" --version)" == "camini-calc $version" ]] ||
    fail "camini-calc --version: $(run "$usr/bin/camini-calc" --version)"
[[ "$(run QT_QPA_PLATFORM=xcb "$usr/bin/camini" --version)" == "camini $version" ]] ||
    fail "camini --version without a display"
undated() { sed '1s/ [0-9][0-9]\/[0-9][0-9]\/[0-9]* [0-9:]*$//'; }
run "$usr/bin/camini-calc" "$usr/share/doc/camini/esempi/esempio.CAM" | undated >"$tmp/unpacked.txt"
"$build/bin/camini-calc" "$source/docs/esempi/esempio.CAM" | undated >"$tmp/built.txt"
diff "$tmp/built.txt" "$tmp/unpacked.txt" >&2 || fail "the unpacked program's report differs"
grep -q "^temp per resistenza al fuoco(est)=" "$tmp/unpacked.txt" || fail "no report"
[[ -z "$(ls -A "$home")" ]] || fail "the calculation wrote into the home folder"

# The man pages: generated from --help, so every option is in them.
for program in camini camini-calc; do
    page="$(zcat "$usr/share/man/man1/$program.1.gz")"
    grep -q "^\.TH ${program^^} \"1\" .* \"$program $version\"" <<<"$page" ||
        fail "$program(1) does not name version $version"
    for option in $(run QT_QPA_PLATFORM=xcb "$usr/bin/$program" --help | grep -oE -- '^  --[a-z-]+'); do
        grep -qF -- "${option//-/\\-}" <<<"$page" || fail "$program(1) lacks $option"
    done
    man --warnings -E UTF-8 -l -Tutf8 -Z "$usr/share/man/man1/$program.1.gz" 2>&1 >/dev/null |
        { ! grep .; } || fail "$program(1) has roff warnings"
done

# The completion of camini-calc, as bash runs it.
completion() {
    bash -c '
        source "$1"
        shift
        COMP_LINE="$*"
        COMP_POINT=${#COMP_LINE}
        read -ra COMP_WORDS <<<"$COMP_LINE"
        [[ "$COMP_LINE" == *" " ]] && COMP_WORDS+=("")
        COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
        _camini_calc
        printf "%s\n" "${COMPREPLY[@]}"
    ' completion "$usr/share/bash-completion/completions/camini-calc" "$@"
}
export PATH="$usr/bin:$PATH"
completion camini-calc --min-th | grep -qx -- --min-thickness || fail "no option completion"
completion camini-calc --sweep spessore-is | grep -qx "spessore-isolante=" || fail "no row key after --sweep"
[[ "$(completion camini-calc --min-thickness "" | wc -l)" == 5 ]] || fail "not 5 thickness rows"
completion camini-calc --csv | grep -qx -- --csv-it || fail "no --csv-it"
completion camini-calc --sweep=spessore-is | grep -qx -- "--sweep=spessore-isolante=" ||
    fail "no row key after --sweep="
[[ "$(completion camini-calc --min-thickness=spessore-s | wc -l)" == 2 ]] ||
    fail "not the 2 screens' rows after --min-thickness="

# What a distribution runs on it.
if ! lintian --fail-on error,warning "$deb" >"$tmp/lintian.log" 2>&1; then
    cat "$tmp/lintian.log" >&2
    fail "lintian"
fi
appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml" >/dev/null ||
    fail "appstreamcli: $(appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml")"
desktop-file-validate "$usr/share/applications/$app_id.desktop" || fail "desktop-file-validate"
grep -qx "Exec=/usr/bin/camini %f" "$usr/share/applications/$app_id.desktop" || fail "Exec"
echo "$(basename "$deb"): made, unpacked, run and accepted by lintian"
