#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# The calibration button of the real program against the reference time service on 127.0.0.1:80,
# with the service's host name mapped to loopback in private namespaces. Wine never moves the
# host's clock: it refuses a change of half a second or more (logging "err:sync:NtSetSystemTime
# not allowed: difference N ms") and quietly accepts a smaller one, so the attempted write is
# observed from outside the process through that log and the error box.
#   1. A service in UTC+8: the click writes the service's time, less than half a second off: no
#      refusal, no box, and the service logged the request.
#   2. A service one hour ahead (Asia/Tokyo): the click tries to move the clock by one hour; the
#      refusal is logged with N close to 3,600,000 and the box shows the system's text for it.
#   3. The service stopped: "Socket Error # 10061" / "Connection refused.", clock untouched.
#   4. The host name unknown: "Socket Error # 11001" / "Host not found.", clock untouched.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
host=${E2E_TIME_SERVICE_HOST:-timeservice.internal}

# Everything runs in private namespaces, with a Wine environment of their own.
if [[ "${TIMETOOL_ISOLATED:-}" != 1 ]]; then
    if [[ "${TIMETOOL_ISOLATED:-}" == 0 ]]; then
        echo "SKIP: no private network namespace here" >&2
        exit 77
    fi
    unset WINE_ENV_DIR WINEPREFIX
    exec bash "$here/../../scripts/isolated.sh" "$host" -- bash "$0" "$@"
fi

# shellcheck source=e2e-lib.sh
source "$here/e2e-lib.sh"
e2e_begin

service_dir=$(mktemp -d "${TMPDIR:-/tmp}/timetool-e2e-service.XXXXXX")
hosts_file=""
stop_service() {
    bash "$E2E_REPO_DIR/service/stop.sh" "$service_dir" 2>/dev/null || true
}
finish() {
    stop_service
    if [[ -n "$hosts_file" ]]; then
        umount /etc/hosts 2>/dev/null || true
        rm -f "$hosts_file"
    fi
    rm -rf "$service_dir"
    e2e_cleanup
}
trap finish EXIT

# Starts the reference service on 127.0.0.1:80 in the given zone.
start_service() {
    stop_service
    SERVICE_TZ=$1 bash "$E2E_REPO_DIR/service/start.sh" 127.0.0.1:80 "$service_dir" >/dev/null
}

# The regional settings that read the service's "2021-09-09 10:30:59", set before the start.
wine_env_use_service_date_format

wine_log="$E2E_ARTEFACT_DIR/e2e_calibration-wine.log"
e2e_start_program "WINEDEBUG=-all,err+sync" "TZ=Asia/Shanghai" 2>"$wine_log"
e2e_probe wait >/dev/null || e2e_fail "the window did not show"

refusals() {
    grep -c 'err:sync:NtSetSystemTime not allowed' "$wine_log" || true
}

# Clicks "校准时间" and waits up to 3 s for an error box; prints its text (lines joined by "|"),
# after pressing OK, or nothing when no box came.
click_and_read_box() {
    local box
    e2e_probe click 校准时间 >/dev/null || e2e_fail "cannot click 校准时间"
    if box=$(e2e_probe message-box --timeout-ms 3000 2>/dev/null | tr -d '\r'); then
        e2e_probe press-ok >/dev/null || e2e_fail "cannot close the box"
        sed -n '2,$p' <<<"$box" | paste -sd '|'
    fi
}

# The system's text for a refused write, as Windows or Wine word it.
is_privilege_text() {
    [[ "$1" == "A required privilege is not held by the client." || "$1" == "Privilege not held." ]]
}

# 1. The service in UTC+8. The service gives whole seconds, so the write lags the clock by the
# fraction of the second plus the exchange; a click late in a second can lag half a second or more
# and be refused. Such a refusal must still be under a second off; try again, a few times.
start_service Asia/Shanghai
calibrated=0
for attempt in 1 2 3 4 5; do
    before=$(refusals)
    box=$(click_and_read_box)
    after=$(refusals)
    if [[ -z "$box" && "$after" == "$before" ]]; then
        calibrated=1
        break
    fi
    [[ "$after" == $((before + 1)) ]] || e2e_fail "UTC+8: box '$box' without one refusal logged"
    n=$(grep -o 'difference -\?[0-9]* ms' "$wine_log" | tail -n 1 | grep -o -- '-\?[0-9]*')
    ((n > -1500 && n < 1500)) || e2e_fail "UTC+8: a write $n ms off the clock"
    is_privilege_text "$box" || e2e_fail "UTC+8: unexpected box '$box'"
    echo "UTC+8: attempt $attempt was $n ms off and refused; again"
    sleep 0.3
done
((calibrated)) || e2e_fail "UTC+8: no click came within half a second of the clock"
grep -q '"GET /getSysTime.do HTTP/1.1" 200 .*"Mozilla/3.0 (compatible; Indy Library)"' \
    "$service_dir/access.log" || e2e_fail "the service logged no request: $(cat "$service_dir/access.log")"
echo "UTC+8: calibrated on attempt $attempt, no refusal, no box; the service logged the request"

# 2. The service one hour ahead.
start_service Asia/Tokyo
before=$(refusals)
box=$(click_and_read_box)
[[ "$(refusals)" == $((before + 1)) ]] || e2e_fail "Tokyo: expected one refusal logged"
n=$(grep -o 'difference -\?[0-9]* ms' "$wine_log" | tail -n 1 | grep -o -- '-\?[0-9]*')
# One hour less the fraction of the second the service drops and the time of the exchange.
((n >= 3600000 - 2500 && n <= 3600000 + 200)) || e2e_fail "Tokyo: difference $n ms"
is_privilege_text "$box" || e2e_fail "Tokyo: box '$box'"
echo "Tokyo: the write was refused, $n ms ahead; the box said '$box'"

# 3. The service stopped.
stop_service
before=$(refusals)
box=$(click_and_read_box)
[[ "$box" == "Socket Error # 10061|Connection refused." ]] || e2e_fail "stopped: box '$box'"
[[ "$(refusals)" == "$before" ]] || e2e_fail "stopped: the clock was written"
echo "stopped: '$box', clock untouched"

# 4. The host name unknown: a hosts file without it.
hosts_file=$(mktemp "${TMPDIR:-/tmp}/timetool-e2e-hosts.XXXXXX")
echo "127.0.0.1 localhost" >"$hosts_file"
chmod 644 "$hosts_file"
# The mapping's own hosts file is already unlinked, so it cannot be covered: take it off first.
umount /etc/hosts
mount --bind "$hosts_file" /etc/hosts
box=$(click_and_read_box)
[[ "$box" == "Socket Error # 11001|Host not found." ]] || e2e_fail "unknown host: box '$box'"
[[ "$(refusals)" == "$before" ]] || e2e_fail "unknown host: the clock was written"
echo "unknown host: '$box', clock untouched"

e2e_probe close >/dev/null || e2e_fail "the window did not close"
e2e_wait_program
code=$E2E_EXIT_CODE
[[ "$code" == 0 ]] || e2e_fail "exit code $code"
echo "PASS"
