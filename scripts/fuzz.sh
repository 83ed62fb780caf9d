#!/usr/bin/env bash
# Fuzzes the .xls and the .xlsx reader, one after the other, for SECONDS each
# (default 600). Builds the fuzz targets with clang in build-fuzz, seeds each
# corpus from the shared fixtures and the test workbooks, and keeps what
# crashes, hangs or trips a sanitizer in build-fuzz/findings/<target>.
# A finding becomes a fixture of tests/workbook/fuzz-regressions once fixed.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-600}
build=build-fuzz

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DXLSLOAD_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target fuzz_xls fuzz_xlsx

# Seeds: the real-world corpora, the regressions found so far and, when a
# normal build wrote them, the test workbooks.
seed() {
    local target=$1
    shift
    mkdir -p "$build/corpus/$target" "$build/findings/$target"
    for file in "$@"; do
        [ -f "$file" ] && cp -n "$file" "$build/corpus/$target/"
    done
    return 0
}
shopt -s nullglob
seed fuzz_xls ../shared/fixtures/xls-corpus/*.xls tests/workbook/fuzz-regressions/*.xls \
    build/tests/workbook/workbooks/*.xls
seed fuzz_xlsx ../shared/fixtures/xlsx-corpus/*.xlsx ../shared/fixtures/xlsx-corpus/*.xlsm \
    tests/workbook/fuzz-regressions/*.xlsx

# Qt, glib and libgsf are not instrumented and keep their one-time
# allocations to the end: leak reports would be theirs, not ours.
export ASAN_OPTIONS=detect_leaks=0
# One child process at a time (-fork=1), so the run goes on past a finding.
# A workbook spanning nearly a whole sheet, as the readers allow, takes
# longer than the timeout in this build: look at a timeout in the normal
# build before taking it for a hang.
for target in fuzz_xls fuzz_xlsx; do
    echo "== $target for ${seconds}s"
    "$build/fuzz/$target" "$build/corpus/$target" -max_total_time="$seconds" \
        -max_len=2097152 -rss_limit_mb=2048 -timeout=10 -fork=1 -ignore_crashes=1 \
        -ignore_timeouts=1 -ignore_ooms=1 -artifact_prefix="$build/findings/$target/" \
        2>&1 | tee "$build/findings/$target.log" || true
done
echo "Findings:"
ls -l "$build"/findings/fuzz_xls "$build"/findings/fuzz_xlsx
