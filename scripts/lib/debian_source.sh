# Debian source packages for the static Windows build, which compiles the
# libraries' own C files (Debian's mingw-w64 has no build of them). Sourced
# by the scripts that configure the win64 preset; run as root once
# (apt-get).
#
# Each version is named, so the build does not depend on what the security
# suite holds that day. apt-get gets its own sources list, lists folder and
# caches under build/, with a deb-src entry mirroring each of the system's
# deb entries, and leaves the system's alone. A source is unpacked with
# Debian's patches applied into build/NAME/ (never into the repository),
# where the win64 CMake looks for it.

# fetch_debian_source ROOT NAME PACKAGE VERSION: unpacks the source package
# PACKAGE=VERSION into ROOT/build/NAME/source unless it is there already.
fetch_debian_source() {
  local work="$1/build/$2" package=$3 version=$4 stamp
  stamp="$work/source/.quellan-version"
  if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$version" ]; then
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
    echo "fetch $package: apt-get update failed" >&2
    return 1
  }
  (cd "$work/download" &&
    apt-get "${apt_options[@]}" -qq source --download-only \
      "$package=$version" &&
    dpkg-source --no-check -x ./*.dsc "$work/source") >>"$work/fetch.log" 2>&1 || {
    cat "$work/fetch.log" >&2
    echo "fetch $package: no $package $version source" >&2
    return 1
  }
  echo "$version" >"$stamp"
}
