#!/usr/bin/env bash
# Builds Varnock, lays out the demo machine in a Wine prefix of its own and
# shows what Varnock finds there.
set -euo pipefail
source "$(dirname "$0")/common.sh"

ensure_packages
build_all
demo_prefix="$BUILD_DIR/demo-prefix"
rm -rf "$demo_prefix"
"$VARNOCK_ROOT/scripts/demo-machine.sh" "$demo_prefix" "$BUILD_DIR"
export WINEPREFIX="$demo_prefix"
trap 'stop_prefix' EXIT

log "the report Varnock copies to the clipboard on this machine:"
wine "$BUILD_DIR/tools/varnock-report.exe" "$@" </dev/null
