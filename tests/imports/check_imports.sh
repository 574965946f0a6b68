#!/usr/bin/env bash
# Fails when a Windows binary imports a function that is not on the list of functions
# Windows 7 SP1 exports. The loader refuses a whole program over one missing import, so a
# function newer than that has to be looked up at run time instead (GetProcAddress).
# Usage: check_imports.sh OBJDUMP LIST BINARY...
# LIST holds one "dll function" pair a line (dll in lower case, "#" starts a comment).
set -euo pipefail
objdump=$1 list=$2
shift 2

known=$(sed -e 's/#.*//' -e '/^[[:space:]]*$/d' "$list" | awk '{print tolower($1) " " $2}' | sort -u)
failed=0
for binary in "$@"; do
  # objdump -p prints each import table as "DLL Name: X" followed by rows of
  # "vma hint name" (or "vma <none> ordinal" for imports by number).
  imports=$("$objdump" -p "$binary" | awk '
    /^[[:space:]]*DLL Name:/ { dll = tolower($3); next }
    /^[[:space:]]*$/ { dll = ""; next }
    dll != "" && $1 ~ /^[0-9a-f]+$/ && NF >= 3 { print dll " " $3 }' | sort -u)
  if [ -z "$imports" ]; then
    echo "$binary: no import table read" >&2
    failed=1
    continue
  fi
  unknown=$(comm -23 <(echo "$imports") <(echo "$known"))
  if [ -n "$unknown" ]; then
    echo "$(basename "$binary") imports functions that are not known to exist on Windows 7 SP1:"
    echo "$unknown" | sed 's/^/  /'
    failed=1
  else
    echo "$(basename "$binary"): $(echo "$imports" | wc -l) imports, all on Windows 7 SP1"
  fi
done
if [ $failed -ne 0 ]; then
  echo "Look such a function up at run time (GetProcAddress) instead of calling it directly;"
  echo "a function that Windows 7 SP1 does have belongs on $(basename "$list")."
fi
exit $failed
