#!/usr/bin/env bash
# Installs what building and testing need on a Debian 12 machine. Quiet and quick when
# everything is already there; safe to run again.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  libz-mingw-w64-dev zlib1g-dev
  googletest libbenchmark-dev
  libclang-rt-dev
  wine wine64 xvfb xdotool x11-utils imagemagick
  xserver-xorg-core xserver-xorg-video-dummy
  cabextract gcab libvips-tools python3
  clang libclang-rt-14-dev ccache
  fonts-wqy-microhei fonts-wqy-zenhei locales
  lunar python3-lunardate python3-ephem
  cups cups-bsd printer-driver-cups-pdf libcups2 poppler-utils
  msitools wixl
  libical-dev perl tzdata unicode-cldr-core python3-dateutil python3-icalendar
)

sudo_cmd=()
if [ "$(id -u)" != 0 ]; then
  if command -v sudo >/dev/null; then sudo_cmd=(sudo); else echo "install-deps: need root or sudo" >&2; exit 1; fi
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -q >/dev/null
  "${sudo_cmd[@]}" apt-get install -y -q "${missing[@]}" >/dev/null
fi

# Wine and the tests run with UTF-8 locales; zh_CN gives the Chinese code page 936.
need_locales=()
locale -a 2>/dev/null | grep -qi '^en_US\.utf-\?8$' || need_locales+=(en_US.UTF-8)
locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$' || need_locales+=(zh_CN.UTF-8)
if [ ${#need_locales[@]} -gt 0 ]; then
  for l in "${need_locales[@]}"; do
    "${sudo_cmd[@]}" sed -i -E "s/^# *(${l//./\\.} UTF-8)/\\1/" /etc/locale.gen
    grep -q "^${l//./\\.} UTF-8" /etc/locale.gen || echo "$l UTF-8" | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  done
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi

# libical's source, fetched once into build/downloads and checked against its pinned hash.
"${sudo_cmd[@]}" "$(dirname "${BASH_SOURCE[0]}")/fetch-libical.sh"
