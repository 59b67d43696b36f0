#!/usr/bin/env python3
"""Writes the fuzzers' seed inputs into tests/fuzz/corpus/<target>/.

    python3 tests/fuzz/make_corpus.py

The seeds are small and kept in the repository; scripts/fuzz works on a copy
of them under build/fuzz, so running the fuzzers never changes these files.
The two cursor files are copied from resources/.
"""

import os
import shutil
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))


def directory(kind, width, height, field_a, field_b, size, offset, count=1):
    """An .ico/.cur header and its first directory entry (22 bytes)."""
    return struct.pack("<HHH", 0, kind, count) + struct.pack(
        "<BBBBHHII", width, height, 0, 0, field_a, field_b, size, offset)


def info_header(width, height, bit_count):
    """A 40-byte BITMAPINFOHEADER."""
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bit_count, 0, 0, 0, 0, 0, 0)


def tiny_cursor():
    # 1 x 1, 32 bits per pixel: header, one pixel, one row of AND mask.
    image = info_header(1, 2, 32) + b"\x00\x00\xff\xff" + b"\x00\x00\x00\x00"
    return directory(2, 1, 1, 0, 0, len(image), 22) + image


def tiny_icon():
    image = info_header(1, 2, 32) + b"\xff\x00\x00\xff" + b"\x00\x00\x00\x00"
    return directory(1, 1, 1, 1, 32, len(image), 22) + image


def tiny_bmp(bits_offset=None):
    # 1 x 1, 24 bits per pixel, the row padded to four bytes.
    dib = info_header(1, 1, 24) + b"\x00\x00\xff\x00"
    offset = 14 + 40 if bits_offset is None else bits_offset
    return b"BM" + struct.pack("<IHHI", 14 + len(dib), 0, 0, offset) + dib


def text_seeds():
    return {
        "plus_then_letters": b" +12abc",
        "minus_five": b"-5",
        "wraps_past_2_32": b"4294967297",
        "int_min": b"\t\n-2147483648",
        "just_past_int_max": b"2147483648",
        "empty": b"",
        "sign_only": b"  +",
        "leading_zeros": b"\v\f007",
        "twenty_digits": b"99999999999999999999",
        "zero_inside": b"12\x0034",
        "two_signs": b"+-3",
        "gbk_bytes": b"\xb5\xe3\xbb\xf7 12",
    }


def pointer_seeds():
    read = lambda name: open(os.path.join(ROOT, "resources", name), "rb").read()
    good = tiny_cursor()
    return {
        "crosshair.cur": read("crosshair.cur"),
        "idle.cur": read("idle.cur"),
        "tiny.cur": good,
        "tiny.ico": tiny_icon(),
        "code_crosshair": struct.pack("<i", 2),
        "code_hand_one_byte": b"\x0e",
        "code_ten_bytes": struct.pack("<i", 99) + bytes(6),
        "code_negative": struct.pack("<i", -1),
        # The directory says the image starts past the end of the file.
        "offset_past_end.cur": directory(2, 32, 32, 15, 15, 40, 4096) + bytes(40),
        # Offset plus size overflows 32 bits.
        "size_wraps.cur": directory(2, 32, 32, 1, 1, 0x30, 0xFFFFFFF0) + bytes(48),
        "truncated_header.cur": good[:12],
        "no_images.cur": directory(2, 1, 1, 0, 0, len(good) - 22, 22, count=0) + good[22:],
    }


def picture_seeds():
    good_icon = tiny_icon()
    return {
        "tiny.bmp": tiny_bmp(),
        "bits_at_end.bmp": tiny_bmp(bits_offset=len(tiny_bmp())),
        "bits_inside_header.bmp": tiny_bmp(bits_offset=20),
        "header_too_big.bmp": tiny_bmp()[:14] + struct.pack("<I", 0xFFFFFFFF) + tiny_bmp()[18:],
        "tiny.ico": good_icon,
        "tiny.cur": tiny_cursor(),
        "truncated_header.ico": good_icon[:9],
        "offset_past_end.ico": directory(1, 0, 0, 1, 32, 40, 100) + bytes(40),
        "magic.jpg": b"\xff\xd8\xff\xe0\x00\x10JFIF\x00",
        "magic.gif": b"GIF89a\x01\x00\x01\x00\x00\x00\x00",
        "magic.pcx": b"\x0a\x05\x01\x08",
    }


def write(target, seeds):
    folder = os.path.join(HERE, "corpus", target)
    if os.path.isdir(folder):
        shutil.rmtree(folder)
    os.makedirs(folder)
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


def main():
    write("fuzz_text_to_int", text_seeds())
    write("fuzz_pointer_bytes", pointer_seeds())
    write("fuzz_picture_bytes", picture_seeds())


if __name__ == "__main__":
    main()
