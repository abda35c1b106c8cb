# Private test networks: two network namespaces joined only to each other, so
# that every broadcast stays on this machine. Sourced by the scripts.
#
#   app side  (NAME-app): qa0 10.77.0.1/24, qa1 10.78.0.1/24, qa2 (no address)
#   peer side (NAME-dev): qd0 10.77.0.2/24, qd1 10.78.0.2/24, qd2
#
# Three veth pairs give the app side two adapters with addresses and one
# without. Both sides route the limited broadcast through their first veth.
#
# Extra broadcast domains, as a jump host on a trunk port with one
# sub-interface per VLAN sees them (this kernel has no 802.1Q, so one veth
# pair stands for one VLAN): domain K (from 3 on) is qaK 10.100.K.1/24 on the
# app side and qdK 10.100.K.2/24 on the peer side.

NETNS_FIRST_DOMAIN=3
NETNS_MAX_DOMAINS=64

# netns_up NAME [DOMAINS]: the two namespaces with DOMAINS extra domains
# (default none).
netns_up() {
  local name=$1 domains=${2:-0} app="$1-app" dev="$1-dev" i
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
  netns_domains_add "$app" "$dev" "$domains"
}

netns_down() {
  ip netns del "$1-app" 2>/dev/null || true
  ip netns del "$1-dev" 2>/dev/null || true
}

# netns_domains_add APP DEV COUNT: adds COUNT domains to the namespaces APP
# and DEV, which hold none yet, then checks both.
netns_domains_add() {
  local app=$1 dev=$2 count=$3 k last
  if ! [[ $count =~ ^[0-9]+$ ]] || [ "$count" -gt "$NETNS_MAX_DOMAINS" ]; then
    echo "netns: DOMAINS must be 0 to $NETNS_MAX_DOMAINS, not '$count'" >&2
    return 1
  fi
  last=$((NETNS_FIRST_DOMAIN + count - 1))
  for ((k = NETNS_FIRST_DOMAIN; k <= last; k++)); do
    ip link add "qa$k" netns "$app" type veth peer name "qd$k" netns "$dev" &&
      ip -n "$app" addr add "10.100.$k.1/24" dev "qa$k" &&
      ip -n "$dev" addr add "10.100.$k.2/24" dev "qd$k" &&
      ip -n "$app" link set "qa$k" up &&
      ip -n "$dev" link set "qd$k" up || return 1
  done
  netns_check "$app" && netns_check "$dev"
}

# netns_domains_del APP: removes every extra domain (deleting one end of a
# veth pair deletes both).
netns_domains_del() {
  local app=$1 link
  for link in $(ip -n "$app" -o link show | awk -F': ' '{print $2}' |
    sed 's/@.*//'); do
    netns_domain_of "$link" >/dev/null && ip -n "$app" link del "$link"
  done
  return 0
}

# Prints K for the link of an extra domain (qaK or qdK), or fails.
netns_domain_of() {
  local k
  [[ $1 =~ ^q[ad]([1-9][0-9]*)$ ]] || return 1
  k=${BASH_REMATCH[1]}
  [ "$k" -ge "$NETNS_FIRST_DOMAIN" ] &&
    [ "$k" -lt $((NETNS_FIRST_DOMAIN + NETNS_MAX_DOMAINS)) ] || return 1
  echo "$k"
}

# True when LINK ADDRESS (CIDR) is one of ours: each address belongs to one
# link only.
netns_address_ours() {
  local link=$1 address=$2 k
  case "$link $address" in
    "lo 127.0.0.1/8" | "qa0 10.77.0.1/24" | "qd0 10.77.0.2/24" | \
      "qa1 10.78.0.1/24" | "qd1 10.78.0.2/24")
      return 0
      ;;
  esac
  k=$(netns_domain_of "$link") || return 1
  case "$link" in
    qa*) [ "$address" = "10.100.$k.1/24" ] ;;
    *) [ "$address" = "10.100.$k.2/24" ] ;;
  esac
}

# Refuses (non-zero) unless the namespace holds nothing but loopback and our
# veths, and every IPv4 address in it is one of ours, on its own link.
netns_check() {
  local ns=$1 extra="" link address
  for link in $(ip -n "$ns" -o link show | awk -F': ' '{print $2}' |
    sed 's/@.*//'); do
    case "$link" in
      lo | qa[012] | qd[012]) ;;
      *) netns_domain_of "$link" >/dev/null || extra="$extra $link" ;;
    esac
  done
  while read -r link address; do
    [ -z "$link" ] || netns_address_ours "$link" "$address" ||
      extra="$extra $link:$address"
  done < <(ip -n "$ns" -o -4 addr show | awk '{print $2, $4}')
  if [ -n "$extra" ]; then
    echo "refusing: namespace $ns is not isolated ($extra )" >&2
    return 1
  fi
}

# True when this shell runs inside namespace $1 (never on the host network).
netns_inside() {
  [ "$(ip netns identify $$ 2>/dev/null)" = "$1" ]
}
