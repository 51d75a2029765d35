#!/usr/bin/env bash
# Sets up the machine, builds, and shows the default plug-in settings record as the
# user-interface plug-in makes it when the host asks for it.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${QV_BUILD_DIR:-$here/build}"

"$here/scripts/setup.sh"
echo
echo "Default settings record of qvpsui.so:"
"$build_dir/bin/qvdevmode" --module "$build_dir/lib/qvpsui.so"
