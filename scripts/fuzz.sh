#!/usr/bin/env bash
# Fuzzes the readers of untrusted bytes (src/scan/parse) natively, with
# clang's libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer:
#
#   scripts/fuzz.sh [SECONDS] [TARGET...]     # 60 s each by default; all three targets
#
# Every input that ever failed (tests/fuzz/regressions/<target>/) is replayed
# first. The corpus grows in build/fuzz/corpus/<target>/ from run to run,
# seeded from the fixture modules, corrupted copies of them and, where Wine is
# installed, Wine's own modules (copied at fuzz time, never kept in the
# repository). A finding is left in build/fuzz/findings/<target>/ and makes the
# script fail. VARNOCK_FUZZ_RUNS=N runs N inputs per target instead of a time.
set -euo pipefail
source "$(dirname "$0")/common.sh"

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(version_read version_block registry_value)

ensure_packages
build_all >/dev/null  # the fixture modules the seeds come from

fuzz_dir=$BUILD_DIR/fuzz
log "building the fuzz targets in $fuzz_dir"
cmake -S "$VARNOCK_ROOT/tests/fuzz" -B "$fuzz_dir" -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$fuzz_dir" -j2 >/dev/null

seeds=$fuzz_dir/seeds
rm -rf "$seeds"
"$fuzz_dir/make_seeds" "$BUILD_DIR/fixtures" "$seeds" >/dev/null
# Wine's own PE modules, those small enough to stay whole under -max_len.
for wine_dir in /usr/lib/*/wine/x86_64-windows /usr/lib/*/wine/i386-windows; do
  [ -d "$wine_dir" ] || continue
  arch=$(basename "$wine_dir")
  find "$wine_dir" -maxdepth 1 -type f -size -256k -print0 |
    while IFS= read -r -d '' module; do
      cp "$module" "$seeds/version_read/wine-$arch-$(basename "$module")"
    done
done

max_len() {
  case $1 in
    version_read) echo 262144 ;;
    version_block) echo 65536 ;;  # a resource's length is a 16-bit field
    *) echo 4096 ;;
  esac
}

if [ -n "${VARNOCK_FUZZ_RUNS:-}" ]; then
  budget=(-runs="$VARNOCK_FUZZ_RUNS")
else
  budget=(-max_total_time="$seconds")
fi

failed=0
for target in "${targets[@]}"; do
  exe=$fuzz_dir/${target}_fuzz
  corpus=$fuzz_dir/corpus/$target
  findings=$fuzz_dir/findings/$target
  target_log=$fuzz_dir/logs/$target.log
  mkdir -p "$corpus" "$findings" "$(dirname "$target_log")"

  regressions=()
  for input in "$VARNOCK_ROOT/tests/fuzz/regressions/$target"/*; do
    [ -f "$input" ] && [ "$(basename "$input")" != README ] && regressions+=("$input")
  done
  if [ ${#regressions[@]} -gt 0 ] &&
     ! "$exe" -artifact_prefix="$findings/" "${regressions[@]}" >"$target_log.replay" 2>&1; then
    log "$target: a kept regression fails again"
    tail -n 30 "$target_log.replay" >&2
    failed=1
    continue
  fi

  log "fuzzing $target"
  if "$exe" "${budget[@]}" -max_len="$(max_len "$target")" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="$findings/" "$corpus" "$seeds/$target" \
       >"$target_log" 2>&1; then
    runs=$(awk '/stat::number_of_executed_units/ {print $2}' "$target_log")
    rate=$(awk '/stat::average_exec_per_sec/ {print $2}' "$target_log")
    log "$target: no finding in $runs inputs ($rate per second), corpus $(ls "$corpus" | wc -l)"
  else
    log "$target: FINDING, kept in $findings (log $target_log)"
    grep -A 30 -m1 -E '^==[0-9]+==ERROR|runtime error|deadly signal|ALARM|out-of-memory' "$target_log" >&2 ||
      tail -n 30 "$target_log" >&2
    failed=1
  fi
done
exit "$failed"
