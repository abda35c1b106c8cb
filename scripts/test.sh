#!/usr/bin/env bash
# Builds every preset and runs every test: natively (plain, ASan+UBSan, TSan)
# and the Windows build under Wine, all inside private network namespaces
# that this script makes and removes. Exits non-zero on any failure.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/lib/packages.sh
. scripts/lib/netns.sh
. scripts/lib/display.sh
. scripts/lib/sandbox.sh
. scripts/lib/expat.sh
. scripts/lib/utf8proc.sh
. scripts/lib/workbook_sources.sh

[ "$(id -u)" = 0 ] || { echo "run as root (network namespaces)" >&2; exit 1; }
ensure_packages
fetch_expat "$root"
fetch_utf8proc "$root"
fetch_workbook_sources "$root"

presets=(native native-asan native-tsan win64)
mkdir -p build
for preset in "${presets[@]}"; do
  echo "== build $preset"
  # The build's own output only when it fails.
  if ! { cmake --preset "$preset" && cmake --build --preset "$preset" -j2; } \
    >"build/$preset-build.log" 2>&1; then
    tail -n 60 "build/$preset-build.log"
    exit 1
  fi
done

sandbox_up qt$$

export QUELLAN_APP_NS="$SANDBOX-app" QUELLAN_PEER_NS="$SANDBOX-dev"
export QUELLAN_DEVSIM="$root/build/native/tools/devsim/quellan-devsim"

failed=0
for preset in "${presets[@]}"; do
  echo "== test $preset"
  log="build/$preset-ctest.log"
  if ip netns exec "$QUELLAN_APP_NS" ctest --preset "$preset" --timeout 600 \
    >"$log" 2>&1; then
    grep -E 'tests passed|Total Test time' "$log" | sort -u
  else
    failed=1
    cat "$log"
  fi
done

# The capture dissector on fixtures and on a real search and change in the
# namespaces, then the release packages built from what was just tested.
echo "== wireshark dissector"
QUELLAN_CLI="$root/build/native/cli/quellan-cli" bash tests/wireshark/run.sh ||
  failed=1
echo "== packages"
{ bash scripts/package.sh --no-build && bash tests/packaging/check.sh dist; } ||
  failed=1

# Short runs of the fuzz targets (a clang build of their own); longer runs:
# scripts/fuzz.sh SECONDS.
echo "== fuzz, 20 s a target"
QUELLAN_FUZZ_BUILD="$root/build/fuzz" bash scripts/fuzz.sh 20 || failed=1
exit $failed
