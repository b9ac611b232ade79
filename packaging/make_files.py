#!/usr/bin/python3
"""The package's made files: the icon at each theme size, and the manual page and changelog
compressed as Debian wants them. The output is the same, byte for byte, on every run.

Usage: make_files.py ICON MANPAGE CHANGELOG OUTDIR SIZE...
"""
import gzip
import pathlib
import sys

from PIL import Image


def compress(src: pathlib.Path, dest: pathlib.Path) -> None:
    # Best compression and no time stamp or file name in the header, like gzip -9n.
    dest.write_bytes(gzip.compress(src.read_bytes(), compresslevel=9, mtime=0))


def main() -> None:
    icon, manpage, changelog, outdir = (pathlib.Path(a) for a in sys.argv[1:5])
    with Image.open(icon) as src:
        art = src.convert("RGBA")
    for size in (int(s) for s in sys.argv[5:]):
        dest = outdir / "icons" / "hicolor" / f"{size}x{size}" / "apps" / "squeakrun.png"
        dest.parent.mkdir(parents=True, exist_ok=True)
        # Pixel art stays crisp: every pixel is copied, never blended with its neighbours.
        art.resize((size, size), Image.Resampling.NEAREST).save(dest, optimize=True)
    compress(manpage, outdir / "squeakrun.6.gz")
    compress(changelog, outdir / "changelog.gz")


if __name__ == "__main__":
    main()
