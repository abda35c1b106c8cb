# Installs the Debian packages the project needs, only when some are missing.
# Sourced by the scripts; they run as root on Debian 12.

QUELLAN_PACKAGES=(
  cmake ninja-build g++ python3 iproute2 procps
  googletest libbenchmark-dev clang libclang-rt-14-dev libexpat1-dev
  libutf8proc-dev
  libxlsxwriter-dev libminizip-dev libz-mingw-w64-dev python3-openpyxl
  g++-mingw-w64-x86-64-posix wine64 wine
  xvfb xdotool imagemagick x11-utils
  tshark lintian dpkg-dev nftables
)

ensure_packages() {
  local missing=() p
  for p in "${QUELLAN_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}" >/dev/null
}
