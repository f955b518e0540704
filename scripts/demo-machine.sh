#!/usr/bin/env bash
# Lays out the demo machine (demo/machine.reg, demo/plugins.txt) in the Wine
# prefix given, using the fixture plug-ins of the build.
#   scripts/demo-machine.sh <prefix> [<build dir>]
set -euo pipefail
source "$(dirname "$0")/common.sh"
prefix=${1:?usage: demo-machine.sh <prefix> [<build dir>]}
build=${2:-$BUILD_DIR}

use_prefix "$prefix"
wine regedit /S "$(winepath -w "$VARNOCK_ROOT/demo/machine.reg")" >/dev/null 2>&1 </dev/null

while IFS=$'\t' read -r source path; do
  case "$source" in ''|'#'*) continue ;; esac
  # C:\a\b -> <prefix>/drive_c/a/b
  rel=${path#?:\\}
  target="$WINEPREFIX/drive_c/${rel//\\//}"
  mkdir -p "$(dirname "$target")"
  if [ "$source" = text ]; then
    printf 'Not a plug-in module.\r\n' >"$target"
  else
    cp "$build/fixtures/${source%:x86}.dll" "$target"
    # "<fixture>:x86": the fixture marked as built for x86 in its file header.
    if [ "$source" != "${source%:x86}" ]; then
      header=$(( $(od -An -tu4 -j60 -N4 "$target") + 4 ))
      printf '\x4c\x01' | dd of="$target" bs=1 seek="$header" conv=notrunc status=none
    fi
  fi
done <"$VARNOCK_ROOT/demo/plugins.txt"
