#!/usr/bin/env bash
# Builds the Debian package and its debug symbols into build/package/ and
# checks them: lintian on both, Debian's hardening, the file list, the
# dependencies, the desktop entry, the software-centre metainfo and the icons,
# the .zqc file type, the manual page, the shell completions, and the
# installed program's --version with no display. Exits non-zero at the first
# failed check.
#   scripts/package.sh [--draft] [--reproducible] [-DNAME=VALUE...]
# The -D settings go to CMake, for the addresses the package shows:
# PANEL_HOMEPAGE_URL, PANEL_BUGTRACKER_URL, PANEL_HELP_URL, PANEL_VCS_URL,
# PANEL_CONTACT_URL, PANEL_SCREENSHOT_URL (the main window's picture; the
# sheet's and the site document's lie beside it unless
# PANEL_SCREENSHOT_SHEET_URL, PANEL_SCREENSHOT_SITE_COVER_URL and
# PANEL_SCREENSHOT_SITE_PANEL_URL say otherwise) and
# CPACK_DEBIAN_PACKAGE_MAINTAINER. A package that still has their
# placeholders (.example, .invalid) is refused unless --draft says it is not
# for release. --reproducible builds the package a second time from a copy of
# the sources in another folder and fails unless both give the same bytes.
#
# The packages are reproducible: every time in them is SOURCE_DATE_EPOCH,
# the time of the last commit (or of the newest release in NEWS outside a
# git checkout) unless it is set.
set -euo pipefail
cd "$(dirname "$0")/.."

draft=false
reproducible=false
only_build=false
settings=()
for arg in "$@"; do
    case $arg in
    --draft) draft=true ;;
    --reproducible) reproducible=true ;;
    --only-build) only_build=true ;; # the second build of --reproducible
    -D?*) settings+=("$arg") ;;
    *)
        echo "usage: scripts/package.sh [--draft] [--reproducible] [-DNAME=VALUE...]" >&2
        exit 2
        ;;
    esac
done

$only_build || scripts/deps.sh --package

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) ||
        SOURCE_DATE_EPOCH=$(date -u -d "$(sed -n '1s/.*(\(.*\))$/\1/p' NEWS)" +%s)
fi
export SOURCE_DATE_EPOCH

# Debian's own compiler and linker flags, with every hardening feature
# (fortify, stack protector, relro and -z now), in a build of its own so that
# the test build keeps its flags. Debian 12's dpkg does not yet add stack
# clash and control-flow protection: they are added here. Its flags also map
# this folder's path to ".", so no build path reaches the program.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# ccache's CCACHE_BASEDIR hands the compiler paths relative to the build
# folder instead, which puts other names into the debug information: the
# package is compiled with the paths Debian's own builds use.
unset CCACHE_BASEDIR
cxxflags="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)"
cxxflags+=" -fstack-clash-protection -fcf-protection"
ldflags=$(dpkg-buildflags --get LDFLAGS)
build=build-deb
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=None "-DCMAKE_CXX_FLAGS=$cxxflags" \
    "-DCMAKE_EXE_LINKER_FLAGS=$ldflags" ${settings[@]+"${settings[@]}"} >/dev/null
# rcc writes SOURCE_DATE_EPOCH into the program's resources as their time;
# the build cannot see it change, so its resources are made again when it does.
if [ "$(cat "$build/source-date-epoch" 2>/dev/null)" != "$SOURCE_DATE_EPOCH" ]; then
    find "$build" -name 'qrc_*.cpp' -delete
    echo "$SOURCE_DATE_EPOCH" >"$build/source-date-epoch"
fi
cmake --build "$build" -j2 --target panelconfig manpage debian-changelog icons
out=build/package
rm -rf "$out"
mkdir -p "$out"
(cd "$build" && cpack -G DEB -B "$PWD/../$out") >"$out/cpack.log" 2>&1 || {
    cat "$out/cpack.log"
    echo "cpack failed" >&2
    exit 1
}

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
arch=$(dpkg --print-architecture)
deb=$out/panelconfig_${version}_$arch.deb
ddeb=$out/panelconfig-dbgsym_${version}_$arch.ddeb
for package in "$deb" "$ddeb"; do
    [ -f "$package" ] || {
        echo "no $package; built: $(ls "$out")" >&2
        exit 1
    }
done

# CPack leaves what Debian's tools would not: the build time on every file,
# and in the debug symbols package an md5sums that names the file under the
# build folder's absolute path, and neither copyright nor changelog. Each
# package is unpacked, put right and packed again with dpkg-deb, which
# orders the files by name and owns them by root.
normalise() {
    local package=$1 name dir
    dir=$(mktemp -d)
    dpkg-deb -R "$package" "$dir/root"
    name=$(dpkg-deb -f "$package" Package)
    if [ "$name" = panelconfig ]; then
        # CPack's strip leaves the compiler's version notes in .comment,
        # which Debian's own strip removes; the build id and the link to
        # the debug file stay as they are.
        objcopy --remove-section=.comment "$dir/root/usr/bin/panelconfig"
    else
        # As Debian's own debug symbol packages: the documentation is the
        # program's (the package depends on that very version), and the
        # debug files are data.
        install -d -m 0755 "$dir/root/usr/share/doc"
        ln -s panelconfig "$dir/root/usr/share/doc/$name"
        find "$dir/root/usr/lib/debug" -type f -exec chmod 0644 {} +
    fi
    (cd "$dir/root" && find . -path ./DEBIAN -prune -o -type f -printf '%P\0' | LC_ALL=C sort -z |
        xargs -0r md5sum) >"$dir/root/DEBIAN/md5sums"
    chmod 0644 "$dir/root/DEBIAN/md5sums"
    local size
    size=$(du -sk --apparent-size --exclude=DEBIAN "$dir/root" | cut -f1)
    sed -i "s/^Installed-Size: .*/Installed-Size: $size/" "$dir/root/DEBIAN/control"
    find "$dir/root" -newermt "@$SOURCE_DATE_EPOCH" -print0 |
        xargs -0r touch -h --no-dereference -d "@$SOURCE_DATE_EPOCH"
    dpkg-deb --root-owner-group -Zxz --build "$dir/root" "$package" >/dev/null
    rm -rf "$dir"
}
normalise "$deb"
normalise "$ddeb"
$only_build && exit 0

fail() {
    echo "package check failed: $*" >&2
    exit 1
}
passed() { echo "ok: $*"; }

passed "$deb and $ddeb"

# Errors and warnings fail; the informational and pedantic tags are shown.
# lintian takes a .ddeb only by the name .deb.
lint=$(mktemp -d)
root=$(mktemp -d)
trap 'rm -rf "$lint" "$root"' EXIT
cp "$deb" "$lint/"
cp "$ddeb" "$lint/$(basename "$ddeb" .ddeb).deb"
# lintian exits with 1 for tags found, above that when it cannot check.
status=0
lintian -EvIL +pedantic --tag-display-limit 0 "$lint"/*.deb >"$out/lintian.log" 2>&1 || status=$?
((status <= 1)) || fail "lintian could not check the packages: $(cat "$out/lintian.log")"
grep -E '^[EIPWX]: ' "$out/lintian.log" || true
! grep -qE '^[EW]: ' "$out/lintian.log" || fail "lintian reports errors or warnings"
passed "lintian -EvIL +pedantic on both packages: no error or warning"

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
./usr/share/bash-completion/completions/panelconfig
./usr/share/doc/panelconfig/README.md
./usr/share/doc/panelconfig/changelog.gz
./usr/share/doc/panelconfig/copyright
$(for size in 128 16 22 24 256 32 48 512 64; do # in the order of sort
    echo "./usr/share/icons/hicolor/${size}x$size/apps/$id.png"
done)
./usr/share/icons/hicolor/scalable/apps/$id.svg
./usr/share/icons/hicolor/scalable/mimetypes/application-x-tarnek-zqc.svg
./usr/share/icons/hicolor/symbolic/apps/$id-symbolic.svg
./usr/share/man/man1/panelconfig.1.gz
./usr/share/metainfo/$id.metainfo.xml
./usr/share/mime/packages/$id.xml
./usr/share/zsh/vendor-completions/_panelconfig"
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | LC_ALL=C sort)
[ "$files" = "$expected" ] || fail "dpkg-deb -c lists:"$'\n'"$files"$'\n'"expected:"$'\n'"$expected"
passed "dpkg-deb -c lists the program, its data files and icons, copyright and changelog"

depends=$(dpkg-deb -f "$deb" Depends)
[[ $depends == *libqt6widgets6* && $depends == *libqt6serialport6* ]] ||
    fail "dependencies not computed from the program: $depends"
passed "Depends: $depends"

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
# So do stack clash protection, whose probes hardening-check finds only in a
# function with a frame larger than a page, and control-flow protection.
for flag in -D_FORTIFY_SOURCE=2 -fstack-clash-protection -fcf-protection; do
    missing=$(grep '"command"' "$build/compile_commands.json" | grep -vc -- "$flag" || true)
    ((missing == 0)) || fail "$missing files were compiled without $flag"
done
passed "hardened: PIE, relro, -z now, stack protector, every file compiled with fortify, stack clash and control-flow protection"

# The program is marked for control-flow protection (IBT and SHSTK) only
# when every object linked into it is. Debian 12's C library startup files
# (Scrt1.o, crti.o, crtn.o) are not, so no program linked there is: then
# every object of ours must be, and hardening-check must pass all else.
unmarked=$(find "$build/src" -name '*.o' -exec sh -c \
    'readelf -nW "$1" | grep -q "x86 feature: IBT, SHSTK" || echo "$1"' - {} \;)
[ -z "$unmarked" ] || fail "objects without control-flow protection:"$'\n'"$unmarked"
echo 'int main() { return 0; }' >"$root/empty.cpp"
g++ -fcf-protection "$root/empty.cpp" -o "$root/empty"
if readelf -nW "$root/empty" | grep -q "x86 feature: IBT, SHSTK"; then
    hardening-check "$program" >"$root/hardening.log" 2>&1 ||
        fail "hardening-check:"$'\n'"$(cat "$root/hardening.log")"
    passed "hardening-check: every line passes"
else
    hardening-check --nocfprotection "$program" >"$root/hardening.log" 2>&1 ||
        fail "hardening-check:"$'\n'"$(cat "$root/hardening.log")"
    passed "hardening-check: every line passes but control-flow integrity, which no program" \
        "linked here has (the C library's startup files lack it); every object of ours has it"
fi
sed 's/^/    /' "$root/hardening.log"

sections=$(readelf -SW "$program")
! grep -q ' \.comment ' <<<"$sections" || fail "the program keeps its .comment section"
buildid=$(readelf -nW "$program" | sed -n 's/.*Build ID: //p')
[ -n "$buildid" ] || fail "the program has no build id"
debugfile=./usr/lib/debug/.build-id/${buildid:0:2}/${buildid:2}.debug
listing=$(dpkg-deb -c "$ddeb") # grep -q would end dpkg-deb early, and pipefail fail it
grep -q " $debugfile\$" <<<"$listing" || fail "$ddeb has no $debugfile: $listing"
[ "$(dpkg-deb -f "$ddeb" Depends)" = "panelconfig (= $version)" ] ||
    fail "$ddeb depends on: $(dpkg-deb -f "$ddeb" Depends)"
# dpkg --verify checks the files each md5sums names, relative to /.
for package in "$deb" "$ddeb"; do
    check=$root/verify/$(basename "$package")
    mkdir -p "$root/verify"
    dpkg-deb -R "$package" "$check"
    (cd "$check" && md5sum --quiet -c DEBIAN/md5sums) >"$root/md5.log" 2>&1 ||
        fail "the md5sums of $package do not match its files: $(cat "$root/md5.log")"
    listed=$(wc -l <"$check/DEBIAN/md5sums")
    present=$(cd "$check" && find . -path ./DEBIAN -prune -o -type f -print | wc -l)
    [ "$listed" -eq "$present" ] || fail "$package: md5sums lists $listed of its $present files"
done
passed "debug symbols in $(basename "$ddeb") under the program's build id; md5sums of both packages name every file, relative to /"

said=$(desktop-file-validate "$share/applications/$id.desktop" 2>&1) && [ -z "$said" ] ||
    fail "desktop-file-validate: $said"
passed "desktop-file-validate"

# Pedantic: the id has capitals, as the desktop entry's name and the
# window's application id have since the first release; nothing else.
metainfo=$share/metainfo/$id.metainfo.xml
appstreamcli validate --pedantic --no-net "$metainfo" >"$root/appstream.log" 2>&1 ||
    fail "appstreamcli validate: $(cat "$root/appstream.log")"
unexplained=$(grep -E '^[EWIP]: ' "$root/appstream.log" | grep -v ': cid-contains-uppercase-letter ' || true)
[ -z "$unexplained" ] || fail "appstreamcli validate --pedantic: $unexplained"
shots=$(grep -c '<image type="source" width="[1-9][0-9]*" height="[1-9][0-9]*">' "$metainfo")
[ "$shots" -eq 4 ] || fail "the metainfo has $shots screenshots with a size, not 4"
passed "appstreamcli validate --pedantic, four screenshots with sizes"

# Each PNG is the size its folder names; the symbolic icon is an SVG in the
# one grey a desktop recolours.
for png in "$share"/icons/hicolor/*x*/apps/$id.png; do
    size=$(basename "$(dirname "$(dirname "$png")")")
    file -b "$png" | grep -q "^PNG image data, ${size/x/ x }," ||
        fail "$png is not a ${size} PNG: $(file -b "$png")"
done
symbolic=$share/icons/hicolor/symbolic/apps/$id-symbolic.svg
xmllint --noout "$symbolic" || fail "xmllint on the symbolic icon"
colours=$(grep -oE '(fill|stroke):rgb\([^)]*\)' "$symbolic" | sed 's/^[a-z]*://' | sort -u)
[ "$colours" = "rgb(74.509805%,74.509805%,74.509805%)" ] ||
    fail "the symbolic icon has other colours than #bebebe: $colours"
passed "icons: 9 PNG sizes from 16 to 512, a symbolic icon"

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

# The completions as installed: each shell completes the commands, options,
# files and devices.
bashcompletion=$share/bash-completion/completions/panelconfig
zshcompletion=$share/zsh/vendor-completions/_panelconfig
bash -n "$bashcompletion" || fail "bash cannot read $bashcompletion"
zsh -n "$zshcompletion" || fail "zsh cannot read $zshcompletion"
tests/completion.sh "$bashcompletion" "$(dirname "$zshcompletion")" >"$root/completion.log" 2>&1 ||
    fail "the completions:"$'\n'"$(grep -v '^ok' "$root/completion.log")"
passed "bash and zsh each complete $(($(grep -c '^ok' "$root/completion.log") / 2)) command lines as expected"

if $reproducible; then
    # The same sources in a folder of another name and length, without
    # the build folders, and built from scratch.
    copy=$(mktemp -d /tmp/panelconfig-reproducible.XXXXXXXX)/second-build-of-the-sources
    mkdir -p "$copy"
    git ls-files -z --cached --others --exclude-standard | tar --null -T - -cf - |
        tar -xf - -C "$copy"
    started=$SECONDS
    "$copy/scripts/package.sh" --only-build ${settings[@]+"${settings[@]}"} >"$out/second-build.log" 2>&1 ||
        fail "the second build failed: $(tail -20 "$out/second-build.log")"
    for package in "$deb" "$ddeb"; do
        other=$copy/$package
        if ! cmp -s "$package" "$other"; then
            diff <(dpkg-deb -c "$package") <(dpkg-deb -c "$other") | head -20 >&2 || true
            for part in control.tar.xz data.tar.xz; do
                echo "$part: $(ar p "$package" "$part" | sha256sum | cut -c1-16)" \
                    "$(ar p "$other" "$part" | sha256sum | cut -c1-16)" >&2
            done
            fail "$(basename "$package") differs when built in $copy"
        fi
    done
    rm -rf "$(dirname "$copy")"
    passed "reproducible: a second build in another folder ($((SECONDS - started)) s) gives the same bytes:"
    sha256sum "$deb" "$ddeb" | sed 's/^/    /'
fi
