#!/usr/bin/env python3
"""Builds the payload files named by the payload manifest and the resource script that embeds them.

Usage: payload.py MANIFEST RES_DIR OUT_DIR

Writes every payload file into OUT_DIR, checks each against the size the manifest gives, and
writes OUT_DIR/payload.rc with one OWNER_DATA line per id, stored under language 2052 (Chinese,
PRC). Files are rewritten only when their bytes change, so the build does not redo work.
"""
import os
import sys


class ManifestError(Exception):
    pass


def read_manifest(path):
    rows = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            line = line.split("#", 1)[0].strip()
            if not line:
                continue
            fields = line.split()
            if len(fields) != 4:
                raise ManifestError(f"{path}:{number}: expected 'id size file source'")
            rid, size, name, source = fields
            rows.append((int(rid), None if size == "-" else int(size), name, source, number))
    ids = [r[0] for r in rows]
    duplicated = sorted({i for i in ids if ids.count(i) > 1})
    if duplicated:
        raise ManifestError(f"{path}: ids listed twice: {duplicated}")
    return rows


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


def build(rows, res_dir):
    """Returns {file name: bytes}, checking that rows sharing a file agree on its source."""
    files, sources = {}, {}
    for rid, size, name, source, number in rows:
        if name in sources:
            if sources[name] != source:
                raise ManifestError(f"line {number}: {name} already comes from {sources[name]}")
        else:
            kind = source.split(":", 1)[0]
            if kind in ("text", "text-nofinal"):
                files[name] = encode_text(res_dir, source)
            else:
                raise ManifestError(f"line {number}: unknown source kind '{kind}'")
            sources[name] = source
        if size is not None and len(files[name]) != size:
            raise ManifestError(f"id {rid} ({name}): {len(files[name])} bytes, expected {size}")
    return files


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
    for rid, _, name, _, _ in sorted(rows):
        path = os.path.join(os.path.abspath(out_dir), name).replace("\\", "/")
        lines.append(f'{rid} OWNER_DATA "{path}"')
    return ("\n".join(lines) + "\n").encode("ascii")


def main(argv):
    if len(argv) != 4:
        sys.stderr.write(__doc__)
        return 2
    manifest, res_dir, out_dir = argv[1:]
    try:
        rows = read_manifest(manifest)
        files = build(rows, res_dir)
    except (ManifestError, OSError, UnicodeError, ValueError) as error:
        sys.stderr.write(f"payload: {error}\n")
        return 1
    os.makedirs(out_dir, exist_ok=True)
    for name, data in files.items():
        write_if_changed(os.path.join(out_dir, name), data)
    write_if_changed(os.path.join(out_dir, "payload.rc"), resource_script(rows, out_dir))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
