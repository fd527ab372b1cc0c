"""tools/sign.sh on copies of the built programs, with throw-away certificates made here: the
uninstaller signed from a PFX, setup.exe from a PEM pair, both verified by osslsigncode against
the throw-away certificate (it chains to nothing else), a time stamp from a local time-stamp
authority, the signed setup.exe run under Wine up to its wizard, and the mistakes sign.sh
refuses without touching the file.

Usage: test_signing.py SOURCE_DIR SETUP_EXE UNINSTALL_EXE WIZARD_WALK_EXE SCRATCH_DIR [unittest args]
WINEPREFIX names the build tree's prefix; DISPLAY an X display for the wizard.
"""
import http.server
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import unittest

SOURCE, SETUP, UNINSTALL, WIZARD_WALK, SCRATCH = (os.path.abspath(arg) for arg in sys.argv[1:6])
# tools/wine-run.sh's exit code where this machine cannot run the program (32-bit code).
SKIPPED = 77
SIGN = os.path.join(SOURCE, "tools", "sign.sh")
PEM_PASSWORD, PFX_PASSWORD = "pem throw-away", "pfx throw-away"


def run(command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, **kwargs)


def openssl(*args, cwd):
    result = run(["openssl", *args], cwd=cwd)
    if result.returncode:
        raise RuntimeError(f"openssl {args[0]}: {result.stderr}")


class TimeStampAuthority:
    """An RFC 3161 time-stamp server on 127.0.0.1 answering with `openssl ts -reply`."""

    def __init__(self, folder):
        self.folder = folder
        openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "tsa.key", "-out", "tsa.pem",
                "-subj", "/CN=Q73 throw-away time stamps", "-days", "2",
                "-addext", "extendedKeyUsage=critical,timeStamping", cwd=folder)
        with open(os.path.join(folder, "tsaserial"), "w") as f:
            f.write("01\n")
        with open(os.path.join(folder, "tsa.cnf"), "w") as f:
            f.write(f"[tsa]\ndefault_tsa = stamps\n[stamps]\ndir = {folder}\nserial = $dir/tsaserial\n"
                    "signer_cert = $dir/tsa.pem\nsigner_key = $dir/tsa.key\nsigner_digest = sha256\n"
                    "default_policy = 1.2.3.4.1\ndigests = sha256\naccuracy = secs:1\n"
                    "ess_cert_id_alg = sha256\n")
        authority = self

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_POST(self):
                request = self.rfile.read(int(self.headers["Content-Length"]))
                reply = authority.reply(request)
                self.send_response(200 if reply else 500)
                self.send_header("Content-Type", "application/timestamp-reply")
                self.send_header("Content-Length", str(len(reply)))
                self.end_headers()
                self.wfile.write(reply)

            def log_message(self, *args):
                pass

        self.server = http.server.HTTPServer(("127.0.0.1", 0), Handler)
        self.url = f"http://127.0.0.1:{self.server.server_address[1]}/"
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()

    def reply(self, request):
        with tempfile.TemporaryDirectory(dir=self.folder) as work:
            query, answer = os.path.join(work, "query.tsq"), os.path.join(work, "reply.tsr")
            with open(query, "wb") as f:
                f.write(request)
            result = run(["openssl", "ts", "-reply", "-config", os.path.join(self.folder, "tsa.cnf"),
                          "-queryfile", query, "-out", answer])
            if result.returncode:
                return b""
            with open(answer, "rb") as f:
                return f.read()

    def stop(self):
        self.server.shutdown()
        self.server.server_close()
        self.thread.join()


class Signing(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        os.makedirs(SCRATCH, exist_ok=True)
        cls.keys = tempfile.mkdtemp(dir=SCRATCH)
        openssl("req", "-x509", "-newkey", "rsa:2048", "-keyout", "key.pem", "-out", "cert.pem",
                "-passout", f"pass:{PEM_PASSWORD}", "-subj", "/CN=Q73 throw-away code signing", "-days", "2",
                "-addext", "extendedKeyUsage=codeSigning", cwd=cls.keys)
        openssl("pkcs12", "-export", "-inkey", "key.pem", "-in", "cert.pem", "-out", "cert.pfx",
                "-passin", f"pass:{PEM_PASSWORD}", "-passout", f"pass:{PFX_PASSWORD}", cwd=cls.keys)
        cls.cert = os.path.join(cls.keys, "cert.pem")
        cls.pfx_env = {"Q73_SIGN_PFX": os.path.join(cls.keys, "cert.pfx"), "Q73_SIGN_PASSWORD": PFX_PASSWORD}
        cls.pem_env = {"Q73_SIGN_CERT": cls.cert, "Q73_SIGN_KEY": os.path.join(cls.keys, "key.pem"),
                       "Q73_SIGN_PASSWORD": PEM_PASSWORD}

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.keys, ignore_errors=True)

    def setUp(self):
        self.dir = tempfile.mkdtemp(dir=SCRATCH)

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def copy(self, program, name):
        path = os.path.join(self.dir, name)
        shutil.copyfile(program, path)
        return path

    def sign(self, path, settings, description="Q73 printer driver setup"):
        env = {key: value for key, value in os.environ.items() if not key.startswith("Q73_SIGN_")}
        env.update(settings)
        return run(["bash", SIGN, path, description], env=env)

    def verify(self, path, *extra):
        return run(["osslsigncode", "verify", "-CAfile", self.cert, *extra, "-in", path])

    def assertSignedOnce(self, path, *extra):
        result = self.verify(path, *extra)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)
        self.assertIn("Message digest algorithm  : SHA256", result.stdout)
        self.assertIn("Signature verification: ok", result.stdout)
        self.assertIn("Number of verified signatures: 1", result.stdout)
        return result.stdout

    def test_the_uninstaller_signed_from_a_pfx_verifies(self):
        program = self.copy(UNINSTALL, "uninstall.exe")
        result = self.sign(program, self.pfx_env, "Q73 printer driver uninstall")
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertSignedOnce(program)
        self.assertEqual(os.listdir(self.dir), ["uninstall.exe"], "sign.sh left work files behind")

    def test_setup_signed_from_a_pem_pair_verifies_and_still_runs_its_wizard(self):
        program = self.copy(SETUP, "setup.exe")
        result = self.sign(program, self.pem_env)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertSignedOnce(program)

        # The wizard comes up (welcome page) and Cancel ends the program normally.
        windows_path = "Z:" + program.replace("/", "\\")
        walk = run(["bash", os.path.join(SOURCE, "tools", "wine-run.sh"), WIZARD_WALK, "--cancel", windows_path],
                   env={**os.environ, "Q73_LC_ALL": "en_US.UTF-8"}, timeout=180)
        if walk.returncode == SKIPPED:
            self.skipTest(walk.stdout.strip())
        self.assertEqual(walk.returncode, 0, walk.stdout + walk.stderr)

    def test_a_time_stamp_server_stamps_the_signature(self):
        authority = TimeStampAuthority(tempfile.mkdtemp(dir=self.dir))
        try:
            program = self.copy(UNINSTALL, "uninstall.exe")
            result = self.sign(program, {**self.pfx_env, "Q73_SIGN_TIMESTAMP_URL": authority.url})
        finally:
            authority.stop()
        self.assertEqual(result.returncode, 0, result.stderr)
        report = self.assertSignedOnce(program, "-TSA-CAfile", os.path.join(authority.folder, "tsa.pem"))
        self.assertIn("Timestamp Server Signature verification: ok", report)

    def test_signing_again_replaces_the_signature(self):
        program = self.copy(UNINSTALL, "uninstall.exe")
        self.assertEqual(self.sign(program, self.pfx_env).returncode, 0)
        size = os.path.getsize(program)
        result = self.sign(program, self.pem_env)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertSignedOnce(program)
        self.assertEqual(os.path.getsize(program), size)

    def test_a_changed_byte_fails_verification(self):
        program = self.copy(UNINSTALL, "uninstall.exe")
        self.assertEqual(self.sign(program, self.pfx_env).returncode, 0)
        with open(program, "r+b") as f:
            f.seek(0x1000)
            byte = f.read(1)
            f.seek(0x1000)
            f.write(bytes([byte[0] ^ 0xFF]))
        self.assertNotEqual(self.verify(program).returncode, 0)

    def test_mistakes_are_refused_and_the_file_stays_as_it_was(self):
        missing = os.path.join(self.dir, "no-such.pfx")
        cases = {
            "no certificate": ({}, "no certificate"),
            "a PFX and a PEM pair": ({**self.pfx_env, **self.pem_env}, "not both"),
            "a PEM certificate without its key": ({"Q73_SIGN_CERT": self.cert}, "together"),
            "a PFX that is not there": ({"Q73_SIGN_PFX": missing}, "cannot read the PFX file"),
            "a wrong password": ({**self.pfx_env, "Q73_SIGN_PASSWORD": "wrong"}, "signing"),
            "an unreachable time-stamp server": ({**self.pfx_env, "Q73_SIGN_TIMESTAMP_URL": "http://127.0.0.1:9/"},
                                                 "signing"),
        }
        program = self.copy(UNINSTALL, "uninstall.exe")
        with open(program, "rb") as f:
            original = f.read()
        for name, (settings, message) in cases.items():
            with self.subTest(name):
                result = self.sign(program, settings)
                self.assertNotEqual(result.returncode, 0)
                self.assertIn(message, result.stderr)
                with open(program, "rb") as f:
                    self.assertEqual(f.read(), original)
                self.assertEqual(os.listdir(self.dir), ["uninstall.exe"])

        text = os.path.join(self.dir, "notes.exe")
        with open(text, "wb") as f:
            f.write(b"not a program\r\n")
        result = self.sign(text, self.pfx_env)
        self.assertNotEqual(result.returncode, 0)
        with open(text, "rb") as f:
            self.assertEqual(f.read(), b"not a program\r\n")
        result = self.sign(os.path.join(self.dir, "absent.exe"), self.pfx_env)
        self.assertNotEqual(result.returncode, 0)
        self.assertIn("no file", result.stderr)


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], *sys.argv[6:]])
