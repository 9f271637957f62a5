#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need. Idempotent: only
# missing packages are installed.
set -euo pipefail

packages=(
    build-essential cmake ninja-build ccache pkg-config git
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
    libsqlite3-dev sqlite3
    libvips-dev libvips-tools libjpeg62-turbo-dev
    libxml2-dev libxslt1-dev libxml2-utils xsltproc
    fop poppler-utils chromium
    libhunspell-dev hunspell-en-us hunspell-fr
    libexempi-dev libxxhash-dev
    postgresql libpq-dev postgresql-contrib
    libgtest-dev googletest
    clang libclang-rt-14-dev
    xvfb xauth fonts-dejavu-core fonts-wqy-microhei
    imagemagick xdotool openbox
    libimage-exiftool-perl exiv2
    dpkg-dev file librsvg2-bin desktop-file-utils appstream man-db
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
