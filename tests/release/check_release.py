#!/usr/bin/env python3
"""Checks what makes a release reproducible and consistent, without a second build:

- each PE file has no link time stamp, no build-tree or source-tree path, and the
  project version in its fixed version information;
- the zip maker gives the same bytes for the same files whatever their times and the
  order they were written in.

Usage: check_release.py VERSION SOURCE_DIR BINARY_DIR MAKE_ZIP PE_FILE...
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)


def pe_time_stamp(data):
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    assert data[pe:pe + 4] == b"PE\0\0", "not a PE file"
    return struct.unpack_from("<I", data, pe + 8)[0]


def fixed_file_version(data):
    """The four numbers of VS_FIXEDFILEINFO's file version, or None."""
    at = data.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return None
    ms, ls = struct.unpack_from("<II", data, at + 8)
    return f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"


def check_pe(path, version, folders):
    name = os.path.basename(path)
    data = open(path, "rb").read()
    check(pe_time_stamp(data) == 0, f"{name}: link time stamp {pe_time_stamp(data):#x}, expected none")
    for folder in folders:
        for text in (folder.encode(), folder.encode("utf-16-le")):
            check(text not in data, f"{name}: contains the build path {folder}")
    check(fixed_file_version(data) == version, f"{name}: file version {fixed_file_version(data)}, expected {version}")


def check_zip(make_zip):
    with tempfile.TemporaryDirectory() as tmp:
        made = []
        for run, (order, stamp) in enumerate([(["b", "a"], 1_000_000_000), (["a", "b"], 1_700_000_000)]):
            folder = os.path.join(tmp, f"run{run}", "Orvinta")
            os.makedirs(os.path.join(folder, "Skin Images"))
            for n in order:
                with open(os.path.join(folder, n + ".txt"), "w") as f:
                    f.write(n * 1000)
            with open(os.path.join(folder, "Skin Images", "自述.txt"), "wb") as f:
                f.write("日历".encode())
            for top, dirs, files in os.walk(folder):
                for n in dirs + files:
                    os.utime(os.path.join(top, n), (stamp, stamp))
            out = os.path.join(tmp, f"{run}.zip")
            subprocess.run([sys.executable, make_zip, out, folder], check=True,
                           env=dict(os.environ, SOURCE_DATE_EPOCH="1700000000"))
            made.append(open(out, "rb").read())
        check(made[0] == made[1], "the zip differs between two runs over the same files")
        import zipfile
        with zipfile.ZipFile(os.path.join(tmp, "0.zip")) as z:
            names = z.namelist()
            check(names == ["Orvinta/Skin Images/", "Orvinta/Skin Images/自述.txt", "Orvinta/a.txt", "Orvinta/b.txt"],
                  f"zip entries {names}")
            check(all(i.date_time == (2023, 11, 14, 22, 13, 20) for i in z.infolist()), "zip times are not SOURCE_DATE_EPOCH")
            check(z.read("Orvinta/a.txt") == b"a" * 1000, "zip content")


def main():
    version, source_dir, binary_dir, make_zip, *pe_files = sys.argv[1:]
    folders = {os.path.realpath(source_dir), os.path.realpath(binary_dir), source_dir, binary_dir}
    for path in pe_files:
        check_pe(path, version, folders)
    check_zip(make_zip)
    for f in failures:
        print("FAIL:", f)
    print(f"{len(pe_files)} PE files and the zip maker checked, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
