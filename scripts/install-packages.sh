#!/usr/bin/env bash
# Installs the Debian packages named as arguments that are not installed yet (apt-get; sudo
# only when not run as root). A first argument --no-install-recommends leaves out what the
# packages only recommend (Wine recommends a hundred multimedia packages that no test needs).
set -euo pipefail

options=()
if [ "${1:-}" = --no-install-recommends ]; then
    options+=(--no-install-recommends)
    shift
fi
missing=()
for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
        missing+=("$package")
done
((${#missing[@]})) || exit 0
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq "${options[@]}" "${missing[@]}"
