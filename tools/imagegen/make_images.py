#!/usr/bin/python3
"""Draws the bitmaps and the icon of res/ from simple shapes.

Needs Python 3 with Pillow (Debian package python3-pil).
Run: /usr/bin/python3 tools/imagegen/make_images.py [outdir]
Without outdir the files go to res/ at the top of the tree, where they are
committed; the output is the same on every run.

toolbar_normal.bmp, toolbar_hot.bmp, toolbar_disabled.bmp
    bitmaps 211, 212, 217: the three command pictures (search, IP change,
    web page) in one state each, 180 x 60, 24 bpp, magenta around the tiles
toolbar_commands.bmp
    bitmap 201: 16-colour copy of the normal strip, the toolbar's placeholder
caption_close.bmp, caption_maximize.bmp, caption_minimize.bmp,
caption_restore.bmp
    bitmaps 206, 207, 208, 210: normal (white) and hot (red) caption button,
    30 x 15, 4 bpp, magenta background
toolbar_frame.bmp
    bitmap 128: eight 16 x 15 pictures for the menu bar's image strip
Quellan.ico
    icon 128: 16, 32, 48, 64 (24 bpp) and 256 pixels
"""

import io
import math
import struct
import sys
from pathlib import Path

from PIL import Image, ImageChops, ImageDraw, ImageFilter

SS = 4  # supersampling factor: shapes are drawn 4x and reduced for smooth edges
MAGENTA = (255, 0, 255)

# Tile colours (top, bottom of the gradient) and glyph colour per state.
NORMAL = ((112, 96, 226), (70, 56, 176), (255, 255, 255))
HOT = ((96, 232, 248), (24, 182, 214), (22, 30, 64))
DISABLED = ((176, 178, 184), (140, 142, 150), (255, 255, 255))

# Edge pixels of a tile are blended towards the usual face colour of a
# toolbar instead of magenta, which would leave a pink fringe.
FACE = (240, 240, 240)


def canvas(size):
    return Image.new("L", (size * SS, size * SS), 0)


def s(v):
    return v * SS


def stroke_arc(draw, cx, cy, r, start, end, width):
    box = [s(cx - r), s(cy - r), s(cx + r), s(cy + r)]
    draw.arc(box, start, end, fill=255, width=int(s(width)))


def round_cap(draw, x, y, width):
    h = width / 2
    draw.ellipse([s(x - h), s(y - h), s(x + h), s(y + h)], fill=255)


def line(draw, x0, y0, x1, y1, width):
    draw.line([s(x0), s(y0), s(x1), s(y1)], fill=255, width=int(s(width)))
    round_cap(draw, x0, y0, width)
    round_cap(draw, x1, y1, width)


def magnifier():
    m = canvas(60)
    d = ImageDraw.Draw(m)
    cx, cy, r = 26, 26, 12.5
    stroke_arc(d, cx, cy, r, 0, 360, 4.5)
    stroke_arc(d, cx, cy, r - 5.5, 200, 260, 2.5)
    line(d, 35.5, 35.5, 45, 45, 7.5)
    return m


def arrow_arc(draw, cx, cy, r, start, end, width):
    """Arc from start to end degrees (clockwise on screen), arrowhead at end."""
    stroke_arc(draw, cx, cy, r, start, end - 6, width)
    a = math.radians(end)
    tip = (cx + r * math.cos(a), cy + r * math.sin(a))
    tangent = (-math.sin(a), math.cos(a))
    normal = (math.cos(a), math.sin(a))
    back, half = 7.0, 5.5
    base = (tip[0] - tangent[0] * back, tip[1] - tangent[1] * back)
    pts = [
        (tip[0] + tangent[0] * 1.5, tip[1] + tangent[1] * 1.5),
        (base[0] + normal[0] * half, base[1] + normal[1] * half),
        (base[0] - normal[0] * half, base[1] - normal[1] * half),
    ]
    draw.polygon([(s(x), s(y)) for x, y in pts], fill=255)


def ip_arrows():
    m = canvas(60)
    d = ImageDraw.Draw(m)
    arrow_arc(d, 30, 30, 20, 200, 320, 3.5)
    arrow_arc(d, 30, 30, 20, 20, 140, 3.5)
    # Letter I.
    d.rectangle([s(19), s(21), s(23.5), s(39)], fill=255)
    # Letter P: stem and a bowl built from a ring clipped to its right half.
    d.rectangle([s(27.5), s(21), s(32), s(39)], fill=255)
    bowl = canvas(60)
    bd = ImageDraw.Draw(bowl)
    bd.rounded_rectangle([s(27.5), s(21), s(41.5), s(32)], radius=s(5.5),
                         fill=255)
    bd.rounded_rectangle([s(32), s(25), s(37.5), s(28)], radius=s(1.5),
                         fill=0)
    return ImageChops.lighter(m, bowl)


def ellipse_ring(size, cx, cy, rx, ry, width, angle):
    ring = canvas(size)
    d = ImageDraw.Draw(ring)
    d.ellipse([s(cx - rx), s(cy - ry), s(cx + rx), s(cy + ry)], fill=255)
    w = width
    d.ellipse([s(cx - rx + w), s(cy - ry + w), s(cx + rx - w),
               s(cy + ry - w)], fill=0)
    return ring.rotate(angle, resample=Image.BICUBIC, center=(s(cx), s(cy)))


def half_plane(size, cx, cy, angle, lower):
    """Mask of one side of the line through the centre tilted by angle."""
    far = 4 * size
    dx, dy = math.cos(math.radians(angle)), -math.sin(math.radians(angle))
    side = far if lower else -far
    p1 = (cx - far * dx, cy - far * dy)
    p2 = (cx + far * dx, cy + far * dy)
    pts = [p1, p2, (p2[0], p2[1] + side), (p1[0], p1[1] + side)]
    m = canvas(size)
    ImageDraw.Draw(m).polygon([(s(x), s(y)) for x, y in pts], fill=255)
    return m


def globe():
    cx, cy, r = 30, 30, 15
    g = canvas(60)
    d = ImageDraw.Draw(g)
    stroke_arc(d, cx, cy, r, 0, 360, 3.2)
    d.ellipse([s(cx - 6), s(cy - r), s(cx + 6), s(cy + r)], outline=255,
              width=int(s(2.4)))
    d.line([s(cx - r), s(cy), s(cx + r), s(cy)], fill=255, width=int(s(2.4)))
    tilt = -18
    ring = ellipse_ring(60, cx, cy, 26, 7, 2.8, tilt)
    front = ImageChops.multiply(ring, half_plane(60, cx, cy, tilt, True))
    back = ImageChops.multiply(ring, half_plane(60, cx, cy, tilt, False))
    disk = canvas(60)
    ImageDraw.Draw(disk).ellipse([s(cx - r), s(cy - r), s(cx + r), s(cy + r)],
                                 fill=255)
    # The far half of the ring hides behind the globe; the near half passes
    # in front of it, with a thin gap cut into the globe lines to show depth.
    back = ImageChops.subtract(back, disk)
    gap = front.filter(ImageFilter.MaxFilter(2 * SS + 1))
    g = ImageChops.subtract(g, gap)
    return ImageChops.lighter(ImageChops.lighter(g, back), front)


def reduce(mask, size):
    return mask.resize((size, size), Image.LANCZOS)


def gradient(size, top, bottom):
    img = Image.new("RGB", (size, size))
    px = img.load()
    for y in range(size):
        t = y / (size - 1)
        c = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
        for x in range(size):
            px[x, y] = c
    return img


def tile_mask():
    m = canvas(60)
    ImageDraw.Draw(m).rounded_rectangle([s(2), s(2), s(58), s(58)],
                                        radius=s(11), fill=255)
    return reduce(m, 60)


def blend(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def command_tile(glyph, state):
    top, bottom, ink = state
    tile = gradient(60, top, bottom)
    shadow = ImageChops.offset(glyph, 0, 1).point(lambda v: v * 0.35)
    tile = Image.composite(Image.new("RGB", (60, 60), blend(bottom, (0, 0, 0),
                                                             0.45)),
                           tile, shadow)
    tile = Image.composite(Image.new("RGB", (60, 60), ink), tile, glyph)
    edge = tile_mask()
    out = Image.new("RGB", (60, 60), MAGENTA)
    src, alpha, dst = tile.load(), edge.load(), out.load()
    for y in range(60):
        for x in range(60):
            a = alpha[x, y]
            if a >= 96:
                dst[x, y] = blend(FACE, src[x, y], a / 255)
    return out


def command_strip(state, glyphs):
    strip = Image.new("RGB", (180, 60), MAGENTA)
    for i, glyph in enumerate(glyphs):
        strip.paste(command_tile(glyph, state), (60 * i, 0))
    return strip


def write_bmp24(path, img):
    w, h = img.size
    stride = (w * 3 + 3) & ~3
    rows = []
    px = img.load()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(w):
            r, g, b = px[x, y]
            row += bytes((b, g, r))
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    bits = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(bits), 2835,
                       2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(bits), 0, 0, 14 + 40)
    Path(path).write_bytes(head + info + bits)


def write_bmp4(path, indices, w, h, palette):
    """indices: list of rows of palette indices; palette: 16 RGB triples."""
    stride = ((w + 1) // 2 + 3) & ~3
    rows = []
    for y in range(h - 1, -1, -1):
        row = bytearray()
        for x in range(0, w, 2):
            hi = indices[y][x]
            lo = indices[y][x + 1] if x + 1 < w else 0
            row.append(hi << 4 | lo)
        row += bytes(stride - len(row))
        rows.append(bytes(row))
    bits = b"".join(rows)
    pal = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 4, 0, len(bits), 2835,
                       2835, 16, 16)
    off = 14 + 40 + len(pal)
    head = struct.pack("<2sIHHI", b"BM", off + len(bits), 0, 0, off)
    Path(path).write_bytes(head + info + pal + bits)


def pad_palette(colours):
    return list(colours) + [(0, 0, 0)] * (16 - len(colours))


# Caption buttons: 15 x 15 pixel art, "#" is the line colour.
CAPTION_GLYPHS = {
    "close": [
        "...............",
        "...............",
        "...............",
        "...#.......#...",
        "...##.....##...",
        "....##...##....",
        ".....##.##.....",
        "......###......",
        ".....##.##.....",
        "....##...##....",
        "...##.....##...",
        "...#.......#...",
        "...............",
        "...............",
        "...............",
    ],
    "maximize": [
        "...............",
        "...............",
        "...............",
        "...#########...",
        "...#########...",
        "...#.......#...",
        "...#.......#...",
        "...#.......#...",
        "...#.......#...",
        "...#.......#...",
        "...#.......#...",
        "...#########...",
        "...............",
        "...............",
        "...............",
    ],
    "minimize": [
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...............",
        "...#########...",
        "...#########...",
        "...............",
        "...............",
        "...............",
    ],
    "restore": [
        "...............",
        "...............",
        "...............",
        ".....#######...",
        ".....#######...",
        "...#######.#...",
        "...#######.#...",
        "...#.....#.#...",
        "...#.....#.#...",
        "...#.....###...",
        "...#.....#.....",
        "...#######.....",
        "...............",
        "...............",
        "...............",
    ],
}


def caption_bitmap(path, glyph):
    palette = pad_palette([MAGENTA, (255, 255, 255), (232, 32, 40)])
    rows = []
    for line_ in glyph:
        row = []
        for ink in (1, 2):
            row += [ink if c == "#" else 0 for c in line_]
        rows.append(row)
    write_bmp4(path, rows, 30, 15, palette)


def quantise_keyed(img, key):
    """16-colour version of img; pixels equal to key keep exactly that colour."""
    w, h = img.size
    pal_img = img.quantize(15, method=Image.Quantize.MEDIANCUT)
    pal = pal_img.getpalette()[:45]
    colours = [tuple(pal[i:i + 3]) for i in range(0, 45, 3)] + [key]
    q, src = pal_img.load(), img.load()
    rows = [[15 if src[x, y] == key else q[x, y] for x in range(w)]
            for y in range(h)]
    return rows, colours


# Toolbar 128 glyphs, 16 x 15 each, on the classic grey toolbar face.
VGA = {
    ".": (192, 192, 192), "k": (0, 0, 0), "w": (255, 255, 255),
    "g": (128, 128, 128), "y": (255, 255, 0), "o": (128, 128, 0),
    "b": (0, 0, 128), "c": (0, 128, 128), "n": (0, 0, 255),
    "r": (128, 0, 0),
}
FRAME_ICONS = [
    [  # new
        "................", "...kkkkkkk......", "...kwwwwwkk.....",
        "...kwwwwwkwk....", "...kwwwwwkkkk...", "...kwwwwwwwwk...",
        "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...",
        "...kwwwwwwwwk...", "...kwwwwwwwwk...", "...kwwwwwwwwk...",
        "...kwwwwwwwwk...", "...kkkkkkkkkk...", "................",
    ],
    [  # open
        "................", "................", "..........kkk...",
        ".kkkkk...k...k.k", "kywyywk.......kk", "kwyywyykkkk..kkk",
        "kywyywyyyyk.....", "kwyykkkkkkkkkk..", "kywkoooooooook..",
        "kwkoooooooook...", "kykoooooooook...", "kkoooooooook....",
        "kkkkkkkkkkk.....", "................", "................",
    ],
    [  # save
        "................", ".kkkkkkkkkkkkkk.", ".kckwwwwwwwwkck.",
        ".kckwwwwwwwwkck.", ".kckwwwwwwwwkck.", ".kckwwwwwwwwkck.",
        ".kcckkkkkkkkcck.", ".kcccccccccccck.", ".kcckkkkkkkkcck.",
        ".kcckkkkkkwwkck.", ".kcckkkkkkwwkck.", ".kcckkkkkkwwkck.",
        "..kkkkkkkkkkkkk.", "................", "................",
    ],
    [  # cut
        "................", "....k.....k.....", "....k.....k.....",
        "....k.....k.....", "....kk...kk.....", ".....k...k......",
        ".....kk.kk......", "......kkk.......", ".......k........",
        "......nkn.......", "....nnn.nnn.....", "...n..n.n..n....",
        "...n..n.n..n....", "...n..n.n..n....", "....nn...nn.....",
    ],
    [  # copy
        "................", "kkkkkk..........", "kwwwwkk.........",
        "kwkkwkwk........", "kwwwwkkkkkkk....", "kwkkwwkwwwwkk...",
        "kwwwwwkwkkwkwk..", "kwkkkkkwwwwkkkk.", "kwwwwwkwkkwwwwk.",
        "kkkkkkkwwwwwwwk.", "......kwkkkkkwk.", "......kwwwwwwwk.",
        "......kkkkkkkkk.", "................", "................",
    ],
    [  # paste
        "................", "....kkkk........", ".kkkkyykkkk.....",
        "kooookkkoook....", "koookkkkkkok....", "koooooooooook...",
        "kooooookkkkkk...", "kooooookwwwwkk..", "kooooookwkkwkwk.",
        "kooooookwwwwkkkk", "kooooookwkkwwwwk", "kooooookwwwwwwwk",
        ".kkkkkkkwkkkkkwk", ".......kwwwwwwwk", ".......kkkkkkkkk",
    ],
    [  # print
        "................", ".....kkkkkkkkk..", "....kwwwwwwwwk..",
        "....kwkkkkkwk...", "...kwwwwwwwwk...",
        "...kkkkkkkkkkkkk", "..kwwwwwwwwwwkwk", ".kkkkkkkkkkkkkwk",
        ".kwwwwwwwwyywkkk", ".kwwwwwwwwgggkwk", ".kkkkkkkkkkkkkwk",
        ".kwwwwwwwwwwwkk.", "..kkkkkkkkkkkkk.", "................",
        "................",
    ],
    [  # about
        "................", ".....kkkkk......", "....kknnnkk.....",
        "...kknnwwnnk....", "...knnk..knnk...", "...knnk..knnk...",
        "....kk...knnk...", ".......knnk.....", "......knnk......",
        "......knnk......", ".......kk.......", "......kkkk......",
        "......knnk......", "......kkkk......", "................",
    ],
]


def frame_toolbar(path):
    keys = list(VGA)
    palette = pad_palette([VGA[k] for k in keys])
    rows = []
    for y in range(15):
        row = []
        for icon in FRAME_ICONS:
            line_ = icon[y].ljust(16, ".")[:16]
            row += [keys.index(c) for c in line_]
        rows.append(row)
    write_bmp4(path, rows, 16 * len(FRAME_ICONS), 15, palette)


def app_icon_rgba(size):
    """Camera with network waves on a blue-violet tile, size x size RGBA."""
    big = size * SS
    u = big / 64.0

    def box(x0, y0, x1, y1):
        return [x0 * u, y0 * u, x1 * u, y1 * u]

    tile = Image.new("L", (big, big), 0)
    ImageDraw.Draw(tile).rounded_rectangle(box(1, 1, 63, 63), radius=13 * u,
                                           fill=255)
    ink = Image.new("L", (big, big), 0)
    d = ImageDraw.Draw(ink)
    d.rounded_rectangle(box(8, 25, 42, 51), radius=5 * u, fill=255)
    d.polygon([(42 * u, 33 * u), (56 * u, 26 * u), (56 * u, 50 * u),
               (42 * u, 43 * u)], fill=255)
    if size >= 32:
        d.ellipse(box(17, 30, 33, 46), fill=0)
        d.ellipse(box(20.5, 33.5, 29.5, 42.5), fill=255)
        for r in (9, 16):
            d.arc(box(8 - r, 22 - r, 8 + r, 22 + r), 275, 355, fill=255,
                  width=max(1, int(3.2 * u)))
        d.ellipse(box(6, 18.5, 11, 23.5), fill=255)
    else:
        d.ellipse(box(17, 30, 33, 46), fill=0)
    ink = ImageChops.multiply(ink, tile)
    top, bottom, white = NORMAL
    colour = gradient(big, top, bottom)
    colour = Image.composite(Image.new("RGB", (big, big), white), colour, ink)
    img = colour.resize((size, size), Image.LANCZOS)
    alpha = tile.resize((size, size), Image.LANCZOS)
    img.putalpha(alpha)
    return img


def icon_dib(img, bpp):
    w, h = img.size
    px = img.load()
    xor = bytearray()
    and_stride = ((w + 31) // 32) * 4
    andmask = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        mrow = bytearray(and_stride)
        for x in range(w):
            r, g, b, a = px[x, y]
            if bpp == 24:
                row += bytes((b, g, r)) if a >= 128 else b"\0\0\0"
            else:
                row += bytes((b, g, r, a))
            if a < 128:
                mrow[x // 8] |= 0x80 >> (x % 8)
        row += bytes((-len(row)) % 4)
        xor += row
        andmask += mrow
    info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, bpp, 0,
                       len(xor) + len(andmask), 0, 0, 0, 0)
    return info + bytes(xor) + bytes(andmask)


def write_ico(path):
    entries = []
    for size, bpp in ((16, 32), (32, 32), (48, 32), (64, 24), (256, 32)):
        img = app_icon_rgba(size)
        if size == 256:
            buf = io.BytesIO()
            img.save(buf, "PNG")
            data = buf.getvalue()
        else:
            data = icon_dib(img, bpp)
        entries.append((size, bpp, data))
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for size, bpp, data in entries:
        dim = size % 256
        out += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, bpp, len(data),
                           offset)
        offset += len(data)
    out += b"".join(data for _, _, data in entries)
    Path(path).write_bytes(out)


def main():
    here = Path(__file__).resolve().parent
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else here.parent.parent / "res"
    glyphs = [reduce(g, 60) for g in (magnifier(), ip_arrows(), globe())]
    strips = {}
    for name, state in (("normal", NORMAL), ("hot", HOT),
                        ("disabled", DISABLED)):
        strips[name] = command_strip(state, glyphs)
        write_bmp24(out / f"toolbar_{name}.bmp", strips[name])
    rows, colours = quantise_keyed(strips["normal"], MAGENTA)
    write_bmp4(out / "toolbar_commands.bmp", rows, 180, 60, colours)
    for name, glyph in CAPTION_GLYPHS.items():
        caption_bitmap(out / f"caption_{name}.bmp", glyph)
    frame_toolbar(out / "toolbar_frame.bmp")
    write_ico(out / "Quellan.ico")


if __name__ == "__main__":
    main()
