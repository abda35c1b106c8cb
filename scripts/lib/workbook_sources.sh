# Debian's minizip and libxlsxwriter sources for the static Windows build of
# quellan-cli's workbooks, unpacked into build/minizip/ and
# build/xlsxwriter/ where the win64 CMake looks for them
# (QUELLAN_MINIZIP_SOURCE, QUELLAN_XLSXWRITER_SOURCE). zlib comes built from
# Debian's libz-mingw-w64-dev.
. "$(dirname "${BASH_SOURCE[0]}")/debian_source.sh"

QUELLAN_MINIZIP_VERSION=1.1-8+deb12u1
QUELLAN_XLSXWRITER_VERSION=1.1.4-2

# fetch_workbook_sources ROOT
fetch_workbook_sources() {
  fetch_debian_source "$1" minizip minizip "$QUELLAN_MINIZIP_VERSION" &&
    fetch_debian_source "$1" xlsxwriter libxlsxwriter \
      "$QUELLAN_XLSXWRITER_VERSION"
}
