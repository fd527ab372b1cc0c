"""The resource-sharing step: identical resources stored once in a small image built here,
every resource still its own bytes, the section after the resources moved with the headers,
the images it refuses left untouched, and the built programs sound afterwards. Images are read
back with pefile (Debian: python3-pefile), not with the tool's own code.

The built programs come from the environment (set by the test registration):
Q73_SETUP_EXE (rewritten by the build), Q73_UNINSTALL_EXE (as the linker wrote it) and
Q73_OBJDUMP."""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest

import pefile

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools"))
import share_resources  # noqa: E402

TOOL = share_resources.__file__
SECTION_ALIGNMENT, FILE_ALIGNMENT = 0x1000, 0x200
DISCARDABLE_DATA = 0x42000040


def align(value, alignment):
    return (value + alignment - 1) // alignment * alignment


def resource_section(va, resources):
    """A resource section at va: type "OWNER_DATA", one entry per (id, bytes), language 2052,
    each resource with its own copy of its bytes, as the linker lays them out."""
    ids = sorted(resources)
    root = struct.pack("<IIHHHH", 0, 0, 0, 0, 1, 0)
    type_dir_at = 16 + 8
    type_dir_size = 16 + 8 * len(ids)
    lang_dirs_at = type_dir_at + type_dir_size
    lang_dir_size = 16 + 8
    name_at = lang_dirs_at + lang_dir_size * len(ids)
    name = "OWNER_DATA".encode("utf-16-le")
    entries_at = align(name_at + 2 + len(name), 4)
    data_at = align(entries_at + 16 * len(ids), 8)

    out = bytearray(root + struct.pack("<II", 0x80000000 | name_at, 0x80000000 | type_dir_at))
    out += struct.pack("<IIHHHH", 0, 0, 0, 0, 0, len(ids))
    for i, rid in enumerate(ids):
        out += struct.pack("<II", rid, 0x80000000 | (lang_dirs_at + lang_dir_size * i))
    for i in range(len(ids)):
        out += struct.pack("<IIHHHH", 0, 0, 0, 0, 0, 1) + struct.pack("<II", 2052, entries_at + 16 * i)
    out += struct.pack("<H", len(name) // 2) + name
    out += bytes(entries_at - len(out))
    blobs, offset = bytearray(), data_at
    for rid in ids:
        offset = align(offset, 8)
        out += struct.pack("<IIII", va + offset, len(resources[rid]), 0, 0)
        blobs += bytes(offset - data_at - len(blobs)) + resources[rid]
        offset += len(resources[rid])
    out += bytes(data_at - len(out)) + blobs
    return bytes(out)


def build_image(resources, relocated_pages=(0x1000,), after_resources=DISCARDABLE_DATA,
                relocation_directory=True, signed=False):
    """A PE32 program: .text, .rsrc and a section after them holding base relocations (of the
    given pages, named by the directory unless relocation_directory is false) with
    after_resources as its characteristics."""
    text = b"\xc3" * 0x100
    rsrc_va = 0x2000
    rsrc = resource_section(rsrc_va, resources)
    relocations = b"".join(struct.pack("<IIHH", page, 12, 0x3004, 0x3008) for page in relocated_pages)
    sections = [(b".text", text, 0x60000020), (b".rsrc", rsrc, 0x40000040), (b".reloc", relocations, after_resources)]
    headers_size = align(0x40 + 4 + 20 + 224 + 40 * len(sections), FILE_ALIGNMENT)

    table, body, va, raw, initialized = b"", b"", 0x1000, headers_size, 0
    placed = {}
    for name, content, characteristics in sections:
        raw_size = align(len(content), FILE_ALIGNMENT)
        table += struct.pack("<8sIIIIIIHHI", name, len(content), va, raw_size, raw, 0, 0, 0, 0, characteristics)
        body += content + bytes(raw_size - len(content))
        placed[name] = (va, len(content))
        initialized += raw_size if characteristics & 0x40 else 0
        va, raw = align(va + len(content), SECTION_ALIGNMENT), raw + raw_size
    assert placed[b".rsrc"][0] == rsrc_va

    directories = [(0, 0)] * 16
    directories[2] = placed[b".rsrc"]
    if relocation_directory:
        directories[5] = placed[b".reloc"]
    if signed:
        directories[4] = (headers_size + len(body), 8)
    optional = struct.pack("<HBBIIIIIIIIIHHHHHHIIIIHHIIIIII", 0x10B, 2, 40, FILE_ALIGNMENT, initialized, 0, 0x1000,
                           0x1000, 0x2000, 0x400000, SECTION_ALIGNMENT, FILE_ALIGNMENT, 4, 0, 0, 0, 4, 0, 0, va,
                           headers_size, 0, 2, 0x140, 0x100000, 0x1000, 0x100000, 0x1000, 0, 16)
    optional += b"".join(struct.pack("<II", *d) for d in directories)
    coff = struct.pack("<HHIIIHH", 0x14C, len(sections), 0, 0, 0, len(optional), 0x102)
    dos = b"MZ" + bytes(0x3A) + struct.pack("<I", 0x40)
    headers = dos + b"PE\0\0" + coff + optional + table
    image = headers + bytes(headers_size - len(headers)) + body
    return image + (b"CERT" * 2 if signed else b"")


def headers(data):
    return pefile.PE(data=bytes(data), fast_load=True)


def read_resources(data):
    """{index in tree order: (RVA, bytes)} of the image's resources."""
    pe = headers(data)
    pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    found = {}

    def walk(node):
        for entry in node.entries:
            if hasattr(entry, "directory"):
                walk(entry.directory)
            else:
                rva, size = entry.data.struct.OffsetToData, entry.data.struct.Size
                found[len(found)] = (rva, pe.get_data(rva, size) if size else b"")
    walk(pe.DIRECTORY_ENTRY_RESOURCE)
    return found


class SharingInAnImageBuiltHere(unittest.TestCase):
    # Sizes that cross file and page alignments, an empty resource, and three copies of one file.
    CORE = bytes(range(256)) * 20
    RESOURCES = {149: CORE, 150: b"plug-in" * 300, 151: b"", 172: CORE, 190: CORE, 191: b"odd" * 7}

    def setUp(self):
        self.original = build_image(self.RESOURCES)
        self.shared, self.entries, self.distinct = share_resources.share(self.original)

    def test_every_id_keeps_its_bytes_and_identical_ones_share_one_copy(self):
        before, after = read_resources(self.original), read_resources(self.shared)
        self.assertEqual([b for _, b in after.values()], [b for _, b in before.values()])
        self.assertEqual((self.entries, self.distinct), (6, 4))
        rva_of = {rid: after[i][0] for i, rid in enumerate(sorted(self.RESOURCES))}
        self.assertEqual(rva_of[149], rva_of[172])
        self.assertEqual(rva_of[149], rva_of[190])
        self.assertEqual(len({rva_of[rid] for rid in (149, 150, 191)}), 3)  # 151 has no bytes to place
        self.assertTrue(all(rva % 8 == 0 for rva in rva_of.values()))
        # The two copies dropped are a whole number of file-alignment units long; the section
        # now starts at a page boundary of the file.
        old, new = headers(self.original), headers(self.shared)
        self.assertEqual(new.sections[1].PointerToRawData % 4096, 0)
        padding = new.sections[1].PointerToRawData - old.sections[1].PointerToRawData
        self.assertEqual(len(self.original) - len(self.shared), 2 * len(self.CORE) - padding)

    def test_the_section_after_the_resources_moves_up_with_its_directory_and_the_headers(self):
        old, new = headers(self.original), headers(self.shared)
        rsrc, reloc = new.sections[1], new.sections[2]
        self.assertEqual(reloc.VirtualAddress, align(rsrc.VirtualAddress + rsrc.Misc_VirtualSize, SECTION_ALIGNMENT))
        self.assertLess(reloc.VirtualAddress, old.sections[2].VirtualAddress)
        self.assertEqual(reloc.PointerToRawData, rsrc.PointerToRawData + rsrc.SizeOfRawData)
        directories = new.OPTIONAL_HEADER.DATA_DIRECTORY
        self.assertEqual((directories[5].VirtualAddress, directories[5].Size),
                         (reloc.VirtualAddress, old.OPTIONAL_HEADER.DATA_DIRECTORY[5].Size))
        self.assertEqual((directories[2].VirtualAddress, directories[2].Size),
                         (rsrc.VirtualAddress, rsrc.Misc_VirtualSize))
        self.assertEqual(self.shared[reloc.PointerToRawData:reloc.PointerToRawData + reloc.SizeOfRawData],
                         self.original[old.sections[2].PointerToRawData:][:reloc.SizeOfRawData])
        self.assertEqual(new.OPTIONAL_HEADER.SizeOfImage,
                         align(reloc.VirtualAddress + reloc.Misc_VirtualSize, SECTION_ALIGNMENT))
        self.assertEqual(old.OPTIONAL_HEADER.SizeOfInitializedData - new.OPTIONAL_HEADER.SizeOfInitializedData,
                         old.sections[1].SizeOfRawData - rsrc.SizeOfRawData)
        self.assertEqual(len(self.shared), reloc.PointerToRawData + reloc.SizeOfRawData)
        self.assertTrue(new.verify_checksum())

    def test_a_second_run_changes_nothing(self):
        self.assertEqual(share_resources.share(self.shared)[0], self.shared)

    def test_an_image_without_duplicates_keeps_its_resources_at_their_addresses(self):
        original = build_image({1: b"one", 2: b"two"})
        shared = share_resources.share(original)[0]
        self.assertEqual(read_resources(shared), read_resources(original))
        self.assertEqual(headers(shared).sections[1].PointerToRawData % 4096, 0)


class RefusedImagesAreLeftAsTheyWere(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()

    def tearDown(self):
        self.dir.cleanup()

    def refused(self, data, message):
        path = os.path.join(self.dir.name, "setup.exe")
        with open(path, "wb") as f:
            f.write(data)
        result = subprocess.run([sys.executable, TOOL, path], capture_output=True, text=True)
        self.assertEqual(result.returncode, 1, result.stdout)
        self.assertIn(message, result.stderr)
        with open(path, "rb") as f:
            self.assertEqual(f.read(), data)
        self.assertEqual(os.listdir(self.dir.name), ["setup.exe"])

    def test_a_signed_image(self):
        self.refused(build_image({1: b"x" * 900, 2: b"x" * 900}, signed=True), "share its resources before signing")

    def test_a_file_that_is_no_image(self):
        self.refused(b"#!/bin/sh\necho not a program\n", "not a Windows PE image")
        self.refused(b"MZ" + bytes(0x3A) + struct.pack("<I", 0x1000), "not a Windows PE image")

    def test_a_section_after_the_resources_that_the_program_may_address(self):
        self.refused(build_image({1: b"x" * 900, 2: b"x" * 900}, after_resources=0xC0000040,
                                 relocation_directory=False), "cannot move")

    def test_base_relocations_inside_the_resources(self):
        self.refused(build_image({1: b"x" * 900, 2: b"x" * 900}, relocated_pages=(0x1000, 0x2000)),
                     "reach into the resource section")

    def test_a_resource_tree_that_loops(self):
        image = bytearray(build_image({1: b"x" * 900}))
        rsrc = headers(image).sections[1].PointerToRawData
        # The type directory's only entry points back at the root.
        struct.pack_into("<I", image, rsrc + 16 + 8 + 16 + 4, 0x80000000)
        self.refused(bytes(image), "loops")


@unittest.skipUnless(os.environ.get("Q73_SETUP_EXE"), "set by the test registration")
class TheBuiltPrograms(unittest.TestCase):
    def test_setup_is_shared_and_its_headers_match_its_sections(self):
        with open(os.environ["Q73_SETUP_EXE"], "rb") as f:
            data = f.read()
        shared, entries, distinct = share_resources.share(data)
        self.assertEqual(shared, data, "the build left duplicates")
        self.assertLess(distinct, entries)
        image = headers(data)
        self.assertTrue(image.verify_checksum())
        optional = image.OPTIONAL_HEADER
        end_va, end_raw = optional.SizeOfHeaders, optional.SizeOfHeaders
        for section in image.sections:
            self.assertEqual(section.VirtualAddress, align(end_va, optional.SectionAlignment))
            end_va = section.VirtualAddress + max(section.Misc_VirtualSize, 1)
            if section.SizeOfRawData:
                # Only the resources may start later, at the next page of the file.
                expected = align(end_raw, 4096) if section.Name.startswith(b".rsrc") else end_raw
                self.assertEqual(section.PointerToRawData, expected, section.Name)
                self.assertEqual(section.SizeOfRawData % optional.FileAlignment, 0)
                end_raw = section.PointerToRawData + section.SizeOfRawData
        self.assertEqual(end_raw, len(data))
        self.assertEqual(optional.SizeOfImage, align(end_va, optional.SectionAlignment))

    def test_objdump_reads_the_rewritten_image(self):
        objdump = os.environ.get("Q73_OBJDUMP") or shutil.which("i686-w64-mingw32-objdump")
        result = subprocess.run([objdump, "-p", "-h", os.environ["Q73_SETUP_EXE"]], capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(result.stderr, "")
        with open(os.environ["Q73_SETUP_EXE"], "rb") as f:
            image = headers(f.read())
        resources = image.OPTIONAL_HEADER.DATA_DIRECTORY[2]
        self.assertIn(f"Entry 2 {resources.VirtualAddress:08x} {resources.Size:08x} Resource Directory", result.stdout)
        self.assertIn(f"SizeOfImage\t\t{image.OPTIONAL_HEADER.SizeOfImage:08x}", result.stdout)


if __name__ == "__main__":
    unittest.main()
