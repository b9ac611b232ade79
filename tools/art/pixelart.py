"""Helpers for drawing pixel art with PIL and writing it as GIF.

Pictures are RGBA images whose alpha is either 0 (transparent) or 255.
"""

import textwrap

from PIL import Image, ImageChops

import font


def rgb(hexstr):
    """'#rrggbb' -> (r, g, b, 255)."""
    h = hexstr.lstrip("#")
    return (int(h[0:2], 16), int(h[2:4], 16), int(h[4:6], 16), 255)


CLEAR = (0, 0, 0, 0)


def new(w, h, color=CLEAR):
    return Image.new("RGBA", (w, h), color)


def from_map(pixmap, palette):
    """Build a picture from a pixel map: one text line per row, one character
    per pixel; `palette` maps characters to colours ('.' and ' ' are clear)."""
    lines = [ln.strip() for ln in textwrap.dedent(pixmap).strip("\n").splitlines()]
    lines = [ln for ln in lines if ln]
    w = len(lines[0])
    for i, ln in enumerate(lines):
        if len(ln) != w:
            raise ValueError(f"pixel map row {i} is {len(ln)} wide, expected {w}: {ln!r}")
    img = new(w, len(lines))
    px = img.load()
    for y, ln in enumerate(lines):
        for x, ch in enumerate(ln):
            if ch in ".":
                continue
            if ch not in palette:
                raise KeyError(f"pixel map uses {ch!r}, which the palette lacks")
            col = palette[ch]
            if col is not None:
                px[x, y] = col
    return img


def paste(dst, src, x, y):
    """Draw `src` over `dst` at (x, y), keeping `dst` where `src` is clear."""
    dst.paste(src, (x, y), src)


def rect(img, x, y, w, h, color):
    if w > 0 and h > 0:
        img.paste(Image.new("RGBA", (w, h), color), (x, y))


def frame(img, x, y, w, h, color):
    """A one-pixel rectangle outline."""
    rect(img, x, y, w, 1, color)
    rect(img, x, y + h - 1, w, 1, color)
    rect(img, x, y, 1, h, color)
    rect(img, x + w - 1, y, 1, h, color)


def bevel(img, x, y, w, h, light, dark):
    """A raised one-pixel edge: light top/left, dark bottom/right."""
    rect(img, x, y, w, 1, light)
    rect(img, x, y, 1, h, light)
    rect(img, x, y + h - 1, w, 1, dark)
    rect(img, x + w - 1, y, 1, h, dark)


def hline(img, x, y, w, color):
    rect(img, x, y, w, 1, color)


def vline(img, x, y, h, color):
    rect(img, x, y, 1, h, color)


def put(img, x, y, color):
    if 0 <= x < img.width and 0 <= y < img.height:
        img.putpixel((x, y), color)


def turn(img, quarter_turns_ccw):
    """Rotate by a multiple of 90 degrees, counter-clockwise."""
    q = quarter_turns_ccw % 4
    if q == 0:
        return img.copy()
    return img.transpose([None, Image.Transpose.ROTATE_90, Image.Transpose.ROTATE_180,
                          Image.Transpose.ROTATE_270][q])


def flip_v(img):
    return img.transpose(Image.Transpose.FLIP_TOP_BOTTOM)


def scale(img, k):
    return img.resize((img.width * k, img.height * k), Image.Resampling.NEAREST)


def grow(mask):
    """Dilate a mask by one pixel in the four directions."""
    out = mask.copy()
    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
        out = ImageChops.lighter(out, ImageChops.offset(mask, dx, dy))
    return out


def fancy_text(img, x, y, text, fill, outline=None, shadow=None, scale_=1, spacing=1,
               shade=None):
    """Pixel text with an optional one-pixel outline and a drop shadow one pixel
    down-right of the outline.  `shade`, when given, colours the lower part of
    each letter for a two-tone look.  (x, y) is the top-left of the outline box."""
    m = font.mask(text, scale_, spacing)
    pad = 1 if outline else 0
    w, h = m.size[0] + 2 * pad + 1, m.size[1] + 2 * pad + 1
    ink = Image.new("L", (w, h), 0)
    ink.paste(m, (pad, pad))
    layer = new(w, h)
    if outline:
        ring = grow(ink)
        if shadow:
            sh = ImageChops.offset(ring, 1, 1)
            layer.paste(Image.new("RGBA", (w, h), shadow), (0, 0), sh)
        layer.paste(Image.new("RGBA", (w, h), outline), (0, 0), ring)
    elif shadow:
        layer.paste(Image.new("RGBA", (w, h), shadow), (0, 0), ImageChops.offset(ink, 1, 1))
    layer.paste(Image.new("RGBA", (w, h), fill), (0, 0), ink)
    if shade:
        lower = Image.new("L", (w, h), 0)
        cut = pad + (font.HEIGHT * scale_) * 4 // 7
        lower.paste(ink.crop((0, cut, w, h)), (0, cut))
        layer.paste(Image.new("RGBA", (w, h), shade), (0, 0), lower)
    paste(img, layer, x, y)
    return w, h


def fancy_size(text, scale_=1, spacing=1, outline=True):
    pad = 1 if outline else 0
    return (font.text_width(text, spacing, scale_) + 2 * pad + 1,
            (font.HEIGHT + (font.DESCENT if font.has_descender(text) else 0)) * scale_ + 2 * pad + 1)


def save_gif(img, path, transparent):
    """Write `img` as a GIF with an exact palette.  With `transparent`, pixels
    whose alpha is below 128 become the transparent colour, index 0."""
    rgba = img.convert("RGBA")
    px = rgba.load()
    w, h = rgba.size
    colors = set()
    opaque = []
    for y in range(h):
        for x in range(w):
            r, g, b, a = px[x, y]
            if transparent and a < 128:
                opaque.append(None)
            else:
                opaque.append((r, g, b))
                colors.add((r, g, b))
    palette = sorted(colors)
    if transparent:
        key = (255, 0, 255)
        while key in colors:
            key = (key[0], key[1] + 1, key[2])
        palette = [key] + palette
    if len(palette) > 256:
        raise ValueError(f"{path}: {len(palette)} colours do not fit a GIF palette")
    index = {c: i for i, c in enumerate(palette)}
    out = Image.new("P", (w, h))
    out.putdata([0 if c is None else index[c] for c in opaque])
    flat = [v for c in palette for v in c]
    flat += [0] * (768 - len(flat))
    out.putpalette(flat)
    if transparent:
        out.save(path, "GIF", transparency=0, optimize=False)
    else:
        out.save(path, "GIF", optimize=False)
