#!/usr/bin/env bash
# Installs what building, running and testing Wortwerk needs on Debian 12 (as root, or with sudo).
set -euo pipefail
packages=(cmake make g++ googletest clang-format clang libclang-rt-dev llvm
          g++-mingw-w64-x86-64-posix wine64 wine
          xvfb xdotool xclip imagemagick x11-utils x11-xserver-utils x11-xkb-utils python3
          cups printer-driver-cups-pdf poppler-utils
          librsvg2-bin icoutils # the hand icon: drawn as SVG, rendered at each size and packed into an .ico
          fonts-wine) # Wine's MS Sans Serif, Tahoma and Marlett: windows and caption buttons drawn as on Windows
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -q
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
