#!/usr/bin/env bash
# shellcheck source-path=SCRIPTDIR
# The probe itself, tried on the bare window of the benchmarks: finding a window by title,
# driving timer ticks into it, reading and dismissing a message box, closing the window with its
# exit code, timing start-up, and the failures it reports.
# shellcheck source=e2e-lib.sh
source "$(dirname "$0")/e2e-lib.sh"
e2e_begin

title="Bare window"

# Ticks driven from outside reach the window's timer handler, one handled per one sent.
e2e_start_program -- --timer
e2e_probe wait --title "$title" >/dev/null || e2e_fail "the bare window did not show"
ticks=$(e2e_probe ticks 300 --title "$title" --count-message 0x8000)
handled=$(sed -n 's/^handled=//p' <<<"$ticks" | tr -d '\r')
elapsed=$(sed -n 's/^elapsed_ms=//p' <<<"$ticks" | tr -d '\r')
# The timer's own ticks during the run count too: at most one per 200 ms, and one more.
most=$((300 + elapsed / 200 + 2))
((handled >= 300 && handled <= most)) ||
    e2e_fail "ticks: handled $handled of 300 sent in $elapsed ms (expected 300..$most)"

e2e_probe figures --title "$title" | grep -q '^working_set_bytes=[0-9]' ||
    e2e_fail "figures: no working set"

e2e_probe close --title "$title" || e2e_fail "close failed"
e2e_wait_program
code=$E2E_EXIT_CODE
[[ "$code" == 0 ]] || e2e_fail "exit code after close: $code"

# A message box: its caption and its text (UTF-8, the line break kept), then OK dismisses it.
e2e_start_program -- --message-box
box=$(e2e_probe message-box --title "$title") || e2e_fail "no message box found"
expected=$'Bare\n出错了。\r\n第二行'
[[ "$box" == "$expected" ]] || e2e_fail "message box read as: $(printf '%q' "$box")"
e2e_probe press-ok --title "$title" || e2e_fail "press-ok failed"
e2e_probe message-box --title "$title" --timeout-ms 300 >/dev/null 2>&1 &&
    e2e_fail "the message box is still there after OK"
e2e_probe close --title "$title" || e2e_fail "close after the message box failed"
e2e_wait_program
code=$E2E_EXIT_CODE
[[ "$code" == 0 ]] || e2e_fail "exit code after the message box: $code"

# Start-up timing: every run shows its window and ends with exit code 0 after the close.
program_path=$(winepath -w "$E2E_PROGRAM" 2>/dev/null)
startup=$(e2e_probe startup 2 -- "$program_path" --timer) || e2e_fail "startup failed"
[[ $(grep -c 'exit_code=0' <<<"$startup") == 2 ]] || e2e_fail "startup runs: $startup"
grep -q '^median_ms=[0-9]' <<<"$startup" || e2e_fail "startup: no median in $startup"

# What the probe reports when the target or its control is not there: exit code 2 for a time-out,
# 1 for every other failure. Rows: expected exit code, then the probe's words, split at "|".
e2e_start_program -- --timer
e2e_probe wait --title "$title" >/dev/null || e2e_fail "the bare window did not show"
failures=(
    "2|wait|--title|no-such-window|--timeout-ms|200"
    "2|click|+|1|--title|no-such-window|--timeout-ms|200"
    "1|click|no-such-caption|1|--title|$title"
    "1|set-field|1|x|--title|$title"
    "1|ticks|--title|$title"
    "1|no-such-command"
)
for row in "${failures[@]}"; do
    IFS='|' read -r -a words <<<"$row"
    code=0
    e2e_probe "${words[@]:1}" >/dev/null 2>&1 || code=$?
    [[ "$code" == "${words[0]}" ]] || e2e_fail "'${row#*|}' exited $code, expected ${words[0]}"
done
e2e_probe close --title "$title" || e2e_fail "close failed"
e2e_wait_program
[[ "$E2E_EXIT_CODE" == 0 ]] || e2e_fail "exit code after the last close: $E2E_EXIT_CODE"
echo "PASS"
