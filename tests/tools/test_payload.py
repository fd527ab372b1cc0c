"""The payload builder: encodings, line ends, sharing, and the manifest mistakes it refuses."""
import os
import subprocess
import sys
import tempfile
import unittest

from tiny_pe import AMD64, I386, tiny_pe

TOOL = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "payload.py")


class PayloadTool(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.res = os.path.join(self.dir.name, "res")
        self.out = os.path.join(self.dir.name, "out")
        os.makedirs(self.res)
        self.write("chinese.txt", "[Setting]\nLanguage=中文\n")

    def tearDown(self):
        self.dir.cleanup()

    def write(self, name, text):
        with open(os.path.join(self.res, name), "w", encoding="utf-8", newline="") as f:
            f.write(text)

    def run_tool(self, manifest, *extra):
        self.write("payload.manifest", manifest)
        return subprocess.run([sys.executable, TOOL, os.path.join(self.res, "payload.manifest"),
                               self.res, self.out, *extra], capture_output=True, text=True)

    def assertRefusedWritingNothing(self, message, *options):
        """The written manifest, built into a folder of its own, fails with message; the folder
        is never made."""
        out = os.path.join(self.dir.name, "refused")
        result = subprocess.run([sys.executable, TOOL, os.path.join(self.res, "payload.manifest"),
                                 self.res, out, *options], capture_output=True, text=True)
        self.assertEqual(result.returncode, 1)
        self.assertIn(message, result.stderr)
        self.assertFalse(os.path.exists(out), "files were written")

    def read(self, name):
        with open(os.path.join(self.out, name), "rb") as f:
            return f.read()

    def test_text_is_encoded_with_crlf_and_shared_rows_share_one_file(self):
        result = self.run_tool("1 Id1 26 a.dll text:gbk:chinese.txt\n"
                               "2 Id2 26 a.dll text:gbk:chinese.txt\n"
                               "3 Id3 24 b.dll text-nofinal:big5:chinese.txt\n")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(self.read("a.dll"), "[Setting]\r\nLanguage=中文\r\n".encode("gbk"))
        self.assertEqual(self.read("b.dll"), "[Setting]\r\nLanguage=中文".encode("big5"))
        script = self.read("payload.rc").decode("ascii")
        self.assertIn("LANGUAGE 4, 2", script)
        self.assertEqual(script.count("OWNER_DATA"), 3)

    def test_stand_ins_are_deterministic_labelled_and_exact(self):
        manifest = ("5 Id5 1000 x.bin vendor:core/X.DLL the X core file\n"
                    "6 Id6 1000 y.bin vendor:core/Y.DLL the Y core file\n")
        self.assertEqual(self.run_tool(manifest).returncode, 0)
        first = self.read("x.bin")
        self.assertEqual(len(first), 1000)
        self.assertTrue(first.startswith(b"Q73 setup payload stand-in: the X core file."))
        self.assertNotEqual(first[100:], self.read("y.bin")[100:])
        self.assertEqual(self.run_tool(manifest).returncode, 0)
        self.assertEqual(self.read("x.bin"), first)

    def test_vendor_files_are_taken_from_the_vendor_folder(self):
        vendor = os.path.join(self.dir.name, "vendor")
        os.makedirs(os.path.join(vendor, "core"))
        with open(os.path.join(vendor, "core", "X.DLL"), "wb") as f:
            f.write(b"MZ real file")
        result = self.run_tool("5 Id5 12 x.bin vendor:core/X.DLL the X core file\n", "--vendor", vendor)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(self.read("x.bin"), b"MZ real file")
        missing = self.run_tool("5 Id5 12 y.bin vendor:core/Y.DLL the Y core file\n", "--vendor", vendor)
        self.assertNotEqual(missing.returncode, 0)
        self.assertIn("no", missing.stderr)

    def test_a_vendor_dll_is_the_makers_file_or_else_the_projects_loadable_stand_in(self):
        built = os.path.join(self.dir.name, "standin.dll")
        with open(built, "wb") as f:
            f.write(b"MZ our stand-in")
        manifest = "7 PlugIn - x64/p.dll vendor-dll:x64/P.DLL:standin the P plug-in, x64\n"
        result = self.run_tool(manifest, "--target", f"standin={built}")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(self.read(os.path.join("x64", "p.dll")), b"MZ our stand-in")

        vendor = os.path.join(self.dir.name, "vendor")
        os.makedirs(os.path.join(vendor, "x64"))
        with open(os.path.join(vendor, "x64", "P.DLL"), "wb") as f:
            f.write(b"MZ the maker's file, any size")
        for options in ((), ("--strict",)):
            with self.subTest(options=options):
                result = self.run_tool(manifest, "--vendor", vendor, "--target", f"standin={built}", *options)
                self.assertEqual(result.returncode, 0, result.stderr)
                self.assertEqual(self.read(os.path.join("x64", "p.dll")), b"MZ the maker's file, any size")
        # A release never takes the stand-in, and a named folder must hold the file.
        self.assertIn("x64/P.DLL", self.run_tool(manifest, "--strict", "--target", f"standin={built}").stderr)
        os.remove(os.path.join(vendor, "x64", "P.DLL"))
        self.assertEqual(self.run_tool(manifest, "--vendor", vendor, "--target", f"standin={built}").returncode, 1)

    def test_mistakes_are_refused_and_nothing_is_written(self):
        cases = {
            "an id listed twice": "1 Id1 26 a.dll text:gbk:chinese.txt\\n1 Id1b 26 b.dll text:gbk:chinese.txt\n",
            "a wrong size": "1 Id1 25 a.dll text:gbk:chinese.txt\n",
            "one file from two sources": "1 Id1 26 a.dll text:gbk:chinese.txt\\n2 Id2b 23 a.dll text-nofinal:big5:chinese.txt\n",
            "an unknown kind": "1 Id1 - a.dll copy:chinese.txt\n",
            "a character the encoding lacks": "1 Id1 - a.dll text:ascii:chinese.txt\n",
            "a missing target": "1 Id1 - a.dll target:uninstaller\n",
            "a vendor DLL without its stand-in": "1 Id1 - a.dll vendor-dll:x64/A.DLL the A plug-in\n",
            "a vendor DLL whose stand-in is not built": "1 Id1 - a.dll vendor-dll:x64/A.DLL:standin the A plug-in\n",
            "too few columns": "1 Id1 24 a.dll\n",
            "a name C++ cannot take": "1 2nd 26 a.dll text:gbk:chinese.txt\n",
            "a name listed twice": "1 Same 26 a.dll text:gbk:chinese.txt\n2 Same 26 a.dll text:gbk:chinese.txt\n",
        }
        for name, manifest in cases.items():
            with self.subTest(name):
                result = self.run_tool(manifest)
                self.assertEqual(result.returncode, 1, name)
                self.assertTrue(result.stderr.startswith("payload: "), result.stderr)
                self.assertFalse(os.path.exists(os.path.join(self.out, "payload.rc")), name)

    def test_a_release_takes_vendor_files_at_their_sizes_and_never_makes_a_stand_in(self):
        vendor = os.path.join(self.dir.name, "vendor")
        os.makedirs(os.path.join(vendor, "core"))
        with open(os.path.join(vendor, "core", "X.DLL"), "wb") as f:
            f.write(b"MZ real file")
        manifest = "5 CoreX 12 x.bin vendor:core/X.DLL the X core file\n"
        self.assertEqual(self.run_tool(manifest, "--vendor", vendor, "--strict").returncode, 0)
        self.assertEqual(self.read("x.bin"), b"MZ real file")

        wrong_size = manifest.replace(" 12 ", " 13 ")
        cases = {
            "no vendor folder": (manifest, ("--strict",), "core/X.DLL"),
            "a vendor file of another size": (wrong_size, ("--strict", "--vendor", vendor), "12 bytes, expected 13"),
        }
        for name, (rows, options, message) in cases.items():
            with self.subTest(name):
                self.write("payload.manifest", rows)
                self.assertRefusedWritingNothing(message, *options)
        # Without --strict, another size is only a warning, as before.
        result = self.run_tool(wrong_size, "--vendor", vendor)
        self.assertEqual(result.returncode, 0)
        self.assertIn("warning", result.stderr)

    def test_a_release_refuses_a_dll_built_for_another_machine_than_its_set(self):
        vendor = os.path.join(self.dir.name, "vendor")
        for folder in ("plugin", os.path.join("x64", "plugin")):
            os.makedirs(os.path.join(vendor, folder))
        manifest = ("1 X86Plugin 4096 plugin/p.dll vendor:plugin/P.DLL the P plug-in\n"
                    "2 X64Plugin - x64/p.dll vendor-dll:x64/plugin/P.DLL:standin the P plug-in, x64\n")

        def place(x86_machine, x64_machine):
            for folder, machine in (("plugin", x86_machine), (os.path.join("x64", "plugin"), x64_machine)):
                with open(os.path.join(vendor, folder, "P.DLL"), "wb") as f:
                    f.write(tiny_pe(machine, 4096))

        place(I386, AMD64)
        self.assertEqual(self.run_tool(manifest, "--vendor", vendor, "--strict").returncode, 0)
        cases = {
            "a 32-bit DLL as the x64 plug-in": (I386, I386, "id 2 (x64/plugin/P.DLL): machine I386, expected AMD64"),
            "a 64-bit DLL in an x86 set": (AMD64, AMD64, "id 1 (plugin/P.DLL): machine AMD64, expected I386"),
        }
        for name, (x86_machine, x64_machine, message) in cases.items():
            with self.subTest(name):
                place(x86_machine, x64_machine)
                self.assertRefusedWritingNothing(message, "--vendor", vendor, "--strict")
        # A test build with the maker's files only warns, as it does for a size.
        result = self.run_tool(manifest, "--vendor", vendor)
        self.assertEqual(result.returncode, 0)
        self.assertIn("warning: id 1 (plugin/P.DLL): machine AMD64, expected I386", result.stderr)

    def test_masters_with_crlf_or_without_a_final_line_end_are_refused(self):
        self.write("bad.txt", "a\r\nb\r\n")
        self.assertEqual(self.run_tool("1 Id1 - a.dll text:ascii:bad.txt\n").returncode, 1)
        self.write("bad.txt", "a\nb")
        self.assertEqual(self.run_tool("1 Id1 - a.dll text:ascii:bad.txt\n").returncode, 1)


    def test_the_ids_header_names_every_id_with_its_size(self):
        self.write("payload.manifest", "7 Inf 26 a.inf text:gbk:chinese.txt\n9 Tool - t.exe target:tool\n")
        header = os.path.join(self.out, "payload", "payload_ids.h")
        result = subprocess.run([sys.executable, TOOL, os.path.join(self.res, "payload.manifest"),
                                 "--ids-header", header], capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(header, encoding="ascii") as f:
            text = f.read()
        self.assertIn("inline constexpr unsigned kInf = 7;", text)
        self.assertIn("inline constexpr unsigned kTool = 9;", text)
        self.assertIn('{payload_ids::kInf, 26ul, "a.inf"},', text)
        self.assertIn('{payload_ids::kTool, kAnySize, "t.exe"},', text)


if __name__ == "__main__":
    unittest.main()
