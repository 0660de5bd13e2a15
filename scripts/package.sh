#!/usr/bin/env bash
# Builds the Debian package and its debug symbols into build/package/ and
# checks them: lintian, Debian's hardening, the file list, the dependencies,
# the desktop entry, the software-centre metainfo, the .zqc file type, the
# manual page, and the installed program's --version with no display. Exits
# non-zero at the first failed check.
#   scripts/package.sh [--draft] [-DNAME=VALUE...]
# The -D settings go to CMake, for the addresses the package shows:
# PANEL_HOMEPAGE_URL, PANEL_BUGTRACKER_URL, PANEL_HELP_URL,
# PANEL_SCREENSHOT_URL and CPACK_DEBIAN_PACKAGE_MAINTAINER. A package that
# still has their placeholders (.example, .invalid) is refused unless
# --draft says it is not for release.
set -euo pipefail
cd "$(dirname "$0")/.."

draft=false
settings=()
for arg in "$@"; do
    case $arg in
    --draft) draft=true ;;
    -D?*) settings+=("$arg") ;;
    *)
        echo "usage: scripts/package.sh [--draft] [-DNAME=VALUE...]" >&2
        exit 2
        ;;
    esac
done

# file: CPack's dependency and debug-symbol steps ask it what each file is.
scripts/deps.sh file lintian dpkg-dev desktop-file-utils appstream libxml2-utils \
    shared-mime-info man-db

# Debian's own compiler and linker flags, with every hardening feature
# (fortify, stack protector, relro and -z now), in a build of its own so that
# the test build keeps its flags.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
build=build-deb
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None "-DCMAKE_CXX_FLAGS=$cxxflags" \
    "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" ${settings[@]+"${settings[@]}"} >/dev/null
cmake --build "$build" -j2 --target panelconfig manpage debian-changelog
out=build/package
rm -rf "$out"
mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$PWD/../$out") >"$out/cpack.log" 2>&1 || {
    cat "$out/cpack.log"
    echo "cpack failed" >&2
    exit 1
}

fail() {
    echo "package check failed: $*" >&2
    exit 1
}
passed() { echo "ok: $*"; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
deb=$out/panelconfig_${version}_$arch.deb
ddeb=$out/panelconfig-dbgsym_${version}_$arch.ddeb
[ -f "$deb" ] || fail "no $deb; built: $(ls "$out")"
[ -f "$ddeb" ] || fail "no debug symbols package $ddeb; built: $(ls "$out")"
passed "$deb and $ddeb"

# Errors and warnings fail; the informational and pedantic tags are shown.
lintian -EvIL +pedantic --no-tag-display-limit "$deb" >"$out/lintian.log" 2>&1 ||
    fail "lintian could not check the package: $(cat "$out/lintian.log")"
grep -E '^[EIPWX]: ' "$out/lintian.log" || true
! grep -qE '^[EW]: ' "$out/lintian.log" || fail "lintian reports errors or warnings"
passed "lintian -EvIL +pedantic: no error or warning"

placeholders=$( (dpkg-deb -f "$deb" Maintainer Homepage
    dpkg-deb --fsys-tarfile "$deb" | tar -xO --wildcards '*.metainfo.xml') |
    grep -oE '[^ <>"]*\.(example|invalid)\b[^ <>"]*' | sort -u || true)
if [ -n "$placeholders" ]; then
    $draft || fail "placeholders left (set them with -D..., or say --draft):"$'\n'"$placeholders"
    echo "draft: placeholders left:" $placeholders
else
    passed "no placeholder addresses"
fi

id=com.tarnek.PanelConfig
expected="./usr/bin/panelconfig
./usr/share/applications/$id.desktop
./usr/share/doc/panelconfig/changelog.gz
./usr/share/doc/panelconfig/copyright
./usr/share/icons/hicolor/scalable/apps/$id.svg
./usr/share/icons/hicolor/scalable/mimetypes/application-x-tarnek-zqc.svg
./usr/share/man/man1/panelconfig.1.gz
./usr/share/metainfo/$id.metainfo.xml
./usr/share/mime/packages/$id.xml"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
[ "$files" = "$expected" ] || fail "dpkg-deb -c lists:"$'\n'"$files"$'\n'"expected:"$'\n'"$expected"
passed "dpkg-deb -c lists the program, its data files, copyright and changelog"

depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* && $depends == *libqt6serialport6* ]] ||
    fail "dependencies not computed from the program: $depends"
passed "Depends: $depends"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
share=$root/usr/share

program=$root/usr/bin/panelconfig
dynamic=$(readelf -dW "$program")
grep -qE 'FLAGS.*\bNOW\b' <<<"$dynamic" || fail "the program is not linked with -z now"
readelf -lW "$program" | grep -q GNU_RELRO || fail "the program has no read-only relocations"
readelf -hW "$program" | grep -q 'DYN (Position-Independent' || fail "the program is not PIE"
symbols=$(readelf --dyn-syms -W "$program")
grep -q __stack_chk_fail <<<"$symbols" || fail "the program has no stack protector"
# Fortify shows in the program only where a call can be checked: every
# compile must have had it.
unfortified=$(grep '"command"' "$build/compile_commands.json" | grep -vc -- '-D_FORTIFY_SOURCE=2' || true)
((unfortified == 0)) || fail "$unfortified files were compiled without -D_FORTIFY_SOURCE=2"
passed "hardened: PIE, relro, -z now, stack protector, every file compiled with fortify"

buildid=$(readelf -nW "$program" | sed -n 's/.*Build ID: //p')
[ -n "$buildid" ] || fail "the program has no build id"
debugfile=./usr/lib/debug/.build-id/${buildid:0:2}/${buildid:2}.debug
dpkg-deb -c "$ddeb" | grep -q " $debugfile\$" ||
    fail "$ddeb has no $debugfile: $(dpkg-deb -c "$ddeb")"
[ "$(dpkg-deb -f "$ddeb" Depends)" = "panelconfig (= $version)" ] ||
    fail "$ddeb depends on: $(dpkg-deb -f "$ddeb" Depends)"
passed "debug symbols in $(basename "$ddeb") under the program's build id"

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
grep -qx 'application/x-tarnek-zqc:application-x-tarnek-zqc' "$root/mime/icons" ||
    fail "the MIME database gives .zqc files no icon of their own"
grep -qx 'application/x-tarnek-zqc:text-x-generic' "$root/mime/generic-icons" ||
    fail "the MIME database gives .zqc files no generic icon"
[ -f "$share/icons/hicolor/scalable/mimetypes/application-x-tarnek-zqc.svg" ] ||
    fail "the package has no icon for .zqc files"
passed "xmllint and update-mime-database: *.zqc is application/x-tarnek-zqc, with its icon"

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
