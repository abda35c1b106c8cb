#!/usr/bin/env bash
# Runs a search against simulated devices on a private network made for the
# run: the devices answer from a peer namespace, the search runs in the app
# namespace, and nothing reaches the host's own network.
#
#   scripts/run.sh [CSV]     (default: tools/devsim/example-devices.csv)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/lib/packages.sh
. scripts/lib/netns.sh

[ "$(id -u)" = 0 ] || { echo "run as root (network namespaces)" >&2; exit 1; }
devices=${1:-tools/devsim/example-devices.csv}
ensure_packages
cmake --preset native >/dev/null
cmake --build --preset native -j2 --target quellan-devsim quellan-search >/dev/null

name=qr$$
sim_pid=""
teardown() {
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  netns_down "$name"
}
trap teardown EXIT
netns_up "$name"

ip netns exec "$name-dev" build/native/tools/devsim/quellan-devsim \
  --devices "$devices" >/dev/null &
sim_pid=$!
sleep 0.5
ip netns exec "$name-app" build/native/tools/search/quellan-search --seconds 2
