#!/usr/bin/env bash
# Builds everything and runs every test: the portable core's unit tests (native), the fuzzers
# (briefly), and the Windows program's tests under Wine + Xvfb (mingw). A failing stage does not
# stop the later ones, so one run shows every failure; the exit code reflects them all. The last
# line is the sum over all test runs: "tests: N passed, N failed".
#
# TIMETOOL_BUILD_PREFIX=name builds in build/name-<preset> instead of the presets' directories.
set -euo pipefail

repo_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$repo_dir"

jobs=2
log_dir=$(mktemp -d "${TMPDIR:-/tmp}/timetool-test.XXXXXX")
trap 'rm -rf "$log_dir"' EXIT

passed=0
failed=0
skipped=0
broken=()

build_dir() {
    if [[ -n "${TIMETOOL_BUILD_PREFIX:-}" ]]; then
        echo "build/$TIMETOOL_BUILD_PREFIX-$1"
    else
        echo "build/$1"
    fi
}

# Runs one stage; a failure is remembered and the script goes on.
stage() {
    local name=$1
    shift
    echo "=== $name"
    if ! "$@"; then
        echo "=== $name: FAILED"
        broken+=("$name")
        return 1
    fi
}

configure_and_build() {
    local preset=$1 dir
    dir=$(build_dir "$preset")
    cmake --preset "$preset" -B "$dir" </dev/null && cmake --build "$dir" -j "$jobs" </dev/null
}

# Adds the counts of ctest's log to the totals: "N% tests passed, F tests failed out of T", and
# the tests that did not run because they skipped themselves.
count_results() {
    local log=$1 summary total fails skips
    summary=$(grep -E '^[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -n 1 || true)
    if [[ -z "$summary" ]]; then
        return 0
    fi
    fails=$(sed -E 's/.* ([0-9]+) tests? failed out of.*/\1/' <<<"$summary")
    total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$summary")
    skips=$(grep -c -E '\(Skipped\)$' "$log" || true)
    failed=$((failed + fails))
    skipped=$((skipped + skips))
    passed=$((passed + total - fails - skips))
}

# Runs a test command (ctest, possibly inside a wrapper), shows its output and counts its results.
run_tests() {
    local name=$1 log="$log_dir/$1.log" status=0
    shift
    "$@" </dev/null 2>&1 | tee "$log" || status=$?
    count_results "$log"
    if grep -q 'No tests were found' "$log"; then
        echo "$name: no tests were found"
        return 1
    fi
    return "$status"
}

# The host name that the program asks for the time service, as configured in the build.
time_service_host() {
    local cache
    cache="$(build_dir mingw)/CMakeCache.txt"
    sed -n 's/^TIME_SERVICE_HOST:STRING=//p' "$cache" 2>/dev/null | head -n 1 | grep . ||
        echo timeservice.internal
}

stage setup bash scripts/setup.sh </dev/null || true

if stage "native build" configure_and_build native; then
    stage "native tests" run_tests native \
        ctest --test-dir "$(build_dir native)" --output-on-failure -j "$jobs" || true
fi

if stage "fuzz build" configure_and_build fuzz; then
    stage "fuzz tests" run_tests fuzz \
        ctest --test-dir "$(build_dir fuzz)" --output-on-failure -j "$jobs" || true
fi

# The Wine tests run one at a time in one Wine environment, inside private namespaces: loopback is
# the only network, and the time service's host name resolves to it.
if stage "mingw build" configure_and_build mingw; then
    stage "mingw tests" run_tests mingw \
        bash scripts/isolated.sh "$(time_service_host)" -- bash scripts/wine-run.sh \
        ctest --test-dir "$(build_dir mingw)" --output-on-failure -j 1 || true
fi

echo
if ((${#broken[@]} > 0)); then
    echo "failed stages: ${broken[*]}"
fi
summary="tests: $passed passed, $failed failed"
if ((skipped > 0)); then
    summary+=", $skipped skipped"
fi
echo "$summary"
if ((${#broken[@]} > 0 || failed > 0 || passed + failed == 0)); then
    exit 1
fi
