#!/usr/bin/env python3
"""Synthesises the program's sounds and the sample skins' sounds as 16-bit mono WAV files.

Usage: make-sounds.py BUILT-IN-FOLDER SKINS-FOLDER
Each sound is a sum of decaying sine partials, so it is small and soft on the ear.
"""
import math
import struct
import sys
import wave
from pathlib import Path

RATE = 22050
SKIN_RATE = 16000  # the skins' sounds have no partial above 6 kHz; this keeps them small


def tone(partials, seconds, attack=0.004, rate=RATE, fade=0.02):
    """partials: (frequency Hz, amplitude, decay per second, start second) tuples. The last
    `fade` seconds fade out, so the sound ends without a click."""
    frames = int(rate * seconds)
    partials = [p for p in partials if p[0] < 0.45 * rate]  # nothing that would alias
    out = []
    for i in range(frames):
        t = i / rate
        value = 0.0
        for freq, amp, decay, start in partials:
            if t < start:
                continue
            u = t - start
            envelope = min(1.0, u / attack) * math.exp(-decay * u)
            value += amp * envelope * math.sin(2 * math.pi * freq * u)
        out.append(value)
    tail = int(rate * fade)
    for i in range(tail):
        out[frames - tail + i] *= (tail - i) / tail
    return out


def write(path, samples, rate=RATE):
    peak = max(1e-9, max(abs(s) for s in samples))
    scale = 0.7 * 32767 / peak
    path.parent.mkdir(parents=True, exist_ok=True)
    with wave.open(str(path), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(b"".join(struct.pack("<h", int(s * scale)) for s in samples))
    print(path)


def default_sound():
    # A gentle two-note glass ding (E6 then B5), heard when no skin names a sound.
    return tone([(1318.5, 1.0, 6.0, 0.0), (2637.0, 0.25, 12.0, 0.0),
                 (987.8, 0.8, 5.0, 0.12), (1975.5, 0.2, 10.0, 0.12)], 0.8)


# Partials of a cast bell relative to its strike note: (ratio, amplitude, decay factor). The
# hum below and the minor third above give a bell its warmth; higher partials die away first.
CAST_BELL = [(0.5, 0.35, 0.5), (1.0, 1.0, 1.0), (1.19, 0.45, 1.3), (1.5, 0.3, 1.6),
             (2.0, 0.5, 2.0), (2.52, 0.2, 3.0), (3.01, 0.12, 4.0)]
# A small hand bell: brighter, with its partials further apart.
HAND_BELL = [(1.0, 1.0, 1.0), (2.32, 0.45, 1.8), (4.25, 0.2, 3.0), (6.63, 0.08, 4.5)]
# A struck glass: nearly pure, a faint octave, two strikes a hair apart shimmer against it.
GLASS = [(1.0, 1.0, 1.0), (1.0018, 0.6, 1.0), (2.0, 0.12, 2.2)]
# A marimba bar: the bar's fourth-octave overtone, short-lived.
MARIMBA = [(1.0, 1.0, 1.0), (3.93, 0.25, 3.0), (9.2, 0.05, 5.0)]
# A singing bowl: inharmonic partials, each a close pair that beats slowly.
BOWL = [(1.0, 1.0, 1.0), (1.004, 0.8, 1.0), (2.71, 0.4, 1.6), (2.716, 0.3, 1.6),
        (5.12, 0.15, 2.5), (8.21, 0.05, 3.5)]


def strike(instrument, freq, start, decay, amp=1.0):
    """The partials of one strike of an instrument at freq Hz, start seconds in."""
    return [(freq * r, amp * a, decay * d, start) for r, a, d in instrument]


def strikes(instrument, notes, decay):
    """notes: (frequency, start, amplitude) tuples."""
    return [p for freq, start, amp in notes for p in strike(instrument, freq, start, decay, amp)]


def skin_tone(partials, seconds, attack=0.004):
    # A long fade lets a bell's hum die away instead of stopping.
    return tone(partials, seconds, attack, SKIN_RATE, fade=0.35)


SKIN_SOUNDS = {
    # Midnight Brass: three cast bells falling through a major chord (G4, E4, C4).
    "midnight/chime.wav": lambda: skin_tone(
        strikes(CAST_BELL, [(392.0, 0.0, 1.0), (329.6, 0.42, 0.95), (261.6, 0.84, 1.0)], 1.6),
        2.4),
    # Midnight Brass: a hand bell rung twice, three times over.
    "midnight/ring.wav": lambda: skin_tone(
        strikes(HAND_BELL, [(880.0, t + d, 1.0 - 0.25 * k) for t in (0.0, 0.62, 1.24)
                            for k, d in enumerate((0.0, 0.15))], 4.5),
        2.0),
    # Aurora: glass struck up an E major arpeggio.
    "aurora-chime.wav": lambda: skin_tone(
        strikes(GLASS, [(659.3, 0.0, 1.0), (830.6, 0.13, 0.9), (987.8, 0.26, 0.85),
                        (1318.5, 0.39, 0.8)], 2.6),
        1.8),
    # Aurora: a marimba climbing C, E, G and answering, three times.
    "aurora-alarm.wav": lambda: skin_tone(
        strikes(MARIMBA, [(f, t + i * 0.11, 1.0) for t in (0.0, 0.62, 1.24)
                          for i, f in enumerate((1046.5, 1318.5, 1568.0))], 7.0),
        2.0),
    # Ember: a singing bowl struck softly.
    "ember-bowl.wav": lambda: skin_tone(strike(BOWL, 293.7, 0.0, 1.1), 2.5, attack=0.02),
    # Ember: a warm bell three times quickly, then again.
    "ember-alarm.wav": lambda: skin_tone(
        strikes(CAST_BELL, [(587.3, t + i * 0.18, 1.0 - 0.15 * i) for t in (0.0, 1.0)
                            for i in range(3)], 2.6),
        2.2),
}


def main():
    if len(sys.argv) != 3:
        sys.exit("usage: make-sounds.py BUILT-IN-FOLDER SKINS-FOLDER")
    builtins, skins = Path(sys.argv[1]), Path(sys.argv[2])
    write(builtins / "default.wav", default_sound())
    for name, make in SKIN_SOUNDS.items():
        write(skins / name, make(), SKIN_RATE)


if __name__ == "__main__":
    main()
