#!/usr/bin/python3
"""Synthesizes the game's sounds into sounds/ at the repository root.

    /usr/bin/python3 tools/sound/generate.py      # (re)write sounds/*.wav

One short sound per cue, 16-bit mono PCM at 22050 Hz (the one format the game
reads), made from sine waves and seeded noise alone, so the output is the same,
byte for byte, on every run. Each lasts under a second.
"""

import math
import os
import random
import struct
import wave

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
OUT = os.path.join(ROOT, "sounds")
RATE = 22050
LONGEST = 1.0


def note(name):
    """The frequency of a note such as "C5" or "F#4" (A4 = 440 Hz)."""
    steps = {"C": -9, "D": -7, "E": -5, "F": -4, "G": -2, "A": 0, "B": 2}
    semitones = steps[name[0]] + (1 if "#" in name else 0) + 12 * (int(name[-1]) - 4)
    return 440.0 * 2 ** (semitones / 12)


def silence(seconds):
    return [0.0] * int(seconds * RATE)


def tone(freq, seconds, decay=0.0, harmonics=(1.0,), glide_to=None, vibrato=(0.0, 0.0)):
    """A tone with the given partials, an exponential decay (per second) and an optional glide."""
    n = int(seconds * RATE)
    out, phase = [], 0.0
    depth, rate = vibrato
    for i in range(n):
        t = i / RATE
        f = freq if glide_to is None else freq * (glide_to / freq) ** (i / n)
        f *= 1.0 + depth * math.sin(2 * math.pi * rate * t)
        phase += 2 * math.pi * f / RATE
        v = sum(a * math.sin(k * phase) for k, a in enumerate(harmonics, start=1))
        out.append(v * math.exp(-decay * t))
    return out


def noise(seconds, decay, seed, smooth=0.0):
    """Seeded white noise, optionally low-passed (smooth near 1 is darker), with a decay."""
    rng = random.Random(seed)
    out, last = [], 0.0
    for i in range(int(seconds * RATE)):
        last = smooth * last + (1 - smooth) * rng.uniform(-1, 1)
        out.append(last * math.exp(-decay * i / RATE))
    return out


def mix(*parts):
    n = max(len(p) for p in parts)
    return [sum(p[i] for p in parts if i < len(p)) for i in range(n)]


def then(*parts):
    return [v for p in parts for v in p]


def shaped(samples, peak, fade=0.004):
    """Scaled to `peak` (0..1 of full scale), with short fades so that no sound starts or ends in a click."""
    top = max(abs(v) for v in samples) or 1.0
    n, k = len(samples), max(1, int(fade * RATE))
    out = []
    for i, v in enumerate(samples):
        gain = min(1.0, i / k, (n - 1 - i) / k)
        out.append(v / top * peak * gain)
    return out


def arpeggio(names, each, decay, harmonics=(1.0, 0.3, 0.1)):
    return then(*(tone(note(n), each, decay, harmonics) for n in names))


def sounds():
    """Each cue's sound."""
    return {
        # The start button: a bright rising call to go.
        "start": shaped(arpeggio(["C5", "E5", "G5", "C6"], 0.07, 6), 0.45),
        # A car wrecked: a dark burst of noise over a falling thud.
        "crash": shaped(mix(noise(0.45, 9, seed=1, smooth=0.6), tone(140, 0.45, 8, (1.0, 0.5), glide_to=45)), 0.6),
        # An empty tank: the engine sputters out, three coughs falling in pitch.
        "empty": shaped(
            then(*(mix(tone(f, 0.09, 18, (1.0, 0.6, 0.3)), noise(0.09, 30, seed=k, smooth=0.5))
                   + silence(0.04) for k, f in enumerate((220, 180, 140)))),
            0.5),
        # A trap snaps shut: a sharp click ringing with metal.
        "trap": shaped(mix(noise(0.02, 150, seed=3), tone(1870, 0.25, 18, (1.0, 0.0, 0.4, 0.0, 0.2)),
                           tone(2630, 0.25, 22)), 0.45),
        # A device dropped on the road: a soft plop.
        "drop": shaped(tone(320, 0.12, 12, glide_to=120), 0.35),
        # Cheese hits a car: a wet splat.
        "cheese": shaped(mix(noise(0.22, 14, seed=4, smooth=0.85), tone(200, 0.22, 12, glide_to=90)), 0.5),
        # A car spins on a slick: a wobbling whistle up and down.
        "slick": shaped(then(tone(500, 0.2, 0, (1.0, 0.2), glide_to=1100, vibrato=(0.06, 18)),
                             tone(1100, 0.2, 5, (1.0, 0.2), glide_to=400, vibrato=(0.06, 18))), 0.4),
        # Points taken: a two-note chime.
        "points": shaped(then(tone(note("E6"), 0.07, 10, (1.0, 0.2)), tone(note("B6"), 0.14, 12, (1.0, 0.2))), 0.4),
        # A jar of jam or a crate of cheese: three quick rising blips.
        "stock": shaped(arpeggio(["G5", "B5", "D6"], 0.06, 14, (1.0, 0.5)), 0.4),
        # One unit of gas pumped: a soft, short bloop, quiet enough to come seven times a second.
        "refuel": shaped(tone(660, 0.05, 40, (1.0, 0.1), glide_to=880), 0.12),
        # A purchase or a sale: a small cash-register ring.
        "shop": shaped(then(tone(note("A6"), 0.05, 20, (1.0, 0.3)), tone(note("E7"), 0.13, 14, (1.0, 0.3))), 0.35),
        # The game is over: a slow falling minor line.
        "gameover": shaped(arpeggio(["A4", "F4", "D4", "A3"], 0.16, 3, (1.0, 0.4, 0.2)), 0.5),
        # A new high score: a short rising fanfare that holds its last note.
        "record": shaped(then(arpeggio(["C5", "E5", "G5"], 0.1, 2, (1.0, 0.5, 0.25)),
                              tone(note("C6"), 0.35, 4, (1.0, 0.5, 0.25), vibrato=(0.004, 6))), 0.5),
    }


def write(path, samples):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", round(v * 32767)) for v in samples))


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, samples in sounds().items():
        if len(samples) >= LONGEST * RATE:
            raise SystemExit(f"{name} lasts {len(samples) / RATE:.2f} s, not under {LONGEST} s")
        write(os.path.join(OUT, name + ".wav"), samples)
        print(f"sounds/{name}.wav  {len(samples) / RATE:.2f} s")


if __name__ == "__main__":
    main()
