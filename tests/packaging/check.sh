#!/usr/bin/env bash
# Checks the packages that scripts/package.sh wrote:
#
#   tests/packaging/check.sh DIST_DIR
#
# The Windows zip holds the programs, the dissector, the README and the
# licence (with the notices of expat, utf8proc, libxlsxwriter, minizip and
# zlib); its programs load only DLLs that every Windows has; Quellan.exe's
# version block is the project version. The .deb has its files where Debian
# wants them, a machine-readable copyright file naming the MIT (Expat)
# licence and carrying the notices of expat and utf8proc, depends on
# libexpat1, libutf8proc2, libxlsxwriter4 and libminizip1 (quellan-cli links
# them), passes lintian without errors, installs with dpkg into a throw-away
# root, runs from there, and removes cleanly.
#
# Ends with "packaging: N passed, M failed"; exits non-zero on a failure.
set -uo pipefail
[ $# -eq 1 ] || { echo "usage: tests/packaging/check.sh DIST_DIR" >&2; exit 2; }
dist=$(cd "$1" 2>/dev/null && pwd) || { echo "no folder $1" >&2; exit 2; }
root=$(cd "$(dirname "$0")/../.." && pwd)
here=$root/tests/packaging

passed=0 failed=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1
  shift
  if "$@"; then passed=$((passed + 1)); else
    failed=$((failed + 1))
    echo "FAIL: $what"
  fi
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

version=$(sed -n 's/^project(Quellan VERSION \([0-9][0-9.]*\).*/\1/p' \
  "$root/CMakeLists.txt")
[ -n "$version" ] || { echo "no project version in CMakeLists.txt" >&2; exit 2; }
zip=$dist/quellan-$version-win64.zip
deb=$dist/quellan_${version}_amd64.deb

# DLLs that come with every 64-bit Windows (7 and later) in System32. The
# C++ runtime DLLs of mingw-w64 (libstdc++-6, libgcc_s_seh-1,
# libwinpthread-1) and the Universal CRT forwarders (api-ms-win-crt-*) are
# deliberately not here: a program that needs them must link them in.
system_dlls="advapi32 bcrypt comctl32 comdlg32 crypt32 dbghelp dnsapi gdi32
  gdiplus imm32 iphlpapi kernel32 msimg32 msvcrt mswsock netapi32 ntdll
  ole32 oleaut32 powrprof psapi rpcrt4 secur32 setupapi shell32 shlwapi
  user32 userenv uxtheme version winhttp wininet winmm winspool ws2_32
  wsock32 wtsapi32"
system_dlls=" $(tr -s ' \n' '  ' <<<"$system_dlls") "

# ---- Windows zip ------------------------------------------------------------

win_files="Quellan.exe quellan-cli.exe quellan-devsim.exe quellan.lua README.txt
  LICENSE.txt"
if [ -f "$zip" ]; then
  python3 - "$zip" "$work/win" <<'EOF'
import sys, zipfile
with zipfile.ZipFile(sys.argv[1]) as z:
    z.extractall(sys.argv[2])
EOF
else
  echo "FAIL: no $zip"
  failed=$((failed + 1))
  mkdir -p "$work/win"
fi
for f in $win_files; do
  check "zip holds $f" test -s "$work/win/$f"
done
check "zip's dissector is contrib/wireshark/quellan.lua" \
  cmp -s "$work/win/quellan.lua" "$root/contrib/wireshark/quellan.lua"
check "dissector has an SPDX MIT line at its top" grep -qx -- \
  '-- SPDX-License-Identifier: MIT' <(head -n 2 "$work/win/quellan.lua")
check "zip's LICENSE.txt starts with LICENSE" \
  cmp -s <(tr -d '\r' <"$work/win/LICENSE.txt" | head -n "$(wc -l <"$root/LICENSE")") \
  "$root/LICENSE"
check "zip's LICENSE.txt carries expat's notice" grep -q \
  'Copyright (c) 2001-2022 Expat maintainers' "$work/win/LICENSE.txt"
check "zip's LICENSE.txt carries utf8proc's notice" grep -q \
  'Public Software Group e. V.' "$work/win/LICENSE.txt"
for notice in 'Copyright 2014-2021, John McNamara' \
  'Copyright (C) 1998-2010 Gilles Vollant' \
  'Copyright: 1995-2022 Jean-loup Gailly and Mark Adler'; do
  check "zip's LICENSE.txt carries '$notice'" grep -qF "$notice" \
    "$work/win/LICENSE.txt"
done
check "README.txt names version $version" \
  grep -qF "Quellan $version for Windows" "$work/win/README.txt"

only_system_dlls() {
  local exe=$1 dll foreign=""
  [ -f "$exe" ] || return 1
  for dll in $(x86_64-w64-mingw32-objdump -p "$exe" |
    sed -n 's/^[[:space:]]*DLL Name: //p' | tr '[:upper:]' '[:lower:]'); do
    [[ "$system_dlls" == *" ${dll%.dll} "* ]] || foreign+=" $dll"
  done
  [ -z "$foreign" ] || echo "  $(basename "$exe") imports$foreign"
  [ -z "$foreign" ]
}
for f in Quellan.exe quellan-cli.exe quellan-devsim.exe; do
  check "$f imports only system DLLs" only_system_dlls "$work/win/$f"
done

python3 "$here/pe_version.py" "$work/win/Quellan.exe" >"$work/version.txt" 2>&1
version_item() {  # version_item NAME: the value, "1, 0, 0, 1" read as 1.0.0.1
  sed -n "s/^$1 //p" "$work/version.txt" | tr -d ' ' | tr , .
}
for item in file product FileVersion ProductVersion; do
  got=$(version_item "$item")
  check "Quellan.exe version block $item is $version (got '$got')" \
    test "$got" = "$version"
done

# ---- Debian package ---------------------------------------------------------

if [ ! -f "$deb" ]; then
  echo "FAIL: no $deb"
  failed=$((failed + 1))
else
  field() { dpkg-deb -f "$deb" "$1"; }
  check "deb Package is quellan" test "$(field Package)" = quellan
  check "deb Version is $version" test "$(field Version)" = "$version"
  check "deb Architecture is amd64" test "$(field Architecture)" = amd64
  check "deb Depends names libc6 ($(field Depends))" \
    grep -q 'libc6 (>=' <<<"$(field Depends)"
  # The native quellan-cli reads WS-Discovery answers with the system's
  # expat, linked dynamically.
  check "deb Depends names libexpat1 ($(field Depends))" \
    grep -q 'libexpat1 (>=' <<<"$(field Depends)"
  check "deb Depends names libutf8proc2 ($(field Depends))" \
    grep -q 'libutf8proc2 (>=' <<<"$(field Depends)"
  for library in libxlsxwriter4 libminizip1; do
    check "deb Depends names $library ($(field Depends))" \
      grep -q "$library (>=" <<<"$(field Depends)"
  done

  # MODE PATH for each file and folder that matters.
  dpkg-deb -c "$deb" >"$work/contents.txt"
  lua_dir=/usr/lib/x86_64-linux-gnu/wireshark/plugins
  while read -r mode path; do
    check "deb holds $path as $mode" \
      grep -qE "^$mode root/root .* \./${path#/}\$" "$work/contents.txt"
  done <<EOF
-rwxr-xr-x /usr/bin/quellan-cli
-rwxr-xr-x /usr/bin/quellan-devsim
-rw-r--r-- $lua_dir/quellan.lua
-rw-r--r-- /usr/share/man/man1/quellan-cli.1.gz
-rw-r--r-- /usr/share/doc/quellan/copyright
-rw-r--r-- /usr/share/doc/quellan/changelog.Debian.gz
EOF
  # DEP-5, with Files: * under Expat (MIT) and the Expat text on its own.
  dep5=https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
  dep5_expat() {
    head -n 1 "$1" | grep -qxF "Format: $dep5" &&
      awk -v RS= '/^Files: \*\n/ && /\nLicense: Expat(\n|$)/ { f = 1 }
        /^License: Expat\n Permission is hereby granted/ { t = 1 }
        END { exit !(f && t) }' "$1"
  }
  dpkg-deb --fsys-tarfile "$deb" |
    tar -xOf - ./usr/share/doc/quellan/copyright >"$work/copyright" 2>/dev/null
  check "deb's copyright file is DEP-5 with Files: * under Expat" \
    dep5_expat "$work/copyright"
  check "deb's copyright file carries expat's notice" grep -q \
    'Copyright (c) 2001-2022 Expat maintainers' "$work/copyright"
  check "deb's copyright file carries utf8proc's notice" grep -q \
    'Public Software Group e. V.' "$work/copyright"
  check "every file in the deb belongs to root/root" \
    test -z "$(awk '$2 != "root/root"' "$work/contents.txt")"
  # The folder Debian's Wireshark reads Lua plugins from.
  if command -v tshark >/dev/null; then
    global_lua=$(tshark -G folders 2>/dev/null |
      sed -n 's/^Global Lua Plugins:[[:space:]]*//p')
    check "dissector goes where tshark looks ($global_lua)" \
      test "$global_lua" = "$lua_dir"
  fi

  lintian --fail-on error --no-tag-display-limit "$deb" >"$work/lintian.txt" 2>&1
  status=$?
  grep -E '^[EW]: ' "$work/lintian.txt" | sed 's/^/  lintian /'
  check "lintian finds no errors" test "$status" = 0

  # A real install with dpkg into an empty root: its own database, no
  # maintainer scripts of the host's. The dependencies are the host's
  # libraries, which that root does not list, hence --force-depends; the
  # installed program then runs with the host's loader.
  inst=$work/root
  mkdir -p "$inst/var/lib/dpkg/info" "$inst/var/lib/dpkg/updates" \
    "$inst/var/lib/dpkg/triggers"
  : >"$inst/var/lib/dpkg/status"
  : >"$inst/var/lib/dpkg/available"
  dpkg_failed=0
  dpkg_root() {
    dpkg --root="$inst" --log="$work/dpkg.log" --force-depends \
      --force-not-root "$@" >>"$work/dpkg.out" 2>&1 || { dpkg_failed=1; false; }
  }
  check "dpkg installs the deb into a throw-away root" dpkg_root -i "$deb"
  check "dpkg lists quellan as installed" test \
    "$(dpkg-query --admindir="$inst/var/lib/dpkg" -W -f='${Status}' quellan)" \
    = "install ok installed"
  "$inst/usr/bin/quellan-cli" --version >"$work/cli-version.txt" 2>&1
  check "installed quellan-cli --version exits 0" test $? = 0
  check "installed quellan-cli --version prints $version" \
    grep -qF "$version" "$work/cli-version.txt"
  "$inst/usr/bin/quellan-devsim" --help >/dev/null 2>&1
  check "installed quellan-devsim --help exits 0" test $? = 0
  check "dpkg removes the package again" dpkg_root --purge quellan
  check "nothing of the package is left" \
    test -z "$(find "$inst/usr" -type f 2>/dev/null)"
  [ "$dpkg_failed" = 0 ] || sed 's/^/  dpkg: /' "$work/dpkg.out"
fi

echo "packaging: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
