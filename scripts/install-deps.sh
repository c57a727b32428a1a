#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Tintora need, and only those missing.
# Quiet and quick when everything is there; run by `make run` and `make test`.
set -euo pipefail

packages=(
    # build
    cmake g++ make clang-format
    qt6-base-dev qt6-base-dev-tools qt6-tools-dev qt6-tools-dev-tools libgl-dev
    # the Designer plugin and the form builder of its tests (Qt6Designer needs Qt6OpenGLWidgets)
    libqt6opengl6-dev
    # run: the layouts' fonts map onto Liberation Sans
    fonts-liberation2
    # sanitizer build
    clang libclang-rt-14-dev
    # end-to-end tests and `make run` without a display
    xvfb xauth openbox xdotool xclip x11-utils imagemagick x11vnc python3
    # printing tests
    cups cups-bsd poppler-utils libpoppler-cpp-dev
    # printing: the printer hands its spooled documents to CUPS itself
    libcups2-dev
    # installation checks and the form designer
    desktop-file-utils appstream designer-qt6
    # number conversion tests under a German locale
    locales
    # the program under memcheck (tests/valgrind)
    valgrind
    # benchmarks: the helper that times a window's first map talks to the X server through xcb
    libxcb1-dev libx11-dev
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing missing Debian packages: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    "${sudo[@]}" apt-get update -qq
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qx 'de_DE.utf8'; then
    echo "Generating the de_DE.UTF-8 locale"
    if grep -q '^# *de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        "${sudo[@]}" sed -i 's/^# *de_DE.UTF-8 UTF-8/de_DE.UTF-8 UTF-8/' /etc/locale.gen
    elif ! grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
        echo 'de_DE.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    fi
    "${sudo[@]}" locale-gen >/dev/null
fi
