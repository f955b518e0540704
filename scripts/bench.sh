#!/usr/bin/env bash
# Builds the benchmark and the console tool and runs the benchmark under
# Wine, in a Wine prefix and on an X display of its own. Arguments go to
# varnock-bench.exe (--reps N, --smoke, --windows-only). The synthetic
# machines are laid out in the build tree on the first run and kept for the
# next.
#
# The window is also measured as other builds have it: each commit in
# VARNOCK_BENCH_BASELINE (f6a819a, the build before the owner-data list,
# unless told; several, space-separated, for more; "none" for no such runs)
# is built once into the build tree, and its benchmark's window runs beside
# this build's, in the same run, labelled "baseline <commit>".
set -euo pipefail
source "$(dirname "$0")/common.sh"

ensure_packages
build_all --target varnock-bench

baseline_exes=() baseline_labels=()
for baseline in ${VARNOCK_BENCH_BASELINE:-f6a819a}; do
  [ "$baseline" = none ] && continue
  if ! git -C "$VARNOCK_ROOT" cat-file -e "$baseline^{commit}" 2>/dev/null; then
    log "baseline $baseline is not in this clone: no window runs of it"
    continue
  fi
  baseline=$(git -C "$VARNOCK_ROOT" rev-parse --short=7 "$baseline^{commit}")
  baseline_dir="$BUILD_DIR/baseline-$baseline"
  if [ ! -x "$baseline_dir/build/bin/varnock-bench.exe" ]; then
    log "building the baseline $baseline in $baseline_dir"
    rm -rf "$baseline_dir/src"
    mkdir -p "$baseline_dir/src"
    git -C "$VARNOCK_ROOT" archive "$baseline" | tar -x -C "$baseline_dir/src"
    cmake -S "$baseline_dir/src" -B "$baseline_dir/build" --preset mingw >/dev/null
    cmake --build "$baseline_dir/build" -j2 --target varnock-bench >/dev/null
  fi
  baseline_exes+=("$baseline_dir/build/bin/varnock-bench.exe")
  baseline_labels+=("baseline $baseline")
done

start_display
trap 'stop_prefix; stop_display' EXIT
# A Wine desktop stands in for a window manager: without one Wine waits
# seconds for every top-level window to be mapped, and the window runs
# measure how soon one is shown.
use_prefix "$BUILD_DIR/bench-prefix" desktop
baseline_args=()
for i in "${!baseline_exes[@]}"; do
  baseline_args+=(--baseline "${baseline_labels[$i]}" "$(winepath -w "${baseline_exes[$i]}")")
done

log "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//'), $(wine --version 2>/dev/null)"
wine "$BUILD_DIR/bin/varnock-bench.exe" "${baseline_args[@]}" "$@"
