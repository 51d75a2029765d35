#!/usr/bin/env bash
# Sets up the machine, builds, and runs every test.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${QV_BUILD_DIR:-$here/build}"

"$here/scripts/setup.sh"
ctest --test-dir "$build_dir" --output-on-failure -j "$(nproc)"
