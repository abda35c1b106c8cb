#!/usr/bin/env bash
# Builds the release packages into dist/:
#
#   quellan-VERSION-win64.zip   Quellan.exe, quellan-cli.exe, quellan-devsim.exe,
#                               the Wireshark dissector, README.txt and
#                               LICENSE.txt (the MIT licence, then the
#                               notices of expat and utf8proc, which the
#                               Windows build links statically)
#   quellan_VERSION_amd64.deb   quellan-cli and quellan-devsim for Debian, with
#                               the dissector, a man page and the Debian docs
#
#   scripts/package.sh [--no-build]
#
# VERSION is the one of project() in the top CMakeLists.txt. The presets
# native and win64 are built first unless --no-build is given. The Debian
# maintainer comes from QUELLAN_MAINTAINER ("Name <address>").
# Check the result with tests/packaging/check.sh dist.
set -euo pipefail
umask 022
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=1
case "${1:-}" in
  --no-build) build=0 ;;
  "") ;;
  *) echo "usage: scripts/package.sh [--no-build]" >&2; exit 2 ;;
esac
die() { echo "package.sh: $*" >&2; exit 1; }

. scripts/lib/packages.sh
. scripts/lib/expat.sh
. scripts/lib/utf8proc.sh
. scripts/lib/workbook_sources.sh
if [ "$(id -u)" = 0 ]; then ensure_packages; fi
for tool in dpkg-deb dpkg-shlibdeps x86_64-w64-mingw32-strip python3 gzip; do
  command -v "$tool" >/dev/null || die "$tool is missing (run as root once to install it)"
done

version=$(sed -n 's/^project(Quellan VERSION \([0-9][0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || die "no 'project(Quellan VERSION ...)' line in CMakeLists.txt"
maintainer=${QUELLAN_MAINTAINER:-The Quellan developers <quellan@example.org>}
# For the right side of the sed substitutions below.
maintainer_sed=$(printf '%s' "$maintainer" | sed 's/[&|\\]/\\&/g')
# Every file and both archives carry the time of the last commit, so the same
# tree packs to the same bytes.
if epoch=$(git -C "$root" log -1 --format=%ct 2>/dev/null); then :; else
  epoch=$(date +%s)
fi
export SOURCE_DATE_EPOCH=$epoch

if [ "$build" = 1 ]; then
  mkdir -p build
  fetch_expat "$root" || die "no expat source for the Windows build"
  fetch_utf8proc "$root" || die "no utf8proc source for the Windows build"
  fetch_workbook_sources "$root" ||
    die "no minizip or libxlsxwriter source for the Windows build"
  for preset in native win64; do
    echo "== build $preset"
    if ! { cmake --preset "$preset" && cmake --build --preset "$preset" -j2; } \
      >"build/package-$preset.log" 2>&1; then
      tail -n 40 "build/package-$preset.log"
      die "build of preset $preset failed (build/package-$preset.log)"
    fi
  done
fi

win_app=build/win64/app/Quellan.exe
win_cli=build/win64/cli/quellan-cli.exe
win_devsim=build/win64/tools/devsim/quellan-devsim.exe
linux_cli=build/native/cli/quellan-cli
linux_devsim=build/native/tools/devsim/quellan-devsim
dissector=contrib/wireshark/quellan.lua
missing=()
for f in "$win_app" "$win_cli" "$win_devsim" "$linux_cli" "$linux_devsim" \
  "$dissector" LICENSE packaging/windows/README.txt \
  packaging/debian/quellan-cli.1 packaging/debian/copyright \
  packaging/debian/control.in packaging/debian/changelog.in; do
  [ -f "$f" ] || missing+=("$f")
done
[ ${#missing[@]} -eq 0 ] || die "missing: ${missing[*]}"

dist=$root/dist
mkdir -p "$dist"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT

# ---- Windows zip ------------------------------------------------------------

win=$stage/win
mkdir -p "$win"
for f in "$win_app" "$win_cli" "$win_devsim"; do
  x86_64-w64-mingw32-strip --strip-unneeded -o "$win/$(basename "$f")" "$f"
done
cp "$dissector" "$win/"
# Notepad on older Windows shows a file with bare LF line ends as one line.
sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' packaging/windows/README.txt \
  >"$win/README.txt"
# The notices of the libraries the Windows build compiled in, each from the
# very source it compiled; zlib's from Debian's libz-mingw-w64-dev.
notice() {  # notice WHO WHAT CACHE_VARIABLE FILE
  local source
  source=$(sed -n "s/^$3:PATH=//p" build/win64/CMakeCache.txt)
  [ -f "$source/$4" ] || die "no $4 in '$source'"
  printf '\n\n%s built with %s, linked statically (Debian\n' "$1" "$2"
  printf 'source package version %s). Its licence:\n\n' \
    "$(dpkg-parsechangelog -l "$source/debian/changelog" -S Version)"
  cat "$source/$4"
}
{
  cat LICENSE
  notice "The Windows programs are" "expat, an XML parser" \
    QUELLAN_EXPAT_SOURCE COPYING
  notice "The Windows programs are" "utf8proc, a Unicode library" \
    QUELLAN_UTF8PROC_SOURCE LICENSE.md
  notice "quellan-cli.exe is" "libxlsxwriter, which writes workbooks" \
    QUELLAN_XLSXWRITER_SOURCE License.txt
  notice "quellan-cli.exe is" "minizip, which reads and writes zip files" \
    QUELLAN_MINIZIP_SOURCE debian/copyright
  printf '\n\nquellan-cli.exe is built with zlib, linked statically (Debian\n'
  printf 'package libz-mingw-w64-dev %s). Its licence:\n\n' \
    "$(dpkg-query -W -f='${Version}' libz-mingw-w64-dev)"
  cat /usr/share/doc/libz-mingw-w64-dev/copyright
} | sed 's/$/\r/' >"$win/LICENSE.txt"
zip=$dist/quellan-$version-win64.zip
rm -f "$zip"
python3 - "$zip" "$win" "$epoch" <<'EOF'
import os, sys, time, zipfile
out, folder, epoch = sys.argv[1], sys.argv[2], int(sys.argv[3])
stamp = time.gmtime(max(epoch, 315532800))[:6]  # zip times start in 1980
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
    for name in sorted(os.listdir(folder)):
        info = zipfile.ZipInfo(name, stamp)
        info.compress_type = zipfile.ZIP_DEFLATED
        info.external_attr = 0o644 << 16
        with open(os.path.join(folder, name), "rb") as f:
            z.writestr(info, f.read())
EOF
echo "wrote $zip"

# ---- Debian package ---------------------------------------------------------

deb=$stage/deb
doc=$deb/usr/share/doc/quellan
# Wireshark 4.0 on Debian loads Lua plugins from here (tshark -G folders,
# "Global Lua Plugins"); the 4.0/ folder below it is for compiled plugins.
lua_dir=$deb/usr/lib/x86_64-linux-gnu/wireshark/plugins
install -d -m 0755 "$deb/DEBIAN" "$deb/usr/bin" "$lua_dir" "$doc" \
  "$deb/usr/share/man/man1"
for f in "$linux_cli" "$linux_devsim"; do
  install -m 0755 "$f" "$deb/usr/bin/"
  # As dh_strip does for a program.
  strip --strip-unneeded --remove-section=.comment --remove-section=.note \
    "$deb/usr/bin/$(basename "$f")"
done
install -m 0644 "$dissector" "$lua_dir/quellan.lua"
sed "s/@VERSION@/$version/g" packaging/debian/quellan-cli.1 |
  gzip -9n >"$deb/usr/share/man/man1/quellan-cli.1.gz"
install -m 0644 packaging/debian/copyright "$doc/copyright"
sed -e "s/@VERSION@/$version/g" -e "s|@MAINTAINER@|$maintainer_sed|g" \
  -e "s/@DATE@/$(date -R -u -d "@$epoch")/g" packaging/debian/changelog.in |
  gzip -9n >"$doc/changelog.Debian.gz"
chmod 0644 "$deb/usr/share/man/man1/quellan-cli.1.gz" "$doc/changelog.Debian.gz"

# dpkg-shlibdeps wants to run in a source tree with debian/control.
shlib=$stage/shlibdeps
mkdir -p "$shlib/debian"
printf 'Source: quellan\n\nPackage: quellan\nArchitecture: amd64\n' \
  >"$shlib/debian/control"
depends=$(cd "$shlib" && dpkg-shlibdeps -O "$deb/usr/bin/quellan-cli" \
  "$deb/usr/bin/quellan-devsim" | sed -n 's/^shlibs:Depends=//p')
[ -n "$depends" ] || die "dpkg-shlibdeps found no dependencies"

installed_size=$(du -sk --exclude=DEBIAN "$deb" | cut -f1)
sed -e "s/@VERSION@/$version/g" -e "s|@MAINTAINER@|$maintainer_sed|g" \
  -e "s/@DEPENDS@/$depends/g" -e "s/@INSTALLED_SIZE@/$installed_size/g" \
  packaging/debian/control.in >"$deb/DEBIAN/control"
(cd "$deb" && find usr -type f | LC_ALL=C sort | xargs md5sum) \
  >"$deb/DEBIAN/md5sums"
chmod 0644 "$deb/DEBIAN/control" "$deb/DEBIAN/md5sums"
find "$deb" -exec touch -h -d "@$epoch" {} +

out=$dist/quellan_${version}_amd64.deb
rm -f "$out"
dpkg-deb --root-owner-group -Zxz --build "$deb" "$out" >/dev/null
echo "wrote $out"
