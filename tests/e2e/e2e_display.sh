#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# The live display of the real program: in each time zone the six fields show the local year,
# month, day, hour, minute and second of the clock, and keep following it; text typed into the
# fields is replaced at the next ticks; the window closes with exit code 0. A screenshot of the
# first run is kept as an artefact.
# shellcheck source=e2e-lib.sh
source "$(dirname "$0")/e2e-lib.sh"
e2e_begin

# UTC+8 (the zone the program writes the clock in), UTC, and a zone with daylight saving.
zones=(Asia/Shanghai UTC America/New_York)

# Reads the fields and checks them against the clock of the zone; the display may lag one tick
# behind the clock, so the second before the reading counts as well. Prints the fields.
check_fields_follow_clock() {
    local zone=$1 before after second shown fields
    before=$(date +%s)
    mapfile -t fields < <(e2e_probe fields | tr -d '\r')
    after=$(date +%s)
    ((${#fields[@]} == 6)) || e2e_fail "$zone: expected 6 fields, read ${#fields[@]}: ${fields[*]}"
    shown="${fields[*]}"
    for ((second = before - 1; second <= after; second++)); do
        if [[ "$shown" == "$(TZ=$zone date -d "@$second" '+%Y %m %d %H %M %S')" ]]; then
            echo "$shown"
            return 0
        fi
    done
    e2e_fail "$zone: fields show '$shown'; the clock said $(TZ=$zone date -d "@$before" \
        '+%Y %m %d %H %M %S') .. $(TZ=$zone date -d "@$after" '+%Y %m %d %H %M %S')"
}

for zone in "${zones[@]}"; do
    e2e_start_program "TZ=$zone"
    e2e_probe wait >/dev/null || e2e_fail "$zone: the window did not show"
    first=$(check_fields_follow_clock "$zone")
    if [[ "$zone" == "${zones[0]}" ]]; then
        echo "screenshot: $(e2e_screenshot e2e_display)"
    fi
    # The fields go on following the clock.
    sleep 1.3
    second=$(check_fields_follow_clock "$zone")
    [[ "$first" != "$second" ]] || e2e_fail "$zone: the fields stood still at '$first'"
    # Typed text lasts only until the next tick, also in fields whose value has not changed since.
    for column in 1 2 3 4 5 6; do
        e2e_probe set-field "$column" typed || e2e_fail "$zone: cannot type into field $column"
    done
    sleep 0.5
    check_fields_follow_clock "$zone" >/dev/null
    e2e_probe close || e2e_fail "$zone: the window did not close"
    e2e_wait_program
    code=$E2E_EXIT_CODE
    [[ "$code" == 0 ]] || e2e_fail "$zone: exit code $code after the close"
    echo "$zone: $first, then $second"
done
echo "PASS"
