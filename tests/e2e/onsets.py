#!/usr/bin/python3
"""onsets.py [SOURCE]: records SOURCE (default test.monitor) with parec until SIGTERM, then prints a
line per sound heard: when it began, in ms on the monotonic clock (Qt's %{time boot}), and its length.
A sound begins where the signal rises above -40 dBFS after 50 ms of silence. The recording is tied to
the clock by its bytes' arrival: a read ends no later than it arrived, so the earliest arrival less the
samples before it is when sample 0 was taken; a late read can only make a sound seem later. Each sound
is printed as soon as 50 ms of silence have followed it, so a test can wait for it; "listening" goes
to stderr once the first samples have come."""
import array, os, signal, subprocess, sys, time

RATE, LOUD, GAP = 44100, 328, 44100 // 20
stopped = []
signal.signal(signal.SIGTERM, lambda *_: stopped.append(True))
rec = subprocess.Popen(["parec", "-d", sys.argv[1] if len(sys.argv) > 1 else "test.monitor", "--raw",
                        "--format=s16le", "--channels=1", f"--rate={RATE}", "--latency-msec=5"],
                       stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
total, zero, rest, sounds, last = 0, float("inf"), b"", [], -GAP - 1


def say(first, end):
    print(f"{(zero + first / RATE) * 1000:.1f} {(end - first) / RATE * 1000:.0f}", flush=True)


while not stopped:
    chunk = os.read(rec.stdout.fileno(), 8192)
    if not chunk:
        break
    arrived, data = time.monotonic(), rest + chunk
    rest = data[len(data) // 2 * 2:]
    samples = array.array("h", data[:len(data) // 2 * 2])
    for i, v in enumerate(samples):
        if abs(v) >= LOUD:
            if total + i - last > GAP:
                sounds.append([total + i, 0])
            last = total + i
            sounds[-1][1] = last
    if total == 0:
        print("listening", file=sys.stderr, flush=True)
    total += len(samples)
    zero = min(zero, arrived - total / RATE)
    while sounds and (len(sounds) > 1 or total - last > GAP):
        say(*sounds.pop(0))
rec.terminate()
for first, end in sounds:
    say(first, end)
