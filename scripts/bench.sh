#!/usr/bin/env bash
# Builds the benchmark and runs it under Wine, in a Wine prefix and on an X
# display of its own. Arguments go to varnock-bench.exe (--reps N, --smoke).
# The synthetic machine is laid out in the build tree on the first run and
# kept for the next.
set -euo pipefail
source "$(dirname "$0")/common.sh"

ensure_packages
build_all --target varnock-bench

start_display
trap 'stop_prefix; stop_display' EXIT
# A Wine desktop stands in for a window manager: without one Wine waits
# seconds for every top-level window to be mapped, and the window runs
# measure how soon one is shown.
use_prefix "$BUILD_DIR/bench-prefix" desktop

log "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(wine --version 2>/dev/null)"
wine "$BUILD_DIR/bin/varnock-bench.exe" "$@"
