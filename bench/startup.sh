#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Measures TimeTool.exe against the bare window of BareWindow.cpp, side by side in one run, under
# Wine + Xvfb, and prints a table. It asserts nothing: the figures are for reading.
#
#   bash bench/startup.sh
#
#   BENCH_RUNS     start-ups timed per program (default 10); the median is shown
#   BENCH_SECONDS  how long both programs run for the CPU figure (default 60)
#   BENCH_TICKS    timer ticks driven into each program for the resource figures (default 10000)
#   TIMETOOL_BUILD_PREFIX=name builds in build/name-mingw instead of build/mingw.
#
# Start-up: from CreateProcess to the first visible top-level window of the process, timed by the
# probe inside the same Wine prefix. CPU: utime + stime of each program's own process (under Wine
# a Windows process is one Linux process) over BENCH_SECONDS, TimeTool with its 200 ms display
# timer against the bare window ticking a 200 ms timer that does nothing; the shared wineserver's
# CPU time is shown beside them. Resources: the probe's GetGuiResources and GetProcessMemoryInfo
# (Wine leaves several of them untold: "n/a"), and Linux's view of the same process (resident and
# private memory, open descriptors), before and after BENCH_TICKS ticks of each program's timer,
# sent one after another from outside (each waited for) to the window that owns the timer.
set -euo pipefail

repo_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo_dir"
runs=${BENCH_RUNS:-10}
seconds=${BENCH_SECONDS:-60}
ticks=${BENCH_TICKS:-10000}

bash scripts/setup.sh </dev/null
build_dir="build/${TIMETOOL_BUILD_PREFIX:+$TIMETOOL_BUILD_PREFIX-}mingw"
cmake --preset mingw -B "$build_dir" >/dev/null
cmake --build "$build_dir" --target TimeTool BareWindow winprobe -j 2 >/dev/null
timetool=$repo_dir/$(find "$build_dir" -name TimeTool.exe -type f | head -n 1)
bare=$repo_dir/$(find "$build_dir" -name BareWindow.exe -type f | head -n 1)
probe=$repo_dir/$(find "$build_dir" -name winprobe.exe -type f | head -n 1)

# shellcheck source=../scripts/wine-env.sh
source scripts/wine-env.sh
wine_env_start
timetool_pid=""
bare_pid=""
stop_all() {
    for pid in "$timetool_pid" "$bare_pid"; do
        if [[ -n "$pid" ]] && kill -0 "$pid" 2>/dev/null; then
            kill "$pid" 2>/dev/null || true
        fi
    done
    wine_env_stop
}
trap stop_all EXIT
export TZ=Asia/Shanghai

run_probe() {
    wine "$probe" "$@" | tr -d '\r'
}

# The CPU time (ms) a Linux process has used so far: fields 14 and 15 of /proc/PID/stat.
cpu_ms() {
    local fields
    if [[ -z "$1" ]]; then
        echo 0
        return 0
    fi
    read -r -a fields <"/proc/$1/stat"
    # The command name (field 2) has no blanks here, so the fields split cleanly.
    echo $(((fields[13] + fields[14]) * 1000 / $(getconf CLK_TCK)))
}

# Our prefix's wineserver: it works in a directory named server-DEV-INODE of the prefix directory.
wineserver_pid() {
    local suffix pid
    suffix="/server-$(stat -c '%D' "$WINEPREFIX")-$(printf '%x' "$(stat -c '%i' "$WINEPREFIX")")"
    for pid in $(pgrep -x wineserver64 || true); do
        if [[ "$(readlink "/proc/$pid/cwd" 2>/dev/null)" == *"$suffix" ]]; then
            echo "$pid"
            return 0
        fi
    done
    return 1
}

# Memory in KiB and descriptors of a Linux process: resident, private, descriptors.
linux_figures() {
    local pid=$1 rss private fds
    rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
    private=$(awk '/^Private_(Clean|Dirty):/ {sum += $2} END {print sum}' "/proc/$pid/smaps_rollup")
    fds=$(find "/proc/$pid/fd" -mindepth 1 -maxdepth 1 | wc -l)
    echo "$rss $private $fds"
}

figure() { # NAME from the probe's "name=value" lines
    sed -n "s/^$1=//p" <<<"$2"
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0 && a != "" && a != "n/a") printf "%.2f", a / b; else printf "-" }'
}

row() {
    printf '%-44s %14s %14s %8s\n' "$1" "$2" "$3" "$(ratio "$2" "$3")"
}

echo "bench: start-up, $runs runs each" >&2
startup_timetool=$(run_probe startup "$runs" -- "$(winepath -w "$timetool")")
startup_bare=$(run_probe startup "$runs" -- "$(winepath -w "$bare")")

echo "bench: both programs running for $seconds s" >&2
wine "$timetool" &
timetool_pid=$!
wine "$bare" --timer &
bare_pid=$!
timetool_window_pid=$(run_probe wait)
run_probe wait --title "Bare window" >/dev/null
server_pid=$(wineserver_pid || true)
echo "bench: wineserver ${server_pid:-not found}" >&2
cpu_timetool_start=$(cpu_ms "$timetool_pid")
cpu_bare_start=$(cpu_ms "$bare_pid")
cpu_server_start=$(cpu_ms "$server_pid")
sleep "$seconds"
cpu_timetool=$(($(cpu_ms "$timetool_pid") - cpu_timetool_start))
cpu_bare=$(($(cpu_ms "$bare_pid") - cpu_bare_start))
cpu_server=$(($(cpu_ms "$server_pid") - cpu_server_start))

echo "bench: $ticks ticks into each program" >&2
figures_timetool_before=$(run_probe figures)
figures_bare_before=$(run_probe figures --title "Bare window")
read -r rss_t0 private_t0 fds_t0 < <(linux_figures "$timetool_pid")
read -r rss_b0 private_b0 fds_b0 < <(linux_figures "$bare_pid")
refresh=$(run_probe refresh-check --timer-window TimeToolTimerWindow --timer-id 1 || true)
ticks_timetool=$(run_probe ticks "$ticks" --timer-window TimeToolTimerWindow --timer-id 1)
ticks_bare=$(run_probe ticks "$ticks" --title "Bare window" --timer-window main --timer-id 1 \
    --count-message 0x8000)
figures_timetool_after=$(run_probe figures)
figures_bare_after=$(run_probe figures --title "Bare window")
read -r rss_t1 private_t1 fds_t1 < <(linux_figures "$timetool_pid")
read -r rss_b1 private_b1 fds_b1 < <(linux_figures "$bare_pid")
run_probe close >/dev/null
run_probe close --title "Bare window" >/dev/null

echo
echo "TimeTool.exe (Windows process $timetool_window_pid) against BareWindow.exe, Wine $(wine --version)"
printf '%-44s %14s %14s %8s\n' "figure" "TimeTool" "bare" "ratio"
row "start-up to first shown window, median ms" "$(figure median_ms "$startup_timetool")" \
    "$(figure median_ms "$startup_bare")"
row "executable size, bytes" "$(stat -c %s "$timetool")" "$(stat -c %s "$bare")"
row "CPU time over ${seconds} s running, ms" "$cpu_timetool" "$cpu_bare"
printf '%-44s %14s\n' "  (the shared wineserver meanwhile, ms)" "$cpu_server"
for name in gdi_objects user_objects handles private_bytes working_set_bytes; do
    row "$name before ticks" "$(figure "$name" "$figures_timetool_before")" \
        "$(figure "$name" "$figures_bare_before")"
    row "$name after $ticks ticks" "$(figure "$name" "$figures_timetool_after")" \
        "$(figure "$name" "$figures_bare_after")"
done
row "Linux resident KiB before ticks" "$rss_t0" "$rss_b0"
row "Linux resident KiB after $ticks ticks" "$rss_t1" "$rss_b1"
row "Linux private KiB before ticks" "$private_t0" "$private_b0"
row "Linux private KiB after $ticks ticks" "$private_t1" "$private_b1"
row "Linux open descriptors before ticks" "$fds_t0" "$fds_b0"
row "Linux open descriptors after $ticks ticks" "$fds_t1" "$fds_b1"
row "time to take $ticks ticks, ms" "$(figure elapsed_ms "$ticks_timetool")" \
    "$(figure elapsed_ms "$ticks_bare")"
echo
echo "TimeTool ticks reach the display: $(figure refreshed "$refresh") (field overwritten, one tick sent, text back)"
echo "bare ticks handled while $ticks were sent: $(figure handled "$ticks_bare")"
echo "start-up runs, TimeTool: $(grep -o 'startup_ms=[0-9.]*' <<<"$startup_timetool" | cut -d= -f2 | paste -sd' ')"
echo "start-up runs, bare:     $(grep -o 'startup_ms=[0-9.]*' <<<"$startup_bare" | cut -d= -f2 | paste -sd' ')"
