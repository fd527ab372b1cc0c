"""The driver package's catalog as the test build makes it: signed with the build's throw-away
certificate, named by the INF, and listing every file of the package, checked with tools we did
not write. osslsigncode verifies the catalog's signature and each PE file against the catalog
(`verify -catalog`: the file's Authenticode hash must be a member and the catalog's signature
valid); it reads no flat file, so each other file's SHA-256 must be one of the digests that
`openssl asn1parse` shows in the signed catalog.

Usage: test_catalog.py PAYLOAD_DIR CERTIFICATE [PAYLOAD_DIR CERTIFICATE ...] [unittest args after --]
One pair per build tree: the x86 build's payload (every set) and the x86-64 build's (the x64 set).
"""
import hashlib
import os
import subprocess
import sys
import unittest

ARGS, UNITTEST_ARGS = (sys.argv[1:sys.argv.index("--")], sys.argv[sys.argv.index("--") + 1:]) \
    if "--" in sys.argv else (sys.argv[1:], [])
BUILDS = list(zip(ARGS[0::2], ARGS[1::2]))

# What a payload folder holds besides the driver package: the language files, the setting
# file, the uninstaller, the build's own files, and the catalog itself.
NOT_IN_PACKAGE = {"Multi_ch.dll", "Multi_eng.dll", "Multi_ch_BIG5.dll", "setting.dll", "uninstall.exe",
                  "payload.rc", "payload.stamp", "Q73.cat"}


def run(*command):
    return subprocess.run(command, capture_output=True, text=True)


def package_files(folder):
    for root, _, names in os.walk(folder):
        for name in names:
            if name not in NOT_IN_PACKAGE:
                yield os.path.join(root, name)


def is_pe(path):
    with open(path, "rb") as f:
        return f.read(2) == b"MZ"


class Catalog(unittest.TestCase):
    def test_every_file_of_the_package_is_in_the_signed_catalog(self):
        self.assertTrue(BUILDS, "no build to check")
        for folder, certificate in BUILDS:
            with self.subTest(folder):
                catalog = os.path.join(folder, "Q73.cat")
                signature = run("osslsigncode", "verify", "-in", catalog, "-CAfile", certificate)
                self.assertEqual(signature.returncode, 0, signature.stdout + signature.stderr)

                with open(os.path.join(folder, "Q73.INF"), "rb") as f:
                    self.assertIn(b"\r\nCatalogFile=Q73.cat\r\n", f.read())

                dump = run("openssl", "asn1parse", "-inform", "DER", "-in", catalog).stdout
                pe_files = flat_files = 0
                for path in package_files(folder):
                    if is_pe(path):
                        pe_files += 1
                        result = run("osslsigncode", "verify", "-in", path, "-catalog", catalog,
                                     "-CAfile", certificate)
                        self.assertEqual(result.returncode, 0, f"{path}:\n{result.stdout}{result.stderr}")
                    else:
                        flat_files += 1
                        with open(path, "rb") as f:
                            digest = hashlib.sha256(f.read()).hexdigest().upper()
                        self.assertIn(f"[HEX DUMP]:{digest}", dump, path)
                self.assertGreater(pe_files, 0)
                self.assertGreater(flat_files, 0)

                # A file that is not part of the package is not in the catalog.
                outside = run("osslsigncode", "verify", "-in", os.path.join(folder, "uninstall.exe"),
                              "-catalog", catalog, "-CAfile", certificate)
                self.assertNotEqual(outside.returncode, 0, outside.stdout)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], *UNITTEST_ARGS])
