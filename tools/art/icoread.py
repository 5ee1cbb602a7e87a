"""Reads .ico files back the way Windows takes them apart; for the tests."""

import struct


def read_ico(data):
    """One dict per image: w, h, bpp, colours (directory's colour count),
    rgba (rows top-down of (r, g, b, a); a is 255 in paletted images),
    index (rows of palette indices, paletted images only), palette and
    clear (rows of AND-mask bits, True where the screen shows through)."""
    reserved, kind, count = struct.unpack("<HHH", data[:6])
    if (reserved, kind) != (0, 1):
        raise ValueError("not an icon")
    images = []
    for i in range(count):
        w, h, colours, _, planes, bpp, size, off = struct.unpack(
            "<BBBBHHII", data[6 + 16 * i:22 + 16 * i])
        w, h = w or 256, h or 256
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
                       "clear": clear})
    return images
