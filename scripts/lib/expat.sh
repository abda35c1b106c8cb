# Debian's expat source for the static Windows build, which compiles the
# parser's own C files (mingw-w64 in Debian has no expat). Sourced by the
# scripts that configure the win64 preset; run as root once (apt-get).
#
# The version is named, so the build does not depend on what the security
# suite holds that day. The source is unpacked into build/expat/, where the
# win64 CMake looks for it (QUELLAN_EXPAT_SOURCE).

QUELLAN_EXPAT_VERSION=2.5.0-1+deb12u2

. "$(dirname "${BASH_SOURCE[0]}")/debian_source.sh"

# fetch_expat ROOT: unpacks the source into ROOT/build/expat/source unless it
# is there already.
fetch_expat() {
  fetch_debian_source expat "$QUELLAN_EXPAT_VERSION" "$1/build/expat"
}
