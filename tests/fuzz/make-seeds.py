#!/usr/bin/env python3
"""Writes the hand-made seed files of the fuzz corpus: small valid animated cursors and waves, and
one file for each way such a file can be malformed. Run it after changing a case; libFuzzer's
merge adds its own finds beside these files. The shipped files in img/ seed the fuzzers too."""
import pathlib
import struct
import zlib

here = pathlib.Path(__file__).resolve().parent


def u32(*values):
    return struct.pack(f"<{len(values)}I", *(v & 0xFFFFFFFF for v in values))


def u16(*values):
    return struct.pack(f"<{len(values)}H", *(v & 0xFFFF for v in values))


def chunk(tag, body, pad=True, size=None):
    return tag + u32(len(body) if size is None else size) + body + (b"\0" if pad and len(body) % 2 else b"")


def riff(form, body, size=None):
    return b"RIFF" + u32(len(form) + len(body) if size is None else size) + form + body


def dib(width, height, bits, mask_height=None):
    """An icon bitmap: header (height counts colours and mask), palette, pixels, mask."""
    colors = 1 << bits if bits <= 8 else 0
    stride = (width * bits + 31) // 32 * 4
    mask_stride = (width + 31) // 32 * 4
    header = u32(40, width, height * 2) + u16(1, bits) + u32(0, 0, 0, 0, 0, 0)
    palette = b"".join(u32(i * 0x010203) for i in range(colors))
    pixels = bytes((i * 37) & 0xFF for i in range(stride * height))
    mask = bytes(0x55 for _ in range(mask_stride * (height if mask_height is None else mask_height)))
    return header + palette + pixels + mask


def png(width, height):
    def part(tag, body):
        return struct.pack(">I", len(body)) + tag + body + struct.pack(">I", zlib.crc32(tag + body))
    rows = b"".join(b"\0" + b"\x40\x80\xc0\xff" * width for _ in range(height))
    return (b"\x89PNG\r\n\x1a\n" + part(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
            + part(b"IDAT", zlib.compress(rows)) + part(b"IEND", b""))


def icon(image, kind=2, count=1, offset=22, size=(2, 2), hotspot=(1, 1)):
    """A whole ICO (kind 1) or CUR (kind 2) file holding one image, entries repeated count times."""
    entry = bytes([size[0] & 0xFF, size[1] & 0xFF, 0, 0]) + u16(*hotspot) + u32(len(image), offset)
    return u16(0, kind, count) + entry * min(count, 4) + image


def anih(frames=2, steps=2, cb=36, rate=10, flags=1, size=None):
    body = u32(cb, frames, steps, 0, 0, 0, 0, rate, flags)
    return chunk(b"anih", body if size is None else (body + b"\0" * 8)[:size])


def frames(*icons, tag=b"icon"):
    return chunk(b"LIST", b"fram" + b"".join(chunk(tag, i) for i in icons))


def ani(*parts, form=b"ACON", size=None):
    return riff(form, b"".join(parts), size)


small = icon(dib(2, 2, 32))
pair = frames(small, icon(dib(4, 4, 1), size=(4, 4)))
valid = ani(anih(), chunk(b"rate", u32(10, 20)), chunk(b"seq ", u32(1, 0)), pair)
over_list = frames(small)
over_list = over_list[:4] + u32(len(over_list) - 8 - 10) + over_list[8:]

cursors = {
    "valid": valid,
    "valid-no-rate-no-seq": ani(anih(), pair),
    "empty": b"",
    "11-bytes": valid[:11],
    "wrong-form": ani(anih(), pair, form=b"ACOX"),
    "riff-size-0": ani(anih(), pair, size=0),
    "riff-size-max": ani(anih(), pair, size=0xFFFFFFFF),
    "riff-size-past-end": ani(anih(), pair, size=len(valid) + 100),
    "anih-size-0": ani(anih(size=0), pair),
    "anih-size-35": ani(anih(size=35), pair),
    "anih-size-37": ani(anih(size=37), pair),
    "anih-size-max": ani(b"anih" + u32(0xFFFFFFFF) + u32(36, 2, 2, 0, 0, 0, 0, 10, 1), pair),
    "anih-cb-40": ani(anih(cb=40), pair),
    "anih-twice": ani(anih(), anih(frames=5, steps=7), pair),
    "frames-0": ani(anih(frames=0), pair),
    "frames-max": ani(anih(frames=0xFFFFFFFF), pair),
    "steps-2-31": ani(anih(steps=1 << 31), pair),
    "more-steps-with-seq": ani(anih(steps=5), chunk(b"seq ", u32(0, 1, 0, 1, 1)), pair),
    "more-steps-without-seq": ani(anih(steps=5), pair),
    "seq-past-frames": ani(anih(), chunk(b"seq ", u32(0, 2)), pair),
    "seq-short": ani(anih(), chunk(b"seq ", u32(0)[:3]), pair),
    "rate-short": ani(anih(), chunk(b"rate", u32(10, 10)[:6]), pair),
    "rate-0": ani(anih(), chunk(b"rate", u32(0, 0)), pair),
    "rate-max": ani(anih(), chunk(b"rate", u32(0xFFFFFFFF, 0xFFFFFFFF)), pair),
    "odd-chunk-padded": ani(chunk(b"junk", b"abc"), anih(), pair),
    "odd-chunk-unpadded": ani(chunk(b"junk", b"abc", pad=False), anih(), pair),
    "unknown-chunks-first": ani(chunk(b"LIST", b"INFO" + chunk(b"INAM", b"cat\0")), chunk(b"abcd", b""), anih(), pair),
    "nested-lists": ani(anih(frames=1, steps=1), chunk(b"LIST", b"fram" + frames(small))),
    "fewer-icons": ani(anih(frames=3, steps=3), pair),
    "more-icons": ani(anih(frames=1, steps=1), pair),
    "icon-size-0": ani(anih(), frames(small, b"")),
    "icon-past-list": ani(anih(frames=1, steps=1), over_list),
    "raw-frames": ani(anih(flags=0), frames(dib(2, 2, 32), dib(2, 2, 8))),
    "icon-count-0": ani(anih(frames=1, steps=1), frames(icon(dib(2, 2, 32), count=0))),
    "icon-count-65535": ani(anih(frames=1, steps=1), frames(icon(dib(2, 2, 32), count=65535))),
    "icon-offset-past-chunk": ani(anih(frames=1, steps=1), frames(icon(dib(2, 2, 32), offset=5000))),
    "icon-height-0": ani(anih(frames=1, steps=1), frames(icon(dib(2, 0, 32)))),
    "icon-bits-3": ani(anih(frames=1, steps=1), frames(icon(dib(2, 2, 3)))),
    "icon-bits-16": ani(anih(frames=1, steps=1), frames(icon(dib(2, 2, 16)))),
    "icon-no-mask": ani(anih(frames=1, steps=1), frames(icon(dib(2, 2, 8, mask_height=0)))),
    "icon-png": ani(anih(frames=1, steps=1), frames(icon(png(3, 2), size=(3, 2)))),
    "icon-ico": ani(anih(frames=1, steps=1), frames(icon(dib(2, 2, 24), kind=1))),
    "icon-depths": ani(anih(frames=4, steps=4), frames(*(icon(dib(3, 3, b)) for b in (1, 4, 8, 24)))),
    "huge-dib": ani(anih(frames=1, steps=1), frames(icon(u32(40, 0xFFFF, 0x1FFFE) + u16(1, 32) + u32(0, 0, 0, 0, 0, 0) + b"\0" * 64))),
    "huge-png": ani(anih(frames=1, steps=1), frames(icon(png(1, 1)[:16] + struct.pack(">II", 0xFFFF, 0xFFFF) + png(1, 1)[24:]))),
    "cut-in-anih": valid[:30],
    "cut-in-list": valid[:len(valid) - 60],
    "cut-last-byte": valid[:-1],
}

tone = bytes(128 + (i % 16) * 8 for i in range(32))


def fmt(tag=1, channels=1, rate=8000, bits=8, size=16):
    block = channels * bits // 8
    body = u16(tag, channels) + u32(rate, rate * block) + u16(block, bits) + b"\0" * 24
    return chunk(b"fmt ", body[:size])


def wave(*parts, size=None, form=b"WAVE"):
    return riff(form, b"".join(parts), size)


waves = {
    "valid-8-mono": wave(fmt(), chunk(b"data", tone)),
    "valid-16-stereo": wave(fmt(channels=2, bits=16, rate=44100), chunk(b"data", tone)),
    "empty": b"",
    "11-bytes": wave(fmt(), chunk(b"data", tone))[:11],
    "wrong-form": wave(fmt(), chunk(b"data", tone), form=b"WAVF"),
    "riff-size-0": wave(fmt(), chunk(b"data", tone), size=0),
    "riff-size-max": wave(fmt(), chunk(b"data", tone), size=0xFFFFFFFF),
    "fmt-14": wave(fmt(size=14), chunk(b"data", tone)),
    "fmt-18": wave(fmt(size=18), chunk(b"data", tone)),
    "fmt-extensible": wave(fmt(tag=0xFFFE, size=40), chunk(b"data", tone)),
    "fmt-float": wave(fmt(tag=3, bits=32), chunk(b"data", tone)),
    "fmt-twice": wave(fmt(), fmt(channels=2), chunk(b"data", tone)),
    "channels-0": wave(fmt(channels=0), chunk(b"data", tone)),
    "channels-3": wave(fmt(channels=3), chunk(b"data", tone)),
    "bits-24": wave(fmt(bits=24), chunk(b"data", tone[:30])),
    "bits-12": wave(fmt(bits=12), chunk(b"data", tone)),
    "rate-0": wave(fmt(rate=0), chunk(b"data", tone)),
    "rate-3999": wave(fmt(rate=3999), chunk(b"data", tone)),
    "rate-192001": wave(fmt(rate=192001), chunk(b"data", tone)),
    "rate-max": wave(fmt(rate=0xFFFFFFFF), chunk(b"data", tone)),
    "data-0": wave(fmt(), chunk(b"data", b"")),
    "data-size-max": wave(fmt(), b"data" + u32(0xFFFFFFFF) + tone),
    "data-half-frame": wave(fmt(channels=2, bits=16), chunk(b"data", tone[:7])),
    "data-cut": wave(fmt(), chunk(b"data", tone))[:-5],
    "data-first": wave(chunk(b"data", tone), fmt()),
    "no-data": wave(fmt()),
    "odd-chunk-padded": wave(chunk(b"LIST", b"INFOx"), fmt(), chunk(b"data", tone)),
    "odd-chunk-unpadded": wave(chunk(b"LIST", b"INFOx", pad=False), fmt(), chunk(b"data", tone)),
    "fact-and-list": wave(fmt(), chunk(b"fact", u32(32)), chunk(b"LIST", b"INFO"), chunk(b"data", tone)),
}

for kind, files in (("ani_cursor", cursors), ("wave", waves)):
    folder = here / "corpus" / kind
    folder.mkdir(parents=True, exist_ok=True)
    for name, content in files.items():
        (folder / f"seed-{name}").write_bytes(content)
