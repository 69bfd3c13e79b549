#!/usr/bin/env bash
# Installs the Debian packages that building and testing Umbrix needs, when any is missing.
# The packages are listed in tools/packages/*.txt, one a line; arguments name other lists
# instead (relative to tools/), such as packages/bench/peers.txt for `make bench`. As root it
# runs apt-get; otherwise it prints the line to run.
set -euo pipefail
cd "$(dirname "$0")"

lists=("$@")
[ ${#lists[@]} -eq 0 ] && lists=(packages/*.txt)
mapfile -t packages < <(cat "${lists[@]}" | sed -e 's/#.*//' -e 's/[[:space:]]//g' | grep -v '^$' | sort -u)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  echo "Installiere fehlende Pakete: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
else
  echo "Es fehlen Pakete. Bitte als root ausführen:" >&2
  echo "  apt-get install -y ${missing[*]}" >&2
  exit 1
fi
