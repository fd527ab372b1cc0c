"""The smallest PE image a PE reader accepts: headers only, for a given machine, padded to a size."""
import struct

I386, AMD64 = 0x014C, 0x8664


def tiny_pe(machine, size=0):
    """An MZ stub pointing at a PE header for machine with an empty optional header of the
    machine's kind (PE32 for I386, PE32+ otherwise), padded with zeros to size bytes."""
    plus = machine != I386
    optional_size = 0xF0 if plus else 0xE0
    image = b"MZ".ljust(60, b"\0") + struct.pack("<I", 64)
    image += struct.pack("<4sHHIIIHH", b"PE\0\0", machine, 0, 0, 0, 0, optional_size, 0x2102)
    image += struct.pack("<H", 0x20B if plus else 0x10B).ljust(optional_size, b"\0")
    return image.ljust(size, b"\0")
