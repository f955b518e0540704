#!/usr/bin/env bash
# Builds the benchmark and runs it under Wine, in a Wine prefix and on an X
# display of its own. Arguments go to varnock-bench.exe (--reps N, --smoke,
# --windows-only). The synthetic machine is laid out in the build tree on the
# first run and kept for the next.
#
# The window is also measured as the build before the signature pass had it:
# that commit (VARNOCK_BENCH_BASELINE, 856e4af unless told; "none" for no
# such runs) is built once into the build tree and its benchmark's window
# runs beside this build's, in the same run.
set -euo pipefail
source "$(dirname "$0")/common.sh"

ensure_packages
build_all --target varnock-bench

baseline=${VARNOCK_BENCH_BASELINE:-856e4af}
baseline_args=()
if [ "$baseline" != none ] && git -C "$VARNOCK_ROOT" cat-file -e "$baseline^{commit}" 2>/dev/null; then
  baseline_dir="$BUILD_DIR/baseline-$baseline"
  if [ ! -x "$baseline_dir/build/bin/varnock-bench.exe" ]; then
    log "building the baseline $baseline in $baseline_dir"
    rm -rf "$baseline_dir/src"
    mkdir -p "$baseline_dir/src"
    git -C "$VARNOCK_ROOT" archive "$baseline" | tar -x -C "$baseline_dir/src"
    cmake -S "$baseline_dir/src" -B "$baseline_dir/build" --preset mingw >/dev/null
    cmake --build "$baseline_dir/build" -j2 --target varnock-bench >/dev/null
  fi
  baseline_exe="$baseline_dir/build/bin/varnock-bench.exe"
elif [ "$baseline" != none ]; then
  log "baseline $baseline is not in this clone: no window runs of the build before"
fi

start_display
trap 'stop_prefix; stop_display' EXIT
# A Wine desktop stands in for a window manager: without one Wine waits
# seconds for every top-level window to be mapped, and the window runs
# measure how soon one is shown.
use_prefix "$BUILD_DIR/bench-prefix" desktop
[ -n "${baseline_exe:-}" ] && baseline_args=(--baseline-window "$(winepath -w "$baseline_exe")")

log "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(wine --version 2>/dev/null)"
wine "$BUILD_DIR/bin/varnock-bench.exe" "${baseline_args[@]}" "$@"
