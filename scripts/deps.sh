#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when
# they are missing. Extra package names may be given as arguments. The
# accessibility test needs a session bus, the accessibility bus, a virtual
# display and Qt's GTK theme.
set -euo pipefail

packages=(build-essential cmake ninja-build qt6-base-dev qt6-base-private-dev qt6-serialport-dev
          libqt6svg6 fonts-liberation2 poppler-utils
          dbus at-spi2-core xvfb xauth qt6-gtk-platformtheme "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
((${#missing[@]})) || exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
