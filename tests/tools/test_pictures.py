"""The wizard's pictures (sources under res/, drawn once and kept as they are) in the forms the
dialogs and every supported Windows take: the welcome and header pictures at the sizes their
pages show them, as 8-bit palette bitmaps; the application icon at 32 x 32 and 16 x 16, each
image a bitmap (Windows before Vista cannot read PNG images in an icon). Read with Pillow
(Debian: python3-pil)."""
import os
import sys
import unittest

from PIL import Image

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "res")


def picture(name):
    return Image.open(os.path.join(RES, name))


class ThePictures(unittest.TestCase):
    def test_the_page_pictures_are_8_bit_bitmaps_of_their_sizes(self):
        for name, size in (("welcome.bmp", (164, 314)), ("header.bmp", (53, 53))):
            with picture(name) as bitmap:
                self.assertEqual((bitmap.format, bitmap.mode, bitmap.size), ("BMP", "P", size), name)

    def test_the_icon_holds_both_sizes_as_8_bit_bitmaps(self):
        with picture("setup.ico") as icon:
            entries = icon.ico.entry
            self.assertEqual(sorted((entry["dim"], entry["bpp"]) for entry in entries),
                             [((16, 16), 8), ((32, 32), 8)])
            self.assertEqual([icon.ico.frame(i).format for i in range(len(entries))], [None, None],
                             "an image stored as PNG")


if __name__ == "__main__":
    sys.exit(unittest.main())
