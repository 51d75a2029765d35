#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, address and undefined-behaviour sanitizers) into
# build-fuzz/ and runs each for a fixed time, from the seed corpus in fuzz/corpus/ (copied, so
# the committed seeds stay as they are). Reports executions and findings per target; exits 1
# when any target found something.
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]     default: 60 seconds, every target
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${QV_FUZZ_BUILD_DIR:-$here/build-fuzz}"
seconds="${1:-${QV_FUZZ_SECONDS:-60}}"
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(settings_fuzz escape_fuzz injection_fuzz passthrough_fuzz resource_fuzz dsc_fuzz
           expander_fuzz store_fuzz)
fi

QV_BUILD_DIR="$here/build" "$here/scripts/setup.sh" >/dev/null
cmake -S "$here" -B "$build_dir" -G Ninja -DQV_FUZZ=ON -DBUILD_TESTING=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 >/dev/null
cmake --build "$build_dir" --target "${targets[@]}" qvpsrnd >/dev/null

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
found=0
printf '%-18s %12s %10s %s\n' target executions seconds findings
for target in "${targets[@]}"; do
  mkdir -p "$work/$target/corpus" "$work/$target/findings"
  cp "$here/fuzz/corpus/$target"/* "$work/$target/corpus/" 2>/dev/null || true
  log="$work/$target/log"
  status=0
  (cd "$work/$target/findings" && ASAN_OPTIONS=detect_leaks=1 \
    "$build_dir/bin/$target" -max_total_time="$seconds" -print_final_stats=1 \
    "$work/$target/corpus" >"$log" 2>&1) || status=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo "?")
  findings=$(find "$work/$target/findings" -type f | wc -l)
  if ((status != 0 || findings > 0)); then
    found=1
    mkdir -p "$here/fuzz/findings/$target"
    cp "$work/$target/findings"/* "$here/fuzz/findings/$target/" 2>/dev/null || true
    cp "$log" "$here/fuzz/findings/$target/log"
    printf "%-18s %12s %10s %s\n" "$target" "$runs" "$seconds" "FOUND $findings input(s), exit $status (see fuzz/findings/$target)"
  else
    printf '%-18s %12s %10s %s\n' "$target" "$runs" "$seconds" none
  fi
done
exit "$found"
