#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running the program need, and only the
# ones that are missing. Fast and silent when everything is there already.
set -euo pipefail

packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev googletest
    g++-mingw-w64-x86-64-posix wine64 wine
    xvfb imagemagick x11-utils xdotool
    nginx-light fonts-wqy-zenhei fonts-wine tzdata iproute2 util-linux curl shellcheck
)

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    if [[ "$status" != "install ok installed" ]]; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "setup: installing ${missing[*]}"
if [[ $(id -u) -ne 0 ]]; then
    echo "setup: must run as root to install packages" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq "${missing[@]}" </dev/null >/dev/null
echo "setup: done"
