"""The release preset: it refuses to configure without every vendor file at its size, and a
release tree takes every vendor file from the folder (as build inputs), never a stand-in, and
signs the uninstaller before the payload embeds it and setup.exe last.

Usage: test_release.py SOURCE_DIR SCRATCH_DIR [unittest arguments]
Each case configures a scratch tree below SCRATCH_DIR with `cmake --preset release -B ...`.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

SOURCE, SCRATCH = (os.path.abspath(arg) for arg in sys.argv[1:3])
sys.path.insert(0, os.path.join(SOURCE, "tools"))
sys.path.insert(0, os.path.join(SOURCE, "tests", "tools"))
import vendor_files  # noqa: E402
from tiny_pe import AMD64, I386, tiny_pe  # noqa: E402

MANIFEST = os.path.join(SOURCE, "res", "payload.manifest")
FILES = vendor_files.vendor_files(MANIFEST)


def make_vendor_folder(folder):
    """A complete fake vendor folder: every file at the size the manifest gives (any size where
    it gives none); the DLLs are PE images of their set's machine."""
    for item in FILES:
        path = os.path.join(folder, item.path)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        size = 4096 if item.size is None else item.size
        machine = AMD64 if item.path.startswith("x64/") else I386
        with open(path, "wb") as f:
            f.write(tiny_pe(machine, size) if item.path.upper().endswith(".DLL") else b"fake vendor file".ljust(size, b"\0"))


class ReleasePreset(unittest.TestCase):
    def setUp(self):
        os.makedirs(SCRATCH, exist_ok=True)
        self.dir = tempfile.mkdtemp(dir=SCRATCH)
        self.tree = os.path.join(self.dir, "tree")
        self.vendor = os.path.join(self.dir, "vendor")

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def configure(self, *options):
        return subprocess.run(["cmake", "--preset", "release", "-B", self.tree,
                               f"-DQ73_VENDOR_DIR={self.vendor}", *options],
                              cwd=SOURCE, capture_output=True, text=True)

    def ninja(self, *tool):
        result = subprocess.run(["ninja", "-C", self.tree, "-t", *tool], capture_output=True, text=True)
        self.assertEqual(result.returncode, 0, result.stderr)
        return result.stdout

    def assertRefused(self, result):
        self.assertNotEqual(result.returncode, 0, "the release configure succeeded")
        self.assertIn("A release build takes every file", result.stderr)
        self.assertFalse(os.path.exists(os.path.join(self.tree, "build.ninja")), "a build tree was generated")

    def test_without_a_vendor_folder_every_vendor_file_is_listed(self):
        result = self.configure()
        self.assertRefused(result)
        self.assertIn(f"there is no vendor folder {self.vendor}", " ".join(result.stderr.split()))
        for item in FILES:
            self.assertIn(f"missing    {item.path} ({vendor_files.size_text(item)})", result.stderr)

    def test_a_vendor_file_of_another_size_is_named_alone(self):
        make_vendor_folder(self.vendor)
        wrong = FILES[0]
        with open(os.path.join(self.vendor, wrong.path), "ab") as f:
            f.write(b"!")
        result = self.configure()
        self.assertRefused(result)
        self.assertIn(f"wrong size {wrong.path}: {wrong.size + 1} bytes, expected {wrong.size}", result.stderr)
        self.assertNotRegex(result.stderr, r"(?m)^\s+missing\s")
        for item in FILES[1:]:
            self.assertNotIn(f" {item.path}", result.stderr)
        # The maker's file is reported, never replaced.
        self.assertEqual(os.path.getsize(os.path.join(self.vendor, wrong.path)), wrong.size + 1)

    def test_a_32_bit_dll_as_an_x64_plug_in_is_refused_by_name_with_both_machines(self):
        make_vendor_folder(self.vendor)
        plug_in = os.path.join(self.vendor, "x64", "plugin", "Q73D.dll")
        with open(plug_in, "wb") as f:
            f.write(tiny_pe(I386, 4096))
        result = self.configure()
        self.assertRefused(result)
        self.assertIn("wrong machine x64/plugin/Q73D.dll: machine I386, expected AMD64", result.stderr)
        self.assertNotRegex(result.stderr, r"(?m)^\s+(missing|wrong size)\s")
        self.assertEqual(os.path.getsize(plug_in), 4096)

    def test_a_release_without_signing_says_that_unattended_installs_will_stop(self):
        make_vendor_folder(self.vendor)
        result = self.configure()
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertIn("unattended installs (as SYSTEM, silent) will stop", " ".join(result.stderr.split()))
        payload_command = self.ninja("commands", "-s", "payload/payload.stamp")
        self.assertNotIn("sign.sh", payload_command)
        self.assertIn("unattended installs (as SYSTEM, silent) will stop", payload_command)

    def test_a_complete_vendor_folder_makes_a_signed_release_of_vendor_files_only(self):
        make_vendor_folder(self.vendor)
        result = self.configure("-DQ73_SIGN=ON")
        self.assertEqual(result.returncode, 0, result.stderr)

        # Every vendor file is an input of the payload, which is built strictly: no stand-in.
        inputs = self.ninja("query", "payload/payload.stamp")
        for item in FILES:
            self.assertIn(os.path.join(self.vendor, item.path), inputs)
        payload_command = self.ninja("commands", "-s", "payload/payload.stamp")
        self.assertIn("--strict", payload_command)
        # The catalog is signed by the payload step with the maker's certificate.
        self.assertRegex(payload_command, r"tools/sign\.sh \S*payload/Q73\.cat")
        self.assertNotIn("Q73_SIGN_CERT=", payload_command)

        # Not marked as a test build, and no test-build warning.
        for name in ("setup", "uninstall"):
            with open(os.path.join(self.tree, "program_resources", f"{name}_version.rc"), encoding="ascii") as f:
                script = f.read()
            self.assertIn('VALUE "FileVersion"', script)
            self.assertNotIn("Comments", script)
        self.assertNotIn("test_build_notice", self.ninja("targets", "all"))

        # The uninstaller is signed as it is linked, before the payload embeds it; setup.exe's
        # signing is the last thing done to it.
        commands = self.ninja("commands", "payload/payload.stamp").splitlines()
        uninstaller = next(i for i, line in enumerate(commands) if "-o uninstall.exe" in line)
        self.assertIn("tools/sign.sh", commands[uninstaller].split("-o uninstall.exe", 1)[1])
        self.assertGreater(next(i for i, line in enumerate(commands) if "payload.py" in line), uninstaller)
        setup = self.ninja("commands", "-s", "setup.exe").strip()
        self.assertIn("-o setup.exe", setup)
        last_step = setup.rsplit("&&", 1)[-1]
        self.assertIn("tools/sign.sh", last_step)
        self.assertIn("setup.exe", last_step)


class VendorList(unittest.TestCase):
    def test_the_readme_lists_every_vendor_file(self):
        with open(os.path.join(SOURCE, "README.md"), encoding="utf-8") as f:
            readme = f.read()
        self.assertIn(vendor_files.table(FILES), readme)

    def test_rows_that_disagree_on_a_vendor_files_size_are_refused(self):
        with tempfile.TemporaryDirectory() as folder:
            manifest = os.path.join(folder, "payload.manifest")
            with open(manifest, "w", encoding="utf-8") as f:
                f.write("1 A1 10 a.dll vendor:x/A.DLL the A file\n2 A2 11 a.dll vendor:x/A.DLL the A file\n")
            result = subprocess.run([sys.executable, os.path.join(SOURCE, "tools", "vendor_files.py"),
                                     "check", manifest, folder], capture_output=True, text=True)
            self.assertEqual(result.returncode, 2)
            self.assertIn("x/A.DLL is 10 bytes on an earlier row", result.stderr)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], *sys.argv[3:]])
