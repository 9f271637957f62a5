#!/usr/bin/env bash
# A throwaway database server for the tests of the server catalogue.
#
#   eval "$(scripts/pg-test-cluster.sh start)"   # exports ZELVARION_TEST_PG and ZELVARION_TEST_PG_DIR
#   scripts/pg-test-cluster.sh stop "$ZELVARION_TEST_PG_DIR"
#
# The cluster lives in a temporary folder (data, socket, log), listens on a free local port and
# trusts local connections: nothing of it outlives the stop. The server refuses to run as root,
# so as root it runs as the "postgres" user when there is one, else as "nobody".
set -euo pipefail

bin_dir() {
    for d in /usr/lib/postgresql/*/bin /usr/local/bin /usr/bin; do
        [ -x "$d/initdb" ] && [ -x "$d/pg_ctl" ] && { echo "$d"; return; }
    done
    echo "pg-test-cluster: initdb and pg_ctl not found" >&2
    exit 1
}

free_port() {
    python3 - <<'PY'
import socket
s = socket.socket()
s.bind(("127.0.0.1", 0))
print(s.getsockname()[1])
s.close()
PY
}

as_server_user() {
    if [ "$(id -u)" -ne 0 ]; then
        "$@"
    elif id postgres >/dev/null 2>&1; then
        runuser -u postgres -- "$@"
    else
        runuser -u nobody -- "$@"
    fi
}

start() {
    local bin dir port user
    bin=$(bin_dir)
    dir=$(mktemp -d "${TMPDIR:-/tmp}/zelvarion-pg.XXXXXX")
    if [ "$(id -u)" -eq 0 ]; then
        user=nobody
        id postgres >/dev/null 2>&1 && user=postgres
        chown "$user" "$dir"
    fi
    chmod 700 "$dir"
    port=$(free_port)
    # UTF-8 text whose case the server lowers for every letter, compared byte by byte.
    as_server_user "$bin/initdb" -D "$dir/data" -U zelvarion -A trust -E UTF8 --locale=C.UTF-8 >"$dir/initdb.log" 2>&1 ||
        { cat "$dir/initdb.log" >&2; exit 1; }
    as_server_user "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
        -o "-p $port -c listen_addresses=127.0.0.1 -c unix_socket_directories=$dir -c fsync=off" start >/dev/null ||
        { cat "$dir/server.log" >&2; exit 1; }
    echo "export ZELVARION_TEST_PG=postgresql://zelvarion@127.0.0.1:$port/postgres"
    echo "export ZELVARION_TEST_PG_DIR=$dir"
}

stop() {
    local dir=${1:-${ZELVARION_TEST_PG_DIR:-}}
    [ -n "$dir" ] && [ -d "$dir/data" ] || { echo "pg-test-cluster: no cluster folder given" >&2; exit 1; }
    as_server_user "$(bin_dir)/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null || true
    rm -rf "$dir"
}

case "${1:-}" in
start) start ;;
stop) stop "${2:-}" ;;
*) echo "usage: $0 start | stop DIR" >&2; exit 2 ;;
esac
