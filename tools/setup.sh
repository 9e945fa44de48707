#!/usr/bin/env bash
# Shared set-up for run.sh and test.sh: installs the Debian packages the game
# needs (when it can), then configures and builds into $ZARN_BUILD_DIR.
set -euo pipefail

ZARN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
ZARN_BUILD_DIR=${ZARN_BUILD_DIR:-$ZARN_ROOT/build}
# Extra cmake -D options for the configure step.
ZARN_CMAKE_OPTIONS=()

ZARN_PACKAGES=(
    cmake g++ make pkg-config
    libglfw3-dev libglew-dev libglm-dev libassimp-dev libfreetype-dev
    libstb-dev libinih-dev libbullet-dev libgtest-dev libopenal-dev libsndfile1-dev
    libgl1-mesa-dri fonts-liberation2
    xvfb xauth xdotool imagemagick
    desktop-file-utils appstream dpkg-dev
)

zarn_missing_packages() {
    local package
    for package in "${ZARN_PACKAGES[@]}"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            echo "$package"
        fi
    done
}

zarn_install_packages() {
    local missing
    missing=$(zarn_missing_packages | tr '\n' ' ')
    missing=${missing% }
    [ -z "$missing" ] && return 0

    local runner=()
    if [ "$(id -u)" -ne 0 ]; then
        if command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
            runner=(sudo)
        else
            echo "Missing packages. Install them with:"
            echo "  sudo apt-get install -y $missing"
            exit 1
        fi
    fi
    echo "Installing: $missing"
    "${runner[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    # shellcheck disable=SC2086
    "${runner[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
}

zarn_build() {
    cmake -S "$ZARN_ROOT" -B "$ZARN_BUILD_DIR" -DCMAKE_BUILD_TYPE="${ZARN_BUILD_TYPE:-Release}" \
        "${ZARN_CMAKE_OPTIONS[@]}"
    cmake --build "$ZARN_BUILD_DIR" --parallel "$(nproc)"
}

zarn_setup() {
    zarn_install_packages
    zarn_build
}
