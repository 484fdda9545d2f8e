#!/usr/bin/env python3
"""Writes the alarm sound Ondaris ships: two short beeps (880 Hz, 1320 Hz)
and a pause, 1.2 s of 16-bit mono at 22050 Hz, played in a loop by the alarm."""
import math
import struct
import sys
import wave

RATE = 22050


def tone(freq, seconds, volume=0.5):
    n = int(RATE * seconds)
    fade = int(RATE * 0.01)
    out = []
    for i in range(n):
        envelope = min(1.0, i / fade, (n - 1 - i) / fade)
        out.append(int(32767 * volume * envelope * math.sin(2 * math.pi * freq * i / RATE)))
    return out


def silence(seconds):
    return [0] * int(RATE * seconds)


samples = tone(880, 0.15) + silence(0.1) + tone(1320, 0.15) + silence(0.8)
with wave.open(sys.argv[1] if len(sys.argv) > 1 else "Alarm.wav", "wb") as w:
    w.setnchannels(1)
    w.setsampwidth(2)
    w.setframerate(RATE)
    w.writeframes(b"".join(struct.pack("<h", s) for s in samples))
