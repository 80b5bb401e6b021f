#!/usr/bin/env python3
"""Synthesises the program's sounds as 16-bit mono WAV files.

Usage: make-sounds.py OUTPUT-FOLDER
Each sound is a sum of decaying sine partials, so it is small and soft on the ear.
"""
import math
import struct
import sys
import wave
from pathlib import Path

RATE = 22050


def tone(partials, seconds, attack=0.004):
    """partials: (frequency Hz, amplitude, decay per second, start second) tuples."""
    frames = int(RATE * seconds)
    out = []
    for i in range(frames):
        t = i / RATE
        value = 0.0
        for freq, amp, decay, start in partials:
            if t < start:
                continue
            u = t - start
            envelope = min(1.0, u / attack) * math.exp(-decay * u)
            value += amp * envelope * math.sin(2 * math.pi * freq * u)
        out.append(value)
    tail = int(RATE * 0.02)  # fade the last 20 ms so the sound ends without a click
    for i in range(tail):
        out[frames - tail + i] *= (tail - i) / tail
    return out


def write(path, samples):
    peak = max(1e-9, max(abs(s) for s in samples))
    scale = 0.7 * 32767 / peak
    with wave.open(str(path), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", int(s * scale)) for s in samples))
    print(path)


def default_sound():
    # A gentle two-note glass ding (E6 then B5), heard when no skin names a sound.
    return tone([(1318.5, 1.0, 6.0, 0.0), (2637.0, 0.25, 12.0, 0.0),
                 (987.8, 0.8, 5.0, 0.12), (1975.5, 0.2, 10.0, 0.12)], 0.8)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make-sounds.py OUTPUT-FOLDER")
    folder = Path(sys.argv[1])
    folder.mkdir(parents=True, exist_ok=True)
    write(folder / "default.wav", default_sound())


if __name__ == "__main__":
    main()
