#!/usr/bin/env python3
"""Stores each distinct resource of a linked Windows image once.

Usage: share_resources.py IMAGE

The resource compiler and the linker give every resource its own copy of its bytes, so the
payload files that several ids carry are stored several times. This rewrites IMAGE in place:
resources with identical bytes point at one copy, the resource section shrinks and starts at
a page boundary of the file (so that Wine maps it instead of reading it into memory), the
sections after it move up, and the headers are made to match (section table, data
directories, debug directory, SizeOfImage, SizeOfInitializedData, checksum). The resource tree
is kept byte for byte but for the data addresses, and every directory entry keeps its own data
entry, so FindResource, LoadResource and SizeofResource give each id exactly its bytes, as
before. A second run changes nothing.

It refuses, leaving the file as it was, an image that is not a PE image, whose resource tree
cannot be read whole or is laid out in a way it does not know, that has a section it cannot
move after the resource section, or that is signed (rewriting would break the signature: run
it before signing).

The PE file is read and written by pefile (Debian: python3-pefile); the rule of what moves
where is ours.
"""
import os
import sys

try:
    import pefile
except ImportError:
    sys.stderr.write("share_resources: needs pefile (Debian package python3-pefile)\n")
    sys.exit(1)

DIRECTORIES = pefile.DIRECTORY_ENTRY
DIR_RESOURCE = DIRECTORIES["IMAGE_DIRECTORY_ENTRY_RESOURCE"]
DIR_SECURITY = DIRECTORIES["IMAGE_DIRECTORY_ENTRY_SECURITY"]
DIR_BASERELOC = DIRECTORIES["IMAGE_DIRECTORY_ENTRY_BASERELOC"]
DIR_DEBUG = DIRECTORIES["IMAGE_DIRECTORY_ENTRY_DEBUG"]
INITIALIZED_DATA = pefile.SECTION_CHARACTERISTICS["IMAGE_SCN_CNT_INITIALIZED_DATA"]
DISCARDABLE = pefile.SECTION_CHARACTERISTICS["IMAGE_SCN_MEM_DISCARDABLE"]
DATA_ALIGNMENT = 8  # of each resource's bytes, as the resource compiler aligns them
# Wine maps a section straight from the file only when its file offset is a multiple of the
# page size; otherwise it reads the section into private memory. The resource section, the
# payload, is placed at such an offset; the padding before it is at most a page.
PAGE_SIZE = 4096


class ImageError(Exception):
    pass


def align_up(value, alignment):
    return (value + alignment - 1) // alignment * alignment


def load(data):
    """The image parsed by pefile, with the directories the rewriting touches."""
    try:
        pe = pefile.PE(data=data, fast_load=True)
        pe.parse_data_directories(directories=[DIR_RESOURCE, DIR_BASERELOC, DIR_DEBUG])
    except pefile.PEFormatError as error:
        raise ImageError(f"not a Windows PE image ({error.value})") from None
    return pe


def directory(pe, index):
    entries = pe.OPTIONAL_HEADER.DATA_DIRECTORY
    return entries[index] if index < len(entries) else None


def section_name(section):
    return section.Name.rstrip(b"\0").decode(errors="replace")


def end_of(structure):
    return structure.get_file_offset() + structure.sizeof()


def resource_leaves(pe):
    """The data entries of the resource tree in tree order, and the file offset where the
    tree's own structures (directories, entries, names, data entries) end."""
    root = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    if root is None:
        raise ImageError("the image has no resources")
    leaves, tree_end = [], 0

    def walk(node):
        nonlocal tree_end
        declared = node.struct.NumberOfNamedEntries + node.struct.NumberOfIdEntries
        # pefile stops reading a directory at a loop or at what it cannot read.
        if len(node.entries) != declared:
            raise ImageError("the resource tree loops or cannot be read whole")
        tree_end = max(tree_end, end_of(node.struct))
        for entry in node.entries:
            tree_end = max(tree_end, end_of(entry.struct))
            if entry.name is not None:
                name_end = pe.get_offset_from_rva(entry.name.get_rva()) + 2 + 2 * entry.name.get_pascal_16_length()
                tree_end = max(tree_end, name_end)
            if hasattr(entry, "directory"):
                walk(entry.directory)
            else:
                leaves.append(entry.data.struct)
                tree_end = max(tree_end, end_of(entry.data.struct))

    walk(root)
    return leaves, tree_end


def share(data):
    """Returns (image bytes with each distinct resource stored once, entries, distinct)."""
    pe = load(data)
    security = directory(pe, DIR_SECURITY)
    if security and (security.VirtualAddress or security.Size):
        raise ImageError("the image is signed: share its resources before signing it")
    leaves, tree_end = resource_leaves(pe)
    section = pe.get_section_by_rva(directory(pe, DIR_RESOURCE).VirtualAddress)
    if section is None:
        raise ImageError("the resource directory lies in no section")
    start, raw_pointer = section.VirtualAddress, section.PointerToRawData
    section_end = min(section.SizeOfRawData, section.Misc_VirtualSize)
    tree_end -= raw_pointer

    # Every resource's bytes must lie after the tree, inside the section.
    blobs = []
    for leaf in leaves:
        offset = leaf.OffsetToData - start
        if offset < tree_end or offset + leaf.Size > section_end:
            raise ImageError(f"resource bytes at RVA {leaf.OffsetToData:#x} lie outside the section's data area")
        blobs.append((leaf, offset))

    # The new section: the tree, then each distinct resource once, in the order they had.
    data_start = min([offset for _, offset in blobs] + [section_end])
    blob_area = bytearray()
    placed = {}
    for leaf, offset in sorted(blobs, key=lambda blob: blob[1]):
        payload = data[raw_pointer + offset:raw_pointer + offset + leaf.Size]
        if payload not in placed:
            blob_area += bytes(align_up(data_start + len(blob_area), DATA_ALIGNMENT) - data_start - len(blob_area))
            placed[payload] = data_start + len(blob_area)
            blob_area += payload
        leaf.OffsetToData = start + placed[payload]
    content_size = data_start + len(blob_area)

    alignment, file_alignment = pe.OPTIONAL_HEADER.SectionAlignment, pe.OPTIONAL_HEADER.FileAlignment
    old_next = align_up(start + section.Misc_VirtualSize, alignment)
    va_delta = old_next - align_up(start + content_size, alignment)
    # GNU ld may leave the resource section's raw size unaligned (two resource scripts merged);
    # the data that follows starts at the next file-alignment boundary all the same.
    old_raw_end = align_up(raw_pointer + section.SizeOfRawData, file_alignment)
    new_raw_size = align_up(content_size, file_alignment)
    new_raw_pointer = align_up(raw_pointer, max(PAGE_SIZE, file_alignment))
    raw_delta = old_raw_end - (new_raw_pointer + new_raw_size)  # how far later file data moves up
    if va_delta < 0:
        raise ImageError("the resource section would grow")

    relocations = directory(pe, DIR_BASERELOC)
    later = [s for s in pe.sections if s.VirtualAddress > start]
    for other in later:
        holds_relocations = relocations is not None and relocations.VirtualAddress and other.contains_rva(
            relocations.VirtualAddress)
        movable = other.Characteristics & DISCARDABLE or holds_relocations
        if not movable:
            raise ImageError(f"section {section_name(other)} after the resources holds data the program may "
                             f"address: it cannot move")
        if other.PointerToRawData and other.PointerToRawData < old_raw_end:
            raise ImageError("a section's data overlaps the resource section")
    # Moving would need base relocations of places at or after the resources rewritten.
    for block in getattr(pe, "DIRECTORY_ENTRY_BASERELOC", []):
        if block.struct.VirtualAddress >= start:
            raise ImageError("base relocations reach into the resource section or after it")
    debug = directory(pe, DIR_DEBUG)
    if debug and debug.VirtualAddress >= start:
        raise ImageError("the debug directory lies after the resource section")

    # The headers and the tree, still where they are in the file.
    if section.Characteristics & INITIALIZED_DATA:
        pe.OPTIONAL_HEADER.SizeOfInitializedData = max(
            pe.OPTIONAL_HEADER.SizeOfInitializedData - (section.SizeOfRawData - new_raw_size), 0)
    for other in later:
        other.VirtualAddress -= va_delta
        if other.PointerToRawData >= old_raw_end:
            other.PointerToRawData -= raw_delta
    for index, entry in enumerate(pe.OPTIONAL_HEADER.DATA_DIRECTORY):
        if index == DIR_RESOURCE:
            entry.Size = content_size - (entry.VirtualAddress - start)
        elif entry.VirtualAddress >= old_next:
            entry.VirtualAddress -= va_delta
    for entry in getattr(pe, "DIRECTORY_ENTRY_DEBUG", []):  # the directory itself stays where it was
        if entry.struct.AddressOfRawData >= old_next:
            entry.struct.AddressOfRawData -= va_delta
        if entry.struct.PointerToRawData >= old_raw_end:
            entry.struct.PointerToRawData -= raw_delta
    if pe.FILE_HEADER.PointerToSymbolTable >= old_raw_end:
        pe.FILE_HEADER.PointerToSymbolTable -= raw_delta
    section.Misc_VirtualSize, section.SizeOfRawData = content_size, new_raw_size
    section.PointerToRawData = new_raw_pointer
    pe.OPTIONAL_HEADER.SizeOfImage = align_up(
        max(s.VirtualAddress + max(s.Misc_VirtualSize, s.SizeOfRawData) for s in pe.sections), alignment)
    patched = pe.write()

    # The new file: the part before the resource section, its new bytes, everything after.
    out = bytearray(patched[:raw_pointer]) + bytes(new_raw_pointer - raw_pointer)
    out += patched[raw_pointer:raw_pointer + data_start] + blob_area + bytes(new_raw_size - content_size)
    out += patched[old_raw_end:]
    rewritten = pefile.PE(data=bytes(out), fast_load=True)
    rewritten.OPTIONAL_HEADER.CheckSum = rewritten.generate_checksum()
    return bytes(rewritten.write()), len(blobs), len(placed)


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    path = argv[1]
    try:
        with open(path, "rb") as f:
            data = f.read()
        shared, entries, distinct = share(data)
    except (ImageError, OSError) as error:
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
