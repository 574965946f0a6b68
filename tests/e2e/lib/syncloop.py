#!/usr/bin/env python3
"""A small stand-in for a file sync service between two folders (two computers).

Every POLL seconds both folders are listed. A file that changed (or appeared, or went)
on one side since the last sync, and has stayed so for DELAY seconds, is carried to the
other side: written under a temporary name and renamed, keeping its modification time,
as sync clients do. When both sides changed one file to different contents, the side
that changed first keeps the name on both computers and the other version is kept beside
it, on both, under a conflict name of one service's form
"<stem>.sync-conflict-<YYYYMMDD>-<HHMMSS>-<DEVICE>.<ext>". A file that one side removed
and the other changed is brought back. Temporary files ("~$…", "*.tmp", "*.part") are
not carried.

While the file PAUSE exists nothing is carried (the service is offline). Each action is
logged as "<unix time> <action> <relative path>" and flushed at once, so a scenario can
wait for it.

Usage: syncloop.py FOLDER_A FOLDER_B NAME_A NAME_B [--delay S] [--poll S] [--pause FILE]
"""
import argparse
import hashlib
import os
import sys
import time


def skipped(name):
    return name.startswith("~$") or name.endswith((".tmp", ".part", ".~sync"))


def listing(root):
    """rel path -> (sha1, mtime) of every regular file below root."""
    out = {}
    for folder, _, files in os.walk(root):
        for name in files:
            if skipped(name):
                continue
            path = os.path.join(folder, name)
            try:
                with open(path, "rb") as f:
                    data = f.read()
                mtime = os.stat(path).st_mtime
            except OSError:
                continue  # being replaced just now: seen at the next round
            out[os.path.relpath(path, root)] = (hashlib.sha1(data).hexdigest(), mtime)
    return out


def log(action, rel):
    print(f"{time.time():.3f} {action} {rel}", flush=True)


def write_copy(src_root, rel, dst_root, dst_rel=None):
    src = os.path.join(src_root, rel)
    dst = os.path.join(dst_root, dst_rel or rel)
    os.makedirs(os.path.dirname(dst), exist_ok=True)
    with open(src, "rb") as f:
        data = f.read()
    tmp = dst + ".~sync"
    with open(tmp, "wb") as f:
        f.write(data)
    st = os.stat(src)
    os.utime(tmp, (st.st_atime, st.st_mtime))
    os.replace(tmp, dst)
    return hashlib.sha1(data).hexdigest()


def conflict_name(rel, device):
    stem, ext = os.path.splitext(rel)
    return time.strftime(f"{stem}.sync-conflict-%Y%m%d-%H%M%S-{device}{ext}")


def main():
    p = argparse.ArgumentParser()
    p.add_argument("a")
    p.add_argument("b")
    p.add_argument("name_a")
    p.add_argument("name_b")
    p.add_argument("--delay", type=float, default=1.0)
    p.add_argument("--poll", type=float, default=0.3)
    p.add_argument("--pause", default="")
    args = p.parse_args()
    roots = {"a": args.a, "b": args.b}
    names = {"a": args.name_a, "b": args.name_b}
    base = {}      # rel -> sha both sides had after the last sync
    since = {}     # (side, rel, sha or None) -> when that state was first seen
    while True:
        time.sleep(args.poll)
        if args.pause and os.path.exists(args.pause):
            continue
        now = time.time()
        lists = {s: listing(r) for s, r in roots.items()}

        def state(side, rel):
            entry = lists[side].get(rel)
            return entry[0] if entry else None

        def settled(side, rel):
            key = (side, rel, state(side, rel))
            first = since.setdefault(key, now)
            return now - first >= args.delay

        for rel in sorted(set(lists["a"]) | set(lists["b"])):
            a, b = state("a", rel), state("b", rel)
            if a == b:
                if a is None:
                    base.pop(rel, None)
                else:
                    base[rel] = a
                continue
            old = base.get(rel)
            changed = [s for s, v in (("a", a), ("b", b)) if v != old]
            if not all(settled(s, rel) for s in changed):
                continue
            try:
                if len(changed) == 1:
                    src = changed[0]
                    dst = "b" if src == "a" else "a"
                    if state(src, rel) is None:
                        os.remove(os.path.join(roots[dst], rel))
                        base.pop(rel, None)
                        log(f"removed {src}->{dst}", rel)
                    else:
                        base[rel] = write_copy(roots[src], rel, roots[dst])
                        log(f"copied {src}->{dst}", rel)
                    continue
                # Both changed. A removal loses to a change; otherwise the earlier change
                # keeps the name and the later one becomes the conflict copy.
                present = [s for s in ("a", "b") if state(s, rel) is not None]
                if len(present) == 1:
                    src = present[0]
                    dst = "b" if src == "a" else "a"
                    base[rel] = write_copy(roots[src], rel, roots[dst])
                    log(f"restored {src}->{dst}", rel)
                    continue
                winner = min(("a", "b"), key=lambda s: (lists[s][rel][1], s))
                loser = "b" if winner == "a" else "a"
                copy = conflict_name(rel, names[loser])
                write_copy(roots[loser], rel, roots[loser], copy)
                base[copy] = write_copy(roots[loser], copy, roots[winner])
                base[rel] = write_copy(roots[winner], rel, roots[loser])
                log(f"conflict kept {winner}, copy {copy}", rel)
            except OSError as e:
                log(f"failed ({e})", rel)


if __name__ == "__main__":
    try:
        main()
    except KeyboardInterrupt:
        sys.exit(0)
