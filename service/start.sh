#!/bin/bash
# Starts the reference time service: nginx with its own configuration, pid, logs and temporary
# files under STATE_DIR, answering GET /getSysTime.do on ADDRESS:PORT with the time of UTC+8.
# Leaves the system's nginx and its configuration alone. Stop it with stop.sh STATE_DIR.
# SERVICE_TZ=ZONE makes it answer with the time of another zone instead (for tests of a service
# that is off by the zone difference, e.g. SERVICE_TZ=Asia/Tokyo is one hour ahead).
#
# usage: [SERVICE_TZ=ZONE] start.sh ADDRESS:PORT STATE_DIR
set -euo pipefail

if [[ $# -ne 2 || $1 != *:* ]]; then
    echo "usage: $0 ADDRESS:PORT STATE_DIR" >&2
    exit 2
fi
listen=$1
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
mkdir -p "$2"
state=$(cd "$2" && pwd)

nginx_bin=$(command -v nginx || true)
if [[ -z $nginx_bin && -x /usr/sbin/nginx ]]; then
    nginx_bin=/usr/sbin/nginx
fi
if [[ -z $nginx_bin ]]; then
    echo "$0: nginx is not installed" >&2
    exit 3
fi

if [[ -f $state/nginx.pid ]] && kill -0 "$(cat "$state/nginx.pid")" 2>/dev/null; then
    echo "$0: a service already runs from $state" >&2
    exit 1
fi

mkdir -p "$state/www" "$state/temp"
cp "$here/getSysTime.do" "$state/www/getSysTime.do"

# Workers started by root would otherwise run as "nobody", who may not reach STATE_DIR.
user_line=""
if [[ $(id -u) -eq 0 ]]; then
    user_line="user root;"
fi
shopt -u patsub_replacement 2>/dev/null || true
config=$(<"$here/nginx.conf.in")
config=${config//@LISTEN@/$listen}
config=${config//@STATE@/$state}
config=${config//@USER@/$user_line}
printf '%s\n' "$config" >"$state/nginx.conf"

zone=${SERVICE_TZ:-Asia/Shanghai}
if [[ -z ${SERVICE_TZ:-} && ! -e /usr/share/zoneinfo/$zone ]]; then
    zone=CST-8 # the same offset, without the time zone database
fi
TZ=$zone "$nginx_bin" -p "$state" -c "$state/nginx.conf" -e "$state/error.log"

# Wait until it answers (at most about 10 seconds).
host=${listen%:*}
port=${listen##*:}
for _ in $(seq 1 50); do
    # The inner script gets host and port as $0 and $1, so its text stays unexpanded here.
    # shellcheck disable=SC2016
    if timeout 2 bash -c '
        exec 3<>"/dev/tcp/$0/$1" || exit 1
        printf "GET /getSysTime.do HTTP/1.0\r\nHost: %s\r\n\r\n" "$0" >&3
        IFS= read -r status <&3
        [[ $status == "HTTP/1."?" 200"* ]]' "$host" "$port" 2>/dev/null; then
        echo "http://$listen/getSysTime.do"
        exit 0
    fi
    sleep 0.2
done
echo "$0: the service did not answer on $listen; see $state/error.log" >&2
"$here/stop.sh" "$state" || true
exit 1
