#!/usr/bin/env bash
# Installs the Debian packages the project needs (when missing), then
# configures and builds into build/. Sourced by ./run and ./test.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

PACKAGES=(
    cmake make g++ pkg-config
    qt6-base-dev qt6-translations-l10n libjpeg62-turbo-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    unrtf poppler-utils xvfb imagemagick librsvg2-bin xdg-utils
    libreoffice-writer-nogui libreoffice-calc-nogui
    desktop-file-utils shared-mime-info
    fonts-liberation fonts-dejavu
    libcairo2-dev nlohmann-json3-dev libcli11-dev python3-jsonschema hyperfine
    clang-14 libclang-rt-14-dev clang-format-14 clang-tidy-14
    ccache
    jq lintian help2man locales appstream dpkg-dev file
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done

if ((${#missing[@]})); then
    if [[ $(id -u) -eq 0 ]]; then
        echo "Installing: ${missing[*]}"
        apt-get update
        DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
    else
        echo "Missing packages. Run as root:" >&2
        echo "  apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y ${missing[*]}" >&2
        exit 1
    fi
fi

JOBS=$(nproc 2>/dev/null || echo 2)
# Compilations are cached (ccache) so that a second build tree, or a
# rebuild after switching branches, compiles only what changed.
LAUNCHER=()
if command -v ccache >/dev/null; then
    LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
if [[ ! -f "$ROOT/build/CMakeCache.txt" ]]; then
    cmake -S "$ROOT" -B "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${LAUNCHER[@]}"
fi
cmake --build "$ROOT/build" -j"$JOBS"

# The second build: the core, camini-calc, the tests that need no display and
# the fuzz targets, with AddressSanitizer and UndefinedBehaviorSanitizer.
# Only ./test asks for it (CAMINI_SANITIZER_BUILD=1).
if [[ "${CAMINI_SANITIZER_BUILD:-0}" == 1 ]] && command -v clang++-14 >/dev/null; then
    if [[ ! -f "$ROOT/build-asan/CMakeCache.txt" ]]; then
        cmake -S "$ROOT" -B "$ROOT/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
            -DCMAKE_CXX_COMPILER=clang++-14 -DCAMINI_SANITIZE=ON -DCAMINI_FUZZ=ON \
            -DCAMINI_GUI=OFF -DCAMINI_BENCH=OFF -DCAMINI_WERROR=OFF "${LAUNCHER[@]}"
    fi
    cmake --build "$ROOT/build-asan" -j"$JOBS"
fi
