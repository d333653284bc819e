#!/usr/bin/env python3
"""Lists a skin archive for review and can draw a contact sheet of its images.

    list_skin_archive.py ARCHIVE.zip [--sheet OUT.png]

One line per entry in archive order: index, name, method, packed and unpacked size, and for
PNG files the pixel size and colour type read from the PNG header. The listing needs only
the standard library; the contact sheet needs PIL (python3-pil) and the WenQuanYi font.
"""

import argparse
import struct
import sys
import zipfile
import zlib

METHODS = {zipfile.ZIP_STORED: "stored", zipfile.ZIP_DEFLATED: "deflated"}
PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"
PNG_COLOUR_TYPES = {0: "grey", 2: "RGB", 3: "palette", 4: "grey+alpha", 6: "RGBA"}


def png_header(data):
    """Returns (width, height, bit depth, colour type name) of a PNG, or None for other data."""
    if len(data) < 29 or not data.startswith(PNG_SIGNATURE) or data[12:16] != b"IHDR":
        return None
    width, height, depth, colour = struct.unpack(">IIBB", data[16:26])
    return width, height, depth, PNG_COLOUR_TYPES.get(colour, f"type {colour}")


def listing(archive):
    lines = [f"{'#':>2}  {'name':20} {'method':9} {'packed':>8} {'size':>8}  image"]
    for index, info in enumerate(archive.infolist()):
        header = png_header(archive.read(info)) if info.filename.endswith(".png") else None
        image = f"{header[0]} x {header[1]}, {header[2]}-bit {header[3]}" if header else ""
        method = METHODS.get(info.compress_type, f"method {info.compress_type}")
        lines.append(f"{index:>2}  {info.filename:20} {method:9} {info.compress_size:>8} "
                     f"{info.file_size:>8}  {image}")
    return "\n".join(lines)


def contact_sheet(archive, output):
    """A grid of every PNG entry on a mid-grey ground, each thumbnail labelled with its name
    and pixel size."""
    import io
    from PIL import Image, ImageDraw, ImageFont

    label_font = ImageFont.truetype("/usr/share/fonts/truetype/wqy/wqy-microhei.ttc", 13)
    cell_w, cell_h, thumb_h, columns = 260, 200, 150, 5
    entries = [i for i in archive.infolist() if i.filename.endswith(".png")]
    rows = (len(entries) + columns - 1) // columns
    sheet = Image.new("RGBA", (cell_w * columns, cell_h * rows), (0x5A, 0x5F, 0x66, 255))
    draw = ImageDraw.Draw(sheet)
    for n, info in enumerate(entries):
        image = Image.open(io.BytesIO(archive.read(info))).convert("RGBA")
        scale = min((cell_w - 20) / image.width, thumb_h / image.height, 1.0)
        thumb = image.resize((max(1, round(image.width * scale)), max(1, round(image.height * scale))),
                             Image.LANCZOS)
        x0, y0 = (n % columns) * cell_w, (n // columns) * cell_h
        sheet.alpha_composite(thumb, (x0 + (cell_w - thumb.width) // 2,
                                      y0 + 10 + (thumb_h - thumb.height) // 2))
        caption = f"{info.filename}  {image.width}x{image.height}"
        draw.text((x0 + cell_w // 2, y0 + thumb_h + 30), caption, font=label_font,
                  fill=(255, 255, 255, 255), anchor="mm")
    sheet.save(output, optimize=True)


def main(argv):
    parser = argparse.ArgumentParser(description="Lists a skin archive.")
    parser.add_argument("archive")
    parser.add_argument("--sheet", help="write a contact sheet of the images to this PNG")
    args = parser.parse_args(argv)
    try:
        with zipfile.ZipFile(args.archive) as archive:
            print(listing(archive))
            if args.sheet:
                contact_sheet(archive, args.sheet)
    except (OSError, zipfile.BadZipFile, zlib.error, NotImplementedError) as error:
        # A damaged entry (bad checksum, broken deflate data, unknown method) names the fault.
        print(f"list_skin_archive: {error}", file=sys.stderr)
        return 1
    except ImportError:
        print("list_skin_archive: the contact sheet needs PIL (Debian: python3-pil); "
              "run it with the system's python3", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
