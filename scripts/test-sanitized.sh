#!/usr/bin/env bash
# Builds the whole project with address and undefined-behaviour sanitizers into build-asan/ and
# runs every test there.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${QV_ASAN_BUILD_DIR:-$here/build-asan}"

QV_BUILD_DIR="$here/build" "$here/scripts/setup.sh" >/dev/null
cmake -S "$here" -B "$build_dir" -G Ninja -DQV_SANITIZE=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build_dir"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$here/tests/lsan.supp"
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
