"""The larger pictures: the field, the device strip, the status panel, the
window titles, the picture buttons and the application icon."""

import font
import sprites
from pixelart import (new, rgb, rect, frame, hline, vline, put, paste, fancy_text, fancy_size,
                      bevel, scale, from_map)

INK = rgb("#141418")
SLATE = rgb("#2c3340")
SLATE_LIGHT = rgb("#3c4556")
SLATE_EDGE = rgb("#56627a")
CAPTION = rgb("#ece6d4")
BOX = rgb("#f4f0e4")  # the plain light boxes the game writes numbers into
P1_COLOUR = rgb("#ff5a50")
P1_DARK = rgb("#a02424")
P2_COLOUR = rgb("#66aaff")
P2_DARK = rgb("#2450a8")
GOLD = rgb("#ffd23a")
GOLD_SHADE = rgb("#f09a18")
BROWN = rgb("#3a1a08")

# ---------------------------------------------------------------- field

FIELD_W, FIELD_H = 450, 292
# The floor a car's top-left corner may reach without crashing is x 17..415,
# y 17..263; a car is 17 pixels, so the floor the players see runs to x 431
# and y 280 and everything beyond is wall.
FLOOR_X0, FLOOR_Y0, FLOOR_X1, FLOOR_Y1 = 17, 17, 431, 280

TILE_A = rgb("#cdc5b4")
TILE_B = rgb("#c3bba9")
GROUT = rgb("#b6ae9c")
SPECK_DARK = rgb("#bab29f")
SPECK_LIGHT = rgb("#d4ccbb")
BRICK = rgb("#7c5040")
BRICK_B = rgb("#6e4636")
MORTAR = rgb("#4c3024")
WALL_TOP = rgb("#9c6c52")
FLOOR_SHADOW = rgb("#aaa290")


def _hash(x, y, salt=0):
    """A small deterministic pseudo-random number for pixel noise."""
    h = (x * 73856093) ^ (y * 19349663) ^ (salt * 83492791)
    h = (h ^ (h >> 13)) * 1274126177
    return (h ^ (h >> 16)) & 0xFFFF


def field():
    img = new(FIELD_W, FIELD_H, BRICK)
    px = img.load()
    # brick wall all round
    for y in range(FIELD_H):
        for x in range(FIELD_W):
            row = y // 4
            off = 4 if row % 2 else 0
            if y % 4 == 3 or (x + off) % 8 == 7:
                px[x, y] = MORTAR
            elif _hash((x + off) // 8, row, 1) % 3 == 0:
                px[x, y] = BRICK_B
    # kitchen tiles on the floor
    tile = 16
    for y in range(FLOOR_Y0, FLOOR_Y1 + 1):
        for x in range(FLOOR_X0, FLOOR_X1 + 1):
            tx, ty = (x - FLOOR_X0) // tile, (y - FLOOR_Y0) // tile
            if (x - FLOOR_X0) % tile == tile - 1 or (y - FLOOR_Y0) % tile == tile - 1:
                col = GROUT
            else:
                col = TILE_A if (tx + ty) % 2 == 0 else TILE_B
                n = _hash(x, y) % 61
                if n == 0:
                    col = SPECK_DARK
                elif n == 1:
                    col = SPECK_LIGHT
            px[x, y] = col
    # the wall's lit top edge and the shadow it casts onto the floor
    hline(img, FLOOR_X0 - 1, FLOOR_Y0 - 1, FLOOR_X1 - FLOOR_X0 + 3, WALL_TOP)
    vline(img, FLOOR_X0 - 1, FLOOR_Y0 - 1, FLOOR_Y1 - FLOOR_Y0 + 3, WALL_TOP)
    hline(img, FLOOR_X0 - 1, FLOOR_Y1 + 1, FLOOR_X1 - FLOOR_X0 + 3, WALL_TOP)
    vline(img, FLOOR_X1 + 1, FLOOR_Y0 - 1, FLOOR_Y1 - FLOOR_Y0 + 3, WALL_TOP)
    hline(img, FLOOR_X0, FLOOR_Y0, FLOOR_X1 - FLOOR_X0 + 1, FLOOR_SHADOW)
    vline(img, FLOOR_X0, FLOOR_Y0, FLOOR_Y1 - FLOOR_Y0 + 1, FLOOR_SHADOW)
    # faint start boxes where the cars are set down
    for (sx, sy), col in (((96, 136), rgb("#c09a8e")), ((344, 136), rgb("#96a6c0"))):
        _corners(img, sx - 2, sy - 2, 21, 21, col)
    return img


def _corners(img, x, y, w, h, col):
    for cx, cy, dx, dy in ((x, y, 1, 1), (x + w - 1, y, -1, 1), (x, y + h - 1, 1, -1),
                           (x + w - 1, y + h - 1, -1, -1)):
        for i in range(4):
            put(img, cx + dx * i, cy, col)
            put(img, cx, cy + dy * i, col)


# ---------------------------------------------------------------- panel and strip

PANEL_BOXES = {
    "p1name": (24, 48, 57, 17),
    "p1score": (104, 48, 57, 17),
    "p2score": (296, 48, 57, 17),
    "p2name": (376, 48, 57, 17),
    "p1gas": (112, 16, 25, 17),
    "p2gas": (320, 16, 25, 17),
    "p1lives": (80, 40, 25, 17),
    "p2lives": (352, 40, 25, 17),
    "highscore": (192, 48, 73, 25),
}

STRIP_BOXES = {
    "p1device": (96, 0, 34, 34),
    "p2device": (320, 0, 34, 34),
    "p1stock": (184, 8, 41, 17),
    "p2stock": (400, 8, 41, 17),
}


def _card(img, x, y, w, h, edge):
    rect(img, x, y, w, h, SLATE_LIGHT)
    frame(img, x, y, w, h, edge)
    hline(img, x + 1, y + 1, w - 2, SLATE_EDGE)


def _boxes(img, boxes):
    """Frame every box from outside, then fill all of them plain light, so
    boxes that touch share one light area."""
    for x, y, w, h in boxes:
        frame(img, x - 1, y - 1, w + 2, h + 2, INK)
    for x, y, w, h in boxes:
        rect(img, x, y, w, h, BOX)


def caption(img, x, y, text, col=CAPTION):
    """Small caption text with a dark drop shadow; returns its box."""
    fancy_text(img, x, y, text, col, shadow=INK)
    return (x, y, font.text_width(text) + 1, font.HEIGHT + 1)


def _caption_right(img, right, y, text, col=CAPTION):
    return caption(img, right - font.text_width(text), y, text, col)


def _mini_icon(kind):
    """Tiny 7 x 7 icons beside captions."""
    maps = {
        "heart": ("""
            .KK.KK.
            KRRKRRK
            KRHRRRK
            KRRRRRK
            .KRRRK.
            ..KRK..
            ...K...
        """, {"K": INK, "R": rgb("#e83040"), "H": rgb("#ff9a9a")}),
        "drop": ("""
            ...K...
            ..KYK..
            .KYYYK.
            KYYYYYK
            KYHYYYK
            .KYYYK.
            ..KKK..
        """, {"K": INK, "Y": rgb("#ff9a20"), "H": rgb("#ffe0a0")}),
    }
    m, pal = maps[kind]
    return from_map(m, pal)


# Captions of the status panel: text, x, y, whether x is the text's left or
# right end, colour, and an optional icon with its x.  Player 1 is on the left,
# player 2 on the right; gas and lives are captioned on the outer side of their
# boxes, names and scores underneath.
PANEL_CAPTIONS = (
    ("PLAYER 1", 30, 11, "left", P1_COLOUR, None, 0),
    ("GAS", 108, 21, "right", CAPTION, "drop", 82),
    ("LIVES", 76, 40, "right", CAPTION, "heart", 40),
    ("NAME", 24, 68, "left", CAPTION, None, 0),
    ("SCORE", 104, 68, "left", CAPTION, None, 0),
    ("PLAYER 2", 418, 11, "right", P2_COLOUR, None, 0),
    ("GAS", 349, 21, "left", CAPTION, "drop", 369),
    ("LIVES", 381, 40, "left", CAPTION, "heart", 411),
    ("SCORE", 296, 68, "left", CAPTION, None, 0),
    ("NAME", 376, 68, "left", CAPTION, None, 0),
)


def panel():
    img = new(449, 89, SLATE)
    hline(img, 0, 0, 449, SLATE_EDGE)
    _card(img, 4, 3, 166, 82, P1_DARK)
    _card(img, 176, 3, 97, 82, GOLD_SHADE)
    _card(img, 279, 3, 166, 82, P2_DARK)
    _boxes(img, PANEL_BOXES.values())
    paste(img, sprites.car(1, "right"), 9, 6)
    paste(img, sprites.car(2, "left"), 423, 6)
    used = []
    for text, x, y, align, col, icon, icon_x in PANEL_CAPTIONS:
        place = caption if align == "left" else _caption_right
        used.append(place(img, x, y, text, col))
        if icon:
            paste(img, _mini_icon(icon), icon_x, y)
    # the stored high score in the middle
    title = "HIGH SCORE"
    used.append(caption(img, 192 + (73 - font.text_width(title)) // 2, 38, title, GOLD))
    paste(img, sprites.cheese_wedge(), 216, 10)
    paste(img, sprites.cheese_wedge(), 226, 12)
    _check_clear(used, PANEL_BOXES.values(), "panel")
    return img


def strip():
    img = new(449, 33, SLATE)
    _card(img, 2, 0, 222, 33, P1_DARK)
    _card(img, 226, 0, 221, 33, P2_DARK)
    used = []
    for p, (dx, _, dw, _), (sx, sy, sw, sh) in (
            (1, STRIP_BOXES["p1device"], STRIP_BOXES["p1stock"]),
            (2, STRIP_BOXES["p2device"], STRIP_BOXES["p2stock"])):
        # the slot the selected device is shown in
        rect(img, dx, 0, dw, 33, BOX)
        vline(img, dx - 1, 0, 33, INK)
        vline(img, dx + dw, 0, 33, INK)
        _boxes(img, [(sx, sy, sw, sh)])
        col = P1_COLOUR if p == 1 else P2_COLOUR
        used.append(_caption_right(img, dx - 5, 13, "Current Device:", col))
        used.append(_caption_right(img, sx - 4, 13, "Stock:"))
    for (x, y, w, h), (lo, hi) in zip(used, ((0, 95), (132, 183), (226, 319), (356, 399))):
        if x < lo or x + w - 1 > hi:
            raise ValueError(f"strip caption at x {x}..{x + w - 1} leaves {lo}..{hi}")
    _check_clear(used, STRIP_BOXES.values(), "strip")
    return img


def _check_clear(captions, boxes, what):
    for cx, cy, cw, ch in captions:
        for bx, by, bw, bh in boxes:
            if cx < bx + bw and bx < cx + cw and cy < by + bh and by < cy + ch:
                raise ValueError(f"{what}: caption at {(cx, cy, cw, ch)} covers box {(bx, by, bw, bh)}")


# ---------------------------------------------------------------- titles and buttons

def title(text, size):
    """Big cheese-coloured letters on a clear background."""
    w, h = size
    img = new(w, h)
    k = 3
    spacing = 2
    tw, th = fancy_size(text, k, spacing)
    fancy_text(img, (w - tw) // 2, (h - th) // 2, text, GOLD, outline=BROWN, shadow=INK,
               scale_=k, spacing=spacing, shade=GOLD_SHADE)
    return img


BUTTON_FACE = rgb("#ffd23a")
BUTTON_LIGHT = rgb("#fff2a8")
BUTTON_DARK = rgb("#c07a10")


def button(lines, size, k, arrow=False):
    w, h = size
    img = new(w, h, BUTTON_FACE)
    frame(img, 0, 0, w, h, INK)
    bevel(img, 1, 1, w - 2, h - 2, BUTTON_LIGHT, BUTTON_DARK)
    hline(img, 2, h - 3, w - 4, rgb("#e0a820"))
    gap = 3
    heights = [font.HEIGHT * k for _ in lines]
    total = sum(heights) + gap * (len(lines) - 1)
    y = (h - total) // 2
    for line in lines:
        tw = font.text_width(line, k, k)
        x = (w - tw) // 2
        if arrow:
            ar = _arrow()
            x = (w - tw - ar.width - 4) // 2
            paste(img, ar, x, y)
            x += ar.width + 4
        fancy_text(img, x, y, line, BROWN, scale_=k, spacing=k)
        y += font.HEIGHT * k + gap
    return img


def _arrow():
    return from_map("""
        ...K...
        ..KK...
        .KKKKKK
        KKKKKKK
        .KKKKKK
        ..KK...
        ...K...
    """, {"K": BROWN})


# ---------------------------------------------------------------- icon

def icon():
    img = new(64, 64)
    rect(img, 2, 1, 60, 62, INK)
    rect(img, 1, 2, 62, 60, INK)
    rect(img, 3, 3, 58, 58, GOLD)
    for y in range(3, 61):
        for x in range(3, 61):
            if (x + y) % 9 == 0 and y > 30:
                put(img, x, y, GOLD_SHADE)
    hline(img, 3, 3, 58, rgb("#fff2a8"))
    vline(img, 3, 3, 58, rgb("#fff2a8"))
    paste(img, scale(sprites.car(2, "up"), 3), 7, 7)
    return img


# ---------------------------------------------------------------- preview

def mock_window():
    """The main window put together from the pictures, for the preview sheet."""
    win = new(457, 417, rgb("#202020"))
    paste(win, field(), 0, 0)
    paste(win, sprites.upgrade_station((1,)), 32, 120)
    paste(win, sprites.gas_station(), 392, 120)
    for img, (x, y) in (
            (sprites.car(1, "down"), (96, 136)), (sprites.car(2, "left"), (344, 136)),
            (sprites.car(1, "right"), (150, 220)), (sprites.car(2, "up"), (300, 220)),
            (sprites.wreck(1), (18, 18)), (sprites.cheesed(2), (250, 100)),
            (sprites.trap("up"), (288, 192)), (sprites.trap("left"), (200, 60)),
            (sprites.cheese_piece(), (280, 216)), (sprites.rasp_slick(), (304, 240)),
            (sprites.cheese_wedge(), (280, 256)), (sprites.strawberry(), (200, 250)),
            (sprites.jam_jar(), (120, 60)), (sprites.cheese_crate(), (360, 60))):
        paste(win, img, x, y)
    s = strip()
    paste(win, s, 0, 296)
    paste(win, sprites.selected("cheese"), 96, 296)
    paste(win, sprites.selected("trap"), 320, 296)
    for x, y in ((184, 8), (400, 8)):
        fancy_text(win, x + 2, 296 + y + 5, "5", INK)
    p = panel()
    texts = {"p1name": "Ann", "p1score": "120", "p2score": "90", "p2name": "Bob", "p1gas": "25",
             "p2gas": "18", "p1lives": "4", "p2lives": "3", "highscore": "300"}
    for key, (x, y, w, h) in PANEL_BOXES.items():
        fancy_text(p, x + 2, y + (h - 7) // 2, texts[key], INK)
    paste(win, p, 0, 328)
    return win
