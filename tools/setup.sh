#!/usr/bin/env bash
# Installs what building needs (Debian packages, only those missing) and
# builds KVXLoader in build/ (or the folder given as BUILD_DIR, with extra
# CMake arguments after it). With --tests first it also installs what the
# test suite needs, before CMake looks for those tools. BUILD_TARGETS, when
# set, names the only targets to build.
#   setup.sh [--tests] [BUILD_DIR [CMAKE_ARGS...]]
set -euo pipefail
cd "$(dirname "$0")/.."

# The Qt tools are for the translations.
packages=(cmake make g++ qt6-base-dev qt6-serialport-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
          qt6-translations-l10n zlib1g-dev pkg-config libmosquitto-dev qt6-websockets-dev)
bare_packages=()
locales=()
if [ "${1:-}" = --tests ]; then
    shift
    # The suite passes under English and German locales as well as C.
    packages+=(locales jq)
    locales=(en_US.UTF-8 de_DE.UTF-8)
    # Fonts for the offscreen windows; the cross compiler and the resource
    # compiler for the Windows code; objcopy and Python as oracles; strace
    # to fail a record's sync; the package check's tools; a broker and its
    # clients for the records' tests; the headless browser for the bench page.
    packages+=(fonts-dejavu-core g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 binutils python3 strace
               dpkg-dev lintian desktop-file-utils appstream systemd man-db bash-completion zsh
               mosquitto mosquitto-clients chromium chromium-driver python3-selenium)
    # Wine only to run a console program: without its recommends (fonts, X, sound).
    bare_packages+=(wine64)
fi

missing() {
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
    done
}
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
mapfile -t missing_packages < <(missing "${packages[@]}")
mapfile -t missing_bare < <(missing "${bare_packages[@]}")
if [ $((${#missing_packages[@]} + ${#missing_bare[@]})) -gt 0 ]; then
    echo "Installing: ${missing_packages[*]} ${missing_bare[*]}"
    $sudo apt-get update -qq
    export DEBIAN_FRONTEND=noninteractive
    [ ${#missing_packages[@]} -eq 0 ] || $sudo apt-get install -y -qq "${missing_packages[@]}"
    [ ${#missing_bare[@]} -eq 0 ] || $sudo apt-get install -y -qq --no-install-recommends "${missing_bare[@]}"
fi

for l in "${locales[@]}"; do
    # locale -a writes "en_US.utf8".
    if ! locale -a | grep -qix "${l%.UTF-8}.utf8"; then
        $sudo sed -i "s/^# *\($l UTF-8\)/\1/" /etc/locale.gen
        grep -q "^$l UTF-8" /etc/locale.gen || echo "$l UTF-8" | $sudo tee -a /etc/locale.gen > /dev/null
        $sudo locale-gen
    fi
done

build_dir="${1:-build}"
shift || true
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" > /dev/null
cmake --build "$build_dir" -j2 ${BUILD_TARGETS:+--target $BUILD_TARGETS}
