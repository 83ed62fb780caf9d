#!/usr/bin/env bash
# Runs a command beside a throw-away PostgreSQL server:
#   scripts/with-postgres.sh ctest --test-dir build
# Starts a cluster in a temp folder on 127.0.0.1 and a free port, creates the
# test role and database, and exports for the command
#   XLSLOAD_TEST_PG  "odbc:" + the ODBC connection string of the test database
#   ODBCSYSINI       a private unixODBC folder with the drivers the tests use
#   XLSLOAD_TEST_PG_SERVER  a command that stops ("stop") and starts
#                    ("start") the server again, for tests of a lost server
# The cluster is stopped and removed afterwards, also when the command
# fails; the command's exit status is passed through.
set -euo pipefail

if (($# == 0)); then
    echo "usage: $0 COMMAND [ARGS...]" >&2
    exit 2
fi

pg_bin=${PG_BIN:-/usr/lib/postgresql/15/bin}
odbc_lib=/usr/lib/x86_64-linux-gnu/odbc
work=$(mktemp -d "${TMPDIR:-/tmp}/xlsload-pg.XXXXXX")

# PostgreSQL refuses to run as root: the cluster then belongs to postgres.
as_owner=()
if [ "$(id -u)" -eq 0 ]; then
    chown postgres: "$work"
    as_owner=(runuser -u postgres --)
fi

stop_cluster() {
    if [ -f "$work/data/postmaster.pid" ]; then
        "$work/server" stop >/dev/null 2>&1 || true
    fi
    rm -rf "$work"
}
trap stop_cluster EXIT

port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

"${as_owner[@]}" "$pg_bin/initdb" -D "$work/data" -U postgres -E UTF8 --locale=C.UTF-8 \
    --auth-local=trust --auth-host=scram-sha-256 >"$work/initdb.log" 2>&1 ||
    { cat "$work/initdb.log" >&2; exit 1; }

# A test cluster keeps nothing: durability is traded for speed. A stop is
# a fast shutdown: sessions are ended and every commit is kept.
cat >"$work/server" <<SH
#!/bin/sh
case "\$1" in
start) exec ${as_owner[*]} "$pg_bin/pg_ctl" -D "$work/data" -l "$work/server.log" -w \\
    -o "-p $port -k $work -c listen_addresses=127.0.0.1 -c fsync=off -c synchronous_commit=off -c full_page_writes=off" \\
    start ;;
stop) exec ${as_owner[*]} "$pg_bin/pg_ctl" -D "$work/data" -m fast -w stop ;;
*) echo "usage: \$0 start|stop" >&2; exit 2 ;;
esac
SH
chmod a+rx "$work/server"
"$work/server" start >/dev/null || { cat "$work/server.log" >&2; exit 1; }

"${as_owner[@]}" psql -q -h "$work" -p "$port" -U postgres -d postgres -v ON_ERROR_STOP=1 <<'SQL'
CREATE ROLE xlsload LOGIN PASSWORD 'xlsload';
CREATE DATABASE xlsload_test OWNER xlsload;
SQL

# psqlODBC reads its logging switches from its own driver section, whatever
# name the connection string uses; without CommLog=0 it leaves a log file
# per process in /tmp.
mkdir -p "$work/odbc"
cat >"$work/odbc/odbcinst.ini" <<INI
[PostgreSQL Unicode]
Description=PostgreSQL ODBC driver (Unicode)
Driver=$odbc_lib/psqlodbcw.so
CommLog=0
Debug=0
UseDeclareFetch=0

[SQL Server]
Description=FreeTDS ODBC driver
Driver=$odbc_lib/libtdsodbc.so
INI
: >"$work/odbc/odbc.ini"
chmod -R a+rX "$work/odbc"

export ODBCSYSINI="$work/odbc"
export XLSLOAD_TEST_PG_SERVER="$work/server"
export XLSLOAD_TEST_PG="odbc:Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=$port;Database=xlsload_test;Uid=xlsload;Pwd=xlsload;Protocol=7.4-0;"

status=0
"$@" || status=$?
exit "$status"
