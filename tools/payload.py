#!/usr/bin/env python3
"""Builds the payload files named by the payload manifest and the resource script that embeds them.

Usage: payload.py MANIFEST RES_DIR OUT_DIR [--vendor DIR] [--strict] [--carry PLATFORM]
                  [--target NAME=PATH ...]
       payload.py MANIFEST --ids-header PATH

Writes every payload file into OUT_DIR, checks each against the size the manifest gives, and
writes OUT_DIR/payload.rc with one OWNER_DATA line per id, stored under language 2052 (Chinese,
PRC). Files are rewritten only when their bytes change, so the build does not redo work.
With --strict (release builds) every vendor file must come from the vendor folder at the size
the manifest gives and, when it is a PE file, built for the machine its set runs on (AMD64 for
the x64 set, I386 for the others): no stand-in is made and a size or machine that differs is an
error, not a warning.
With --carry, only the ids the manifest's "carry PLATFORM" line names are built and embedded
(the 64-bit setup.exe carries the x64 set alone).
With --ids-header, writes only the C++ header that names every id and lists the sizes (the
code that builds the payload files needs it first).
"""
import argparse
import hashlib
import os
import sys

import pefile

import catalog

# The x64 set's vendor files live under this folder of the vendor folder; every other vendor
# file belongs to an x86 set.
X64_VENDOR_FOLDER = "x64/"


class ManifestError(Exception):
    pass


class Row:
    def __init__(self, rid, symbol, size, name, source, label, number):
        self.rid, self.symbol, self.size, self.name, self.source = rid, symbol, size, name, source
        self.label, self.number = label, number


def read_manifest(path, carried=None):
    """The manifest's rows; with carried a dict, also fills it with {platform: set of ids}."""
    rows, carry_lines = [], {}
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            if line.startswith("carry "):
                platform, *ids = line.split()[1:]
                try:
                    carry_lines[platform] = {int(rid) for rid in ids}
                except ValueError:
                    raise ManifestError(f"{path}:{number}: expected 'carry PLATFORM ID ...'")
                continue
            fields = line.split(None, 5)
            if len(fields) < 5:
                raise ManifestError(f"{path}:{number}: expected 'id name size file source [label]'")
            rid, symbol, size, name, source = fields[:5]
            if not symbol.isidentifier():
                raise ManifestError(f"{path}:{number}: '{symbol}' is not a name C++ accepts")
            label = fields[5] if len(fields) > 5 else ""
            rows.append(Row(int(rid), symbol, None if size == "-" else int(size), name, source, label,
                            number))
    for what, values in (("ids", [r.rid for r in rows]), ("names", [r.symbol for r in rows])):
        duplicated = sorted({v for v in values if values.count(v) > 1})
        if duplicated:
            raise ManifestError(f"{path}: {what} listed twice: {duplicated}")
    for platform, ids in carry_lines.items():
        unknown = sorted(ids - {r.rid for r in rows})
        if unknown:
            raise ManifestError(f"{path}: 'carry {platform}' names ids no row has: {unknown}")
    if carried is not None:
        carried.update(carry_lines)
    return rows


def ids_header(rows):
    """The C++ header naming every id, with the manifest's sizes for the payload check."""
    lines = ["// Generated from res/payload.manifest by tools/payload.py; do not edit.",
             "#pragma once", "",
             "namespace payload_ids {"]
    lines += [f"inline constexpr unsigned k{row.symbol} = {row.rid};" for row in rows]
    lines += ["}  // namespace payload_ids", "",
              "// One row per id, in the manifest's order: its file and exact size (kAnySize: not fixed).",
              "struct PayloadManifestRow {",
              "    unsigned nId;",
              "    unsigned long cbSize;",
              "    const char* pszFile;",
              "};",
              "inline constexpr unsigned long kAnySize = 0xFFFFFFFFul;",
              "inline constexpr PayloadManifestRow kPayloadManifest[] = {"]
    for row in rows:
        size = "kAnySize" if row.size is None else f"{row.size}ul"
        lines.append(f'    {{payload_ids::k{row.symbol}, {size}, "{row.name}"}},')
    lines.append("};")
    return ("\n".join(lines) + "\n").encode("ascii")


def encode_text(res_dir, source):
    kind, encoding, rel = source.split(":", 2)
    with open(os.path.join(res_dir, rel), encoding="utf-8", newline="") as f:
        text = f.read()
    if "\r" in text:
        raise ManifestError(f"{rel}: masters use LF line ends; CR LF is made here")
    if not text.endswith("\n"):
        raise ManifestError(f"{rel}: a master ends with a line end")
    lines = text[:-1].split("\n")
    joined = "\r\n".join(lines) + ("" if kind == "text-nofinal" else "\r\n")
    return joined.encode(encoding)


def stand_in(row):
    """Deterministic bytes of the row's size: a readable label, then bytes derived from it."""
    if row.size is None or not row.label:
        raise ManifestError(f"line {row.number}: a stand-in needs a size and a label")
    head = (f"Q73 setup payload stand-in: {row.label}. "
            f"Not the real file; build with Q73_VENDOR_DIR naming a folder that holds "
            f"{row.source.split(':', 1)[1]}.\r\n\x1a").encode("ascii")
    data, counter = bytearray(head), 0
    while len(data) < row.size:
        data += hashlib.sha256(head + counter.to_bytes(4, "little")).digest()
        counter += 1
    return bytes(data[:row.size])


def vendor_path(row):
    """The path in the vendor folder of a vendor: or vendor-dll: row."""
    kind, rest = row.source.split(":", 1)
    return rest.rsplit(":", 1)[0] if kind == "vendor-dll" else rest


def needed_machine(row):
    """The machine a PE file of the row's set must be built for: a spooler loads no other."""
    return "AMD64" if vendor_path(row).startswith(X64_VENDOR_FOLDER) else "I386"


def machine_problem(row, data):
    """Why a vendor file's bytes are a PE file for another machine than its set's; None when
    they fit or are no PE file (a help file, font metrics, a stand-in)."""
    if data[:2] != b"MZ":
        return None
    try:
        machine = pefile.PE(data=data, fast_load=True).FILE_HEADER.Machine
    except pefile.PEFormatError:
        return None
    name = pefile.MACHINE_TYPE.get(machine, f"0x{machine:04x}").replace("IMAGE_FILE_MACHINE_", "")
    needed = needed_machine(row)
    return None if name == needed else f"machine {name}, expected {needed}"


def read_target(row, targets):
    target = row.source.rsplit(":", 1)[1]
    if target not in targets:
        raise ManifestError(f"line {row.number}: no path given for target {target}")
    with open(targets[target], "rb") as f:
        return f.read()


def vendor_file(row, vendor_dir, strict, targets):
    """The maker's or platform's file from the vendor folder, else (unless strict) a stand-in:
    made from the row's label, or for a vendor-dll: row the project's own build of one."""
    if not vendor_dir:
        if strict:
            raise ManifestError(f"id {row.rid}: a release build takes {vendor_path(row)} "
                                f"from the vendor folder, and none is named")
        if row.source.startswith("vendor-dll:"):
            return read_target(row, targets), False
        return stand_in(row), False
    path = os.path.join(vendor_dir, vendor_path(row))
    if not os.path.isfile(path):
        raise ManifestError(f"id {row.rid}: the vendor folder has no {path}")
    with open(path, "rb") as f:
        return f.read(), True


def build(rows, res_dir, vendor_dir, targets, strict=False):
    """Returns {file name: bytes}, checking that rows sharing a file agree on its source."""
    files, sources = {}, {}
    for row in rows:
        vendor = False
        if row.name in sources:
            if sources[row.name] != row.source:
                raise ManifestError(f"line {row.number}: {row.name} already comes from {sources[row.name]}")
        else:
            kind = row.source.split(":", 1)[0]
            if kind in ("text", "text-nofinal"):
                files[row.name] = encode_text(res_dir, row.source)
            elif kind in ("vendor", "vendor-dll"):
                if kind == "vendor-dll" and row.source.count(":") != 2:
                    raise ManifestError(f"line {row.number}: expected vendor-dll:PATH:TARGET")
                files[row.name], vendor = vendor_file(row, vendor_dir, strict, targets)
                problem = machine_problem(row, files[row.name]) if vendor else None
                if problem:
                    message = f"id {row.rid} ({vendor_path(row)}): {problem}"
                    if strict:
                        raise ManifestError(message)
                    sys.stderr.write(f"payload: warning: {message}\n")
            elif kind == "target":
                files[row.name] = read_target(row, targets)
            elif kind == "catalog":
                continue  # over the others' files, once they are all built
            else:
                raise ManifestError(f"line {row.number}: unknown source kind '{kind}'")
            sources[row.name] = row.source
        if row.name not in files:
            continue
        actual = len(files[row.name])
        if row.size is not None and actual != row.size:
            message = f"id {row.rid} ({row.name}): {actual} bytes, expected {row.size}"
            if not vendor or strict:
                raise ManifestError(message)
            sys.stderr.write(f"payload: warning: {message}\n")
    for row in rows:
        if row.source.startswith("catalog:"):
            files[row.name] = package_catalog(row, rows, files)
    return files


def package_catalog(row, rows, files):
    """The catalog over the files of every row but the catalog rows and the ids the row names,
    each under the name it is installed with."""
    try:
        outside = {int(rid) for rid in row.source.split(":", 1)[1].split(",") if rid}
    except ValueError:
        raise ManifestError(f"line {row.number}: expected catalog:ID,ID,...")
    members = [(catalog.installed_name(other.name), files[other.name]) for other in rows
               if other.rid not in outside and not other.source.startswith("catalog:")]
    return catalog.catalog(members, catalog.THIS_UPDATE)

def write_if_changed(path, data):
    try:
        with open(path, "rb") as f:
            if f.read() == data:
                return
    except FileNotFoundError:
        pass
    with open(path, "wb") as f:
        f.write(data)


def resource_script(rows, out_dir):
    lines = ["// Generated from the payload manifest; do not edit.",
             "LANGUAGE 4, 2  // LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED: 2052"]
    for row in sorted(rows, key=lambda r: r.rid):
        path = os.path.join(os.path.abspath(out_dir), row.name).replace("\\", "/")
        lines.append(f'{row.rid} OWNER_DATA "{path}"')
    return ("\n".join(lines) + "\n").encode("ascii")


def main(argv):
    parser = argparse.ArgumentParser(description="Builds the payload.")
    parser.add_argument("manifest")
    parser.add_argument("res_dir", nargs="?")
    parser.add_argument("out_dir", nargs="?")
    parser.add_argument("--ids-header", metavar="PATH", help="write only the ids header")
    parser.add_argument("--vendor", default="", help="folder with the maker's and platform's files")
    parser.add_argument("--strict", action="store_true",
                        help="vendor files only from the vendor folder, at their exact sizes")
    parser.add_argument("--carry", metavar="PLATFORM",
                        help="only the ids the manifest's carry line for PLATFORM names")
    parser.add_argument("--target", action="append", default=[], metavar="NAME=PATH",
                        help="a file built by the project")
    args = parser.parse_args(argv[1:])
    targets = dict(item.split("=", 1) for item in args.target)
    try:
        carried = {}
        rows = read_manifest(args.manifest, carried)
        if args.carry:
            if args.carry not in carried:
                raise ManifestError(f"{args.manifest} has no 'carry {args.carry}' line")
            rows = [row for row in rows if row.rid in carried[args.carry]]
        if args.ids_header:
            os.makedirs(os.path.dirname(os.path.abspath(args.ids_header)), exist_ok=True)
            write_if_changed(args.ids_header, ids_header(rows))
            return 0
        if not args.out_dir:
            parser.error("RES_DIR and OUT_DIR are needed to build the payload")
        files = build(rows, args.res_dir, args.vendor, targets, args.strict)
    except (ManifestError, OSError, UnicodeError, ValueError) as error:
        sys.stderr.write(f"payload: {error}\n")
        return 1
    for name, data in files.items():
        path = os.path.join(args.out_dir, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        write_if_changed(path, data)
    write_if_changed(os.path.join(args.out_dir, "payload.rc"), resource_script(rows, args.out_dir))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
