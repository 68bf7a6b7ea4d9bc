#!/usr/bin/env bash
# Installs what the build needs (Debian packages, only those missing) and
# builds KVXLoader in build/ (or the folder given as $1, with extra CMake
# arguments after it).
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake make g++ binutils qt6-base-dev qt6-serialport-dev qt6-translations-l10n fonts-dejavu-core zlib1g-dev
          g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
          dpkg-dev help2man lintian desktop-file-utils appstream)
# Wine only to run a console program: without its recommends (fonts, X, sound).
bare_packages=(wine64)

missing() {
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done
}
mapfile -t missing_packages < <(missing "${packages[@]}")
mapfile -t missing_bare < <(missing "${bare_packages[@]}")
if [ $((${#missing_packages[@]} + ${#missing_bare[@]})) -gt 0 ]; then
    echo "Installing: ${missing_packages[*]} ${missing_bare[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    export DEBIAN_FRONTEND=noninteractive
    [ ${#missing_packages[@]} -eq 0 ] || $sudo apt-get install -y -qq "${missing_packages[@]}"
    [ ${#missing_bare[@]} -eq 0 ] || $sudo apt-get install -y -qq --no-install-recommends "${missing_bare[@]}"
fi

build_dir="${1:-build}"
shift || true
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" > /dev/null
cmake --build "$build_dir" -j"$(nproc)"
