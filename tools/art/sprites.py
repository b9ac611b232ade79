"""The game's small pictures: cars, wrecks, traps, devices, bonus items and
the two stations.  Every picture is a pixel map with a palette; the two
players share one car drawing and differ only in their palettes."""

import math

from pixelart import (new, from_map, paste, turn, flip_v, rgb, rect, hline, vline, put, scale,
                      fancy_text)

OUTLINE = rgb("#141418")
FOOD_OUTLINE = rgb("#5a3008")

# ---------------------------------------------------------------- players

# Player 1 ("badmouse"): a dark grey mouse with glowing eyes in a red car with
# black racing stripes.  Player 2 ("mouse"): a white mouse with pink ears in a
# blue car with white stripes.
PLAYER_COLOURS = {
    1: {
        "K": OUTLINE,
        "R": rgb("#cc2a2a"),  # body
        "r": rgb("#8c1a1e"),  # body shade
        "h": rgb("#2a2a32"),  # racing stripe
        "Y": rgb("#ffe680"),  # headlight
        "T": rgb("#24242c"),  # tyre
        "t": rgb("#62626e"),  # tyre glint
        "W": rgb("#9cc8e0"),  # windscreen
        "S": rgb("#c89858"),  # seat
        "M": rgb("#5a5a66"),  # fur
        "m": rgb("#3c3c46"),  # fur shade
        "E": rgb("#ffd23c"),  # eyes
        "N": rgb("#d06080"),  # nose
        "P": rgb("#b86080"),  # inner ear
        "L": rgb("#5a5a66"),  # tail
    },
    2: {
        "K": OUTLINE,
        "R": rgb("#2a64dc"),
        "r": rgb("#1a3c8c"),
        "h": rgb("#f4f6ff"),
        "Y": rgb("#ffe680"),
        "T": rgb("#24242c"),
        "t": rgb("#62626e"),
        "W": rgb("#9cc8e0"),
        "S": rgb("#c89858"),
        "M": rgb("#f6f6f2"),
        "m": rgb("#c4c4cc"),
        "E": rgb("#141418"),
        "N": rgb("#f07090"),
        "P": rgb("#f4a0b8"),
        "L": rgb("#f4a0b8"),
    },
}

# The car seen from above, nose up; the mouse sits in the seat, its nose
# towards the windscreen and its ears sticking out over the sides.
CAR_UP = """
    .....KKKKKKK.....
    ....KYRRRRRYK....
    .TTKRRRhhhRRRKTT.
    .TtKRRRhhhRRRKtT.
    .TTKRRRRRRRRRKTT.
    .TTKRWWWWWWWRKTT.
    ...KRWWKNKWWRK...
    ...KRKKMMMKKRK...
    ...KKMMEMEMMKK...
    ..KPPKMMMMMKPPK..
    ..KPPKMmMmMKPPK..
    ...KKKKMMMKKKK...
    .TTKRSSKKKSSRKTT.
    .TtKRRRRRRRRRKtT.
    .TTKrrrrrrrrrKTT.
    .TTKKKKKKKKKKKTT.
    ........LLL......
"""

HEADINGS = {"up": 0, "left": 1, "down": 2, "right": 3}  # quarter turns counter-clockwise


def car(player, heading="up"):
    return turn(from_map(CAR_UP, PLAYER_COLOURS[player]), HEADINGS[heading])


# ---------------------------------------------------------------- wrecks

EXTRA = {
    "g": rgb("#6a6a74"),  # smoke
    "G": rgb("#a2a2aa"),  # light smoke
    "k": rgb("#3a2a22"),  # scorch
    "x": OUTLINE,  # crossed-out eye
    "*": rgb("#ffc800"),  # star
    "w": rgb("#e8f4ff"),  # crack in the windscreen
    "C": rgb("#ffd23a"),  # cheese
    "c": rgb("#e0a010"),  # cheese shade
    "o": rgb("#fff08a"),  # cheese light
}

# The car after a crash: nose stove in, one wheel knocked off and another
# rolling away, smoking, and a dazed mouse seeing stars.
WRECK = """
    .*.......gGGg....
    *.*..KK.gGGGGg...
    .*..KRRKKgGGGg...
    .TTKRRRkRKkgg....
    .TtKRRkRRRRK.....
    .TTKRwWwWWRRK..TT
    ...KRWwKNwWWRK.tT
    ...KRKKMMMKKRK.TT
    ...KKMMxMxMMKK.TT
    ..KPPKMMMMMKPPK..
    ..KPPKMmMmMKPPK..
    ...KKKKMMMKKKK...
    .TTKRSSKKKSSRK...
    .TtKRRRkRRRRRK...
    .TTKrrrrrkrrrK.TT
    .TTKKKKKKKKKKK.tT
    ........LLL....TT
"""

# Cheese splashed over a whole car and its stunned driver ('.' keeps the car).
CHEESED = """
    ......cCCc.......
    .....cCooCc......
    ....cCCCCCCc.....
    ..........Cc.....
    ...........C..c..
    ......CC....ccCc.
    .....cCoCc..cCCc.
    .....cCCCc...c...
    ......cx.x......C
    .........Cc....cC
    ........cCoC....c
    .........cCc.....
    .................
    ..C...cCC........
    ..cC.cCoCc.......
    ...c..cCc........
    ......c..........
"""


def wreck(player):
    return from_map(WRECK, dict(PLAYER_COLOURS[player], **EXTRA))


def cheesed(player):
    pal = dict(PLAYER_COLOURS[player], **EXTRA)
    out = from_map(CAR_UP, pal)
    paste(out, from_map(CHEESED, pal), 0, 0)
    return out


# ---------------------------------------------------------------- traps

WOOD = {
    "K": rgb("#4a2810"),
    "B": rgb("#d9a05a"),  # wood
    "b": rgb("#b07838"),  # wood grain
    "G": rgb("#dfe4ea"),  # steel
    "g": rgb("#8a94a0"),  # steel shade
    "C": rgb("#ffd23a"),  # bait
    "c": rgb("#e0a010"),
}

# A snap trap seen from above, its snap bar towards the heading.
TRAP_UP = """
    .KKKKKKK.
    KBBBBBBBK
    KBGGGGGBK
    KBGbBbGBK
    KBGBBBGBK
    KBGbBbGBK
    KBGBBBGBK
    KgGGGGGgK
    KBgGgGgBK
    KBBbBbBBK
    KBBBGBBBK
    KBbBGBbBK
    KBBBGBBBK
    KBBCCCBBK
    KBbcCcbBK
    KBBBBBBBK
    .KKKKKKK.
"""


def trap(heading):
    up = from_map(TRAP_UP, WOOD)
    return {"up": up, "down": flip_v(up), "left": turn(up, 1), "right": turn(up, 3)}[heading]


# ---------------------------------------------------------------- food and devices

CHEESE = {
    "K": FOOD_OUTLINE,
    "L": rgb("#fff3a0"),  # lit top face
    "Y": rgb("#ffd23a"),
    "y": rgb("#e8a818"),
    "h": rgb("#d08a10"),  # hole
    "o": rgb("#e07a10"),  # rind
}

CHEESE_WEDGE = """
    .................
    .................
    .................
    ............KK...
    .........KKKLLK..
    ......KKKLLLLLLK.
    ...KKKLLLLLLLLLK.
    .KKLLLLLLLLLLLLLK
    .KLLLLLLLLLLLLLLK
    .KKKKKKKKKKKKKKKK
    .KYYhYYYYYYYhhYYK
    .KYhhYYYYhYYhhYYK
    .KYYYYYYhhYYYYYYK
    .KYYYhYYhhYYYYhYK
    .KyyyyyyyyyyyyyyK
    .KKKKKKKKKKKKKKKK
    .................
"""


def cheese_wedge():
    return from_map(CHEESE_WEDGE, CHEESE)


def cheese_piece():
    """A round of cheese with a slice cut out, ready to roll."""
    img = new(17, 17)
    holes = {(6, 6), (7, 6), (6, 7), (10, 10), (11, 10), (5, 11), (10, 5)}
    for y in range(17):
        for x in range(17):
            dx, dy = x - 8, y - 8
            d = math.hypot(dx, dy)
            ang = math.degrees(math.atan2(-dy, dx)) % 360
            cut = 20 <= ang <= 65 and d > 1.2
            if d <= 6.6 and not cut:
                col = CHEESE["Y"]
                if d > 5.4:
                    col = CHEESE["o"]
                elif (x, y) in holes:
                    col = CHEESE["h"]
                elif dx + dy < -5:
                    col = CHEESE["L"]
                img.putpixel((x, y), col)
    _outline(img, CHEESE["K"])
    return img


def _outline(img, color):
    """Add a one-pixel outline around the opaque part of `img`."""
    src = img.copy()
    for y in range(img.height):
        for x in range(img.width):
            if src.getpixel((x, y))[3]:
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if 0 <= nx < img.width and 0 <= ny < img.height and src.getpixel((nx, ny))[3]:
                    img.putpixel((x, y), color)
                    break


JAM = {
    "K": rgb("#3a0818"),
    "J": rgb("#a01848"),  # jam
    "j": rgb("#6e0c30"),  # deep jam
    "H": rgb("#f070a8"),  # shine
    "s": rgb("#ffd8a0"),  # seed
}


def rasp_slick():
    """A puddle of raspberry jam."""
    img = new(17, 17)
    blobs = [(8, 8, 5.2), (4.5, 9.5, 3.2), (11.5, 10.5, 3.4), (7, 4.5, 3.0), (12, 5.5, 2.3),
             (5, 13, 2.0)]
    for y in range(17):
        for x in range(17):
            inside = any(math.hypot(x - bx, y - by) <= r for bx, by, r in blobs)
            if inside and 1 <= x <= 15 and 1 <= y <= 15:
                img.putpixel((x, y), JAM["J"])
    # deeper jam towards the lower right of each pool
    px = img.load()
    for y in range(16, 0, -1):
        for x in range(16, 0, -1):
            if px[x, y][3] and (x + 1 > 15 or y + 1 > 15 or not px[x + 1, y][3] or not px[x, y + 1][3]):
                px[x, y] = JAM["j"]
    for x, y in ((6, 5), (7, 5), (5, 6), (4, 9), (10, 8), (11, 8)):
        px[x, y] = JAM["H"]
    for x, y in ((9, 6), (6, 10), (12, 11), (9, 12), (3, 11)):
        px[x, y] = JAM["s"]
    _outline(img, JAM["K"])
    return img


STRAWBERRY = """
    .................
    ........g........
    .....gg.g.gg.....
    ....KGGgGgGGK....
    ...KRRGGGGGRRK...
    ..KRRsRRRRRsRRK..
    ..KRHRRRsRRRRsK..
    ..KRHHRRRRRsRRK..
    ..KRHRsRRRRRRRK..
    ...KRRRRsRRsrK...
    ...KRRsRRRRRrK...
    ....KRRRRsRrK....
    ....KRRsRRRrK....
    .....KRRRrrK.....
    ......KrrrK......
    .......KKK.......
    .................
"""

STRAWBERRY_COLOURS = {
    "K": rgb("#4a0c10"),
    "R": rgb("#e8283a"),
    "r": rgb("#b01828"),
    "H": rgb("#ff8a8a"),
    "s": rgb("#ffe08a"),
    "G": rgb("#3aa040"),
    "g": rgb("#237028"),
}

JAM_JAR = """
    .................
    ....KKKKKKKKK....
    ....KwWwWwWwK....
    ....KWwWwWwWK....
    ...KKKKKKKKKKK...
    ...KgJJJJJJJjK...
    ..KgJJJJJJJJJjK..
    ..KgLLLLLLLLLjK..
    ..KgLLLLLnnnLjK..
    ..KHLnLnLnLLLjK..
    ..KgLLnLLnnnLjK..
    ..KJLnLnLLLnLjK..
    ..KJLLLLLnnnLjK..
    ..KJLLLLLLLLLjK..
    ..KJJJJJJJJJJjK..
    ...KjjjjjjjjjK...
    ....KKKKKKKKK....
"""

JAR_COLOURS = {
    "K": rgb("#2a0a16"),
    "w": rgb("#fff4f4"),  # lid checks
    "W": rgb("#e03040"),
    "J": rgb("#b81c50"),
    "j": rgb("#74102f"),
    "g": rgb("#e87aa8"),  # glass shine
    "H": rgb("#ffd0e4"),
    "L": rgb("#fff4d8"),  # label
    "n": rgb("#3a1a10"),  # label text
}

CRATE = """
    .................
    ..........KK.....
    ...KK....KooK....
    ..KooK..KoooLK...
    .KoLLLK.KLLLLKKK.
    .KLLLLLKKLLhLKoLK
    KKKKKKKKKKKKKKKKK
    KBBBBBBBBBBBBBBBK
    KbbbbbbbbbbbbbbbK
    KBBnBnBBBnnnBBBBK
    KbbbnbbbbnbbbbbbK
    KBBnBnBBBnnnBBBBK
    KbbbbbbbbbbnbbbbK
    KBBBBBBBBnnnBBBBK
    KbbbbbbbbbbbbbbbK
    KKKKKKKKKKKKKKKKK
    .................
"""

CRATE_COLOURS = {
    "K": rgb("#3a2208"),
    "B": rgb("#c0844a"),
    "b": rgb("#9a6432"),
    "n": rgb("#3a2208"),
    "L": rgb("#ffd23a"),
    "o": rgb("#fff3a0"),
    "h": rgb("#d08a10"),
}


def strawberry():
    return from_map(STRAWBERRY, STRAWBERRY_COLOURS)


def jam_jar():
    return from_map(JAM_JAR, JAR_COLOURS)


def cheese_crate():
    return from_map(CRATE, CRATE_COLOURS)


def selected(device):
    """The 34 x 34 device picture for the device strip: the device at double size."""
    out = new(34, 34)
    if device == "trap":
        paste(out, scale(trap("right"), 2), 0, 8)
    elif device == "cheese":
        paste(out, scale(cheese_piece(), 2), 0, 0)
    else:
        paste(out, scale(rasp_slick(), 2), 0, 0)
    return out


# ---------------------------------------------------------------- stations

CONCRETE = rgb("#a9a9a4")
CONCRETE_DARK = rgb("#8e8e89")
CONCRETE_LIGHT = rgb("#bcbcb6")
WALL = rgb("#6e4a36")
WALL_DARK = rgb("#4a2e20")
WALL_LIGHT = rgb("#8e664c")
ROOF = rgb("#3c4454")
ROOF_LIGHT = rgb("#56607a")
STRIPE = rgb("#f0c020")


def _pad(open_side):
    """The station's concrete floor, walled in on three sides and open towards
    the field (`open_side` 'right' or 'left')."""
    img = new(33, 57, CONCRETE)
    for y in range(15, 57):
        for x in range(33):
            if (x * 7 + y * 13) % 23 == 0:
                put(img, x, y, CONCRETE_DARK)
            elif (x * 5 + y * 11) % 29 == 0:
                put(img, x, y, CONCRETE_LIGHT)
    # walls: top band is the roof with the sign, then the side and bottom walls
    wall_x = 0 if open_side == "right" else 29
    rect(img, wall_x, 14, 4, 43, WALL)
    for y in range(14, 57, 3):
        hline(img, wall_x, y, 4, WALL_DARK)
    vline(img, wall_x + (3 if open_side == "right" else 0), 14, 43, WALL_LIGHT)
    rect(img, 0, 53, 33, 4, WALL)
    hline(img, 0, 53, 33, WALL_LIGHT)
    for x in range(0 if open_side == "right" else 1, 33, 4):
        vline(img, x, 54, 3, WALL_DARK)
    hline(img, 0, 56, 33, WALL_DARK)
    return img


def _roof(img, color, light):
    rect(img, 0, 0, 33, 14, color)
    hline(img, 0, 0, 33, light)
    hline(img, 0, 13, 33, OUTLINE)
    for x in range(2, 33, 4):
        vline(img, x, 1, 12, light if x % 8 == 2 else color)


def upgrade_station(inside=()):
    """The upgrade garage; `inside` lists the players whose cars are parked:
    player 1 in the upper bay, player 2 in the lower one."""
    img = _pad("right")
    _roof(img, ROOF, ROOF_LIGHT)
    # sign: a wrench on a yellow board
    rect(img, 3, 0, 27, 14, OUTLINE)
    rect(img, 4, 1, 25, 12, STRIPE)
    hline(img, 4, 1, 25, rgb("#ffe27a"))
    _draw_wrench(img, 11, 1)
    # two parking bays split by a painted line
    for x in range(6, 33, 2):
        put(img, x, 34, STRIPE)
    for y in (16, 51):
        for x in range(6, 33, 2):
            put(img, x, y, STRIPE)
    for p in inside:
        top = 17 if p == 1 else 35
        paste(img, car(p, "left"), 10, top)
    return img


def _draw_wrench(img, x, y):
    """An 11 x 11 spanner, drawn diagonally, with an arrow each side of it."""
    w = from_map("""
        ......KKK..
        .....KGGK..
        ....KGGK...
        ....KGK..KK
        ....KGGKKGK
        ...KGGGGGGK
        ..KGGGKKKK.
        .KGGGK.....
        KGGGK......
        KGGK.......
        .KK........
    """, {"K": OUTLINE, "G": rgb("#dfe4ea")})
    paste(img, w, x, y)
    arrow = from_map("""
        ..K..
        .KGK.
        KGGGK
        .KGK.
        .KGK.
        .KKK.
    """, {"K": OUTLINE, "G": rgb("#48c848")})
    paste(img, arrow, x - 8, y + 3)
    paste(img, arrow, x + 14, y + 3)


GAS_PUMP = """
    ..KKKKKKKKK....
    .KRRRRRRRRRK...
    .KRhhhhhhhRK...
    .KRKKKKKKKRK...
    .KRKdddddKRK...
    .KRKdDdDdKRK.K.
    .KRKKKKKKKRKKgK
    .KRRRRRRRRRKgK.
    .KRRwwwwwRRKgK.
    .KRRwRRRwRRKgK.
    .KRRwwwwwRRKKgK
    .KRRRRRRRRRK.gK
    .KRRRRRRRRRK.gK
    .KRRRRRRRRRK.gK
    .KrrrrrrrrrK.gK
    .KrrrrrrrrrKKgK
    KKKKKKKKKKKKKKK
    KccccccccccccK.
    .KKKKKKKKKKKK..
"""


def gas_station():
    img = _pad("left")
    _roof(img, rgb("#7a1c1c"), rgb("#a83232"))
    rect(img, 3, 1, 27, 12, OUTLINE)
    rect(img, 4, 2, 25, 10, rgb("#f4f4f0"))
    fancy_text(img, 8, 3, "GAS", rgb("#d02020"))
    pump = from_map(GAS_PUMP, {
        "K": OUTLINE,
        "R": rgb("#d83030"),
        "r": rgb("#9a1c1c"),
        "h": rgb("#ff8a7a"),
        "d": rgb("#203040"),
        "D": rgb("#7af07a"),
        "w": rgb("#fff4d0"),
        "g": rgb("#2a2a30"),
        "c": rgb("#707070"),
    })
    paste(img, pump, 8, 24)
    # stripes on the island
    for x in range(0, 29, 4):
        rect(img, x, 18, 2, 2, STRIPE)
    return img
