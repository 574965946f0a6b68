#!/usr/bin/env python3
"""Writes a zip archive whose bytes depend only on the files' names and contents.

Usage: make-zip.py OUT.zip FOLDER

Every file under FOLDER goes into the archive under FOLDER's own name (so it unpacks as
that folder), in sorted order, with the time SOURCE_DATE_EPOCH (default 2010-01-01),
the same permissions for every entry and no extra fields. Names are stored as UTF-8.
"""
import os
import sys
import time
import zipfile


def entries(folder):
    """Relative paths of every file and folder under FOLDER, sorted, with '/' separators."""
    found = []
    for top, dirs, files in os.walk(folder):
        rel = os.path.relpath(top, folder)
        for name in dirs:
            found.append((os.path.normpath(os.path.join(rel, name)).replace(os.sep, "/") + "/", None))
        for name in files:
            path = os.path.join(top, name)
            found.append((os.path.normpath(os.path.join(rel, name)).replace(os.sep, "/"), path))
    return sorted(found)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    out, folder = sys.argv[1], sys.argv[2].rstrip("/")
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", "1262304000"))
    # Zip times have no zone and start in 1980.
    stamp = time.gmtime(max(epoch, 315532800))[:6]
    root = os.path.basename(folder)
    tmp = out + ".tmp"
    with zipfile.ZipFile(tmp, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for name, path in entries(folder):
            info = zipfile.ZipInfo(root + "/" + name, date_time=stamp)
            info.create_system = 0  # MS-DOS attributes, as Windows' own archives have
            if path is None:
                info.external_attr = 0x10  # directory
                z.writestr(info, b"")
            else:
                info.external_attr = 0x20  # archive
                info.compress_type = zipfile.ZIP_DEFLATED
                with open(path, "rb") as f:
                    z.writestr(info, f.read(), compress_type=zipfile.ZIP_DEFLATED, compresslevel=9)
    os.replace(tmp, out)


if __name__ == "__main__":
    main()
