#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# The twelve step buttons of the real program, clicked from outside its process. Wine never lets
# a program move the clock by half a second or more: it refuses the write and logs on its sync
# channel "NtSetSystemTime not allowed: difference N ms", N being what the program asked for less
# the time now, as a 32-bit number (month and year steps wrap, so they are compared modulo 2^32).
# Each click must ask for exactly its unit of local time, in UTC+8 and in UTC alike, and the
# refusal must then show in the error display with the system's text. Afterwards the display
# still follows the unchanged clock.
# shellcheck source=e2e-lib.sh
source "$(dirname "$0")/e2e-lib.sh"
e2e_begin

zones=(Asia/Shanghai UTC)
# caption, column, unit, sign: in the order the handler tests the buttons' names.
buttons=(
    "+ 1 year 1" "- 1 year -1" "+ 2 month 1" "- 2 month -1" "+ 3 day 1" "- 3 day -1"
    "+ 4 hour 1" "- 4 hour -1" "+ 5 minute 1" "- 5 minute -1" "+ 6 second 1" "- 6 second -1"
)
# How much earlier than asked the write may find the clock: the time from the click's reading of
# the clock to Wine's check of the write.
tolerance_ms=1000
refusal_texts=("A required privilege is not held by the client." "Privilege not held.")

# The local date of epoch second $2 in zone $1 stepped by $4 (+1/-1) $3 (day, month or year), with
# the time of day kept and the day clamped to the new month's length; prints its epoch second.
stepped_calendar_epoch() {
    local zone=$1 t=$2 unit=$3 sign=$4 y m d hms months last
    read -r y m d hms < <(TZ=$zone date -d "@$t" '+%Y %-m %-d %H:%M:%S')
    if [[ "$unit" == day ]]; then
        TZ=$zone date -d "$(date -u -d "$y-$m-$d $sign day" +%F) $hms" +%s
        return
    fi
    months=$sign
    [[ "$unit" == year ]] && months=$((12 * sign))
    m=$((m + months))
    while ((m > 12)); do m=$((m - 12)) y=$((y + 1)); done
    while ((m < 1)); do m=$((m + 12)) y=$((y - 1)); done
    last=$(date -u -d "$y-$m-01 +1 month -1 day" +%-d)
    ((d > last)) && d=$last
    TZ=$zone date -d "$y-$m-$d $hms" +%s
}

# The step in milliseconds that a click at epoch second $2 in zone $1 asks for.
step_ms() {
    local zone=$1 t=$2 unit=$3 sign=$4
    case $unit in
    second) echo $((sign * 1000)) ;;
    minute) echo $((sign * 60000)) ;;
    hour) echo $((sign * 3600000)) ;;
    *) echo $((($(stepped_calendar_epoch "$zone" "$t" "$unit" "$sign") - t) * 1000)) ;;
    esac
}

# Whether the logged N is the step less at most the tolerance, modulo 2^32.
matches_step() {
    local logged=$1 step=$2 difference
    difference=$(((step - logged) & 0xFFFFFFFF))
    ((difference <= tolerance_ms))
}

refusals() {
    grep -c 'NtSetSystemTime not allowed' "$1" || true
}

# Clicks the button. Once, in a busy test run, the probe ended at once without a word: a Wine
# start-up failure, before or after its click. Every click here ends in the error display, so the
# display tells which: without one the click never arrived and is made again, once.
click_button() {
    local caption=$1 column=$2
    e2e_probe click "$caption" "$column" && return 0
    e2e_probe message-box --timeout-ms 3000 >/dev/null 2>&1 && return 0
    echo "the click on $caption $column did not arrive; clicking again" >&2
    e2e_probe click "$caption" "$column"
}

# Reads the fields and checks them against the clock of the zone (one tick of lag allowed).
check_fields_follow_clock() {
    local zone=$1 before after second shown
    before=$(date +%s)
    shown=$(e2e_probe fields | tr -d '\r' | tr '\n' ' ')
    after=$(date +%s)
    for ((second = before - 1; second <= after; second++)); do
        [[ "$shown" == "$(TZ=$zone date -d "@$second" '+%Y %m %d %H %M %S ')" ]] && return 0
    done
    e2e_fail "$zone: fields show '$shown', the clock says $(TZ=$zone date '+%Y %m %d %H %M %S')"
}

for zone in "${zones[@]}"; do
    log="$E2E_ARTEFACT_DIR/e2e_steps-${zone//\//_}.log"
    TZ=$zone WINEDEBUG=-all,err+sync wine "$E2E_PROGRAM" 2>"$log" &
    E2E_PROGRAM_PID=$!
    e2e_probe wait >/dev/null || e2e_fail "$zone: the window did not show"
    figures=()
    for entry in "${buttons[@]}"; do
        read -r caption column unit sign <<<"$entry"
        seen=$(refusals "$log")
        before=$(date +%s)
        click_button "$caption" "$column" || e2e_fail "$zone: cannot click $caption $column"
        mapfile -t box < <(e2e_probe message-box --timeout-ms 10000 | tr -d '\r')
        after=$(date +%s)
        ((${#box[@]} >= 2)) || e2e_fail "$zone $caption$unit: no error display (${box[*]})"
        [[ "${box[0]}" == Timetool ]] || e2e_fail "$zone $caption$unit: box caption '${box[0]}'"
        text_ok=0
        for text in "${refusal_texts[@]}"; do
            [[ "${box[1]}" == "$text" ]] && text_ok=1
        done
        ((text_ok)) || e2e_fail "$zone $caption$unit: the box says '${box[1]}'"
        (($(refusals "$log") == seen + 1)) ||
            e2e_fail "$zone $caption$unit: expected one refused write, log: $(tail -n 3 "$log")"
        logged=$(grep 'NtSetSystemTime not allowed' "$log" | tail -n 1 |
            sed -E 's/.*difference (-?[0-9]+) ms.*/\1/')
        matched=0
        for t in "$before" "$after"; do
            step=$(step_ms "$zone" "$t" "$unit" "$sign")
            matches_step "$logged" "$step" && matched=1
        done
        ((matched)) || e2e_fail "$zone $caption$unit: asked for $logged ms, the step is $step ms"
        figures+=("$caption$unit=$logged")
        e2e_probe press-ok || e2e_fail "$zone $caption$unit: the box did not close"
    done
    sleep 0.5
    check_fields_follow_clock "$zone"
    e2e_probe close || e2e_fail "$zone: the window did not close"
    e2e_wait_program
    code=$E2E_EXIT_CODE
    [[ "$code" == 0 ]] || e2e_fail "$zone: exit code $code after the close"
    echo "$zone: ${figures[*]}"
done
echo "PASS"
