#!/usr/bin/env bash
# Builds the release into dist/:
#   Orvinta-<version>-x64.zip  the program folder "Orvinta" as it lies on the user's disk,
#                              with README.txt, 自述.txt, LICENSES.txt and the zone folder
#   Orvinta-<version>-x64.msi  a per-user installer of the same folder (wixl)
#   SHA256SUMS
# The version is the project version of CMakeLists.txt. The program and the zip are
# reproducible: the same commit gives the same bytes (SOURCE_DATE_EPOCH defaults to the
# commit's time).
# Usage: scripts/package.sh [BUILD_TREE]   (default build/win; configured and built when needed)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
build=$(realpath -m "${1:-build/win}")
dist=$root/dist

export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct 2>/dev/null || echo 1262304000)}
export TZ=UTC LC_ALL=C.UTF-8

if [ ! -f "$build/build.ninja" ]; then
  if [ "$build" = "$root/build/win" ]; then
    scripts/build.sh win
  else
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORV_BUILD_TESTS=OFF \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
  fi
fi
mkdir -p "$dist"
ninja -C "$build" -j "${OV_JOBS:-$(nproc)}" Orvinta MHookOV >"$dist/build.log" 2>&1 ||
  { tail -n 60 "$dist/build.log"; echo "package: the build failed" >&2; exit 1; }

version=$(sed -n 's/^#define ORV_VERSION_TEXT "\(.*\)"$/\1/p' "$build/generated/OrvintaVersion.h")
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "package: no version in $build" >&2; exit 1; }
name=Orvinta-$version-x64

# The program folder.
stage=$dist/stage/Orvinta
rm -rf "$dist/stage"
mkdir -p "$stage"
cp "$build/bin/Orvinta.exe" "$build/bin/MHookOV.dll" "$stage/"
cp -r res/program/. "$stage/"
# The time zones the calendar subscriptions are read in (made by the build from tzdata).
cp -r "$build/bin/zoneinfo" "$stage/"
# The user texts with Windows line ends and a byte-order mark, so that every Notepad reads
# them as UTF-8. README.txt carries the Chinese text after the English one (the installer
# cannot install a file named 自述.txt).
{ printf '\xef\xbb\xbf'; cat res/dist/README.txt; printf '\n\n'; cat res/dist/自述.txt; } | sed 's/$/\r/' >"$stage/README.txt"
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' res/dist/自述.txt; } >"$stage/自述.txt"

# Licences of everything linked into the two files, from the packages that provided it.
licence() {  # TITLE PACKAGE
  local file=/usr/share/doc/$2/copyright
  [ -f "$file" ] || { echo "package: no $file (install $2)" >&2; exit 1; }
  printf '%s\n%s\n(from the Debian package %s)\n\n' "$1" "$(printf '%*s' ${#1} '' | tr ' ' =)" "$2"
  cat "$file"
  printf '\n\n'
}
{
  printf 'Orvinta 3 contains the following libraries, linked into Orvinta.exe and MHookOV.dll.\n\n'
  licence "GCC runtime: libstdc++ and libgcc (GPL 3 with the GCC Runtime Library Exception)" gcc-mingw-w64-base
  licence "MinGW-w64 runtime and winpthreads" mingw-w64-x86-64-dev
  licence "zlib" libz-mingw-w64
  printf 'libical (Mozilla Public License 2.0): see LICENSE-libical.txt. Its source is the\n'
  printf 'upstream tarball of the Debian source package libical3, unchanged.\n'
} | sed 's/$/\r/' >"$stage/LICENSES.txt"

find "$stage" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
rm -f "$dist/$name.zip" "$dist/$name.msi" "$dist/SHA256SUMS"
python3 scripts/make-zip.py "$dist/$name.zip" "$stage"

scripts/make-msi.sh "$stage" "$version" "$dist/$name.msi"

(cd "$dist" && sha256sum "$name.zip" "$name.msi" >SHA256SUMS)
rm -rf "$dist/stage"
echo "package: $(cd "$dist" && ls -l "$name.zip" "$name.msi" | awk '{print $5, $9}' | tr '\n' ' ')"
