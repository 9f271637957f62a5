#!/usr/bin/env bash
# Fresh Debian 12 machine: installs what is needed, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
exec build/bin/zelvarion "$@"
