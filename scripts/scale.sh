#!/usr/bin/env bash
# End-to-end figures at scale: Quellan.exe under Wine searches 100, 1000,
# 2000 and 5000 simulated devices (or the counts given), each in private
# namespaces made for the run. Writes one line per count to
# build/e2e-figures.txt, which scripts/bench.sh prints in its table.
#
#   scripts/scale.sh [COUNT...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/lib/packages.sh
. scripts/lib/netns.sh
. scripts/lib/display.sh
. scripts/lib/sandbox.sh

[ "$(id -u)" = 0 ] || { echo "run as root (network namespaces)" >&2; exit 1; }
counts=("$@")
[ ${#counts[@]} -gt 0 ] || counts=(100 1000 2000 5000)
ensure_packages
cmake --preset native >/dev/null && cmake --preset win64 >/dev/null
cmake --build --preset native -j2 --target quellan-devsim >/dev/null
cmake --build --preset win64 -j2 --target Quellan quellan-probe >/dev/null

sandbox_up qs$$
export QUELLAN_APP_NS="$SANDBOX-app" QUELLAN_PEER_NS="$SANDBOX-dev"
export QUELLAN_DEVSIM="$root/build/native/tools/devsim/quellan-devsim"

figures=build/e2e-figures.txt
: >"$figures"
for count in "${counts[@]}"; do
  ip netns exec "$QUELLAN_APP_NS" tests/support/netpeer.sh --wine \
    --peer "--count $count --subnet 10.96.0.0/18" -- \
    python3 tests/e2e/scale_e2e.py --quellan build/win64/app/Quellan.exe \
    --probe build/win64/tools/probe/quellan-probe.exe --count "$count" \
    --figures "$figures"
done
