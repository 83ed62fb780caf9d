#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test, with a
# throw-away PostgreSQL server on 127.0.0.1 for the tests that need one.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)"
scripts/with-postgres.sh ctest --test-dir build --output-on-failure -j"$(nproc)"
