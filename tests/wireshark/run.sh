#!/usr/bin/env bash
# Tests the Wireshark dissector (contrib/wireshark/quellan.lua) with tshark:
#
#  1. every datagram of fixtures.txt, made into one capture with text2pcap,
#     must decode to the values of expected.txt;
#  2. the dissector must also be offered for "Decode As" on another port;
#  3. a capture of a real search and IP change between quellan-cli and
#     quellan-devsim, taken inside private network namespaces, must decode
#     with no datagram on port 64988 left as plain UDP.
#
# Environment: QUELLAN_CLI and QUELLAN_DEVSIM (default: the native build),
# QUELLAN_APP_NS and QUELLAN_PEER_NS (default: a pair of namespaces made and
# removed here). The live capture (3.) runs as root and refuses to send anything unless both
# namespaces hold nothing but their private links.
#
# Ends with "wireshark: N passed, M failed"; exits non-zero on a failure.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
here="$root/tests/wireshark"
lua="$root/contrib/wireshark/quellan.lua"
cli=${QUELLAN_CLI:-$root/build/native/cli/quellan-cli}
devsim=${QUELLAN_DEVSIM:-$root/build/native/tools/devsim/quellan-devsim}
port=64988

passed=0 failed=0
pass() { passed=$((passed + 1)); }
fail() { failed=$((failed + 1)); echo "FAIL: $*"; }
finish() {
  echo "wireshark: $passed passed, $failed failed"
  [ "$failed" -eq 0 ]
  exit
}

work=$(mktemp -d)
devsim_pid="" dumpcap_pid="" own_ns=""
stop() {
  [ -n "$1" ] || return 0
  kill "$2" "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}
cleanup() {
  stop "$dumpcap_pid" -INT
  stop "$devsim_pid" -TERM
  [ -z "$own_ns" ] || netns_down "$own_ns"
  rm -rf "$work"
}
trap cleanup EXIT

for tool in tshark text2pcap dumpcap; do
  command -v "$tool" >/dev/null ||
    { fail "$tool is missing (Debian package tshark)"; finish; }
done
[ -f "$lua" ] || { fail "no dissector at $lua"; finish; }

tshark_lua() {
  tshark -X "lua_script:$lua" "$@" 2>"$work/tshark.err"
}

# ---- 1. fixtures ----------------------------------------------------------

# text2pcap reads one packet per block of offset-prefixed hex lines; each
# fixture becomes one broadcast UDP datagram, in file order (frame N is the
# Nth fixture).
declare -A frame_of
names=()
while read -r name bytes; do
  case "$name" in '' | '#'*) continue ;; esac
  names+=("$name")
  frame_of[$name]=${#names[@]}
  echo "000000 $bytes"
done <"$here/fixtures.txt" >"$work/fixtures.hex"
text2pcap -q -u "$port,$port" -4 10.77.0.2,255.255.255.255 \
  "$work/fixtures.hex" "$work/fixtures.pcap" 2>"$work/text2pcap.err" ||
  { cat "$work/text2pcap.err"; fail "text2pcap could not make the capture"; finish; }

# One tshark run gives every field of expected.txt for every frame.
fields=()
while read -r name field _; do
  case "$name" in '' | '#'*) continue ;; esac
  [ "$field" = tree ] && continue
  [[ " ${fields[*]} " == *" $field "* ]] || fields+=("$field")
done <"$here/expected.txt"
args=()
for field in "${fields[@]}"; do args+=(-e "$field"); done
tshark_lua -r "$work/fixtures.pcap" -T fields -E separator='|' \
  -E occurrence=a -E aggregator=';' "${args[@]}" >"$work/fields.txt" ||
  { cat "$work/tshark.err"; fail "tshark could not read the fixtures"; finish; }
mapfile -t rows <"$work/fields.txt"
[ "${#rows[@]}" -eq "${#names[@]}" ] ||
  fail "tshark gave ${#rows[@]} frames for ${#names[@]} fixtures"

column_of() {
  local i
  for i in "${!fields[@]}"; do [ "${fields[$i]}" = "$1" ] && echo "$i"; done
}

# The packet details of one frame, for the "tree" lines.
details() {
  [ -f "$work/details.$1" ] ||
    tshark_lua -r "$work/fixtures.pcap" -Y "frame.number == $1" -O quellan \
      -V | sed 's/^ *//' >"$work/details.$1"
  cat "$work/details.$1"
}

while read -r name field value; do
  case "$name" in '' | '#'*) continue ;; esac
  frame=${frame_of[$name]:-}
  [ -n "$frame" ] || { fail "expected.txt names unknown fixture $name"; continue; }
  [ "$value" = - ] && value=""
  if [ "$field" = tree ]; then
    if details "$frame" | grep -qxF -- "$value"; then pass; else
      fail "$name: no line '$value' in the packet details"
    fi
    continue
  fi
  IFS='|' read -r -a cells <<<"${rows[$((frame - 1))]:-}"
  got=${cells[$(column_of "$field")]:-}
  if [ "$got" = "$value" ]; then pass; else
    fail "$name $field: got '$got', expected '$value'"
  fi
done <"$here/expected.txt"

# ---- 2. Decode As -----------------------------------------------------------

head -n 1 "$work/fixtures.hex" >"$work/other-port.hex"  # the search request
text2pcap -q -u 9999,9999 "$work/other-port.hex" "$work/other-port.pcap" \
  2>"$work/text2pcap.err"
plain=$(tshark_lua -r "$work/other-port.pcap" -T fields -e frame.protocols)
decoded=$(tshark_lua -r "$work/other-port.pcap" -d udp.port==9999,quellan \
  -T fields -e frame.protocols -e _ws.col.Info)
if [[ "$plain" != *quellan* && "$decoded" == *quellan*$'\t'"Search request" ]]
then pass; else
  fail "Decode As on port 9999: plain '$plain', decoded as quellan '$decoded'"
fi

# ---- 3. a real search and change in private namespaces ---------------------

live() {
  local app peer need
  for need in "$cli" "$devsim"; do
    [ -x "$need" ] || { fail "live capture: no program at $need"; return; }
  done
  [ "$(id -u)" = 0 ] || { fail "live capture: needs root (namespaces)"; return; }
  # shellcheck source=SCRIPTDIR/../../scripts/lib/netns.sh
  . "$root/scripts/lib/netns.sh"
  if [ -n "${QUELLAN_APP_NS:-}" ] && [ -n "${QUELLAN_PEER_NS:-}" ]; then
    app=$QUELLAN_APP_NS peer=$QUELLAN_PEER_NS
  else
    own_ns=qws$$
    netns_up "$own_ns" || { fail "live capture: could not make namespaces"; return; }
    app=$own_ns-app peer=$own_ns-dev
  fi
  # Nothing is sent unless both sides exist and are private.
  if [ ! -e "/run/netns/$app" ] || [ ! -e "/run/netns/$peer" ] ||
    ! netns_check "$app" || ! netns_check "$peer"; then
    fail "live capture: refused, namespaces $app and $peer missing or not isolated"
    return
  fi

  local sim=(--count 5 --subnet 10.77.0.0/24 --delay 0:100)
  "$devsim" "${sim[@]}" --print-devices >"$work/devices.csv" ||
    { fail "live capture: quellan-devsim --print-devices failed"; return; }
  local target new_ip=10.77.0.200
  target=$(awk -F, 'NR == 2 { print $1 }' "$work/devices.csv")

  ip netns exec "$peer" "$devsim" "${sim[@]}" --duration 60 \
    >"$work/devsim.log" 2>"$work/devsim.err" &
  devsim_pid=$!
  local links=() link i
  for link in $(ip -n "$app" -o link show | awk -F': ' '{print $2}' |
    sed 's/@.*//' | grep -E '^q[a-z][0-9]+$'); do links+=(-i "$link"); done
  ip netns exec "$app" dumpcap -q "${links[@]}" -w "$work/live.pcapng" \
    2>"$work/dumpcap.err" &
  dumpcap_pid=$!
  for i in $(seq 100); do
    grep -q '"event":"ready"' "$work/devsim.log" &&
      grep -q '^Capturing on' "$work/dumpcap.err" && break
    sleep 0.1
  done
  if ! grep -q '"event":"ready"' "$work/devsim.log" ||
    ! grep -q '^Capturing on' "$work/dumpcap.err"; then
    cat "$work/devsim.err" "$work/dumpcap.err"
    fail "live capture: simulator or capture did not start"
    return
  fi

  ip netns exec "$app" "$cli" search --timeout 1500 >"$work/search.out" 2>&1 ||
    fail "live capture: quellan-cli search exited $? ($(tail -n 1 "$work/search.out"))"
  ip netns exec "$app" "$cli" set "$target" --ip "$new_ip" --no-verify \
    >"$work/set.out" 2>&1 ||
    fail "live capture: quellan-cli set exited $? ($(tail -n 1 "$work/set.out"))"
  sleep 0.5
  stop "$dumpcap_pid" -INT
  dumpcap_pid=""
  stop "$devsim_pid" -TERM
  devsim_pid=""

  tshark_lua -r "$work/live.pcapng" -Y "udp.port == $port" -T fields \
    -E separator='|' -e frame.number -e frame.protocols -e _ws.col.Info \
    >"$work/live.txt"
  local frames plain
  frames=$(wc -l <"$work/live.txt")
  plain=$(awk -F'|' '$2 !~ /:quellan/' "$work/live.txt")
  if [ "$frames" -gt 0 ] && [ -z "$plain" ]; then pass; else
    fail "live capture: $frames frames on port $port, not decoded: ${plain:-none}"
  fi
  local info
  for info in "Search request" "Search reply" "IP change request"; do
    if cut -d'|' -f3 "$work/live.txt" | grep -q "^$info"; then pass; else
      fail "live capture: no frame whose Info starts with '$info'"
    fi
  done
  # Real replies decode to the simulated devices, the change to its target.
  local mac ip missing=""
  while IFS=, read -r mac _ ip _; do
    grep -qF "|Search reply $mac $ip " "$work/live.txt" || missing+=" $mac"
  done < <(tail -n +2 "$work/devices.csv")
  if [ -z "$missing" ]; then pass; else
    fail "live capture: no decoded reply from$missing"
  fi
  if grep -qF "|IP change request $target → $new_ip" "$work/live.txt"; then
    pass
  else
    fail "live capture: no decoded change request '$target → $new_ip'"
  fi
  echo "live capture, port $port:"
  cut -d'|' -f1,3 --output-delimiter='  ' "$work/live.txt" | sed 's/^/  /'
}
live

finish
