#!/bin/bash
# Stops the reference time service that start.sh started from STATE_DIR (and nothing else).
#
# usage: stop.sh STATE_DIR
set -euo pipefail

if [[ $# -ne 1 ]]; then
    echo "usage: $0 STATE_DIR" >&2
    exit 2
fi
state=$(cd "$1" && pwd)
pid_file=$state/nginx.pid
if [[ ! -f $pid_file ]]; then
    exit 0
fi
pid=$(cat "$pid_file")
# Only an nginx master started with this state directory as its prefix.
if ! tr '\0' ' ' <"/proc/$pid/cmdline" 2>/dev/null | grep -qF -- "-p $state "; then
    rm -f "$pid_file"
    exit 0
fi
kill -QUIT "$pid"
for _ in $(seq 1 50); do
    kill -0 "$pid" 2>/dev/null || exit 0
    sleep 0.1
done
kill -TERM "$pid" 2>/dev/null || true
