#!/usr/bin/env python3
"""Writes the picture files the image tests read, byte by byte, with nothing
but the standard library (no imaging package is needed at test time; the
generated files are committed). Run it from any directory:

    python3 tests/data/images/generate.py

Every picture encodes one of two reference pictures whose pixels the tests
probe, so each decoder is checked against known colours:

- the colour picture, 7 x 5: pixel (x, y) = (30x + 10, 50y + 5, 250 - 25x - 20y);
- the palette picture, 11 x 5 (odd widths exercise row padding and packed
  bits): palette index (x + 3y) mod 16 (mod 2 for 1-bit files), palette entry
  i = (16i, 255 - 16i, 37i mod 256).

Broken files are named for what is wrong with them.
"""

import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))


def colour(x, y):
    return (30 * x + 10, 50 * y + 5, 250 - 25 * x - 20 * y)


COLOUR_W, COLOUR_H = 7, 5
PAL_W, PAL_H = 11, 5
PALETTE = [(16 * i, 255 - 16 * i, (37 * i) % 256) for i in range(16)]


def pal_index(x, y, modulo=16):
    return (x + 3 * y) % modulo


def write(name, data):
    with open(os.path.join(HERE, name), "wb") as f:
        f.write(data)


# --- PNG -------------------------------------------------------------------

def png_chunk(kind, body):
    crc = zlib.crc32(kind + body) & 0xFFFFFFFF
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", crc)


def png_file(width, height, depth, colour_type, raw, interlace=0, extra=b""):
    ihdr = struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, interlace)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr) + extra +
            png_chunk(b"IDAT", zlib.compress(raw, 9)) + png_chunk(b"IEND", b""))


def pack_row(samples, depth):
    """Packs samples of `depth` bits (1, 2, 4, 8 or 16) into bytes, MSB first."""
    if depth == 8:
        return bytes(samples)
    if depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    out, acc, bits = bytearray(), 0, 0
    for s in samples:
        acc = (acc << depth) | s
        bits += depth
        if bits == 8:
            out.append(acc)
            acc, bits = 0, 0
    if bits:
        out.append(acc << (8 - bits))
    return bytes(out)


def png_rows(rows, depth):
    """Filter type 0 on every row."""
    return b"".join(b"\x00" + pack_row(r, depth) for r in rows)


def colour_rows(width, height, per_pixel):
    return [[v for x in range(width) for v in per_pixel(x, y)] for y in range(height)]


ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]


def adam7(width, height, per_pixel):
    """The raw interlaced image data: seven passes, each with its own rows."""
    raw = b""
    for x0, y0, dx, dy in ADAM7:
        xs = range(x0, width, dx)
        for y in range(y0, height, dy):
            if len(xs):
                raw += b"\x00" + bytes(v for x in xs for v in per_pixel(x, y))
    return raw


def make_pngs():
    W, H = COLOUR_W, COLOUR_H
    rgb = png_file(W, H, 8, 2, png_rows(colour_rows(W, H, colour), 8))
    write("rgb.png", rgb)
    # Alpha must be ignored: even fully transparent pixels show their colour.
    write("rgba.png", png_file(W, H, 8, 6, png_rows(
        colour_rows(W, H, lambda x, y: colour(x, y) + (40 * x,)), 8)))
    # 16-bit samples v * 257 scale back to exactly v.
    write("rgb16.png", png_file(W, H, 16, 2, png_rows(
        colour_rows(W, H, lambda x, y: tuple(257 * c for c in colour(x, y))), 16)))
    write("grey.png", png_file(W, H, 8, 0, png_rows(
        [[(30 * x + 15 * y) for x in range(W)] for y in range(H)], 8)))
    # 4-bit grey v expands to 17 v.
    write("grey4.png", png_file(W, H, 4, 0, png_rows(
        [[(x + 2 * y) % 16 for x in range(W)] for y in range(H)], 4)))
    write("greyalpha.png", png_file(W, H, 8, 4, png_rows(
        [[v for x in range(W) for v in (30 * x + 15 * y, 255 - 30 * x)] for y in range(H)], 8)))
    # 4-bit palette with a tRNS chunk that makes index 0 fully transparent.
    plte = png_chunk(b"PLTE", b"".join(bytes(c) for c in PALETTE))
    trns = png_chunk(b"tRNS", b"\x00")
    write("palette.png", png_file(PAL_W, PAL_H, 4, 3, png_rows(
        [[pal_index(x, y) for x in range(PAL_W)] for y in range(PAL_H)], 4), extra=plte + trns))
    # 9 x 9 so that every one of the seven passes has pixels:
    # pixel (x, y) = (28x, 28y, 255 - 14x - 14y).
    write("interlaced.png", png_file(9, 9, 8, 2, adam7(9, 9, lambda x, y: (28 * x, 28 * y, 255 - 14 * x - 14 * y)),
                                     interlace=1))

    # Broken ones.
    idat = rgb.index(b"IDAT")
    write("truncated.png", rgb[:idat + 20])
    corrupt = bytearray(rgb)
    corrupt[idat + 10] ^= 0xFF  # compressed data changed, CRC no longer matches
    write("badcrc.png", bytes(corrupt))
    write("notapng.png", b"This is a text file with a picture's name.\r\n")
    # A header claiming 100000 x 100000 pixels in a file of a few bytes.
    write("oversized.png", png_file(100000, 100000, 8, 2, b"\x00" * 16))
    write("empty.png", b"")


# --- GIF -------------------------------------------------------------------

def lzw(indices, min_size):
    """GIF's variable-width LZW, codes packed LSB first."""
    clear, end = 1 << min_size, (1 << min_size) + 1
    size, table, next_code = min_size + 1, {(i,): i for i in range(clear)}, end + 1
    acc, bits, out = 0, 0, bytearray()

    def emit(code):
        nonlocal acc, bits
        acc |= code << bits
        bits += size
        while bits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            bits -= 8

    emit(clear)
    w = ()
    for k in indices:
        if w + (k,) in table:
            w += (k,)
            continue
        emit(table[w])
        if next_code < 4096:
            table[w + (k,)] = next_code
            next_code += 1
            if next_code > (1 << size) and size < 12:
                size += 1
        w = (k,)
    if w:
        emit(table[w])
    emit(end)
    if bits:
        out.append(acc & 0xFF)
    return bytes(out)


def sub_blocks(data):
    out = b""
    for i in range(0, len(data), 255):
        part = data[i:i + 255]
        out += bytes([len(part)]) + part
    return out + b"\x00"


def colour_table(colours, size_bits):
    table = b"".join(bytes(c) for c in colours)
    return table + b"\x00" * (3 * (1 << (size_bits + 1)) - len(table))


def gif_frame(left, top, width, height, indices, transparent=None, local=None, interlace=False,
              min_size=4):
    out = b""
    if transparent is not None:
        out += b"\x21\xF9\x04" + bytes([1, 10, 0, transparent]) + b"\x00"
    flags = 0x40 if interlace else 0
    if local is not None:
        flags |= 0x80 | 3  # 16 entries
    out += b"\x2C" + struct.pack("<HHHHB", left, top, width, height, flags)
    if local is not None:
        out += colour_table(local, 3)
    return out + bytes([min_size]) + sub_blocks(lzw(indices, min_size))


def gif_file(width, height, background, frames, global_colours=PALETTE):
    head = b"GIF89a" + struct.pack("<HHBBB", width, height, 0x80 | 0x70 | 3, background, 0)
    return head + colour_table(global_colours, 3) + b"".join(frames) + b"\x3B"


def pal_indices(width, height):
    return [pal_index(x, y) for y in range(height) for x in range(width)]


def make_gifs():
    W, H = PAL_W, PAL_H
    opaque = gif_file(W, H, 2, [gif_frame(0, 0, W, H, pal_indices(W, H))])
    write("opaque.gif", opaque)
    # Index 5 is transparent: those pixels must show the background (index 9).
    write("transparent.gif", gif_file(W, H, 9, [gif_frame(0, 0, W, H, pal_indices(W, H), transparent=5)]))
    # Three frames; the first covers only (2, 1)..(5, 3) of the screen, the
    # rest is background (index 12). Later frames paint everything and must
    # not show.
    frames = [gif_frame(2, 1, 4, 3, [7] * 12),
              gif_frame(0, 0, W, H, [1] * (W * H)),
              gif_frame(0, 0, W, H, [3] * (W * H))]
    write("frames.gif", gif_file(W, H, 12, frames))
    # An interlaced frame of 3 x 10: row y has index y.
    rows = list(range(10))
    order = [y for start, step in ((0, 8), (4, 8), (2, 4), (1, 2)) for y in range(start, 10, step)]
    write("interlaced.gif", gif_file(3, 10, 0, [gif_frame(0, 0, 3, 10, [rows[y] for y in order for _ in range(3)],
                                                        interlace=True)]))
    # A frame with its own colour table: entry i = (i, 2i, 3i).
    local = [(i, 2 * i, 3 * i) for i in range(16)]
    write("localpalette.gif", gif_file(4, 2, 0, [gif_frame(0, 0, 4, 2, list(range(8)), local=local)]))

    # Broken ones.
    write("truncated.gif", opaque[:len(opaque) // 2])
    # LZW data (5-bit codes) whose third code, 30, names a table entry that
    # does not exist yet: clear, 1, 30, 30, ...
    codes = [16, 1] + [30] * 20
    packed = sum(c << (5 * i) for i, c in enumerate(codes)).to_bytes(5 * len(codes) // 8 + 1, "little")
    bad = b"\x2C" + struct.pack("<HHHHB", 0, 0, W, H, 0) + b"\x04" + sub_blocks(packed)
    write("corrupt.gif", gif_file(W, H, 2, [bad]))
    write("noframe.gif", gif_file(W, H, 2, []))
    write("notagif.gif", b"GIF? no: a text file.\r\n")
    write("oversized.gif", gif_file(65535, 65535, 2, [gif_frame(0, 0, 2, 2, [1, 2, 3, 4])]))
    # The longest sides a GIF can have, one pixel across: stripes of 4096
    # pixels, stripe k in palette index k (the last stripe one pixel short).
    stripes = [i // 4096 for i in range(65535)]
    write("wide.gif", gif_file(65535, 1, 0, [gif_frame(0, 0, 65535, 1, stripes)]))
    write("tall.gif", gif_file(1, 65535, 0, [gif_frame(0, 0, 1, 65535, stripes)]))


# --- BMP -------------------------------------------------------------------

def bmp_file(width, height, bit_count, rows_bottom_up, palette=None, compression=0, header_size=40,
             masks=None, top_down=False, pixel_data=None, core_palette=False):
    """Rows are given bottom row first (as stored) as raw bytes; each is padded."""
    if pixel_data is None:
        pixel_data = b"".join(r + b"\x00" * (-len(r) % 4) for r in rows_bottom_up)
    if header_size == 12:
        header = struct.pack("<IHHHH", 12, width, height, 1, bit_count)
    elif header_size == 16:  # the short OS/2 2.x header: no compression, no palette count
        header = struct.pack("<IiiHH", 16, width, height, 1, bit_count)
    else:
        h = -height if top_down else height
        header = struct.pack("<IiiHHIIiiII", header_size, width, h, 1, bit_count, compression,
                             len(pixel_data), 2835, 2835, len(palette or []), 0)
        if header_size > 40:
            extra = struct.pack("<IIII", *(masks or (0, 0, 0, 0)))
            header += (extra + b"\x00" * header_size)[:header_size - 40]
            masks = None
    table = b""
    if masks is not None:
        table += struct.pack("<III", *masks)
    if palette:
        entry = (lambda c: bytes((c[2], c[1], c[0]))) if core_palette else (lambda c: bytes((c[2], c[1], c[0], 0)))
        table += b"".join(entry(c) for c in palette)
    offset = 14 + len(header) + len(table)
    return b"BM" + struct.pack("<IHHI", offset + len(pixel_data), 0, 0, offset) + header + table + pixel_data


def bits_row(indices, depth):
    return pack_row(indices, depth)


def make_bmps():
    W, H = COLOUR_W, COLOUR_H
    bottom_up = list(reversed(range(H)))

    def bgr(x, y):
        r, g, b = colour(x, y)
        return bytes((b, g, r))

    rows24 = [b"".join(bgr(x, y) for x in range(W)) for y in bottom_up]
    write("rgb24.bmp", bmp_file(W, H, 24, rows24))
    write("topdown.bmp", bmp_file(W, H, 24, [b"".join(bgr(x, y) for x in range(W)) for y in range(H)],
                                  top_down=True))
    rows32 = [b"".join(bgr(x, y) + b"\x7F" for x in range(W)) for y in bottom_up]
    write("rgb32.bmp", bmp_file(W, H, 32, rows32))
    # 32-bit with explicit masks in a version 5 header: red in the low byte.
    rows32m = [b"".join(bytes((colour(x, y)[0], colour(x, y)[1], colour(x, y)[2], 0)) for x in range(W))
               for y in bottom_up]
    write("bitfields32.bmp", bmp_file(W, H, 32, rows32m, compression=3, header_size=124,
                                      masks=(0x000000FF, 0x0000FF00, 0x00FF0000, 0)))
    # 16-bit 5-5-5 (default masks): pixel (x, y) = red 31 - 4x, green 6y, blue x + y.
    rows555 = [b"".join(struct.pack("<H", ((31 - 4 * x) << 10) | ((6 * y) << 5) | (x + y)) for x in range(W))
               for y in bottom_up]
    write("rgb555.bmp", bmp_file(W, H, 16, rows555))
    # 16-bit 5-6-5 given by masks after a 40-byte header: green has 6 bits.
    rows565 = [b"".join(struct.pack("<H", ((31 - 4 * x) << 11) | ((12 * y) << 5) | (x + y)) for x in range(W))
               for y in bottom_up]
    write("rgb565.bmp", bmp_file(W, H, 16, rows565, compression=3, masks=(0xF800, 0x07E0, 0x001F)))

    PW, PH = PAL_W, PAL_H
    pal_bottom_up = list(reversed(range(PH)))
    for depth in (1, 4, 8):
        modulo = 2 if depth == 1 else 16
        rows = [bits_row([pal_index(x, y, modulo) for x in range(PW)], depth) for y in pal_bottom_up]
        write("pal%d.bmp" % depth, bmp_file(PW, PH, depth, rows, palette=PALETTE[:modulo]))
    rows8 = [bits_row([pal_index(x, y) for x in range(PW)], 8) for y in pal_bottom_up]
    rows4 = [bits_row([pal_index(x, y) for x in range(PW)], 4) for y in pal_bottom_up]
    write("os2pal4.bmp", bmp_file(PW, PH, 4, rows4, palette=PALETTE[:16], header_size=16))
    write("core8.bmp", bmp_file(PW, PH, 8, rows8, palette=PALETTE + [(0, 0, 0)] * 240, header_size=12,
                                core_palette=True))

    # Run-length encoded 8-bit: each row as runs of equal indices, with
    # an absolute run for the first row and a move over two pixels.
    def rle8_row(indices):
        out, i = b"", 0
        while i < len(indices):
            j = i
            while j < len(indices) and indices[j] == indices[i]:
                j += 1
            out += bytes((j - i, indices[i]))
            i = j
        return out

    stripes = [[(x // 3 + y) % 16 for x in range(PW)] for y in range(PH)]
    data = b""
    for y in pal_bottom_up:
        if y == PH - 1:  # stored first: literal pixels, padded to a word
            data += bytes((0, PW)) + bytes(stripes[y]) + b"\x00" * (PW % 2)
        elif y == 0:  # stored last: two runs of 4, move right by 2 (keep index 0), then a run of 1
            data += rle8_row(stripes[y][:4]) + rle8_row(stripes[y][4:8]) + b"\x00\x02\x02\x00" + \
                    rle8_row(stripes[y][10:])
        else:
            data += rle8_row(stripes[y])
        data += b"\x00\x00"
    data += b"\x00\x01"
    write("rle8.bmp", bmp_file(PW, PH, 8, None, palette=PALETTE, compression=1, pixel_data=data))
    # 4-bit runs alternate two indices: "11 x 0x5A" gives 5, 10, 5, 10, ...
    data4 = b"".join(bytes((PW, 0x5A)) + b"\x00\x00" for _ in range(PH)) + b"\x00\x01"
    write("rle4.bmp", bmp_file(PW, PH, 4, None, palette=PALETTE, compression=2, pixel_data=data4))

    # Broken ones.
    rgb24 = bmp_file(W, H, 24, rows24)
    write("truncated.bmp", rgb24[:len(rgb24) - 30])
    write("rletruncated.bmp", bmp_file(PW, PH, 8, None, palette=PALETTE, compression=1,
                                       pixel_data=bytes((PW, 3)) + b"\x00\x00" + bytes((0, 9, 1, 2))))
    bad_header = bytearray(rgb24)
    bad_header[14:18] = struct.pack("<I", 77)
    write("badheader.bmp", bytes(bad_header))
    # A header claiming 30000 x 30000 24-bit pixels with 4 bytes of data.
    write("forgedsize.bmp", bmp_file(30000, 30000, 24, None, pixel_data=b"\x00" * 4))
    write("oversized.bmp", bmp_file(100000, 1, 24, None, pixel_data=b"\x00" * 16))
    write("badbitcount.bmp", bmp_file(W, H, 7, rows24))
    write("notabmp.bmp", b"BX not a bitmap")


def make_large():
    """A 100 x 100 24-bit bitmap for the zoom and clipping tests: pixel (x, y)
    = (2x, 2y, (x * y) mod 256)."""
    rows = [b"".join(bytes(((x * y) % 256, 2 * y, 2 * x)) for x in range(100)) for y in reversed(range(100))]
    write("gradient100.bmp", bmp_file(100, 100, 24, rows))


if __name__ == "__main__":
    make_pngs()
    make_gifs()
    make_bmps()
    make_large()
    sys.exit(0)
