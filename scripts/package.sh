#!/usr/bin/env bash
# Builds the Debian package build/zelvarion_<version>_amd64.deb (or in the build folder given),
# its dependencies read from the binaries by dpkg-shlibdeps.
set -euo pipefail
cd "$(dirname "$0")/.."
dir="${1:-build}"
scripts/build.sh "$dir"
rm -f "$dir"/zelvarion_*.deb
(cd "$dir" && cpack -G DEB >/dev/null)
ls "$dir"/zelvarion_*_amd64.deb
