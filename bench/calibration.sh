#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Measures, side by side in one run, the time from a click on "校准时间" to the program's write of
# the clock, against a plain command-line fetch (curl) of the same URL from the same service.
# It asserts nothing: the figures are for reading.
#
#   bash bench/calibration.sh
#
#   BENCH_RUNS  clicks and fetches timed (default 15); median, min and max are shown
#   TIMETOOL_BUILD_PREFIX=name builds in build/name-mingw instead of build/mingw.
#
# Everything runs in private namespaces (scripts/isolated.sh) with the reference service on
# 127.0.0.1:80 under the program's host name. The service answers one hour ahead (Asia/Tokyo), so
# Wine refuses every write and logs it ("err:sync:NtSetSystemTime not allowed"): the write is
# timed as the moment that line appears in the program's log.
#
# The probe (winprobe click --print-time --await-log) takes the time right before it posts the
# click and then watches the log itself, every millisecond: "from the click" is its figure, free
# of the probe's own start-up. The same click is timed twice more, from outside: by this script,
# polling the log, against the probe's click time (both read the host's clock), and from the
# moment the probe is started, which shows what the probe's start-up adds.
set -euo pipefail

repo_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo_dir"
runs=${BENCH_RUNS:-15}

if [[ "${1:-}" != --inside ]]; then
    bash scripts/setup.sh </dev/null
    build_dir="build/${TIMETOOL_BUILD_PREFIX:+$TIMETOOL_BUILD_PREFIX-}mingw"
    cmake --preset mingw -B "$build_dir" >/dev/null
    cmake --build "$build_dir" --target TimeTool winprobe -j 2 >/dev/null
    host=$(sed -n 's/^TIME_SERVICE_HOST:STRING=//p' "$build_dir/CMakeCache.txt" | head -n 1)
    host=${host:-timeservice.internal}
    unset WINE_ENV_DIR WINEPREFIX
    exec bash scripts/isolated.sh "$host" -- bash "${BASH_SOURCE[0]}" --inside "$host" \
        "$repo_dir/$(find "$build_dir" -name TimeTool.exe -type f | head -n 1)" \
        "$repo_dir/$(find "$build_dir" -name winprobe.exe -type f | head -n 1)"
fi
host=$2
timetool=$3
probe=$4
[[ "${TIMETOOL_ISOLATED:-0}" == 1 ]] || {
    echo "bench: needs private namespaces (root)" >&2
    exit 1
}

# shellcheck source=../scripts/wine-env.sh
source scripts/wine-env.sh
service_dir=$(mktemp -d "${TMPDIR:-/tmp}/timetool-bench-service.XXXXXX")
program_pid=""
stop_all() {
    if [[ -n "$program_pid" ]] && kill -0 "$program_pid" 2>/dev/null; then
        kill "$program_pid" 2>/dev/null || true
    fi
    bash service/stop.sh "$service_dir" || true
    rm -rf "$service_dir"
    wine_env_stop
}
trap stop_all EXIT
wine_env_start
SERVICE_TZ=Asia/Tokyo bash service/start.sh 127.0.0.1:80 "$service_dir" >/dev/null
url="http://$host/getSysTime.do"

for setting in 'sShortDate yyyy-MM-dd' 'sDate -' 'sTimeFormat HH:mm:ss' 'sTime :'; do
    read -r name value <<<"$setting"
    wine reg add 'HKCU\Control Panel\International' /v "$name" /d "$value" /f >/dev/null
done

log="$service_dir/wine.log"
WINEDEBUG=-all,err+sync TZ=Asia/Shanghai wine "$timetool" 2>"$log" &
program_pid=$!
wine "$probe" wait >/dev/null

now_us() { echo "${EPOCHREALTIME/./}"; }
refusal='err:sync:NtSetSystemTime not allowed'
refusals() { grep -c "$refusal" "$log" || true; }
log_windows=$(winepath -w "$log")
probe_out="$service_dir/probe.out"

clicks=()
polled=()
with_start=()
fetches=()
curl_totals=()
for ((i = 0; i < runs; i++)); do
    # Click to write.
    before=$(refusals)
    started=$(now_us)
    wine "$probe" click 校准时间 --print-time --await-log "$log_windows" --log-text "$refusal" \
        >"$probe_out" &
    click_pid=$!
    while [[ "$(refusals)" == "$before" ]]; do
        (($(now_us) - started < 20000000)) || {
            echo "bench: no write within 20 s" >&2
            exit 1
        }
        sleep 0.001
    done
    seen=$(now_us)
    wait "$click_pid"
    clicked_at=$(sed -n 's/^clicked_at_us=//p' "$probe_out" | tr -d '\r')
    clicks+=("$(sed -n 's/^click_to_log_us=//p' "$probe_out" | tr -d '\r')")
    polled+=($((seen - clicked_at)))
    with_start+=($((seen - started)))
    wine "$probe" press-ok >/dev/null

    # A plain fetch of the same URL: timed from outside, which includes curl's own start like the
    # row with the probe's start, and by curl itself (time_total), which does not.
    started=$(now_us)
    curl_total=$(curl -s -o /dev/null --max-time 10 -w '%{time_total}' "$url")
    fetches+=($(($(now_us) - started)))
    curl_totals+=("$(awk -v t="$curl_total" 'BEGIN { printf "%d", t * 1000000 }')")
done

# median min max of microsecond figures, in milliseconds.
summary() {
    printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END {
        m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%10.1f %10.1f %10.1f\n", m / 1000, v[1] / 1000, v[NR] / 1000 }'
}

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END {
    print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

echo
echo "calibration against $url, $runs runs each (milliseconds)"
printf '%-46s %10s %10s %10s\n' "" median min max
printf '%-46s %s\n' "click -> clock write (probe's own watch)" "$(summary "${clicks[@]}")"
printf '%-46s %s\n' "click -> clock write (polled by this script)" "$(summary "${polled[@]}")"
printf '%-46s %s\n' "probe start -> clock write (start included)" "$(summary "${with_start[@]}")"
printf '%-46s %s\n' "curl fetch of the same URL (curl start incl.)" "$(summary "${fetches[@]}")"
printf '%-46s %s\n' "curl fetch, curl's own time_total" "$(summary "${curl_totals[@]}")"
click_median=$(median "${clicks[@]}")
awk -v c="$click_median" -v f="$(median "${fetches[@]}")" -v t="$(median "${curl_totals[@]}")" \
    'BEGIN { printf "ratio of medians, click -> write (probe watch) / curl fetch: %.2f" \
                    " (start incl.), %.2f (time_total)\n", c / f, c / t }'
wine "$probe" close >/dev/null || true
