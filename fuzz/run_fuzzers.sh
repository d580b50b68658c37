#!/usr/bin/env bash
# Runs every libFuzzer target for a bounded time, starting from the committed
# seed corpus (copied, so the repository is not changed), and fails on any
# crash, hang, leak or sanitizer report. Prints the executions per target.
#
#   fuzz/run_fuzzers.sh BUILD_DIR [SECONDS_PER_TARGET]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
seconds=${2:-30}
targets=(fuzz_parse_decimal fuzz_input_form fuzz_project_file fuzz_batch_args)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=${ASAN_OPTIONS:-abort_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

failed=()
summary=()
for t in "${targets[@]}"; do
  exe="$build/fuzz/$t"
  [ -x "$exe" ] || { echo "missing fuzzer: $exe" >&2; exit 1; }
  mkdir -p "$work/$t/corpus" "$work/$t/artifacts"
  cp "$here/corpus/$t/"* "$work/$t/corpus/"
  log="$work/$t/log"
  echo "== $t: ${seconds}s"
  set +e
  "$exe" "$work/$t/corpus" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -max_len=8192 -print_final_stats=1 -artifact_prefix="$work/$t/artifacts/" >"$log" 2>&1
  rc=$?
  set -e
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  if [ $rc -ne 0 ] || ls "$work/$t/artifacts/"* >/dev/null 2>&1; then
    failed+=("$t")
    tail -60 "$log"
    for a in "$work/$t/artifacts/"*; do
      [ -f "$a" ] || continue
      echo "--- input $(basename "$a") (base64):"
      base64 "$a" | head -40
    done
  fi
  summary+=("$t: ${runs:-?} executions, exit $rc")
done

echo "== fuzzing summary (${seconds}s per target)"
printf '  %s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing FAILED: ${failed[*]}"
  exit 1
fi
