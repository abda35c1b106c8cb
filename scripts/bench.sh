#!/usr/bin/env bash
# Builds the native benchmarks, runs them (the engine's inside a private
# network namespace that this script makes and removes) and prints one
# markdown table of the figures. Benchmarks report; they never fail on speed.
#
#   scripts/bench.sh            build dir: build/bench (QUELLAN_BENCH_BUILD)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/lib/netns.sh

[ "$(id -u)" = 0 ] || { echo "run as root (network namespaces)" >&2; exit 1; }

build=${QUELLAN_BENCH_BUILD:-$root/build/bench}
mkdir -p "$build"
echo "== build $build" >&2
if ! { cmake --preset native -B "$build" -DQUELLAN_TESTS=OFF &&
  cmake --build "$build" -j2 --target quellan-bench-core \
    quellan-bench-engine; } >"$build/bench-build.log" 2>&1; then
  tail -n 60 "$build/bench-build.log"
  exit 1
fi

name=qb$$
trap 'netns_down "$name"' EXIT
netns_up "$name"

echo "== core benchmarks" >&2
"$build/bench/quellan-bench-core" --benchmark_out="$build/core.json" \
  --benchmark_out_format=json >&2
echo "== engine benchmarks (namespace $name-app)" >&2
ip netns exec "$name-app" "$build/bench/quellan-bench-engine" \
  --benchmark_out="$build/engine.json" --benchmark_out_format=json >&2 || true

echo
python3 bench/figures_table.py "$build/core.json" "$build/engine.json"

for figures in build/e2e-figures.txt build/cli-figures.txt; do
  if [ -f "$figures" ]; then
    echo
    echo "End-to-end ($figures):"
    cat "$figures"
  fi
done
exe=build/win64/app/Quellan.exe
if [ -f "$exe" ]; then
  echo
  echo "$exe: $(stat -c %s "$exe") bytes"
fi
