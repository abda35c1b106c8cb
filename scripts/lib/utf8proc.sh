# Debian's utf8proc source for the static Windows build, which compiles its
# one C file (the display widths of the command line's tables). Natively the
# build uses Debian's libutf8proc-dev. Sourced by the scripts that configure
# the win64 preset; run as root once (apt-get).
#
# The version is named, the one the native build links, so both builds count
# widths from the same Unicode tables. The source is unpacked into
# build/utf8proc/, where the win64 CMake looks for it
# (QUELLAN_UTF8PROC_SOURCE).

QUELLAN_UTF8PROC_VERSION=2.8.0-1

. "$(dirname "${BASH_SOURCE[0]}")/debian_source.sh"

# fetch_utf8proc ROOT: unpacks the source into ROOT/build/utf8proc/source
# unless it is there already.
fetch_utf8proc() {
  fetch_debian_source "$1" utf8proc utf8proc "$QUELLAN_UTF8PROC_VERSION"
}
