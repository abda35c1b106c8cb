# Debian's expat source for the static Windows build, which compiles the
# parser's own C files (mingw-w64 in Debian has no expat), unpacked into
# build/expat/ where the win64 CMake looks for it (QUELLAN_EXPAT_SOURCE).
. "$(dirname "${BASH_SOURCE[0]}")/debian_source.sh"

QUELLAN_EXPAT_VERSION=2.5.0-1+deb12u2

# fetch_expat ROOT: unpacks the source into ROOT/build/expat/source unless it
# is there already.
fetch_expat() {
  fetch_debian_source "$1" expat expat "$QUELLAN_EXPAT_VERSION"
}
