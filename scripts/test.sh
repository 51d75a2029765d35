#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test; then runs them all again in a build with
# address and undefined-behaviour sanitizers (set QV_SANITIZED_TESTS=0 to skip that second run).
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${QV_BUILD_DIR:-$here/build}"

"$here/scripts/setup.sh"
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
if [[ "${QV_SANITIZED_TESTS:-1}" != 0 ]]; then
  "$here/scripts/test-sanitized.sh"
fi
