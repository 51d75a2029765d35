#!/usr/bin/env bash
# Prints through a real cupsd: a private scheduler on a free loopback port, with its own
# ServerRoot, ServerBin (our filter beside links to the system's filters) and spool in a
# temporary folder, and queues made from our CUPS PPD that write to files. Checks the stream of a
# confidential job with color settings, a fax job, the page log, a job refused for a bad PIN and a
# job cancelled while printing.
#
#   qvfilter_cupsd_test.sh QVFILTER SAMPLES_DIR GENERATE_DOCUMENT
set -euo pipefail

qvfilter=$1
samples=$2
generate=$3
export PATH="$PATH:/usr/sbin:/sbin"
for tool in cupsd lpadmin lp lpstat cancel gs; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool is missing (scripts/setup.sh installs it)"; exit 77; }
done

work="$(mktemp -d /tmp/qvcupsd-XXXXXX)"
chmod 755 "$work"  # the filters run as the scheduler's user
cupsd_pid=""
stop_cupsd() {
  if [[ -n $cupsd_pid ]] && kill -0 "$cupsd_pid" 2>/dev/null; then
    kill -TERM "$cupsd_pid" 2>/dev/null || true
    for _ in $(seq 50); do
      kill -0 "$cupsd_pid" 2>/dev/null || break
      sleep 0.1
    done
    kill -KILL "$cupsd_pid" 2>/dev/null || true
    wait "$cupsd_pid" 2>/dev/null || true
  fi
  cupsd_pid=""
}
finish() {
  status=$?
  if ((status != 0)) && [[ -n $cupsd_pid ]]; then
    lpstat -h "$server" -l -p 2>&1 | head -n 20 || true
    lpstat -h "$server" -W all -l -o 2>&1 | head -n 30 || true
  fi
  stop_cupsd
  if ((status != 0)) && [[ -f $work/log/error_log ]]; then
    echo "--- error_log (last lines)"
    grep -a '^[EIW] ' "$work/log/error_log" | tail -n 40
  fi
  rm -rf "$work"
  exit "$status"
}
trap finish EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A free port: one nothing answers on.
port=""
for _ in $(seq 50); do
  candidate=$((20000 + RANDOM % 40000))
  if ! (exec 3<>"/dev/tcp/127.0.0.1/$candidate") 2>/dev/null; then
    port=$candidate
    break
  fi
done
[[ -n $port ]] || fail "no free port found"
server="127.0.0.1:$port"
export CUPS_SERVER=$server

mkdir -p "$work"/{root/ppd,bin/filter,bin/backend,spool,tmp,cache,state,log,out}
# The scheduler's temporary folder, as its package makes it: the filters' user may write there.
if [[ $(id -u) == 0 ]]; then
  chgrp lp "$work/tmp"
  chmod 1770 "$work/tmp"
fi
chmod 777 "$work/out"
ln -s /usr/lib/cups/daemon "$work/bin/daemon"  # cups-exec
for filter in /usr/lib/cups/filter/*; do
  ln -s "$filter" "$work/bin/filter/"
done
ln -s "$(readlink -f "$qvfilter")" "$work/bin/filter/qvfilter"

cat >"$work/root/cupsd.conf" <<EOF
Listen $server
LogLevel info
MaxLogSize 0
DefaultAuthType None
ErrorPolicy abort-job
PageLogFormat %p %j %P %C
WebInterface No
Browsing No
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
# The scheduler gives filters an environment of its own; a sanitized build's settings go with it.
for name in ASAN_OPTIONS UBSAN_OPTIONS LSAN_OPTIONS; do
  if [[ -n ${!name:-} ]]; then
    echo "SetEnv $name ${!name}" >>"$work/root/cupsd.conf"
  fi
done
cat >"$work/root/cups-files.conf" <<EOF
ServerRoot $work/root
ServerBin $work/bin
DataDir /usr/share/cups
RequestRoot $work/spool
TempDir $work/tmp
CacheDir $work/cache
StateDir $work/state
ErrorLog $work/log/error_log
AccessLog $work/log/access_log
PageLog $work/log/page_log
Printcap $work/state/printcap
FileDevice Yes
Sandboxing Relaxed
EOF

cupsd -f -c "$work/root/cupsd.conf" -s "$work/root/cups-files.conf" 2>"$work/log/cupsd.stderr" &
cupsd_pid=$!
ready=0
for _ in $(seq 100); do
  kill -0 "$cupsd_pid" 2>/dev/null || { cat "$work/log/cupsd.stderr" "$work/log/error_log"; fail "cupsd ended at start"; }
  if lpstat -h "$server" -r 2>/dev/null | grep -q "is running"; then
    ready=1
    break
  fi
  sleep 0.1
done
((ready)) || fail "cupsd did not answer on $server"

"$qvfilter" --make-ppd "$samples/ppd/QV9000Z.PPD" >"$work/queue.ppd"
add_queue() {  # NAME OUTPUT [PPD-OPTION...]
  local name=$1 output=$2
  shift 2
  lpadmin -h "$server" -p "$name" -E -v "file://$output" -P "$work/queue.ppd" \
    -o printer-error-policy=abort-job "$@"
}
add_queue qvtest "$work/out/out.prn"
add_queue qvbad "$work/out/bad.prn"
add_queue qvlong "$work/out/long.prn"
add_queue qvfax "$work/out/fax.prn" -o FaxCard=True  # the fax card installed

# Waits until the scheduler has finished with a job (bounded): completed, stopped by a filter's
# failure, or cancelled.
wait_job() {  # QUEUE-JOBID
  for _ in $(seq 300); do
    grep -aqE "\[Job ${1##*-}\] (Job completed|Job stopped|Job canceled|Canceled)" "$work/log/error_log" &&
      return 0
    sleep 0.1
  done
  fail "job $1 did not end"
}
job_id() { sed -n 's/^request id is \([^ ]*\) .*/\1/p'; }

# --- A confidential job with CUPS's job password.
job=$(lp -h "$server" -d qvtest -t "Quarterly" -o QVOutput=Confidential -o job-password=1234 \
  -o QVHoldUser=alice -o QVTonerlite=On -o QVGrayCorrection=Manual -o QVBrightness=-2 \
  "$samples/documents/report.ps" | job_id)
[[ -n $job ]] || fail "lp gave no job id"
wait_job "$job"
out="$work/out/out.prn"
[[ -s $out ]] || fail "no stream was written"
header=$(sed -n '1,/@PJL ENTER LANGUAGE/p' "$out")
grep -q '@PJL SET USERNAME = "alice"' <<<"$header" || fail "no held-job user in the PJL header"
grep -q '@PJL SET HOLDTYPE = PRIVATE' <<<"$header" || fail "no private hold in the PJL header"
[[ $(grep -c '@PJL SET HOLDKEY = "1234"' "$out") == 1 ]] || fail "the PIN is not in the stream exactly once"
for line in '@PJL SET QTONERLITE = ON' '@PJL SET QIMAGEBRIGHTNESS=-2' '@PJL SET QCOLORCORRECTION=AUTO'; do
  grep -qx "$line" <<<"$header" || fail "no '$line' in the PJL header"
done
[[ $(grep -ac '@PJL JOB' "$out") == 1 ]] || fail "the stream has more than one PJL job"
printf '\033%%-12345X@PJL EOJ\n\033%%-12345X' >"$work/trailer"
cmp -s <(tail -c "$(stat -c %s "$work/trailer")" "$out") "$work/trailer" || fail "the stream does not end with the PJL trailer"
pages=$(gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=bbox "$out" 2>&1 | grep -c '^%%BoundingBox') ||
  fail "Ghostscript could not render the stream"
((pages == 3)) || fail "Ghostscript rendered $pages pages, not 3"
# The scheduler sums the filter's PAGE: lines into the job's line of the page log.
grep -q "^qvtest ${job#qvtest-} total 3\$" "$work/log/page_log" ||
  fail "the page log does not hold the filter's three pages: $(cat "$work/log/page_log")"

# --- A fax job on the queue whose fax card is installed.
fax=$(lp -h "$server" -d qvfax -o QVOutput=Fax -o QVFaxNumber=5550100 -o QVFaxStation=QV-OFFICE \
  "$samples/documents/report.ps" | job_id)
wait_job "$fax"
grep -aqx '@PJL QFAX PHONENUMBER = "5550100" STATIONID = "QV-OFFICE"' "$work/out/fax.prn" ||
  fail "the fax job's PJL lacks its fax line"

# --- A bad PIN: the job fails with our message and nothing is written.
bad=$(lp -h "$server" -d qvbad -o QVOutput=Confidential -o QVHoldPin=12a4 "$samples/documents/report.ps" | job_id)
wait_job "$bad"
grep -q "\[Job ${bad#qvbad-}\] QVHoldPin takes a PIN of four digits (0-9)" "$work/log/error_log" ||
  fail "the log lacks the bad PIN's message"
lpstat -h "$server" -l -o qvbad | grep -q "Status: QVHoldPin takes a PIN of four digits" ||
  fail "the bad job does not show our message"
grep -aq "\[Job ${bad#qvbad-}\] Job stopped due to filter errors" "$work/log/error_log" ||
  fail "the bad job did not end in its error state"
[[ ! -s $work/out/bad.prn ]] || fail "the bad job wrote to the printer"

# --- Cancelled while printing: the stream still ends with the PJL trailer.
"$generate" 200000 >"$work/long.ps"
long=$(lp -h "$server" -d qvlong -o QVOutput=Reserve "$work/long.ps" | job_id)
for _ in $(seq 300); do
  [[ -s $work/out/long.prn ]] && break
  sleep 0.1
done
[[ -s $work/out/long.prn ]] || fail "the long job did not start"
cancel -h "$server" "$long"
wait_job "$long"
cmp -s <(tail -c "$(stat -c %s "$work/trailer")" "$work/out/long.prn") "$work/trailer" ||
  fail "the cancelled job's stream does not end with the PJL trailer"
grep -q '%%Page: 200000 ' "$work/out/long.prn" && fail "the cancelled job printed every page"

stop_cupsd
echo "PASS: confidential and fax jobs, page log, bad PIN and cancelled job through cupsd on $server"
