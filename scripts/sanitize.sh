#!/usr/bin/env bash
# Builds the workbook readers and their tests with the address and
# undefined-behaviour sanitizers in build-sanitize and runs those tests, over
# the shared corpora too when they are beside the repository. Any sanitizer
# report fails the test that triggered it.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-sanitize

cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DXLSLOAD_SANITIZE=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target workbook_tests
# Qt, glib and libgsf are not instrumented and keep their one-time
# allocations to the end: leak reports would be theirs, not ours.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" \
    -R "Workbook|Corpus|Xlsx|Sheet|Formula|Dump"
