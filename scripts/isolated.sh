#!/usr/bin/env bash
# Runs a command in a private network namespace, where only loopback exists, and a private mount
# namespace, where the time service's host name resolves to 127.0.0.1 through a hosts file of its
# own. Everything the command starts (wineserver, Wine programs, the time service) stays inside.
#
#   scripts/isolated.sh HOST -- COMMAND [ARGUMENTS...]
#
# Inside, TIMETOOL_ISOLATED=1. Where namespaces cannot be made (no privileges), the command runs
# without them with TIMETOOL_ISOLATED=0, and tests that need the network skip themselves.
set -euo pipefail

if (($# < 3)) || [[ "$2" != "--" ]]; then
    echo "usage: $0 HOST -- COMMAND [ARGUMENTS...]" >&2
    exit 2
fi
host=$1
shift 2

if [[ "${TIMETOOL_ISOLATED_INSIDE:-0}" == 1 ]]; then
    unset TIMETOOL_ISOLATED_INSIDE
    ip link set lo up
    hosts=$(mktemp "${TMPDIR:-/tmp}/timetool-hosts.XXXXXX")
    {
        echo "127.0.0.1 localhost $host"
        echo "::1 localhost ip6-localhost ip6-loopback"
    } >"$hosts"
    chmod 644 "$hosts"
    mount --bind "$hosts" /etc/hosts
    # The mount holds the file; the name is not needed any more.
    rm -f "$hosts"
    export TIMETOOL_ISOLATED=1
    exec "$@"
fi

if unshare --net --mount true 2>/dev/null; then
    TIMETOOL_ISOLATED_INSIDE=1 exec unshare --net --mount --propagation private \
        bash "${BASH_SOURCE[0]}" "$host" -- "$@"
fi
echo "isolated: cannot make namespaces here; running without network isolation" >&2
export TIMETOOL_ISOLATED=0
exec "$@"
