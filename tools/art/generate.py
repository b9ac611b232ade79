#!/usr/bin/python3
"""Draws all of the game's artwork into images/ at the repository root.

    /usr/bin/python3 tools/art/generate.py                 # (re)write images/
    /usr/bin/python3 tools/art/generate.py --preview x.png # also a 3x contact sheet

Everything is drawn in code, so the output is the same, byte for byte, on
every run.
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import screens  # noqa: E402
import sprites  # noqa: E402
from pixelart import save_gif, new, paste, scale, rgb, fancy_text  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "images")


def pictures():
    """Every picture: (file name, image, transparent, expected size)."""
    out = []

    def add(name, img, transparent, size):
        if img.size != size:
            raise ValueError(f"{name} is {img.size}, expected {size}")
        out.append((name, img, transparent))

    names = {1: "badmouse", 2: "mouse"}
    for p in (1, 2):
        for heading in ("up", "down", "left", "right"):
            add(f"{names[p]}{heading}.gif", sprites.car(p, heading), True, (17, 17))
    add("bcrash.gif", sprites.wreck(1), True, (17, 17))
    add("crash.gif", sprites.wreck(2), True, (17, 17))
    add("bcrashc.gif", sprites.cheesed(1), True, (17, 17))
    add("crashc.gif", sprites.cheesed(2), True, (17, 17))
    for heading in ("up", "down"):
        add(f"trap{heading}.gif", sprites.trap(heading), True, (9, 17))
    for heading in ("left", "right"):
        add(f"trap{heading}.gif", sprites.trap(heading), True, (17, 9))
    add("trapselect.gif", sprites.selected("trap"), True, (34, 34))
    add("cheeseselect.gif", sprites.selected("cheese"), True, (34, 34))
    add("raspslickselect.gif", sprites.selected("slick"), True, (34, 34))
    add("cheesepiece.gif", sprites.cheese_piece(), True, (17, 17))
    add("raspslick.gif", sprites.rasp_slick(), True, (17, 17))
    add("cheese.gif", sprites.cheese_wedge(), True, (17, 17))
    add("strawb.gif", sprites.strawberry(), True, (17, 17))
    add("slickpup.gif", sprites.jam_jar(), True, (17, 17))
    add("cheeseblob.gif", sprites.cheese_crate(), True, (17, 17))
    add("station1.gif", sprites.upgrade_station(()), False, (33, 57))
    add("station11.gif", sprites.upgrade_station((1,)), False, (33, 57))
    add("station12.gif", sprites.upgrade_station((2,)), False, (33, 57))
    add("station112.gif", sprites.upgrade_station((1, 2)), False, (33, 57))
    add("gasstation.gif", sprites.gas_station(), False, (33, 57))
    add("field.gif", screens.field(), False, (450, 292))
    add("panel.gif", screens.panel(), False, (449, 89))
    add("strip.gif", screens.strip(), False, (449, 33))
    add("title.gif", screens.title("SQUEAKRUN!", (161, 25)), True, (161, 25))
    add("settings.gif", screens.title("GAME SETTINGS", (257, 25)), True, (257, 25))
    add("highscores.gif", screens.title("HIGH SCORES", (257, 25)), True, (257, 25))
    add("btnapply.gif", screens.button(["APPLY", "CHANGES"], (121, 41), 2), False, (121, 41))
    add("btncancel.gif", screens.button(["CANCEL"], (65, 17), 1), False, (65, 17))
    add("btnback.gif", screens.button(["BACK TO GAME"], (105, 33), 1, arrow=True), False, (105, 33))
    add("btnok.gif", screens.button(["OK"], (65, 21), 1), False, (65, 21))
    return out


def write_all():
    os.makedirs(OUT, exist_ok=True)
    for name, img, transparent in pictures():
        save_gif(img, os.path.join(OUT, name), transparent)
    screens.icon().save(os.path.join(OUT, "squeakrun.png"), "PNG", optimize=False)


def preview(path, k=3):
    """A contact sheet: every picture at `k` times its size, then the main
    window put together from the pictures at twice its size."""
    pics = pictures() + [("squeakrun.png", screens.icon(), True)]
    label_h = 12
    margin = 8
    sheet_w = 1400
    placed = []
    x = y = margin
    row_h = 0
    for name, img, _ in pics:
        w, h = img.width * k, img.height * k + label_h
        if x + w > sheet_w - margin:
            x = margin
            y += row_h + margin
            row_h = 0
        placed.append((name, img, x, y))
        x += max(w, 70) + margin
        row_h = max(row_h, h)
    mock = screens.mock_window()
    mk = 2
    total_h = y + row_h + margin + mock.height * mk + margin
    sheet = new(sheet_w, total_h, rgb("#30343c"))
    for name, img, px, py in placed:
        # clear pictures are shown on the floor colour, as the game shows them
        big = scale(img, k)
        backing = new(big.width, big.height, screens.TILE_A)
        paste(backing, big, 0, 0)
        paste(sheet, backing, px, py)
        fancy_text(sheet, px, py + big.height + 2, name.split(".")[0], rgb("#f0f0f0"))
    paste(sheet, scale(mock, mk), margin, y + row_h + margin)
    sheet.convert("RGB").save(path)


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--preview", metavar="OUT.png", help="also write a contact sheet at 3x")
    args = ap.parse_args()
    write_all()
    if args.preview:
        preview(args.preview)


if __name__ == "__main__":
    main()
