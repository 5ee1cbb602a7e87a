"""Pinvel's alarm chime, synthesized and stored as 4-bit MS ADPCM WAVE.

The alarm loops the clip for several seconds, so the chime starts from
silence and dies away to silence again: the loop point must not click.
Everything is integer or plain float arithmetic so the bytes come out the
same on every build.
"""

import math
import struct

RATE = 22050
BLOCK_ALIGN = 512
LENGTH = 22060              # a whole number of nibble pairs, about 1.0 s
PEAK_DBFS = -6.0

ADAPTATION = (230, 230, 230, 230, 307, 409, 512, 614,
              768, 614, 512, 409, 307, 230, 230, 230)
COEFFICIENTS = ((256, 0), (512, -256), (0, 0), (192, 64),
                (240, 0), (460, -208), (392, -232))
MIN_DELTA = 16
HEADER = 7                  # predictor, delta, sample 1, sample 2


def samples_per_block(block_align=BLOCK_ALIGN):
    return (block_align - HEADER) * 2 + 2


# ------------------------------------------------------------------ chime

# (start s, fundamental Hz, loudness): a falling major third, ding-dong.
NOTES = ((0.002, 880.0, 1.0), (0.300, 698.46, 0.9))
# (frequency ratio, amplitude, decay time constant s).  The slight detuning
# of the upper partials gives a gentle shimmer; they fade faster than the
# fundamental, which is what makes it sound struck rather than bowed.
PARTIALS = ((1.0, 1.0, 0.20), (2.005, 0.30, 0.09), (3.012, 0.10, 0.05))
ATTACK = 0.006              # long enough not to click, short enough to ring
TAIL = 0.080                # final fade so the loop joins at silence


def chime(length=LENGTH, rate=RATE, peak_dbfs=PEAK_DBFS):
    """The ding-dong as 16-bit integers, normalised to peak_dbfs."""
    out = [0.0] * length
    for start, freq, loud in NOTES:
        first = int(math.ceil(start * rate))
        for i in range(first, length):
            t = i / rate - start
            env = 1.0
            if t < ATTACK:
                env = 0.5 - 0.5 * math.cos(math.pi * t / ATTACK)
            w = 2 * math.pi * freq * t
            v = 0.0
            for ratio, amp, tau in PARTIALS:
                v += amp * math.exp(-t / tau) * math.sin(w * ratio)
            out[i] += loud * env * v
    fade = int(TAIL * rate)
    for k in range(fade):
        out[length - 1 - k] *= 0.5 - 0.5 * math.cos(math.pi * k / fade)
    scale = 32767 * 10 ** (peak_dbfs / 20) / max(abs(v) for v in out)
    return [int(round(v * scale)) for v in out]


# ---------------------------------------------------------------- codec

def _clamp16(v):
    return -32768 if v < -32768 else 32767 if v > 32767 else v


def _step(s1, s2, c1, c2, code, delta):
    """One decoder step; returns (new sample, new delta).  The prediction
    is shifted, not divided: that is how the Windows codec rounds negative
    predictions, and the encoder must track the decoder exactly."""
    pred = (s1 * c1 + s2 * c2) >> 8
    signed = code - 16 if code & 8 else code
    sample = _clamp16(pred + signed * delta)
    return sample, max(MIN_DELTA, (ADAPTATION[code] * delta) >> 8)


def _try_block(block, pi, delta):
    """Encode block with predictor pi; returns (squared error, codes)."""
    c1, c2 = COEFFICIENTS[pi]
    s2, s1 = block[0], block[1]
    codes, err = [], 0
    for x in block[2:]:
        pred = (s1 * c1 + s2 * c2) >> 8
        q = (2 * (x - pred) + delta) // (2 * delta)     # nearest step
        code = max(-8, min(7, q)) & 15
        s, delta = _step(s1, s2, c1, c2, code, delta)
        err += (x - s) * (x - s)
        codes.append(code)
        s2, s1 = s1, s
    return err, codes


def _first_delta(block, pi):
    """Pick a starting step from the first residuals so the block doesn't
    spend its opening samples adapting."""
    c1, c2 = COEFFICIENTS[pi]
    res = [abs(block[i] - ((block[i - 1] * c1 + block[i - 2] * c2) >> 8))
           for i in range(2, min(len(block), 6))]
    return max(MIN_DELTA, sum(res) // (4 * max(1, len(res))))


def encode_block(block):
    """One block (at least two samples) as bytes; tries every predictor
    and keeps the one that lands closest to the input."""
    best = None
    for pi in range(len(COEFFICIENTS)):
        delta = _first_delta(block, pi)
        err, codes = _try_block(block, pi, delta)
        if best is None or err < best[0]:
            best = (err, pi, delta, codes)
    _, pi, delta, codes = best
    if len(codes) % 2:
        codes.append(0)     # pad nibble; the fact chunk says where to stop
    head = struct.pack("<Bhhh", pi, delta, block[1], block[0])
    return head + bytes((codes[i] << 4) | codes[i + 1]
                        for i in range(0, len(codes), 2))


def encode(samples, block_align=BLOCK_ALIGN):
    n = samples_per_block(block_align)
    if len(samples) % n == 1:
        raise ValueError("a block needs at least two samples")
    return b"".join(encode_block(samples[i:i + n])
                    for i in range(0, len(samples), n))


def decode(data, count, block_align=BLOCK_ALIGN):
    """The first count samples of mono MS ADPCM data."""
    out = []
    for off in range(0, len(data), block_align):
        block = data[off:off + block_align]
        pi, delta, s1, s2 = struct.unpack("<Bhhh", block[:HEADER])
        c1, c2 = COEFFICIENTS[pi]
        out += [s2, s1]
        for byte in block[HEADER:]:
            for code in (byte >> 4, byte & 15):
                s, delta = _step(s1, s2, c1, c2, code, delta)
                out.append(s)
                s2, s1 = s1, s
    return out[:count]


def wave(samples, rate=RATE, block_align=BLOCK_ALIGN):
    """A complete RIFF/WAVE file holding samples as mono MS ADPCM."""
    spb = samples_per_block(block_align)
    data = encode(samples, block_align)
    avg = (rate * block_align + spb // 2) // spb
    fmt = struct.pack("<HHIIHHHHH", 2, 1, rate, avg, block_align, 4,
                      4 + 4 * len(COEFFICIENTS), spb, len(COEFFICIENTS))
    fmt += b"".join(struct.pack("<hh", *c) for c in COEFFICIENTS)

    def chunk(tag, body):
        pad = b"\0" * (len(body) & 1)
        return tag + struct.pack("<I", len(body)) + body + pad
    body = (b"WAVE" + chunk(b"fmt ", fmt)
            + chunk(b"fact", struct.pack("<I", len(samples)))
            + chunk(b"data", data))
    return b"RIFF" + struct.pack("<I", len(body)) + body


def alarm_wave():
    return "wave158.wav", wave(chime())
