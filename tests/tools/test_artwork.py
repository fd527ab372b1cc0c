"""The wizard's pictures: the BMP and icon fields a Windows loader relies on, and stable bytes."""
import os
import struct
import subprocess
import sys
import tempfile
import unittest

TOOL = os.path.join(os.path.dirname(__file__), "..", "..", "tools", "make_artwork.py")
BITMAPS = {"welcome.bmp": (164, 314), "header.bmp": (53, 53)}
ICON_SIZES = [32, 16]


def run_tool(out, seed="0"):
    env = dict(os.environ, PYTHONHASHSEED=seed)
    return subprocess.run([sys.executable, TOOL, "--out", out], capture_output=True, text=True,
                          env=env)


def row_bytes(width, bits):
    return (width * bits + 31) // 32 * 4


class Bitmap:
    """The fields of an 8-bit BMP file, and its pixels as colours, top row first."""

    def __init__(self, data):
        self.data = data
        (self.magic, self.file_size, self.reserved1, self.reserved2,
         self.offset) = struct.unpack_from("<2sIHHI", data, 0)
        (self.header_size, self.width, self.height, self.planes, self.bits, self.compression,
         self.image_size, _, _, self.colours, _) = struct.unpack_from("<IiiHHIIiiII", data, 14)
        self.palette = [tuple(data[54 + 4 * i + k] for k in (2, 1, 0))
                        for i in range(self.colours)]
        self.stride = row_bytes(self.width, 8)

    def row(self, y):
        start = self.offset + (self.height - 1 - y) * self.stride
        return self.data[start:start + self.stride]

    def pixel(self, x, y):
        return self.palette[self.row(y)[x]]


class Artwork(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.dir = tempfile.TemporaryDirectory()
        cls.out = os.path.join(cls.dir.name, "new", "art")
        result = run_tool(cls.out)
        if result.returncode != 0:
            raise AssertionError(result.stderr)

    @classmethod
    def tearDownClass(cls):
        cls.dir.cleanup()

    def read(self, name):
        with open(os.path.join(self.out, name), "rb") as f:
            return f.read()

    def test_bitmaps_have_the_headers_and_layout_of_an_8_bit_bmp(self):
        for name, (width, height) in BITMAPS.items():
            with self.subTest(name):
                data = self.read(name)
                bmp = Bitmap(data)
                self.assertEqual(bmp.magic, b"BM")
                self.assertEqual(bmp.file_size, len(data))
                self.assertEqual((bmp.reserved1, bmp.reserved2), (0, 0))
                self.assertEqual(bmp.header_size, 40)
                # A positive height: rows stored bottom-up.
                self.assertEqual((bmp.width, bmp.height), (width, height))
                self.assertEqual((bmp.planes, bmp.bits, bmp.compression), (1, 8, 0))
                self.assertTrue(1 <= bmp.colours <= 256, bmp.colours)
                self.assertEqual(bmp.offset, 14 + 40 + 4 * bmp.colours)
                self.assertEqual(bmp.image_size, bmp.stride * height)
                self.assertEqual(len(data), bmp.offset + bmp.image_size)
                rows = [bmp.row(y) for y in range(height)]
                self.assertTrue(all(max(row[:width]) < bmp.colours for row in rows),
                                "a pixel indexes past the palette")
                self.assertTrue(all(not any(row[width:]) for row in rows), "row padding not zero")

    def test_header_picture_has_a_white_border_round_a_drawing(self):
        bmp = Bitmap(self.read("header.bmp"))
        size = bmp.width
        border = {(x, y) for x in range(size) for y in (0, size - 1)}
        border |= {(x, y) for y in range(size) for x in (0, size - 1)}
        for x, y in sorted(border):
            self.assertEqual(bmp.pixel(x, y), (255, 255, 255), f"border pixel {x},{y}")
        inside = [bmp.pixel(x, y) for y in range(size) for x in range(size)]
        self.assertTrue(any(max(c) < 100 for c in inside), "no dark printer body in the header")

    def test_welcome_picture_is_stored_bottom_up_and_keeps_its_gradient(self):
        bmp = Bitmap(self.read("welcome.bmp"))
        top, bottom = bmp.pixel(82, 0), bmp.pixel(82, bmp.height - 1)
        # Deep blue at the top, teal at the bottom: a flipped picture swaps them.
        self.assertLess(top[1], bottom[1], (top, bottom))
        used = {bmp.pixel(x, y) for y in range(bmp.height) for x in range(bmp.width)}
        self.assertGreater(len(used), 100, "the palette collapsed the gradient into few colours")

    def test_icon_directory_and_images(self):
        data = self.read("setup.ico")
        self.assertEqual(struct.unpack_from("<HHH", data, 0), (0, 1, len(ICON_SIZES)))
        end = 6 + 16 * len(ICON_SIZES)
        for i, size in enumerate(ICON_SIZES):
            with self.subTest(size=size):
                (width, height, colours, reserved, planes, bits,
                 length, offset) = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
                self.assertEqual((width, height, colours, reserved), (size, size, 0, 0))
                self.assertEqual((planes, bits), (1, 8))
                self.assertEqual(offset, end, "images must follow each other without gaps")
                end = offset + length
                self.assertLessEqual(end, len(data))
                self.check_icon_image(data[offset:end], size)
        self.assertEqual(end, len(data))

    def check_icon_image(self, image, size):
        (header_size, width, height, planes, bits, compression, image_size, _, _, colours,
         _) = struct.unpack_from("<IiiHHIIiiII", image, 0)
        self.assertEqual((header_size, width, height), (40, size, 2 * size))
        self.assertEqual((planes, bits, compression), (1, 8, 0))
        table = colours or 256
        colour_size, mask_size = row_bytes(size, 8) * size, row_bytes(size, 1) * size
        self.assertEqual(len(image), 40 + 4 * table + colour_size + mask_size)
        self.assertIn(image_size, (0, colour_size + mask_size))
        palette = [tuple(image[40 + 4 * i + k] for k in (2, 1, 0)) for i in range(table)]
        pixels = image[40 + 4 * table:][:colour_size]
        mask = image[40 + 4 * table + colour_size:]
        opaque = {}
        for y in range(size):
            stored = size - 1 - y
            for x in range(size):
                bit = mask[stored * row_bytes(size, 1) + x // 8] >> (7 - x % 8) & 1
                opaque[x, y] = not bit
                if bit:
                    colour = palette[pixels[stored * row_bytes(size, 8) + x]]
                    self.assertEqual(colour, (0, 0, 0), f"transparent pixel {x},{y} not black")
        for corner in [(0, 0), (size - 1, 0), (0, size - 1), (size - 1, size - 1)]:
            self.assertFalse(opaque[corner], f"corner {corner} is not transparent")
        drawn = sum(opaque.values())
        self.assertTrue(size * size // 3 < drawn < size * size * 9 // 10, drawn)
        # Bottom-up like a bitmap: the paper's narrow top over the printer's wide body.
        widths = [sum(opaque[x, y] for x in range(size)) for y in range(size)]
        rows = [w for w in widths if w]
        self.assertLess(rows[0], rows[-1], widths)

    def test_runs_write_the_same_bytes(self):
        with tempfile.TemporaryDirectory() as other:
            self.assertEqual(run_tool(other, seed="12345").returncode, 0)
            for name in [*BITMAPS, "setup.ico"]:
                with self.subTest(name):
                    with open(os.path.join(other, name), "rb") as f:
                        self.assertEqual(f.read(), self.read(name))


if __name__ == "__main__":
    unittest.main()
