#!/usr/bin/env bash
# Runs Quellan.exe under Wine against simulated devices, on a private network
# made for the run: the devices answer from a peer namespace, the program
# runs in the app namespace, and nothing reaches the host's own network.
#
#   scripts/run.sh [--headless] [CSV]   (devices: tools/devsim/example-devices.csv)
#
# On a display the program simply runs until it is closed. Without one (or
# with --headless) it runs under Xvfb: one search is made through the probe,
# and screenshots of the main window, the About box and the filled list are
# written to build/screenshots/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
. scripts/lib/packages.sh
. scripts/lib/netns.sh
. scripts/lib/display.sh
. scripts/lib/expat.sh
. scripts/lib/utf8proc.sh
. scripts/lib/workbook_sources.sh

headless=0
[ "${1:-}" = --headless ] && { headless=1; shift; }
devices=$(realpath "${1:-tools/devsim/example-devices.csv}")
[ "$(id -u)" = 0 ] || { echo "run as root (network namespaces)" >&2; exit 1; }
ensure_packages
fetch_expat "$root"
fetch_utf8proc "$root"
fetch_workbook_sources "$root"
for preset in native win64; do
  cmake --preset "$preset" >/dev/null
done
cmake --build --preset native -j2 --target quellan-devsim >/dev/null
cmake --build --preset win64 -j2 --target Quellan quellan-probe >/dev/null

name=qr$$
sim_pid="" app_pid=""
teardown() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null && wait "$sim_pid" 2>/dev/null
  wine_down "$name-app"
  display_down
  netns_down "$name"
}
trap teardown EXIT
netns_up "$name"
if [ "$headless" = 0 ] && [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "showing Quellan on $DISPLAY"
else
  headless=1
  display_up
fi
wine_up "$name-app"

ip netns exec "$name-dev" build/native/tools/devsim/quellan-devsim \
  --devices "$devices" >/dev/null &
sim_pid=$!
in_app() { ip netns exec "$name-app" "$@"; }
in_app wine build/win64/app/Quellan.exe >/dev/null 2>&1 &
app_pid=$!

if [ "$headless" = 0 ]; then
  wait "$app_pid" || true
  app_pid=""
  exit 0
fi

# Exit code 3: the probe's process came up without the window system and
# could not look; another one can.
probe() {
  local code
  for _ in 1 2 3; do
    code=0
    in_app wine build/win64/tools/probe/quellan-probe.exe "$@" </dev/null \
      >"$out" 2>/dev/null || code=$?
    [ "$code" = 3 ] || break
  done
  return "$code"
}
out=$(mktemp)
shots=build/screenshots
mkdir -p "$shots"
# The frame's rectangle on the screen, to cut it out of the screenshot.
probe --timeout 30000 wait-window
rect=$(python3 -c 'import json,sys; w=json.loads(open(sys.argv[1]).readline())
print("%dx%d+%d+%d" % (w["right"]-w["left"], w["bottom"]-w["top"], w["left"], w["top"]))' "$out")
sleep 1
import -window root -crop "$rect" "$shots/main-window.png"
probe command 32780
probe dialog
sleep 1
import -window root -crop "$rect" "$shots/about-box.png"
probe dismiss
probe command 32777
# Message boxes during the search (an IP collision) are answered with OK.
for _ in $(seq 20); do
  if probe --timeout 500 message-box; then
    cat "$out"
    probe dismiss
  fi
  probe --timeout 0 wait-enabled 32777 on && break
done
probe --timeout 10000 wait-enabled 32777 on
probe rows
python3 -c 'import json,sys
for l in open(sys.argv[1]):
    print("  ".join(json.loads(l)["texts"]))' "$out"
probe found-text
python3 -c 'import json,sys; print(json.loads(open(sys.argv[1]).readline())["text"])' "$out"
sleep 1
import -window root -crop "$rect" "$shots/search-result.png"
probe command 57665
wait "$app_pid" || true
app_pid=""
rm -f "$out"
echo "screenshots: $(ls "$shots"/*.png | tr '\n' ' ')"
