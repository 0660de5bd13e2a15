#!/usr/bin/env bash
# Builds the Debian package into build/package/ and checks what it installs:
# the file list, the dependencies, the desktop entry, the software-centre
# metainfo, the .zqc file type, the manual page, and the installed program's
# --version with no display. Exits non-zero at the first failed check.
#   scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/deps.sh desktop-file-utils appstream libxml2-utils shared-mime-info man-db
build=build
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target panelconfig manpage
rm -rf "$build/package"
mkdir -p "$build/package"
(cd "$build" && cpack -G DEB -B package >package/cpack.log 2>&1) || {
    cat "$build/package/cpack.log"
    echo "cpack failed" >&2
    exit 1
}

fail() {
    echo "package check failed: $*" >&2
    exit 1
}
passed() { echo "ok: $*"; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb=$build/package/panelconfig_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "no $deb; built: $(ls "$build/package")"
passed "$deb"

id=com.tarnek.PanelConfig
expected="./usr/bin/panelconfig
./usr/share/applications/$id.desktop
./usr/share/icons/hicolor/scalable/apps/$id.svg
./usr/share/man/man1/panelconfig.1.gz
./usr/share/metainfo/$id.metainfo.xml
./usr/share/mime/packages/$id.xml"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
[ "$files" = "$expected" ] || fail "dpkg-deb -c lists:"$'\n'"$files"$'\n'"expected:"$'\n'"$expected"
passed "dpkg-deb -c lists the program and its five data files"

depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* && $depends == *libqt6serialport6* ]] ||
    fail "dependencies not computed from the program: $depends"
passed "Depends: $depends"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
share=$root/usr/share

out=$(desktop-file-validate "$share/applications/$id.desktop" 2>&1) && [ -z "$out" ] ||
    fail "desktop-file-validate: $out"
passed "desktop-file-validate"

appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" >/dev/null ||
    fail "appstreamcli validate: $(appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml")"
passed "appstreamcli validate"

xmllint --noout "$share/mime/packages/$id.xml" || fail "xmllint on the MIME type"
mkdir -p "$root/mime/packages"
cp "$share/mime/packages/$id.xml" "$root/mime/packages/"
update-mime-database "$root/mime" >"$root/mime.log" 2>&1 ||
    fail "update-mime-database: $(cat "$root/mime.log")"
grep -qx '50:application/x-tarnek-zqc:\*\.zqc' "$root/mime/globs2" ||
    fail "the MIME database has no *.zqc glob: $(cat "$root/mime/globs2")"
passed "xmllint and update-mime-database: *.zqc is application/x-tarnek-zqc"

page=$(MANWIDTH=80 MANPAGER=cat man --warnings -l "$share/man/man1/panelconfig.1.gz" 2>"$root/man.err") ||
    fail "man cannot render the page: $(cat "$root/man.err")"
[ ! -s "$root/man.err" ] || fail "man warns: $(cat "$root/man.err")"
for section in NAME SYNOPSIS OPTIONS FILES "EXIT STATUS"; do
    grep -qx "$section" <<<"$page" || fail "the manual page has no $section section"
done
passed "man renders panelconfig(1) without warnings"

shown=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/panelconfig" --version) ||
    fail "installed panelconfig --version exits with $?"
[ "$shown" = "panelconfig $version" ] || fail "installed panelconfig --version prints '$shown'"
passed "installed panelconfig --version prints '$shown' with no display"
