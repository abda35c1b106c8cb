#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build/fuzz and runs each for
# SECONDS (default 60) from its fixed inputs in tests/fuzz/corpus. Inputs that
# find new paths stay in build/fuzz; a crash leaves its input in
# build/fuzz/artifacts and makes the script exit non-zero.
#
#   scripts/fuzz.sh [SECONDS]        build dir: QUELLAN_FUZZ_BUILD
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

seconds=${1:-60}
build=${QUELLAN_FUZZ_BUILD:-$root/build/fuzz}
targets=(codec_fuzz intake_fuzz ip_validation_fuzz device_csv_fuzz plan_csv_fuzz
  probe_matches_fuzz workbook_fuzz)

mkdir -p "$build"
echo "== build $build"
if ! { cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DQUELLAN_FUZZ=ON &&
  cmake --build "$build" -j2 --target quellan_fuzzers; } \
  >"$build/fuzz-build.log" 2>&1; then
  tail -n 60 "$build/fuzz-build.log"
  exit 1
fi

failed=0
for target in "${targets[@]}"; do
  work="$build/tests/fuzz/work/$target"
  artifacts="$build/tests/fuzz/artifacts/$target/"
  mkdir -p "$work" "$artifacts"
  log="$build/$target.log"
  echo "== $target, $seconds s"
  if "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts" \
    "$work" "tests/fuzz/corpus/$target" >"$log" 2>&1; then
    grep -E 'DONE|^Done' "$log" || true
  else
    failed=1
    tail -n 40 "$log"
    echo "crash input: $(ls "$artifacts")"
  fi
done
exit $failed
