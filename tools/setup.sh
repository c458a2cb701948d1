#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build tavrolab, then builds it into build/.
# Safe to run again: it installs only missing packages and rebuilds only what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

PACKAGES=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-base-dev-tools qt6-base-private-dev libgl-dev
    libicu-dev libgtest-dev libgmock-dev googletest libbenchmark-dev nlohmann-json3-dev
    coinor-libclp-dev coinor-libcoinutils-dev
    clang libclang-rt-14-dev
    fonts-liberation xvfb xauth python3 poppler-utils imagemagick
    libqrencode-dev zbar-tools dpkg-dev fakeroot
    libreoffice-calc-nogui qt6-translations-l10n
    libqt6sql6-sqlite libqt6sql6-psql libpq-dev postgresql
    zlib1g-dev tzdata
)

missing=()
for p in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Устанавливаю пакеты: ${missing[*]}"
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

BUILD_DIR=${BUILD_DIR:-build}
if [ ! -f "$BUILD_DIR/build.ninja" ]; then
    cmake -S . -B "$BUILD_DIR" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$BUILD_DIR"
