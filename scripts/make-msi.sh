#!/usr/bin/env bash
# Makes the per-user installer of a program folder with wixl (res/installer/Orvinta.wxs).
# Usage: scripts/make-msi.sh PROGRAM_FOLDER VERSION OUT.msi
#        scripts/make-msi.sh --product-code VERSION
# The product code follows from the version alone: one per release, so that a newer
# release is a major upgrade of an older one and the same release is the same product.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

product_code() {
  python3 -c 'import sys, uuid; print(str(uuid.uuid5(uuid.NAMESPACE_URL, "Orvinta 3 x64 " + sys.argv[1])).upper())' "$1"
}
if [ "${1:-}" = --product-code ]; then
  product_code "$2"
  exit 0
fi
[ $# -eq 3 ] || { sed -n '2,6s/^# \{0,1\}//p' "$0" >&2; exit 2; }
folder=$(realpath "$1") version=$2 out=$(realpath -m "$3")

# wixl takes only source paths relative to the current folder.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
ln -s "$folder" "$work/Orvinta"
ln -s "$root/res" "$work/res"
# The zone folder (hundreds of files in region folders) is listed by wixl-heat into a
# fragment of its own, one component per file, sorted so that the same folder gives the
# same source.
(cd "$folder" && find zoneinfo -type f | LC_ALL=C sort |
  wixl-heat -p zoneinfo/ --var var.ZoneDir --directory-ref ZoneinfoDir --component-group ZoneFiles --win64) \
  >"$work/zoneinfo.wxs"
rm -f "$out"
(cd "$work" && wixl -a x64 -D Version="$version" -D ProductCode="$(product_code "$version")" \
  -D StageDir=Orvinta -D ZoneDir=Orvinta/zoneinfo -D ResDir=res -D Win64=yes \
  -o "$out" "$root/res/installer/Orvinta.wxs" zoneinfo.wxs 2>&1 |
  grep -v 'builder.vala:[0-9]*: unimplemented' || true)
[ -s "$out" ] || { echo "make-msi: wixl made no $out" >&2; exit 1; }
