# Private test networks: two network namespaces joined only to each other, so
# that every broadcast stays on this machine. Sourced by the scripts.
#
#   app side  (NAME-app): qa0 10.77.0.1/24, qa1 10.78.0.1/24, qa2 (no address)
#   peer side (NAME-dev): qd0 10.77.0.2/24, qd1 10.78.0.2/24, qd2
#
# Three veth pairs give the app side two adapters with addresses and one
# without. Both sides route the limited broadcast through their first veth.

netns_up() {
  local name=$1 app="$1-app" dev="$1-dev" i
  netns_down "$name"
  ip netns add "$app"
  ip netns add "$dev"
  for i in 0 1 2; do
    ip link add "qa$i" netns "$app" type veth peer name "qd$i" netns "$dev"
  done
  ip -n "$app" addr add 10.77.0.1/24 dev qa0
  ip -n "$app" addr add 10.78.0.1/24 dev qa1
  ip -n "$dev" addr add 10.77.0.2/24 dev qd0
  ip -n "$dev" addr add 10.78.0.2/24 dev qd1
  for i in lo qa0 qa1 qa2; do ip -n "$app" link set "$i" up; done
  for i in lo qd0 qd1 qd2; do ip -n "$dev" link set "$i" up; done
  ip -n "$app" route add default dev qa0
  ip -n "$dev" route add default dev qd0
  netns_check "$app" && netns_check "$dev"
}

netns_down() {
  ip netns del "$1-app" 2>/dev/null || true
  ip netns del "$1-dev" 2>/dev/null || true
}

# Refuses (non-zero) unless the namespace holds nothing but loopback and our
# veths, and every IPv4 address in it is one of ours.
netns_check() {
  local ns=$1 extra addrs
  extra=$(ip -n "$ns" -o link show | awk -F': ' '{print $2}' | sed 's/@.*//' |
    grep -vE '^(lo|q[ad][0-9])$' || true)
  addrs=$(ip -n "$ns" -o -4 addr show | awk '{print $4}' |
    grep -vE '^(127\.0\.0\.1/8|10\.7[78]\.0\.[0-9]+/24)$' || true)
  if [ -n "$extra$addrs" ]; then
    echo "refusing: namespace $ns is not isolated ($extra $addrs)" >&2
    return 1
  fi
}

# True when this shell runs inside namespace $1 (never on the host network).
netns_inside() {
  [ "$(ip netns identify $$ 2>/dev/null)" = "$1" ]
}
