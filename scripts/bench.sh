#!/usr/bin/env bash
# Builds Release, runs the benchmarks (bench/) and prints the ratios measured in this one run,
# then times the whole road: `qvhost print` of a DSC document to a file as a confidential job,
# side by side with CUPS's pstops filter on the same document and `cat` of it as the floor.
#
#   QV_BUILD_DIR     build folder (default build/)
#   QV_JOBS          parallel build jobs (default 2)
#   QV_BENCH_REPS    repetitions of each benchmark, medians reported (default 5)
#   QV_ROAD_RUNS     runs of each whole-road command, medians reported (default 7)
#   QV_ROAD_PAGES    pages of the whole-road document (default 50000)
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build_dir="${QV_BUILD_DIR:-$here/build}"
jobs="${QV_JOBS:-2}"
reps="${QV_BENCH_REPS:-5}"
runs="${QV_ROAD_RUNS:-7}"
pages="${QV_ROAD_PAGES:-50000}"
pstops=/usr/lib/cups/filter/pstops
if ((reps < 2 || runs < 1)); then
  echo "bench: QV_BENCH_REPS must be at least 2 (the ratios come from medians), QV_ROAD_RUNS at least 1" >&2
  exit 2
fi

if [[ ! -x $pstops ]]; then
  echo "bench: installing cups-core-drivers (for $pstops)"
  sudo=""
  if [[ $(id -u) -ne 0 ]]; then
    sudo="sudo"
  fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends cups-core-drivers >/dev/null
fi

cmake -S "$here" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQV_BENCH=ON >/dev/null
cmake --build "$build_dir" -j "$jobs" >/dev/null

work="$(mktemp -d /tmp/qvbench-run-XXXXXX)"
trap 'rm -rf "$work"' EXIT

echo "== Machine: $(nproc) cores, $(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n1)," \
  "$(awk '/^MemTotal/ {printf "%.1f GiB", $2 / 1048576}' /proc/meminfo), load $(cut -d' ' -f1-3 /proc/loadavg)"

# --- The benchmarks: medians of the repetitions, from one run of the program.
echo
echo "== Benchmarks ($reps repetitions each, medians)"
"$build_dir/bin/qvbench" --benchmark_repetitions="$reps" --benchmark_report_aggregates_only=true \
  --benchmark_out="$work/bench.csv" --benchmark_out_format=csv >/dev/null 2>"$work/bench.log" ||
  { cat "$work/bench.log" >&2; exit 1; }
# Median time in nanoseconds of a benchmark, by its name: CPU time (of this process, user and
# system) for the jobs and registry reads, which other work on a shared machine disturbs least;
# real time for the file writes, where waiting on the file system counts.
median_ns() {
  awk -F, -v name="\"$1_median\"" -v column="${2:-4}" '
    $1 == name {
      factor = $5 == "ns" ? 1 : $5 == "us" ? 1e3 : $5 == "ms" ? 1e6 : 1e9
      printf "%.1f", $column * factor
    }' "$work/bench.csv"
}
for shape in Plain ManualDuplex4Up; do
  prefix=${shape#Plain}
  for count in 10000 1000; do
    printf -v "null_${shape}_$count" "%s" "$(median_ns "RenderJob/${prefix}NullPlugin/$count")"
    printf -v "real_${shape}_$count" "%s" "$(median_ns "RenderJob/${prefix}RealPlugin/$count")"
  done
done
file_dest=$(median_ns "BM_FileDestinationWritePrinter/real_time" 3)
plain=$(median_ns "BM_PlainSequentialWrite/real_time" 3)
list=$(median_ns "BM_RegistryWatermarkList")
profile=$(median_ns "BM_RegistryProfileRead")
expand=$(median_ns "BM_ExpandWatermarkText")
awk -v n1="$null_Plain_10000" -v r1="$real_Plain_10000" -v n2="$null_Plain_1000" -v r2="$real_Plain_1000" \
    -v m1="$null_ManualDuplex4Up_10000" -v q1="$real_ManualDuplex4Up_10000" \
    -v m2="$null_ManualDuplex4Up_1000" -v q2="$real_ManualDuplex4Up_1000" \
    -v fd="$file_dest" -v pw="$plain" -v li="$list" -v pr="$profile" -v ex="$expand" '
  # The added time of the plug-in as once per job plus per page, from the 10,000- and 1,000-page jobs.
  function job(title, null10k, real10k, null1k, real1k,   perPage, once) {
    perPage = ((real10k - null10k) - (real1k - null1k)) / 9000
    once = (real1k - null1k) - 1000 * perPage
    printf "%s, 10,000 pages: host with a plug-in that handles nothing %.0f ns/page, with the plug-in %.0f ns/page: added cost %+.0f%% (target: at most +10%%)\n",
      title, null10k / 10000, real10k / 10000, (real10k / null10k - 1) * 100
    printf "%s  the added time is %.1f ms once per job and %.0f ns per page\n", sprintf("%" length(title) "s", ""), once / 1e6, perPage
  }
  BEGIN {
  bytes = 256 * 65536 / 1e6
  job("plug-in", n1, r1, n2, r2)
  job("plug-in, manual-duplex 4-up", m1, q1, m2, q2)
  printf "file destination, 64 KiB blocks: WritePrinter %.0f MB/s, plain sequential write %.0f MB/s: %.0f%% of the plain write (target: at least 70%%)\n",
    bytes / (fd / 1e9), bytes / (pw / 1e9), pw / fd * 100
  printf "registry (SQLite file): watermark list of 20 x 704 bytes %.1f us, 7672-byte profile read %.1f us\n",
    li / 1e3, pr / 1e3
  if (ex != "") {
    printf "dynamic text, 100 characters with five variables: %.2f us per call (target: under 20 us)\n", ex / 1e3
  } else {
    print "dynamic text expander: not built (bench/dynamic_text_bench.cpp waits for ui/watermarks)"
  }
}'

# --- The whole road: machine start-up outside the timing, each command's process start inside.
echo
echo "== Whole road: a $pages-page DSC document to a file ($runs runs each, interleaved, medians)"
"$here/bench/generate_document.sh" "$pages" >"$work/document.ps"
qvhost() { "$build_dir/bin/qvhost" --root "$work/root" "$@"; }
qvhost init --computer QV-BENCH >/dev/null
qvhost driver add "Quorvel QV9000Z PS" --ppd "$here/samples/ppd/QV9000Z.PPD" >/dev/null
qvhost printer add "Bench" --driver "Quorvel QV9000Z PS" --port null: >/dev/null

road_qvhost() {
  qvhost --user alice print Bench --document "$work/document.ps" --set OutputDestination=4 \
    --set HoldUserName=alice --set HoldPin=1234 -o "$work/qvhost.out" 2>/dev/null
}
road_pstops() {
  PPD="$here/bench/QVBENCH.PPD" "$pstops" 1 alice title 1 "" "$work/document.ps" >"$work/pstops.out" 2>/dev/null
}
road_cat() { cat "$work/document.ps" >"$work/cat.out"; }

for ((run = 0; run < runs; ++run)); do
  for road in qvhost pstops cat; do
    start=$(date +%s%N)
    "road_$road"
    echo $(($(date +%s%N) - start)) >>"$work/$road.times"
  done
done
grep -q '@PJL SET HOLDKEY = "1234"' "$work/qvhost.out"
grep -q '@PJL SET HOLDKEY = "1234"' "$work/pstops.out"

input_bytes=$(stat -c %s "$work/document.ps")
median_of() { sort -n "$work/$1.times" | awk '{ v[NR] = $1 } END { print NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
report() {
  awk -v name="$1" -v ns="$(median_of "$1")" -v pages="$pages" -v bytes="$input_bytes" \
      -v out="$(stat -c %s "$work/$1.out")" 'BEGIN {
    s = ns / 1e9
    printf "%-8s %8.1f ms  %9.0f pages/s  %7.1f MB/s in  (%.1f MB out)\n", name, s * 1e3, pages / s, bytes / 1e6 / s, out / 1e6
  }'
}
printf "document: %d pages, %.1f MB\n" "$pages" "$(awk -v b="$input_bytes" 'BEGIN { print b / 1e6 }')"
report qvhost
report pstops
report cat
awk -v q="$(median_of qvhost)" -v p="$(median_of pstops)" 'BEGIN {
  printf "qvhost print reaches %.1f x the pages per second of pstops (target: at least 2 x)\n", p / q
}'

# --- The CUPS filter: qvfilter against pstops, both with our queue PPD, as CUPS runs them.
echo
echo "== CUPS filter: qvfilter against pstops with the queue PPD ($runs runs each, interleaved, medians)"
"$build_dir/bin/qvfilter" --make-ppd "$here/samples/ppd/QV9000Z.PPD" >"$work/queue.ppd"
"$here/bench/generate_document.sh" 1 >"$work/one.ps"
mkdir -p "$work/filter-tmp"
filter_options="QVOutput=Confidential job-password=1234"
filter_qvfilter() {  # DOCUMENT
  PPD="$work/queue.ppd" TMPDIR="$work/filter-tmp" "$build_dir/bin/qvfilter" 1 alice title 1 \
    "$filter_options" "$1" >"$work/filter.out" 2>/dev/null
}
filter_pstops() {  # DOCUMENT
  PPD="$work/queue.ppd" "$pstops" 1 alice title 1 "$filter_options" "$1" >"$work/filter.out" 2>/dev/null
}
time_filter() {  # NAME DOCUMENT [cold]
  if [[ ${3:-} == cold ]]; then
    rm -rf "$work/filter-tmp"/qvfilter-*  # the stand-in machine is built again
  fi
  local start=$(date +%s%N)
  "filter_${1%%-*}" "$2"
  echo $(($(date +%s%N) - start)) >>"$work/$1.times"
}
filter_qvfilter "$work/one.ps"  # warms the machine cache
for ((run = 0; run < runs; ++run)); do
  for document in one long; do
    file="$work/one.ps"
    [[ $document == long ]] && file="$work/document.ps"
    time_filter "qvfilter-$document-cold" "$file" cold
    time_filter "qvfilter-$document-warm" "$file"
    time_filter "pstops-$document" "$file"
  done
done
filter_report() {  # NAME PAGES
  awk -v name="$1" -v ns="$(median_of "$1")" -v pages="$2" 'BEGIN {
    printf "%-22s %9.1f ms  %9.0f pages/s\n", name, ns / 1e6, pages / (ns / 1e9)
  }'
}
for document in one long; do
  count=1
  [[ $document == long ]] && count=$pages
  filter_report "qvfilter-$document-cold" "$count"
  filter_report "qvfilter-$document-warm" "$count"
  filter_report "pstops-$document" "$count"
done
awk -v q1="$(median_of qvfilter-one-warm)" -v p1="$(median_of pstops-one)" \
    -v ql="$(median_of qvfilter-long-warm)" -v pl="$(median_of pstops-long)" 'BEGIN {
  printf "one-page job, warm cache: qvfilter takes %.2f x the time of pstops (target: at most 1 x)\n", q1 / p1
  printf "%d-page job, warm cache: qvfilter reaches %.1f x the pages per second of pstops (target: at least 2 x)\n", '"$pages"', pl / ql
}'
