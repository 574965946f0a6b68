#!/usr/bin/env bash
# Fetches libical's upstream source once, as Debian publishes it (the orig tarball of
# the libical3 source package), into build/downloads/, and checks it against the pinned
# SHA-256. Debian's own patches are not used. The machine's apt sources are reused as
# deb-src entries in a private apt state under build/, so the system's apt setup is not
# changed. Quick when the tarball is already there.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/cmake/libical-version.sh"
dest=$root/build/downloads
tarball=$dest/$LIBICAL_TARBALL

check() { echo "$LIBICAL_SHA256  $1" | sha256sum -c --quiet - >/dev/null 2>&1; }

if [ -f "$tarball" ] && check "$tarball"; then exit 0; fi
mkdir -p "$dest"
apt_dir=$root/build/apt-src
rm -rf "$apt_dir"
mkdir -p "$apt_dir/parts" "$apt_dir/lists/partial" "$apt_dir/work"
# deb-src twins of the machine's deb entries, in both apt source formats.
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] && sed -e 's/^Types: *deb$/Types: deb-src/' "$f" >"$apt_dir/parts/$(basename "$f")"
done
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [ -f "$f" ] && sed -n -e 's/^deb \(.*\)$/deb-src \1/p' "$f" >>"$apt_dir/parts/from-list.list"
done
apt_opts=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$apt_dir/parts"
          -o "Dir::State::Lists=$apt_dir/lists" -o "APT::Sandbox::User=root")
apt-get "${apt_opts[@]}" update -q >"$apt_dir/update.log" 2>&1 || true
# Only the orig tarball is needed: a failure to fetch Debian's packaging tarball is harmless.
(cd "$apt_dir/work" && apt-get "${apt_opts[@]}" source --download-only "libical3=$LIBICAL_DEBIAN_VERSION" \
  >"$apt_dir/source.log" 2>&1) || true
if [ ! -f "$apt_dir/work/$LIBICAL_TARBALL" ] || ! check "$apt_dir/work/$LIBICAL_TARBALL"; then
  echo "fetch-libical: could not fetch $LIBICAL_TARBALL with the pinned SHA-256 (see $apt_dir/*.log)" >&2
  exit 1
fi
mv "$apt_dir/work/$LIBICAL_TARBALL" "$tarball"
rm -rf "$apt_dir"
