#!/usr/bin/env bash
# Installs the Debian package made by scripts/package.sh into this machine with apt, checks the
# installed programs and files as a user meets them, removes the package again and checks that
# nothing of it is left under /usr. Without root or sudo, the same checks run on the package
# unpacked into a staging folder instead.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
deb=$(ls "$dir"/zelvarion_*_amd64.deb | head -n 1)
id=org.zelvarion.Zelvarion
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "check-package: $*" >&2; exit 1; }

# Every check on an installation under $1 (empty for the system's own /usr).
check_installation() {
    local root="$1" home="$work/home"
    mkdir -p "$home" "$work/runtime"
    chmod 700 "$work/runtime"
    export XDG_RUNTIME_DIR="$work/runtime"
    "$root/usr/bin/zelvarion-cli" --version | grep -q "Zelvarion" || fail "zelvarion-cli --version"

    # The window program on a fresh account: it seeds the per-user folder and makes its catalogue.
    env -i PATH="$PATH" HOME="$home" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" QT_QPA_PLATFORM=offscreen ZELVARION_EXIT_WHEN_READY=1 \
        timeout 120 "$root/usr/bin/zelvarion" || fail "the window program did not start and end"
    local user="$home/.local/share/Zelvarion"
    for f in Zelvarion-Language/English.lng Zelvarion-Language/French.lng help/index.html XML/contact-sheet.xsl; do
        [ -f "$user/$f" ] || fail "$f was not seeded into $user"
    done
    [ -x "$user/XML/fop.sh" ] || fail "the formatter script lost its execute permission"
    [ -s "$user/Images.db" ] || fail "no catalogue was created in $user"
    [ ! -e "$root/usr/bin/Zelvarion.ini" ] || fail "the settings were written beside the program"

    # The command line scans a TIFF file, which needs the general decoder from lib/zelvarion.
    mkdir -p "$work/pictures"
    vips black "$work/pictures/grey.tif" 64 48
    env -i PATH="$PATH" HOME="$home" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" "$root/usr/bin/zelvarion-cli" scan --thumbnails "$work/pictures" \
        >"$work/scan.out" 2>"$work/scan.err" || { cat "$work/scan.err"; fail "zelvarion-cli scan"; }
    ! grep -q "cannot be loaded" "$work/scan.err" || fail "the general image decoder was not found"
    env -i PATH="$PATH" HOME="$home" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR" "$root/usr/bin/zelvarion-cli" search --without-iptc | grep -q "grey.tif" \
        || fail "the scanned file is not in the catalogue"

    desktop-file-validate "$root/usr/share/applications/$id.desktop"
    appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" >/dev/null
    for size in 16x16 32x32 48x48 256x256 scalable; do
        ls "$root/usr/share/icons/hicolor/$size/apps/$id".* >/dev/null || fail "no $size icon"
    done
    for page in zelvarion zelvarion-cli; do
        local warnings
        warnings=$(MANWIDTH=80 man --warnings -l "$root/usr/share/man/man1/$page.1.gz" 2>&1 >"$work/$page.txt")
        [ -z "$warnings" ] || fail "man $page: $warnings"
        grep -q "SYNOPSIS" "$work/$page.txt" || fail "man $page rendered nothing"
    done
}

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ -n "$sudo" ] && ! sudo -n true 2>/dev/null; then
    echo "check-package: neither root nor sudo; checking the package unpacked into a staging folder"
    dpkg-deb -x "$deb" "$work/stage"
    check_installation "$work/stage"
    echo "check-package: the unpacked package passed (it was not installed)"
    exit 0
fi

apt_get() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -y -qq --no-install-recommends "$@" >/dev/null; }
apt_get install "./$deb"
trap 'apt_get remove --purge zelvarion || true; rm -rf "$work"' EXIT
dpkg-query -L zelvarion >"$work/files"
check_installation ""

apt_get remove --purge zelvarion
trap 'rm -rf "$work"' EXIT
while read -r f; do
    [ -d "$f" ] || [ ! -e "$f" ] || fail "$f is left after removing the package"
done <"$work/files"
left=$(find /usr -iname '*zelvarion*' 2>/dev/null)
[ -z "$left" ] || fail "left under /usr: $left"
echo "check-package: $deb installed, checked and removed"
