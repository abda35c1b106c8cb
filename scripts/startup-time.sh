#!/usr/bin/env bash
# Start-up time of Quellan.exe under Wine: from the launch to its main window
# shown on the (private) X display, over several runs; prints each and the
# median, and the size of the executable.
#
#   scripts/startup-time.sh [RUNS]   (default 7)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/lib/packages.sh
. scripts/lib/netns.sh
. scripts/lib/display.sh
. scripts/lib/sandbox.sh

[ "$(id -u)" = 0 ] || { echo "run as root (network namespaces)" >&2; exit 1; }
runs=${1:-7}
ensure_packages
cmake --preset win64 >/dev/null
cmake --build --preset win64 -j2 --target Quellan quellan-probe >/dev/null

sandbox_up qt$$
# A first run warms Wine's own start-up (wineserver, services) out of the
# figures.
ip netns exec "$SANDBOX-app" wine cmd /c exit 0 >/dev/null 2>&1 || true

times=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  ip netns exec "$SANDBOX-app" wine build/win64/app/Quellan.exe >/dev/null 2>&1 &
  app=$!
  # xdotool's own --sync looks only every half second.
  until xdotool search --onlyvisible --name '^Quellan$' >/dev/null; do
    sleep 0.01
  done
  end=$(date +%s%N)
  times+=($(( (end - start) / 1000000 )))
  ip netns exec "$SANDBOX-app" wine build/win64/tools/probe/quellan-probe.exe \
    command 57665 >/dev/null 2>&1 || true
  wait "$app" || true
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
echo "start-up to a shown window (ms): ${times[*]}"
echo "median: ${sorted[$(( ${#sorted[@]} / 2 ))]} ms over ${#times[@]} runs"
echo "Quellan.exe: $(stat -c %s build/win64/app/Quellan.exe) bytes"
