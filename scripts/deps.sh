#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, when
# they are missing. Extra package names may be given as arguments.
#   scripts/deps.sh [PACKAGE...]            what the build and the test suite need
#   scripts/deps.sh --build [PACKAGE...]    only what a build needs, without
#                                           Recommends
#   scripts/deps.sh --package [PACKAGE...]  what scripts/package.sh needs: the
#                                           build and the package's checks
# Run as root once (su -c 'scripts/deps.sh --package'), the scripts then find
# everything installed and need neither root nor sudo.
# The accessibility test needs a session bus, the accessibility bus, a virtual
# display and Qt's GTK theme; the window needs Liberation Sans, and its
# dialogs Qt's SVG plugins for the icon theme; the completion test
# bash-completion and zsh. The start-up benchmark watches the display
# through XCB (libx11-dev brings its headers).
set -euo pipefail

build=(build-essential cmake ninja-build qt6-base-dev qt6-base-private-dev qt6-serialport-dev
       librsvg2-bin libx11-dev)
tests=(libqt6svg6 fonts-liberation2 poppler-utils
       dbus at-spi2-core xvfb xauth qt6-gtk-platformtheme bash-completion zsh)
options=(-y -qq)
case ${1:-} in
--build | --package)
    # file: CPack's dependency and debug-symbol steps ask it what each file
    # is. devscripts: hardening-check. bash-completion and zsh: the
    # completions are tried in their shells.
    [ "$1" = --package ] && build+=(file dpkg-dev lintian devscripts desktop-file-utils appstream
                                    libxml2-utils shared-mime-info man-db bash-completion zsh)
    shift
    tests=()
    options+=(--no-install-recommends)
    ;;
esac
packages=("${build[@]}" ${tests[@]+"${tests[@]}"} "$@")
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
((${#missing[@]})) || exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install "${options[@]}" "${missing[@]}" >/dev/null
