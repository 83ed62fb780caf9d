#!/usr/bin/env bash
# Runs the benchmarks on this machine after a build (scripts/test.sh):
#   bench/run.sh [WORKDIR]
# SQLite: Verify and Start on 1,000, 8,000 and 65,535 rows, then the whole
# `xlsload import` command beside pandas on the 65,535-row workbook;
# PostgreSQL through ODBC on a throw-away server: 8,000 and 65,535 rows,
# then 65,535 rows through a relay that adds 5 ms each way;
# last, opening and reading a 65,535-row sheet as .xls and .xlsx beside
# xlrd and openpyxl.
set -euo pipefail
cd "$(dirname "$0")/.."
work=${1:-$(mktemp -d "${TMPDIR:-/tmp}/xlsload-bench.XXXXXX")}
mkdir -p "$work"
echo "== $(nproc) cores; workbooks and databases in $work"
echo "== SQLite"
build/bench/bench "$work" "sqlite:$work/till.db" 1000 8000 65535
echo "== PostgreSQL through ODBC"
scripts/with-postgres.sh sh -c 'build/bench/bench "$1" "$XLSLOAD_TEST_PG" 8000 65535' sh "$work"
echo "== PostgreSQL through ODBC, 5 ms each way"
scripts/with-postgres.sh sh -c '
    port=$(printf "%s" "$XLSLOAD_TEST_PG" | sed -n "s/.*Port=\([0-9]*\).*/\1/p")
    relay=$((port + 1))
    python3 bench/latency_relay.py "$relay" "$port" 5 & pid=$!
    sleep 1
    build/bench/bench --set-only "$1" "$(printf "%s" "$XLSLOAD_TEST_PG" | sed "s/Port=$port/Port=$relay/")" 65535
    kill $pid' sh "$work"
echo "== Workbook readers"
build/bench/reader_bench "$work"
