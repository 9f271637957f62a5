#!/usr/bin/env bash
# Fresh Debian 12 machine: installs what is needed, builds, and runs every test (with a database
# server of its own for the server catalogue's tests); builds the Debian
# package, installs, checks and removes it; then the core tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/zelvarion-ccache}"

scripts/build.sh build
# A throwaway database server for the tests of the server catalogue, stopped however this ends.
eval "$(scripts/pg-test-cluster.sh start)"
trap 'scripts/pg-test-cluster.sh stop "$ZELVARION_TEST_PG_DIR"' EXIT
(cd build && ctest --output-on-failure -j"$(nproc)" --timeout 600)
scripts/package.sh build
scripts/check-package.sh build

if [ "${ZELVARION_SKIP_SANITIZERS:-0}" != 1 ]; then
    BUILD_TYPE=Debug scripts/build.sh build-asan -DZELVARION_GUI=OFF -DZELVARION_SANITIZE=ON -DZELVARION_BENCH=OFF
    (cd build-asan && ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0 UBSAN_OPTIONS=print_stacktrace=1 \
        LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp" \
        ctest --output-on-failure -j"$(nproc)" --timeout 600)
fi
