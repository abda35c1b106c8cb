#!/usr/bin/env bash
# End-to-end figures at scale: Quellan.exe under Wine (or, with --cli,
# quellan-cli natively) searches simulated devices, each run in private
# namespaces made for the run. Writes one line per run to
# build/e2e-figures.txt (build/cli-figures.txt), which scripts/bench.sh
# prints in its table.
#
#   scripts/scale.sh [--wine-cpus LIST] [COUNT | COUNT/WINDOW_MS ...]
#
# COUNT devices answer paced, as the simulator does by default (5000 a
# second in bursts of 32). COUNT/WINDOW_MS devices answer as a real site
# does: each at a random moment within the window and none held back, so
# thousands arrive at once. Each line counts the datagrams the kernel
# dropped for want of room in a receive buffer.
#
# --wine-cpus LIST runs the Wine side (the program, its wineserver and the
# probe) on those CPUs only (taskset), the simulator anywhere. Under Wine
# every datagram read is a round trip to the wineserver; on this machine the
# wake-ups between two cores, not the CPU time, are what bound the receive
# rate, and one core for both removes them.
#
# QUELLAN_EXE=PATH runs that Quellan.exe instead of the tree's own, which is
# then not built: the simulator and the probe stay the tree's, so two builds
# of the program are measured against the same sender and the same probe.
# QUELLAN_SERVER_TRACE=FILE writes the wineserver's trace of every request
# to FILE; bench/server_requests.py counts those of the search by thread.
#
#   scripts/scale.sh --cli [--adapter ADDR] [--plan] [--onvif N]
#                    [COUNT/WINDOW_MS ...]
#
# The command line instead: the native `quellan-cli search --format json`
# (bench/cli_scale.py) against COUNT devices answering unpaced within
# WINDOW_MS, by default 65536/2500 (its cap, a /16) and 70000/2500 (beyond
# it); figures in build/cli-figures.txt. The app side has two links with
# addresses, so without --adapter every device answers twice. With --onvif
# N, N ONVIF-only devices answer a second simulator's WS-Discovery too, and
# the run is a `search --protocol all` (each answers every probe on each
# link, after up to 500 ms). Figures recorded on the build machine:
# bench/cli_figures.md.
#
#   scripts/scale.sh --domains [DOMAINS/DEVICES ...]
#
# One host, many broadcast domains: the native `quellan-cli search` against
# one simulator per domain (bench/domains_scale.py), by default 32/200: every
# domain with a device on 192.168.1.64 and two sharing an address. Checks
# each device's adapter and that the only conflicts are each domain's pair,
# then that a `set` is heard in its own domain only; figures in
# build/cli-figures.txt.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/lib/packages.sh
. scripts/lib/netns.sh
. scripts/lib/display.sh
. scripts/lib/sandbox.sh

[ "$(id -u)" = 0 ] || { echo "run as root (network namespaces)" >&2; exit 1; }

# The command line's runs: a native build, and namespaces named $1 that the
# caller's trap removes.
cli_runs_up() {
  ensure_packages
  cmake --preset native >/dev/null
  cmake --build --preset native -j2 --target quellan-cli quellan-devsim \
    >/dev/null
  netns_up "$1"
  export QUELLAN_APP_NS="$1-app" QUELLAN_PEER_NS="$1-dev"
  export QUELLAN_DEVSIM="$root/build/native/tools/devsim/quellan-devsim"
  figures=build/cli-figures.txt
  : >"$figures"
}

if [ "${1:-}" = --domains ]; then
  shift
  runs=("$@")
  [ ${#runs[@]} -gt 0 ] || runs=(32/200)
  name=qd$$
  devices=$(mktemp -d)
  trap 'netns_down "$name"; rm -rf "$devices"' EXIT
  cli_runs_up "$name"
  status=0
  for run in "${runs[@]}"; do
    domains=${run%/*} count=${run#*/}
    rm -f "$devices"/*.csv
    python3 bench/domains_scale.py --write "$devices" --domains "$domains" \
      --devices "$count"
    peers=()
    for ((k = NETNS_FIRST_DOMAIN; k < NETNS_FIRST_DOMAIN + domains; k++)); do
      peers+=(--peer "--devices $devices/domain-$k.csv --interface qd$k")
    done
    ip netns exec "$QUELLAN_APP_NS" tests/support/netpeer.sh \
      --domains "$domains" "${peers[@]}" -- python3 bench/domains_scale.py \
      --cli build/native/cli/quellan-cli --domains "$domains" \
      --devices "$count" --figures "$figures" || status=1
  done
  exit $status
fi

if [ "${1:-}" = --cli ]; then
  shift
  adapter=()
  if [ "${1:-}" = --adapter ]; then
    adapter=(--adapter "$2")
    shift 2
  fi
  # --plan: the dry run of a plan for every device listed instead.
  if [ "${1:-}" = --plan ]; then
    adapter+=(--plan)
    shift
  fi
  onvif=0
  peers=()
  if [ "${1:-}" = --onvif ]; then
    onvif=$2
    shift 2
  fi
  runs=("$@")
  [ ${#runs[@]} -gt 0 ] || runs=(65536/2500 70000/2500)
  name=qc$$
  devices=$(mktemp)
  trap 'netns_down "$name"; rm -f "$devices"' EXIT
  cli_runs_up "$name"
  if [ "$onvif" -gt 0 ]; then
    python3 bench/cli_scale.py --onvif "$onvif" --write "$devices"
    peers=(--peer "--devices $devices --rate 1000000 --burst $((onvif * 8))")
    adapter+=(--onvif "$onvif")
  fi
  status=0
  for run in "${runs[@]}"; do
    count=${run%/*} window=${run#*/}
    # A /15 holds more devices than the command line lists.
    peer="--count $count --subnet 10.96.0.0/15 --delay 0:$window"
    peer="$peer --rate 1000000 --burst $count"
    ip netns exec "$QUELLAN_APP_NS" tests/support/netpeer.sh --peer "$peer" \
      "${peers[@]}" -- python3 bench/cli_scale.py \
      --cli build/native/cli/quellan-cli --count "$count" --window "$window" "${adapter[@]}" \
      --figures "$figures" || status=1
  done
  exit $status
fi

wine_cpus=""
if [ "${1:-}" = --wine-cpus ]; then
  wine_cpus=$2
  shift 2
fi
runs=("$@")
[ ${#runs[@]} -gt 0 ] ||
  runs=(100 1000 2000 5000 5000/800 10000/2500 20000/2500)
ensure_packages
cmake --preset native >/dev/null && cmake --preset win64 >/dev/null
cmake --build --preset native -j2 --target quellan-devsim >/dev/null
quellan_exe=${QUELLAN_EXE:-}
if [ -z "$quellan_exe" ]; then
  cmake --build --preset win64 -j2 --target Quellan >/dev/null
  quellan_exe=build/win64/app/Quellan.exe
fi
cmake --build --preset win64 -j2 --target quellan-probe >/dev/null

sandbox_up qs$$
export QUELLAN_APP_NS="$SANDBOX-app" QUELLAN_PEER_NS="$SANDBOX-dev"
export QUELLAN_DEVSIM="$root/build/native/tools/devsim/quellan-devsim"

figures=build/e2e-figures.txt
: >"$figures"
status=0
for run in "${runs[@]}"; do
  count=${run%/*}
  # A /17 holds the table's cap of 20000 devices.
  peer="--count $count --subnet 10.96.0.0/17"
  profile=paced
  if [ "$run" != "$count" ]; then
    window=${run#*/}
    peer="$peer --delay 0:$window --rate 1000000 --burst $count"
    profile="unpaced within $window ms"
  fi
  pin=()
  if [ -n "$wine_cpus" ]; then
    pin=(taskset -c "$wine_cpus")
    profile="$profile, Wine on CPU $wine_cpus"
  fi
  ip netns exec "$QUELLAN_APP_NS" tests/support/netpeer.sh --wine \
    --peer "$peer" -- \
    "${pin[@]}" python3 tests/e2e/scale_e2e.py --quellan "$quellan_exe" \
    --probe build/win64/tools/probe/quellan-probe.exe --count "$count" \
    --profile "$profile" --figures "$figures" || status=1
done
exit $status
