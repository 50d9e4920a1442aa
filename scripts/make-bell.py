#!/usr/bin/env python3
"""Synthesises the alert bell compiled into the program: widgets/sounds/newsbell.wav.

A struck bell: a few inharmonic partials, each dying away at its own rate, with a soft attack
so that it does not click. Run once; the output is the same on every run.
    scripts/make-bell.py [OUT.wav]
"""
import math
import struct
import sys
import wave

RATE = 22050
SECONDS = 1.0
BASE = 880.0
# (frequency ratio, loudness, decay per second): the ratios of a small hand bell.
PARTIALS = [(1.0, 1.0, 4.0), (2.0, 0.5, 6.0), (2.76, 0.35, 7.0), (5.4, 0.2, 11.0), (8.93, 0.1, 16.0)]
ATTACK = 0.004  # seconds


def sample(t):
    value = sum(level * math.exp(-decay * t) * math.sin(2 * math.pi * BASE * ratio * t)
                for ratio, level, decay in PARTIALS)
    return value * min(1.0, t / ATTACK)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "widgets/sounds/newsbell.wav"
    frames = [sample(i / RATE) for i in range(int(RATE * SECONDS))]
    peak = max(abs(f) for f in frames)
    scale = 0.7 * 32767 / peak
    with wave.open(out, "wb") as bell:
        bell.setnchannels(1)
        bell.setsampwidth(2)
        bell.setframerate(RATE)
        bell.writeframes(b"".join(struct.pack("<h", round(f * scale)) for f in frames))


if __name__ == "__main__":
    main()
