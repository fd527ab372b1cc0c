#!/usr/bin/env python3
"""Stores each distinct resource of a linked Windows image once.

Usage: share_resources.py IMAGE

The resource compiler and the linker give every resource its own copy of its bytes, so the
payload files that several ids carry are stored several times. This rewrites IMAGE in place:
resources with identical bytes point at one copy, the resource section shrinks and starts at
a page boundary of the file (so that Wine maps it instead of reading it into memory), the
sections after it move up, and the headers are made to match (section table, data
directories, SizeOfImage, SizeOfInitializedData, checksum). The resource tree is kept byte
for byte and every directory entry keeps its own data entry, so FindResource, LoadResource
and SizeofResource give each id exactly its bytes, as before. A second run changes nothing.

It refuses, leaving the file as it was, an image that is not a PE image, whose resource
section is laid out in a way it does not know, that has a section it cannot move after the
resource section, or that is signed (rewriting would break the signature: run it before
signing).
"""
import array
import os
import struct
import sys

IMAGE_SCN_CNT_INITIALIZED_DATA = 0x00000040
IMAGE_SCN_MEM_DISCARDABLE = 0x02000000
DIR_RESOURCE, DIR_SECURITY, DIR_BASERELOC, DIR_DEBUG = 2, 4, 5, 6
DATA_ALIGNMENT = 8  # of each resource's bytes, as the resource compiler aligns them
# Wine maps a section straight from the file only when its file offset is a multiple of the
# page size; otherwise it reads the section into private memory. The resource section, the
# payload, is placed at such an offset; the padding before it is at most a page.
PAGE_SIZE = 4096


class ImageError(Exception):
    pass


def align_up(value, alignment):
    return (value + alignment - 1) // alignment * alignment


class Section:
    FORMAT = "<8sIIIIIIHHI"
    SIZE = 40

    def __init__(self, data, offset):
        (self.name, self.virtual_size, self.virtual_address, self.raw_size, self.raw_pointer,
         self.relocations, self.line_numbers, self.relocation_count, self.line_number_count,
         self.characteristics) = struct.unpack_from(self.FORMAT, data, offset)
        self.offset = offset

    def pack_into(self, data):
        struct.pack_into(self.FORMAT, data, self.offset, self.name, self.virtual_size,
                         self.virtual_address, self.raw_size, self.raw_pointer, self.relocations,
                         self.line_numbers, self.relocation_count, self.line_number_count,
                         self.characteristics)

    def contains(self, rva):
        return self.virtual_address <= rva < self.virtual_address + max(self.virtual_size, self.raw_size)


class Image:
    """The headers of a PE32 or PE32+ image, over a bytearray of the whole file."""

    def __init__(self, data):
        self.data = data
        if len(data) < 0x40 or data[:2] != b"MZ":
            raise ImageError("not a Windows image (no MZ header)")
        self.pe = struct.unpack_from("<I", data, 0x3C)[0]
        if self.pe + 24 > len(data) or data[self.pe:self.pe + 4] != b"PE\0\0":
            raise ImageError("not a PE image")
        self.coff = self.pe + 4
        (_, section_count, _, self.symbol_table, _, optional_size, _) = struct.unpack_from(
            "<HHIIIHH", data, self.coff)
        self.optional = self.coff + 20
        magic = struct.unpack_from("<H", data, self.optional)[0]
        if magic not in (0x10B, 0x20B):
            raise ImageError(f"unknown optional header magic {magic:#x}")
        self.directories = self.optional + (96 if magic == 0x10B else 112)
        self.directory_count = struct.unpack_from("<I", data, self.directories - 4)[0]
        self.section_alignment, self.file_alignment = struct.unpack_from("<II", data, self.optional + 32)
        self.sections = [Section(data, self.optional + optional_size + i * Section.SIZE)
                         for i in range(section_count)]
        if self.sections and self.sections[-1].offset + Section.SIZE > len(data):
            raise ImageError("section table runs past the end of the file")

    def field(self, offset):
        return struct.unpack_from("<I", self.data, self.optional + offset)[0]

    def set_field(self, offset, value):
        struct.pack_into("<I", self.data, self.optional + offset, value)

    def directory(self, index):
        if index >= self.directory_count:
            return 0, 0
        return struct.unpack_from("<II", self.data, self.directories + 8 * index)

    def set_directory(self, index, rva, size):
        struct.pack_into("<II", self.data, self.directories + 8 * index, rva, size)

    def section_of(self, rva):
        for section in self.sections:
            if section.contains(rva):
                return section
        raise ImageError(f"RVA {rva:#x} lies in no section")

    def file_offset(self, rva):
        section = self.section_of(rva)
        return section.raw_pointer + rva - section.virtual_address


CHECKSUM_OFFSET = 64  # in the optional header, PE32 and PE32+ alike


def pe_checksum(data, checksum_at):
    """The image checksum: the 16-bit one's-complement sum of the file, its checksum field
    counted as zero, plus the file's length."""
    words = array.array("H", bytes(data) + (b"\0" if len(data) % 2 else b""))
    if sys.byteorder == "big":
        words.byteswap()
    total = sum(words) - words[checksum_at // 2] - words[checksum_at // 2 + 1]
    while total >> 16:
        total = (total & 0xFFFF) + (total >> 16)
    return total + len(data)


class ResourceTree:
    """The data entries of the resource tree, and where the tree's own structures end."""

    def __init__(self, image):
        rva, size = image.directory(DIR_RESOURCE)
        if not rva or not size:
            raise ImageError("the image has no resources")
        self.section = image.section_of(rva)
        self.base = rva - self.section.virtual_address  # of the tree, in the section
        self.raw = image.data[self.section.raw_pointer:self.section.raw_pointer + self.section.raw_size]
        self.entries = []   # offsets in the section of the data entries, in tree order
        self.tree_end = self.base
        self._walk(0, 0, set())

    def _span(self, offset, length):
        end = self.base + offset + length
        if end > min(len(self.raw), self.section.virtual_size):
            raise ImageError("the resource tree runs past its section")
        self.tree_end = max(self.tree_end, end)
        return self.base + offset

    def _walk(self, offset, depth, seen):
        if depth > 8 or offset in seen:
            raise ImageError("the resource tree loops or is too deep")
        seen.add(offset)
        at = self._span(offset, 16)
        named, numbered = struct.unpack_from("<HH", self.raw, at + 12)
        at = self._span(offset + 16, 8 * (named + numbered))
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", self.raw, at + 8 * i)
            if name & 0x80000000:
                string = self._span(name & 0x7FFFFFFF, 2)
                self._span(name & 0x7FFFFFFF, 2 + 2 * struct.unpack_from("<H", self.raw, string)[0])
            if target & 0x80000000:
                self._walk(target & 0x7FFFFFFF, depth + 1, seen)
            else:
                self.entries.append(self._span(target, 16))


def share(data):
    """Returns (image bytes with each distinct resource stored once, entries, distinct)."""
    image = Image(bytearray(data))
    security_rva, security_size = image.directory(DIR_SECURITY)
    if security_rva or security_size:
        raise ImageError("the image is signed: share its resources before signing it")
    tree = ResourceTree(image)
    section = tree.section
    start = section.virtual_address

    # Every resource's bytes must lie after the tree, inside the section.
    blobs = []
    for entry in tree.entries:
        rva, size = struct.unpack_from("<II", tree.raw, entry)
        offset = rva - start
        if offset < tree.tree_end or offset + size > min(len(tree.raw), section.virtual_size):
            raise ImageError(f"resource bytes at RVA {rva:#x} lie outside the section's data area")
        blobs.append((entry, offset, size))

    data_start = min([offset for _, offset, _ in blobs] + [section.virtual_size])
    content = bytearray(tree.raw[:data_start])
    placed = {}
    for entry, offset, size in sorted(blobs, key=lambda blob: blob[1]):
        payload = bytes(tree.raw[offset:offset + size])
        if payload not in placed:
            content += b"\0" * (align_up(len(content), DATA_ALIGNMENT) - len(content))
            placed[payload] = len(content)
            content += payload
        struct.pack_into("<I", content, entry, start + placed[payload])

    old_next = align_up(start + section.virtual_size, image.section_alignment)
    new_next = align_up(start + len(content), image.section_alignment)
    va_delta = old_next - new_next
    # GNU ld may leave the resource section's raw size unaligned (two resource scripts merged);
    # the data that follows starts at the next file-alignment boundary all the same.
    old_raw_end = align_up(section.raw_pointer + section.raw_size, image.file_alignment)
    new_raw_size = align_up(len(content), image.file_alignment)
    new_raw_pointer = align_up(section.raw_pointer, max(PAGE_SIZE, image.file_alignment))
    raw_delta = old_raw_end - (new_raw_pointer + new_raw_size)  # how far later file data moves up
    if va_delta < 0:
        raise ImageError("the resource section would grow")

    later = [s for s in image.sections if s.virtual_address > start]
    relocation_rva, relocation_size = image.directory(DIR_BASERELOC)
    for other in later:
        movable = other.characteristics & IMAGE_SCN_MEM_DISCARDABLE or other.contains(relocation_rva)
        if not movable:
            raise ImageError(f"section {other.name.rstrip(bytes(1)).decode(errors='replace')} after "
                             f"the resources holds data the program may address: it cannot move")
        if other.raw_pointer and other.raw_pointer < old_raw_end:
            raise ImageError("a section's data overlaps the resource section")
    _check_relocations_below(image, relocation_rva, relocation_size, start)
    debug_entries = _debug_entries(image, start)

    # The new file: the part before the resource section, its new bytes, everything after.
    out = bytearray(image.data[:section.raw_pointer]) + bytes(new_raw_pointer - section.raw_pointer)
    out += content + b"\0" * (new_raw_size - len(content))
    out += image.data[old_raw_end:]
    moved = Image(out)
    for old, new in zip(image.sections, moved.sections):
        if old is section:
            new.virtual_size, new.raw_size, new.raw_pointer = len(content), new_raw_size, new_raw_pointer
        elif old in later:
            new.virtual_address -= va_delta
            if new.raw_pointer >= old_raw_end:
                new.raw_pointer -= raw_delta
        new.pack_into(out)
    for index in range(moved.directory_count):
        rva, size = moved.directory(index)
        if index == DIR_RESOURCE:
            moved.set_directory(index, rva, len(content) - (rva - start))
        elif rva >= old_next:
            moved.set_directory(index, rva - va_delta, size)
    for at, address, pointer in debug_entries:  # the directory itself stays where it was
        struct.pack_into("<II", out, at, address - va_delta if address >= old_next else address,
                         pointer - raw_delta if pointer >= old_raw_end else pointer)
    if moved.symbol_table >= old_raw_end:
        struct.pack_into("<I", out, moved.coff + 8, moved.symbol_table - raw_delta)
    if section.characteristics & IMAGE_SCN_CNT_INITIALIZED_DATA:
        moved.set_field(8, max(moved.field(8) - (section.raw_size - new_raw_size), 0))
    moved = Image(out)
    moved.set_field(56, align_up(max(s.virtual_address + max(s.virtual_size, s.raw_size)
                                     for s in moved.sections), moved.section_alignment))
    moved.set_field(CHECKSUM_OFFSET, pe_checksum(out, moved.optional + CHECKSUM_OFFSET))
    return bytes(out), len(blobs), len(placed)


def _check_relocations_below(image, rva, size, limit):
    """Refuses base relocations of places at or after the resource section: moving would
    need them rewritten."""
    if not rva or not size:
        return
    at, end = image.file_offset(rva), image.file_offset(rva) + size
    while at + 8 <= end:
        page, block = struct.unpack_from("<II", image.data, at)
        if block < 8:
            raise ImageError("malformed base relocation block")
        if page >= limit:
            raise ImageError("base relocations reach into the resource section or after it")
        at += block


def _debug_entries(image, limit):
    """(file offset of each debug directory entry's AddressOfRawData, that field,
    PointerToRawData) for a debug directory before the resource section."""
    rva, size = image.directory(DIR_DEBUG)
    if not rva or not size:
        return []
    if rva >= limit:
        raise ImageError("the debug directory lies after the resource section")
    entries = []
    for entry in range(rva, rva + size - 27, 28):
        address, pointer = struct.unpack_from("<II", image.data, image.file_offset(entry) + 20)
        entries.append((image.file_offset(entry) + 20, address, pointer))
    return entries


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    path = argv[1]
    try:
        with open(path, "rb") as f:
            data = f.read()
        shared, entries, distinct = share(data)
    except (ImageError, OSError, struct.error) as error:
        sys.stderr.write(f"share_resources: {path}: {error}\n")
        return 1
    if shared != data:
        temporary = path + ".sharing"
        with open(temporary, "wb") as f:
            f.write(shared)
        os.chmod(temporary, os.stat(path).st_mode)
        os.replace(temporary, path)
    print(f"share_resources: {os.path.basename(path)}: {entries} resources, {distinct} distinct; "
          f"{len(data)} -> {len(shared)} bytes")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
