#!/usr/bin/env python3
"""The vendor files the payload manifest names: the platform's and the printer maker's files.

Usage:
  vendor_files.py paths MANIFEST          one path per line, relative to the vendor folder
  vendor_files.py check MANIFEST FOLDER   every file FOLDER lacks or holds at another size
  vendor_files.py table MANIFEST          the list as a Markdown table (path, size, what it is)

Each file is listed once, however many ids share it. A vendor-dll: row's file may have any
size ("any" in the table); only its presence is checked. A file that is a PE file must be built
for its set's machine (AMD64 under x64/, I386 elsewhere). `check` prints one line per problem
and exits 1 when there is any ("missing PATH (N bytes)", "wrong size PATH: A bytes, expected N"
or "wrong machine PATH: machine A, expected B"), 0 when the folder holds every file at its size
and machine; an empty FOLDER argument or a folder that does not exist lacks them all.
Exit status 2: the manifest itself is unusable.
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from payload import ManifestError, machine_problem, read_manifest, vendor_path  # noqa: E402


class VendorFile:
    def __init__(self, row):
        self.path, self.size, self.label, self.row = vendor_path(row), row.size, row.label, row


def vendor_files(manifest):
    """The distinct vendor files in manifest order; rows naming one path must agree on its size."""
    files = {}
    for row in read_manifest(manifest):
        kind = row.source.partition(":")[0]
        if kind not in ("vendor", "vendor-dll"):
            continue
        path = vendor_path(row)
        if row.size is None and kind == "vendor":
            raise ManifestError(f"line {row.number}: a vendor file needs a fixed size")
        known = files.get(path)
        if known is None:
            files[path] = VendorFile(row)
        elif known.size != row.size:
            raise ManifestError(f"line {row.number}: {path} is {known.size} bytes on an earlier row")
    return list(files.values())


def size_text(item):
    return "any size" if item.size is None else f"{item.size} bytes"


def problems(files, folder):
    found = []
    for item in files:
        path = os.path.join(folder, item.path)
        if not folder or not os.path.isfile(path):
            found.append(f"missing    {item.path} ({size_text(item)})")
        elif item.size is not None and os.path.getsize(path) != item.size:
            found.append(f"wrong size {item.path}: {os.path.getsize(path)} bytes, expected {item.size}")
        else:
            with open(path, "rb") as f:
                problem = machine_problem(item.row, f.read())
            if problem:
                found.append(f"wrong machine {item.path}: {problem}")
    return found


def table(files):
    lines = ["| Path in the vendor folder | Bytes | What it is |", "|---|---:|---|"]
    lines += [f"| `{item.path}` | {'any' if item.size is None else item.size} | {item.label} |" for item in files]
    return "\n".join(lines)


def main(argv):
    usage = "usage: vendor_files.py paths|table MANIFEST | check MANIFEST FOLDER\n"
    if len(argv) < 3 or argv[1] not in ("paths", "check", "table") or len(argv) != (4 if argv[1] == "check" else 3):
        sys.stderr.write(usage)
        return 2
    try:
        files = vendor_files(argv[2])
    except (ManifestError, OSError, ValueError) as error:
        sys.stderr.write(f"vendor_files: {error}\n")
        return 2
    if argv[1] == "paths":
        print("\n".join(item.path for item in files))
        return 0
    if argv[1] == "table":
        print(table(files))
        return 0
    found = problems(files, argv[3])
    if found:
        print("\n".join(found))
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
