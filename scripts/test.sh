#!/usr/bin/env bash
# Builds Varnock and runs its whole test suite under Wine, in a Wine prefix
# and on an X display of its own, then each fuzz target for a minute
# (scripts/fuzz.sh; VARNOCK_FUZZ_SECONDS=N for another time, 0 for none).
# Arguments go to ctest and pick a subset, which runs without the fuzzers.
# Exits non-zero when anything fails.
set -euo pipefail
source "$(dirname "$0")/common.sh"

ensure_packages
build_all

start_display
demo_prefix="$BUILD_DIR/demo-test-prefix"
dpi_prefix="$BUILD_DIR/dpi-test-prefix"
trap 'WINEPREFIX="$demo_prefix" stop_prefix; WINEPREFIX="$dpi_prefix" stop_prefix; stop_prefix; stop_display' EXIT
log "laying out the demo machine"
rm -rf "$demo_prefix"
"$VARNOCK_ROOT/scripts/demo-machine.sh" "$demo_prefix" "$BUILD_DIR"
# The window at other scales: a prefix whose LogPixels the test sets.
use_prefix "$dpi_prefix" desktop
use_prefix "$BUILD_DIR/wineprefix" desktop

log "running the tests"
ctest --test-dir "$BUILD_DIR" --output-on-failure --timeout 300 -j2 "$@"

fuzz_seconds=${VARNOCK_FUZZ_SECONDS:-60}
if [ $# -eq 0 ] && [ "$fuzz_seconds" != 0 ]; then
  "$VARNOCK_ROOT/scripts/fuzz.sh" "$fuzz_seconds"
fi
