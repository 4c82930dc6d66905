# shellcheck shell=bash
# shellcheck source-path=SCRIPTDIR
# Helpers of the end-to-end test scripts. A script sources this file and calls e2e_begin; it gets
# the program under test in $E2E_PROGRAM and the probe in $E2E_PROBE (both set by CMake).
set -euo pipefail

E2E_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_REPO_DIR=$(cd "$E2E_DIR/../.." && pwd)
# shellcheck source=../../scripts/wine-env.sh
source "$E2E_REPO_DIR/scripts/wine-env.sh"

E2E_OWN_WINE_ENV=0
E2E_PROGRAM_PID=""

e2e_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

e2e_skip() {
    echo "SKIP: $*" >&2
    exit 77
}

e2e_cleanup() {
    if [[ -n "$E2E_PROGRAM_PID" ]] && kill -0 "$E2E_PROGRAM_PID" 2>/dev/null; then
        kill "$E2E_PROGRAM_PID" 2>/dev/null || true
        wait "$E2E_PROGRAM_PID" 2>/dev/null || true
    fi
    if [[ "$E2E_OWN_WINE_ENV" == 1 ]]; then
        wine_env_stop
    fi
}

# Checks the inputs and starts a Wine environment unless the test run has one.
e2e_begin() {
    : "${E2E_PROGRAM:?set by CMake: the program under test}"
    : "${E2E_PROBE:?set by CMake: winprobe.exe}"
    : "${E2E_ARTEFACT_DIR:=$PWD/artefacts}"
    mkdir -p "$E2E_ARTEFACT_DIR"
    trap e2e_cleanup EXIT
    if [[ -z "${WINE_ENV_DIR:-}" ]]; then
        wine_env_start
        E2E_OWN_WINE_ENV=1
    fi
}

# Runs the probe. Its arguments may hold UTF-8 text: Wine reads them in the locale's charset.
# A failure is named with its exit code on standard error, for a probe that ended without a word
# (a crash inside Wine prints nothing while WINEDEBUG is -all).
e2e_probe() {
    local status=0
    LC_ALL=C.UTF-8 wine "$E2E_PROBE" "$@" || status=$?
    if ((status != 0)); then
        echo "winprobe $1: exit code $status" >&2
    fi
    return "$status"
}

# Starts the program under test in the background; arguments are VAR=value settings of its
# environment, then "--" and its own arguments.
e2e_start_program() {
    local settings=()
    while (($# > 0)) && [[ "$1" != "--" ]]; do
        settings+=("$1")
        shift
    done
    if (($# > 0)); then
        shift
    fi
    env "${settings[@]}" wine "$E2E_PROGRAM" "$@" &
    E2E_PROGRAM_PID=$!
}

# Waits for the program started by e2e_start_program to end and puts its exit code in
# E2E_EXIT_CODE. It must run in the shell that started the program, not in a command
# substitution: a subshell cannot wait for its parent's children.
# shellcheck disable=SC2034 # read by the test scripts that source this file
e2e_wait_program() {
    E2E_EXIT_CODE=0
    wait "$E2E_PROGRAM_PID" || E2E_EXIT_CODE=$?
    E2E_PROGRAM_PID=""
}

# Saves a picture of the whole display as an artefact and prints its path.
e2e_screenshot() {
    local file="$E2E_ARTEFACT_DIR/$1.png"
    import -window root "$file"
    echo "$file"
}
