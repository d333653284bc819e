#!/usr/bin/env python3
"""Writes the zip reader's test archives into the folder given as the only argument.

Archives come from the real tools (Info-ZIP zip, Python's zipfile); the damaged ones are
copies of a small zipfile archive with single fields changed. The files they were made from
are left in <folder>/src so the tests can compare contents.
"""
import io
import os
import random
import struct
import subprocess
import sys
import zipfile
import zlib

MTIME = 1600000000  # 2020-09-13 12:26:40 UTC, an even second (DOS times have 2 s steps)
ATIME = 1500000000
STREAM_DATE = (2019, 4, 1, 8, 30, 12)


def options_xml():
    rows = "".join(f'  <Button name="button{i}" pos="{i},{i * 2},{i + 80},{i + 30}"/>\n'
                   for i in range(120))
    return ('<?xml version="1.0" encoding="utf-8"?>\n<Window size="560,380">\n'
            + rows + "</Window>\n").encode()


def picture_bytes():
    rng = random.Random(7)
    noise = bytes(rng.randrange(256) for _ in range(6000))
    return noise + bytes(range(256)) * 40


def write_sources(src):
    os.makedirs(os.path.join(src, "images"), exist_ok=True)
    files = {"options.xml": options_xml(), "images/bg.png": picture_bytes(),
             "readonly.txt": b"do not touch\n"}
    for name, data in files.items():
        path = os.path.join(src, name)
        if os.path.exists(path):
            os.chmod(path, 0o644)
        with open(path, "wb") as f:
            f.write(data)
        os.utime(path, (ATIME, MTIME))
    os.chmod(os.path.join(src, "readonly.txt"), 0o444)
    os.utime(os.path.join(src, "images"), (ATIME, MTIME))


def run_zip(out, src, *flags):
    target = os.path.abspath(out)
    if os.path.exists(target):
        os.remove(target)
    env = dict(os.environ, TZ="UTC")
    subprocess.run(["zip", "-q", "-r", *flags, target, "options.xml", "images", "readonly.txt"],
                   cwd=src, env=env, check=True)


class Unseekable(io.RawIOBase):
    """A write-only stream without tell/seek: zipfile then writes data descriptors."""

    def __init__(self):
        self.data = bytearray()

    def writable(self):
        return True

    def write(self, b):
        self.data += b
        return len(b)


def stream_zip():
    sink = Unseekable()
    content = options_xml()
    with zipfile.ZipFile(sink, "w") as z:
        for name, method in (("same_stored.xml", zipfile.ZIP_STORED),
                             ("same_deflated.xml", zipfile.ZIP_DEFLATED)):
            info = zipfile.ZipInfo(name, STREAM_DATE)
            info.compress_type = method
            z.writestr(info, content)
    return bytes(sink.data)


def python_zip(entries, comment=b""):
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w") as z:
        for name, data, method in entries:
            info = zipfile.ZipInfo(name, STREAM_DATE)
            info.compress_type = method
            z.writestr(info, data)
        z.comment = comment
    return buffer.getvalue()


def base_zip():
    """Two entries: a.txt deflated, b.txt stored. Offsets are found from the records."""
    return python_zip([("a.txt", options_xml(), zipfile.ZIP_DEFLATED),
                       ("b.txt", b"stored bytes\n", zipfile.ZIP_STORED)])


def end_record_at(data):
    return data.rindex(b"PK\x05\x06")


def central_at(data, n):
    position = data.index(b"PK\x01\x02")
    for _ in range(n):
        name, extra, comment = struct.unpack_from("<HHH", data, position + 28)
        position += 46 + name + extra + comment
    return position


def patch(data, offset, fmt, value):
    data = bytearray(data)
    struct.pack_into(fmt, data, offset, value)
    return bytes(data)


def damaged_archives():
    base = base_zip()
    end = end_record_at(base)
    first_central = central_at(base, 0)
    second_central = central_at(base, 1)
    data_start = 30 + len("a.txt")
    crc = struct.unpack_from("<I", base, first_central + 16)[0]
    bad_crc = patch(patch(base, 14, "<I", crc ^ 1), first_central + 16, "<I", crc ^ 1)
    return {
        "base.zip": base,
        "counts_differ.zip": patch(base, end + 8, "<H", 1),
        "directory_past_end.zip": patch(base, end + 16,
                                        "<I", struct.unpack_from("<I", base, end + 16)[0] + 40),
        "local_mismatch.zip": patch(base, 18, "<I", struct.unpack_from("<I", base, 18)[0] + 1),
        # 0xFF starts a final block of the reserved type 3: inflate must fail there.
        "bad_deflate.zip": patch(base, data_start, "<B", 0xFF),
        "bad_crc.zip": bad_crc,
        "bad_second_record.zip": patch(base, second_central, "<I", 0x12345678),
        "local_offset_past_end.zip": patch(base, second_central + 42, "<I", 0x7FFFFFF0),
        "sizes_past_2gib.zip": sizes_past_2gib(base, first_central, second_central),
        "not_a_zip.bin": bytes(random.Random(3).randrange(256) for _ in range(5000)),
    }


def sizes_past_2gib(base, first_central, second_central):
    """a.txt claims 0xF0000000 bytes inflated, b.txt (stored) 0x80000010 bytes; local headers
    and directory agree, so only the sizes themselves are wrong."""
    second_local = struct.unpack_from("<I", base, second_central + 42)[0]
    data = patch(base, 22, "<I", 0xF0000000)
    data = patch(data, first_central + 24, "<I", 0xF0000000)
    for field in (18, 22):
        data = patch(data, second_local + field, "<I", 0x80000010)
        data = patch(data, second_central + field + 2, "<I", 0x80000010)
    return data


def long_names_zip():
    long_name = "L" * 255 + "x" * 45
    return python_zip([(long_name, b"long\n", zipfile.ZIP_DEFLATED),
                       ("L" * 200, b"two hundred\n", zipfile.ZIP_STORED)])


def cp936_zip():
    """A name stored in code page 936 whose second byte is a backslash (0x5C)."""
    buffer = io.BytesIO()
    with zipfile.ZipFile(buffer, "w") as z:
        z.writestr(zipfile.ZipInfo("abcd/x.txt", STREAM_DATE), b"cp936\n")
    # The same length in GBK: U+4E57 is 0x81 0x5C, U+56FE is 0xCD 0xBC.
    return buffer.getvalue().replace(b"abcd/x.txt", "\u4e57\u56fe/x.txt".encode("gbk"))


LARGE_ZEROS = (1 << 31) + (1 << 20)  # a stored entry just past 2 GiB
LARGE_TAIL = b"behind two gibibytes\n"


def crc_of_zeros(count):
    crc, block = 0, bytes(1 << 20)
    for _ in range(count // len(block)):
        crc = zlib.crc32(block, crc)
    return zlib.crc32(bytes(count % len(block)), crc)


def write_large_archive(path):
    """A stored entry of 2 GiB + 1 MiB of zeros (a sparse hole on disk), then a small entry,
    the central directory and the end record, all at offsets past 2^31. Checked afterwards
    with Python's zipfile, so the test reads an archive another reader agrees with."""
    dos_time, dos_date = 0x6000, 0x5021
    entries, offset = [], 0
    with open(path, "wb") as f:
        for name, size, crc, data in (("zeros.bin", LARGE_ZEROS, crc_of_zeros(LARGE_ZEROS), None),
                                      ("tail.txt", len(LARGE_TAIL), zlib.crc32(LARGE_TAIL),
                                       LARGE_TAIL)):
            encoded = name.encode()
            f.write(struct.pack("<IHHHHHIIIHH", 0x04034B50, 10, 0, 0, dos_time, dos_date,
                                crc, size, size, len(encoded), 0) + encoded)
            if data is None:
                f.seek(size, os.SEEK_CUR)
            else:
                f.write(data)
            entries.append((encoded, size, crc, offset))
            offset = f.tell()
        directory = b"".join(
            struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 10, 0, 0, dos_time, dos_date,
                        crc, size, size, len(encoded), 0, 0, 0, 0, 0, at) + encoded
            for encoded, size, crc, at in entries)
        f.write(directory + struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries),
                                        len(entries), len(directory), offset, 0))
    with zipfile.ZipFile(path) as z:
        infos = {info.filename: info for info in z.infolist()}
        assert infos["zeros.bin"].file_size == LARGE_ZEROS
        assert infos["tail.txt"].header_offset > 1 << 31
        assert z.read("tail.txt") == LARGE_TAIL


def main():
    out = sys.argv[1]
    src = os.path.join(out, "src")
    os.makedirs(out, exist_ok=True)
    write_sources(src)
    run_zip(os.path.join(out, "tool_deflated.zip"), src, "-9")
    run_zip(os.path.join(out, "tool_stored.zip"), src, "-0")
    run_zip(os.path.join(out, "tool_plain.zip"), src, "-9", "-X", "-D")
    run_zip(os.path.join(out, "encrypted.zip"), src, "-P", "secret")
    archives = damaged_archives()
    with open(os.path.join(out, "tool_deflated.zip"), "rb") as f:
        tool = f.read()
    archives["appended.zip"] = b"MZ" + bytes(range(256)) * 12 + tool
    archives["commented.zip"] = python_zip([("note.txt", b"note\n", zipfile.ZIP_DEFLATED)],
                                           comment=b"c" * 60000)
    archives["empty.zip"] = python_zip([])
    archives["stream.zip"] = stream_zip()
    archives["long_names.zip"] = long_names_zip()
    archives["cp936.zip"] = cp936_zip()
    for name, data in archives.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
    write_large_archive(os.path.join(out, "past_2gib.zip"))


if __name__ == "__main__":
    main()
