# Debian's expat source for the static Windows build, which compiles the
# parser's own C files (mingw-w64 in Debian has no expat). Sourced by the
# scripts that configure the win64 preset; run as root once (apt-get).
#
# The version is named, so the build does not depend on what the security
# suite holds that day. apt-get gets its own sources list, lists folder and
# caches under build/, with a deb-src entry mirroring each of the system's
# deb entries, and leaves the system's alone. The source is unpacked with
# Debian's patches applied into build/expat/ (never into the repository),
# where the win64 CMake looks for it (QUELLAN_EXPAT_SOURCE).

QUELLAN_EXPAT_VERSION=2.5.0-1+deb12u2

# fetch_expat ROOT: unpacks the source into ROOT/build/expat/source unless it
# is there already.
fetch_expat() {
  local work="$1/build/expat" stamp
  stamp="$work/source/.quellan-version"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$QUELLAN_EXPAT_VERSION" ]; then
    return 0
  fi
  rm -rf "$work"
  mkdir -p "$work/sources.list.d" "$work/lists/partial" "$work/cache" \
    "$work/download"
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    sed 's/^Types:.*/Types: deb-src/' "$f" >"$work/sources.list.d/$(basename "$f")"
  done
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list >"$work/sources.list"
  else
    : >"$work/sources.list"
  fi
  local apt_options=(-o "Dir::Etc::SourceList=$work/sources.list"
    -o "Dir::Etc::SourceParts=$work/sources.list.d"
    -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache")
  apt-get "${apt_options[@]}" -qq update >"$work/fetch.log" 2>&1 || {
    cat "$work/fetch.log" >&2
    echo "fetch_expat: apt-get update failed" >&2
    return 1
  }
  (cd "$work/download" &&
    apt-get "${apt_options[@]}" -qq source --download-only \
      "expat=$QUELLAN_EXPAT_VERSION" &&
    dpkg-source --no-check -x ./*.dsc "$work/source") >>"$work/fetch.log" 2>&1 || {
    cat "$work/fetch.log" >&2
    echo "fetch_expat: no expat $QUELLAN_EXPAT_VERSION source" >&2
    return 1
  }
  echo "$QUELLAN_EXPAT_VERSION" >"$stamp"
}
