#!/usr/bin/env python3
"""Writes the bad-input corpus that the robustness tests and the fuzzers start from, the files of
tests/corpus/files that tests/corpus/expectations.tsv describes.

PNG and SVG files are written byte by byte here (Python's zlib, gzip and struct), so that every
odd layout, chunk, header and markup can be had exactly; JPEG, WebP and TIFF files come from
ImageMagick's convert (Debian's imagemagick). Nothing is downloaded.
Usage: scripts/make_corpus.py OUTDIR [CONVERT]
"""
import gzip
import os
import struct
import subprocess
import sys
import zlib

out = sys.argv[1]
convert = sys.argv[2] if len(sys.argv) > 2 else "/usr/bin/convert"
os.makedirs(out, exist_ok=True)


def write(name, data):
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)


def chunk(kind, data, crc=None):
    body = kind + data
    if crc is None:
        crc = zlib.crc32(body) & 0xFFFFFFFF
    return struct.pack(">I", len(data)) + body + struct.pack(">I", crc)


def adam7_passes(width, height):
    for x0, y0, dx, dy in ((0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
                           (0, 1, 1, 2)):
        xs = list(range(x0, width, dx))
        ys = list(range(y0, height, dy))
        if xs and ys:
            yield xs, ys


def png(width, height, colour_type, bit_depth, pixel, extra=b"", interlaced=False, idat=None):
    """A PNG whose pixel(x, y) gives the samples of one pixel as a tuple of ints."""
    channels = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}[colour_type]

    def row_bytes(xs, y):
        if bit_depth == 16:
            return b"".join(struct.pack(">" + "H" * channels, *pixel(x, y)) for x in xs)
        if bit_depth == 8:
            return bytes(v for x in xs for v in pixel(x, y))
        # packed samples, most significant bits first
        bits = "".join(format(pixel(x, y)[0], "0%db" % bit_depth) for x in xs)
        bits += "0" * (-len(bits) % 8)
        return int(bits, 2).to_bytes(len(bits) // 8, "big") if bits else b""

    raw = b""
    if idat is not None:
        pass
    elif interlaced:
        for xs, ys in adam7_passes(width, height):
            for y in ys:
                raw += b"\0" + row_bytes(xs, y)
    else:
        for y in range(height):
            raw += b"\0" + row_bytes(range(width), y)
    header = struct.pack(">IIBBBBB", width, height, bit_depth, colour_type, 0, 0, 1 if interlaced else 0)
    data = zlib.compress(raw) if idat is None else idat
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + extra + chunk(b"IDAT", data) + chunk(b"IEND", b"")


def gradient(width, height, alpha=None):
    def pixel(x, y):
        rgb = (x * 255 // max(1, width - 1), y * 255 // max(1, height - 1), (x + y) * 7 % 256)
        return rgb if alpha is None else rgb + (alpha(x, y),)
    return pixel


def s15(v):
    return struct.pack(">i", round(v * 65536))


def display_p3_profile():
    """A matrix/TRC ICC v2 profile with Display P3's primaries (adapted to D50) and a 2.2 curve."""
    def xyz(x, y, z):
        return b"XYZ \0\0\0\0" + s15(x) + s15(y) + s15(z)
    desc_text = b"Display P3 (corpus)\0"
    tags = [
        (b"desc", b"desc\0\0\0\0" + struct.pack(">I", len(desc_text)) + desc_text + b"\0" * 8 + b"\0" * 3 + b"\0" * 67),
        (b"wtpt", xyz(0.9642, 1.0, 0.8249)),
        (b"rXYZ", xyz(0.5151, 0.2412, -0.0011)),
        (b"gXYZ", xyz(0.2920, 0.6922, 0.0419)),
        (b"bXYZ", xyz(0.1571, 0.0666, 0.7841)),
        (b"rTRC", b"curv\0\0\0\0" + struct.pack(">IH", 1, 0x0233) + b"\0\0"),
        (b"cprt", b"text\0\0\0\0" + b"No copyright, test data\0"),
    ]
    tags.append((b"gTRC", tags[5][1]))
    tags.append((b"bTRC", tags[5][1]))
    table_size = 4 + 12 * len(tags)
    offset = 128 + table_size
    table = struct.pack(">I", len(tags))
    body = b""
    for sig, data in tags:
        while len(data) % 4:
            data += b"\0"
        table += sig + struct.pack(">II", offset + len(body), len(data))
        body += data
    size = 128 + table_size + len(body)
    header = (struct.pack(">I", size) + b"\0\0\0\0" + struct.pack(">I", 0x02100000) + b"mntrRGB XYZ " +
              b"\0" * 12 + b"acsp" + b"\0" * 24 + struct.pack(">I", 0) + s15(0.9642) + s15(1.0) + s15(0.8249) +
              b"\0" * 48)
    assert len(header) == 128
    return header + table + body


# Files that are no image, or a damaged one.
write("zero-bytes.png", b"")
write("text-named.png", b"This is a text file that someone named like a picture.\n")
good = png(64, 48, 6, 8, gradient(64, 48, lambda x, y: 255 if x > 8 else x * 28))
write("bad-crc.png", good[:33] + chunk(b"IDAT", zlib.compress(b"\0" * (1 + 64 * 4) * 48), crc=0xDEADBEEF) +
      chunk(b"IEND", b""))
for cut in (8, 20, 33, 60, len(good) // 2, len(good) - 13):
    write(f"truncated-{cut}.png", good[:cut])
# A header claiming 100000 × 100000 pixels over a few bytes of data: a decompression bomb.
bomb_idat = zlib.compress(b"\0" * 100001 * 16)
write("bomb-100000x100000.png", png(100000, 100000, 0, 8, None, idat=bomb_idat))

# Odd sizes: the image set's thirds of these are under one pixel.
write("size-1x1.png", png(1, 1, 6, 8, lambda x, y: (200, 30, 40, 255)))
write("size-2x2.png", png(2, 2, 2, 8, gradient(2, 2)))
write("size-2x900.png", png(2, 900, 2, 8, gradient(2, 900)))
write("size-3x3.png", png(3, 3, 2, 8, gradient(3, 3)))

# Every layout a PNG may have.
write("rgba16.png", png(40, 30, 6, 16, lambda x, y: (x * 1600, y * 2100, 30000, 65535 if x > 4 else x * 9000)))
write("rgb16.png", png(40, 30, 2, 16, lambda x, y: (x * 1600, y * 2100, 30000)))
write("grey.png", png(40, 30, 0, 8, lambda x, y: ((x * 6) % 256,)))
write("grey-2bit.png", png(40, 30, 0, 2, lambda x, y: ((x + y) % 4,)))
write("grey-alpha.png", png(40, 30, 4, 8, lambda x, y: ((x * 6) % 256, 255 if y > 5 else y * 40)))
palette = bytes(v for i in range(16) for v in (i * 16, 255 - i * 16, (i * 40) % 256))
write("palette.png", png(40, 30, 3, 8, lambda x, y: ((x + y) % 16,), extra=chunk(b"PLTE", palette)))
write("palette-trns.png", png(40, 30, 3, 4, lambda x, y: ((x + y) % 16,),
                              extra=chunk(b"PLTE", palette) + chunk(b"tRNS", bytes([0, 128] + [255] * 14))))
write("interlaced.png", png(41, 29, 6, 8, gradient(41, 29, lambda x, y: 255 if y > 3 else 100), interlaced=True))
icc = display_p3_profile()
write("display-p3.png", png(40, 30, 2, 8, lambda x, y: (255, 0, 0) if x < 20 else (0, 255, 0),
                            extra=chunk(b"iCCP", b"Display P3\0\0" + zlib.compress(icc))))

# File names a user may well have.
named = png(30, 30, 2, 8, gradient(30, 30))
for name in ("with space.png", "naïve café.png", "app.icon.final.png", ".hidden.png", "UPPER.PNG"):
    write(name, named)

# JPEG variants from ImageMagick: a photograph-like gradient whose top left corner is red, so
# that a test can tell where the corner ended up after the EXIF orientation was applied.
seed = os.path.join(out, "seed.ppm")
with open(seed, "wb") as f:
    width, height = 60, 40
    f.write(b"P6 %d %d 255\n" % (width, height))
    f.write(bytes(v for y in range(height) for x in range(width)
                  for v in ((255, 0, 0) if x < 10 and y < 10 else (x * 4, y * 6, 128))))


def im(*args):
    subprocess.run([convert, *args], check=True)


im(seed, "-quality", "92", os.path.join(out, "baseline.jpg"))
im(seed, "-quality", "92", "-interlace", "Plane", os.path.join(out, "progressive.jpg"))
im(seed, "-quality", "92", "-colorspace", "CMYK", os.path.join(out, "cmyk.jpg"))
with open(os.path.join(out, "baseline.jpg"), "rb") as f:
    jpeg = f.read()
for orientation in range(1, 9):
    # An APP1 segment right after SOI: "Exif", a little-endian TIFF header and one IFD whose
    # single entry is the orientation tag.
    tiff = b"II*\0" + struct.pack("<I", 8) + struct.pack("<H", 1) + struct.pack("<HHIHH", 0x0112, 3, 1, orientation, 0)
    tiff += struct.pack("<I", 0)
    app1 = b"Exif\0\0" + tiff
    write(f"exif-orientation-{orientation}.jpg", jpeg[:2] + b"\xff\xe1" + struct.pack(">H", len(app1) + 2) + app1 + jpeg[2:])
for cut in (2, 100, len(jpeg) // 2, len(jpeg) - 2):
    write(f"truncated-{cut}.jpg", jpeg[:cut])
# WebP, lossless with an alpha channel and lossy without one; TIFF under a PNG's name.
with open(seed, "wb") as f:
    f.write(b"P6 40 30 255\n" + bytes(v for y in range(30) for x in range(40) for v in (x * 6, y * 8, 90)))
im(seed, "-alpha", "set", "-channel", "A", "-fx", "i < 4 ? 0 : 1", "+channel", "-define", "webp:lossless=true",
   os.path.join(out, "alpha.webp"))
im(seed, "-quality", "80", os.path.join(out, "opaque.webp"))
im(seed, "-resize", "20x20!", "-compress", "none", "tiff:" + os.path.join(out, "tiff-named.png"))
os.remove(seed)

# A PNG under a JPEG's name: the content decides.
write("png-named.jpg", png(3, 3, 2, 8, gradient(3, 3)))
# A panorama far wider than any side of an icon.
write("panorama-40000x10.png", png(40000, 10, 2, 8, lambda x, y: (0, 80, 200)))

# SVG documents: drawings, and what must be refused or cut out before anything is drawn.
drawing = b"""<?xml version="1.0" encoding="UTF-8"?>
<svg xmlns="http://www.w3.org/2000/svg" width="48" height="32" viewBox="0 0 96 64">
  <rect width="96" height="64" fill="#3060c0"/>
  <rect width="20" height="20" fill="#ff0000"/>
  <circle cx="60" cy="36" r="20" fill="#ffffff" fill-opacity="0.8"/>
</svg>
"""
write("vector.svg", drawing)
write("vector.svgz", gzip.compress(drawing, mtime=0))
write("viewbox-only.svg", b'<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 30 20">'
      b'<circle cx="15" cy="10" r="9" fill="#20a040"/></svg>\n')
write("external-reference.svg", b"""<?xml version="1.0" encoding="UTF-8"?>
<?xml-stylesheet type="text/css" href="stolen.css"?>
<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="40" height="40">
  <style>@import url("stolen.css");</style>
  <image xlink:href="size-3x3.png" width="40" height="40"/>
  <image href="file:///etc/hostname" width="40" height="40"/>
  <rect x="10" y="10" width="20" height="20" fill="#123456"/>
</svg>
""")
entities = b"".join(b' <!ENTITY %c "%s">\n' % (ord(name), (b"&%c;" % (ord(name) - 1)) * 10 if name != "a" else b"a" * 10)
                    for name in "abcdefg")
write("entity-bomb.svg", b'<?xml version="1.0"?>\n<!DOCTYPE svg [\n' + entities +
      b']>\n<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10"><desc>&g;</desc></svg>\n')
write("deep-nesting.svg", b'<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10">' + b"<g>" * 3000 +
      b'<rect width="5" height="5"/>' + b"</g>" * 3000 + b"</svg>\n")
write("huge-declared.svg", b'<svg xmlns="http://www.w3.org/2000/svg" width="1000000000" height="1000000000">'
      b'<rect width="5" height="5"/></svg>\n')
write("html-named.svg", b"<html><body>not a drawing</body></html>\n")
write("cut-off.svg", b'<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10"><rect width="5"\n')
write("text-compressed.svgz", gzip.compress(b"just some text, compressed\n", compresslevel=6, mtime=0))
