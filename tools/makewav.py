#!/usr/bin/env python3
"""Makes Kestrabel's three default sounds, our own, as small WAV files.

    beepbeep.wav  the warning: two short beeps
    start.wav     a break begins: a rising three-note chime
    end.wav       a break ends: the same chime falling

16-bit mono PCM at 22050 Hz, each under a second, with soft attacks and
releases (no clicks) and the peak scaled to 70 % of full scale (no clipping).
The output depends only on this file: rerun it after a change and commit the
files it writes.

usage: tools/makewav.py [OUTPUT_DIR]   (default: res/sounds beside tools/)
"""
import math
import os
import struct
import sys
import wave

RATE = 22050
PEAK = 0.7  # of full scale, after mixing

# Equal-tempered pitches of the chime's notes, in Hz.
C5, E5, G5, C6 = 523.25, 659.26, 783.99, 1046.50


def silence(seconds):
    return [0.0] * int(round(seconds * RATE))


def beep(freq, seconds, ramp=0.008):
    """A steady tone with raised-cosine fades at both ends."""
    n = int(round(seconds * RATE))
    r = int(round(ramp * RATE))
    out = []
    for i in range(n):
        edge = min(i, n - 1 - i)
        gain = 0.5 - 0.5 * math.cos(math.pi * edge / r) if edge < r else 1.0
        t = i / RATE
        # A little third harmonic makes it sound less like a test tone.
        out.append(gain * (math.sin(2 * math.pi * freq * t)
                           + 0.2 * math.sin(2 * math.pi * 3 * freq * t)))
    return out


def bell(freq, seconds, decay=5.0, attack=0.004):
    """A struck note: quick attack, exponential decay, a faint octave above,
    and a short fade at the very end so the tail reaches zero."""
    n = int(round(seconds * RATE))
    a = int(round(attack * RATE))
    tail = int(round(0.03 * RATE))
    out = []
    for i in range(n):
        t = i / RATE
        gain = math.exp(-decay * t)
        if i < a:
            gain *= i / a
        if i >= n - tail:
            gain *= (n - 1 - i) / tail
        out.append(gain * (math.sin(2 * math.pi * freq * t)
                           + 0.3 * math.exp(-2 * decay * t) * math.sin(2 * math.pi * 2 * freq * t)))
    return out


def mix(parts, seconds):
    """Sums (start_seconds, samples) pairs into one track of the given length."""
    out = silence(seconds)
    for start, samples in parts:
        offset = int(round(start * RATE))
        for i, s in enumerate(samples):
            if offset + i < len(out):
                out[offset + i] += s
    return out


def chime(notes, step=0.14, ring=0.5):
    parts = [(k * step, bell(f, ring)) for k, f in enumerate(notes)]
    return mix(parts, step * (len(notes) - 1) + ring)


def write(path, samples):
    top = max(abs(s) for s in samples)
    scale = PEAK * 32767 / top
    frames = b"".join(struct.pack("<h", int(round(s * scale))) for s in samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    outdir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res", "sounds")
    os.makedirs(outdir, exist_ok=True)
    sounds = {
        "beepbeep.wav": beep(1000, 0.12) + silence(0.08) + beep(1000, 0.12) + silence(0.03),
        "start.wav": chime([C5, E5, G5, C6]),
        "end.wav": chime([C6, G5, E5, C5]),
    }
    for name, samples in sounds.items():
        path = os.path.join(outdir, name)
        write(path, samples)
        print("%s: %.2f s" % (os.path.normpath(path), len(samples) / RATE))


if __name__ == "__main__":
    main()
