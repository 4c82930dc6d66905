#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# Builds the program and runs it under Wine with the reference time service, both inside private
# namespaces where the service's host name resolves to 127.0.0.1 (scripts/isolated.sh).
#
# With DISPLAY set (a local display such as :0, whose socket is a file), the window opens there and
# the script ends when the window is closed. Without DISPLAY the program runs under Xvfb: the
# script waits until the window shows, saves a screenshot, prints its path and closes the program.
#
# TIMETOOL_BUILD_PREFIX=name builds in build/name-mingw instead of build/mingw.
set -euo pipefail

repo_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo_dir"

# shellcheck source=wine-env.sh
source "$repo_dir/scripts/wine-env.sh"

service_state=""

stop_everything() {
    wine_env_stop
    if [[ -n "$service_state" ]]; then
        bash service/stop.sh "$service_state" || true
        rm -rf "$service_state"
    fi
}

# Inside the namespaces: the service, the Wine environment and the program.
run_inside() {
    local program=$1 probe=$2 screenshot=$3 code=0
    trap stop_everything EXIT
    if [[ -f service/start.sh ]]; then
        service_state=$(mktemp -d "${TMPDIR:-/tmp}/timetool-service.XXXXXX")
        bash service/start.sh 127.0.0.1:80 "$service_state"
        echo "run: the time service answers: $(curl -s --max-time 5 \
            "http://$TIMETOOL_SERVICE_HOST/getSysTime.do" || echo '(no answer)')"
    else
        echo "run: service/start.sh is missing: running without the time service" >&2
    fi

    if [[ -n "${DISPLAY:-}" ]]; then
        WINE_ENV_USE_DISPLAY=1 wine_env_start
        wine_env_use_service_date_format
        echo "run: the window opens on $DISPLAY; close it to end"
        wine "$program" || code=$?
        echo "run: the program ended with exit code $code"
        return "$code"
    fi

    wine_env_start
    wine_env_use_service_date_format
    wine "$program" &
    local program_pid=$!
    if ! wine "$probe" wait >/dev/null; then
        echo "run: the window did not show" >&2
        kill "$program_pid" 2>/dev/null || true
        return 1
    fi
    sleep 1 # a few ticks of the display
    import -window root "$screenshot"
    echo "run: screenshot saved: $screenshot"
    wine "$probe" close >/dev/null || kill "$program_pid" 2>/dev/null || true
    wait "$program_pid" || code=$?
    echo "run: the program ended with exit code $code"
    return "$code"
}

if [[ "${1:-}" == --inside ]]; then
    shift
    run_inside "$@"
    exit
fi

bash scripts/setup.sh </dev/null
build_dir="build/${TIMETOOL_BUILD_PREFIX:+$TIMETOOL_BUILD_PREFIX-}mingw"
cmake --preset mingw -B "$build_dir" >/dev/null
cmake --build "$build_dir" --target TimeTool winprobe -j 2
program=$(find "$build_dir" -name TimeTool.exe -type f | head -n 1)
probe=$(find "$build_dir" -name winprobe.exe -type f | head -n 1)
host=$(sed -n 's/^TIME_SERVICE_HOST:STRING=//p' "$build_dir/CMakeCache.txt" | head -n 1)
export TIMETOOL_SERVICE_HOST="${host:-timeservice.internal}"
exec bash scripts/isolated.sh "$TIMETOOL_SERVICE_HOST" -- \
    bash "${BASH_SOURCE[0]}" --inside "$repo_dir/$program" "$repo_dir/$probe" "$repo_dir/build/screenshot.png"
