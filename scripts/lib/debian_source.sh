# Debian's source packages of the C libraries that the static Windows build
# compiles itself (mingw-w64 in Debian has neither expat nor utf8proc).
# Sourced by expat.sh and utf8proc.sh; run as root once (apt-get).
#
# apt-get gets its own sources list, lists folder and caches under the work
# folder, with a deb-src entry mirroring each of the system's deb entries,
# and leaves the system's alone. The source is unpacked with Debian's
# patches applied, never into the repository.

# fetch_debian_source PACKAGE VERSION WORK: unpacks the source package into
# WORK/source unless that version is there already.
fetch_debian_source() {
  local package="$1" version="$2" work="$3" stamp
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
    echo "fetch_debian_source: apt-get update failed" >&2
    return 1
  }
  (cd "$work/download" &&
    apt-get "${apt_options[@]}" -qq source --download-only \
      "$package=$version" &&
    dpkg-source --no-check -x ./*.dsc "$work/source") >>"$work/fetch.log" 2>&1 || {
    cat "$work/fetch.log" >&2
    echo "fetch_debian_source: no $package $version source" >&2
    return 1
  }
  echo "$version" >"$stamp"
}
