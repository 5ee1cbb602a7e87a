"""Reads .ico files back the way Windows takes them apart; for the tests."""

import struct
import zlib

PNG = b"\x89PNG\r\n\x1a\n"


def read_png(data, w, h):
    """The RGBA PNGs the art script writes (8 bits a channel, no interlace,
    rows unfiltered) as an image of read_ico; it has no mask, and clear is
    where alpha is 0."""
    chunks, p = {}, 8
    while p < len(data):
        n = struct.unpack(">I", data[p:p + 4])[0]
        body = data[p + 4:p + 8 + n]
        if struct.unpack(">I", data[p + 8 + n:p + 12 + n])[0] != \
                zlib.crc32(body):
            raise ValueError("PNG chunk %r: bad CRC" % body[:4])
        chunks[body[:4]] = chunks.get(body[:4], b"") + body[4:]
        p += 12 + n
    if struct.unpack(">IIBBBBB", chunks[b"IHDR"]) != (w, h, 8, 6, 0, 0, 0):
        raise ValueError("PNG header disagrees with directory")
    raw, stride = zlib.decompress(chunks[b"IDAT"]), 4 * w + 1
    if len(raw) != stride * h or any(raw[y * stride] for y in range(h)):
        raise ValueError("PNG rows are not as written")
    rgba = [[tuple(raw[y * stride + 1 + 4 * x:y * stride + 5 + 4 * x])
             for x in range(w)] for y in range(h)]
    return {"w": w, "h": h, "bpp": 32, "colours": 0, "png": True,
            "rgba": rgba, "index": [], "palette": [],
            "clear": [[a == 0 for (_, _, _, a) in row] for row in rgba]}


def read_ico(data):
    """One dict per image: w, h, bpp, colours (directory's colour count),
    rgba (rows top-down of (r, g, b, a); a is 255 in paletted images),
    index (rows of palette indices, paletted images only), palette and
    clear (rows of AND-mask bits, True where the screen shows through) and
    png (stored as a PNG)."""
    reserved, kind, count = struct.unpack("<HHH", data[:6])
    if (reserved, kind) != (0, 1):
        raise ValueError("not an icon")
    images = []
    for i in range(count):
        w, h, colours, _, planes, bpp, size, off = struct.unpack(
            "<BBBBHHII", data[6 + 16 * i:22 + 16 * i])
        w, h = w or 256, h or 256
        if data[off:off + 8] == PNG and bpp == 32:
            images.append(read_png(data[off:off + size], w, h))
            continue
        (hsize, dw, dh, _, dbpp, comp, _, _, _, used,
         _) = struct.unpack("<IiiHHIIiiII", data[off:off + 40])
        if (hsize, dw, dh, dbpp, comp) != (40, w, 2 * h, bpp, 0):
            raise ValueError("image %d: header disagrees with directory" % i)
        if off + size > len(data):
            raise ValueError("image %d runs past the end" % i)
        p = off + 40
        palette = []
        if bpp <= 8:
            for _ in range(used or 1 << bpp):
                b, g, r, _ = data[p:p + 4]
                palette.append((r, g, b))
                p += 4
        stride = ((w * bpp + 31) // 32) * 4
        mstride = ((w + 31) // 32) * 4
        mask_at = p + stride * h
        if mask_at + mstride * h != off + size:
            raise ValueError("image %d: size does not add up" % i)
        rgba, index, clear = [], [], []
        for y in range(h):
            row = data[p + (h - 1 - y) * stride:]
            mrow = data[mask_at + (h - 1 - y) * mstride:]
            clear.append([bool(mrow[x >> 3] & (0x80 >> (x & 7)))
                          for x in range(w)])
            if bpp == 32:
                rgba.append([(row[4 * x + 2], row[4 * x + 1], row[4 * x],
                              row[4 * x + 3]) for x in range(w)])
            elif bpp == 4:
                ix = [(row[x >> 1] >> (0 if x & 1 else 4)) & 15
                      for x in range(w)]
                index.append(ix)
                rgba.append([palette[k] + (255,) for k in ix])
            else:
                raise ValueError("unsupported depth %d" % bpp)
        images.append({"w": w, "h": h, "bpp": bpp, "colours": colours,
                       "rgba": rgba, "index": index, "palette": palette,
                       "clear": clear, "png": False})
    return images
