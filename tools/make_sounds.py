#!/usr/bin/env python3
"""Synthesizes the two default alarm sounds and encodes them as MP3 with lame.

  默认闹铃.mp3   Pachelbel's Canon (public domain): the ground bass with its chords and
                 the first three melody variations, on a soft music-box voice (about 43 s).
  默认闹铃2.mp3  a mechanical alarm-clock bell: a hammer beating two small bells about
                 18 times a second, in bursts with short pauses (about 16 s).

Only the Python standard library is used for the synthesis; `lame` (Debian package lame)
encodes 22.05 kHz mono at 64 kbit/s. Usage: tools/make_sounds.py [output folder]
(default: assets/ beside this folder). The output is deterministic.
"""
import array
import math
import os
import random
import subprocess
import sys
import tempfile
import wave

RATE = 22050


def note_freq(name):
    """'F#5' -> frequency in Hz (A4 = 440)."""
    steps = {'C': -9, 'D': -7, 'E': -5, 'F': -4, 'G': -2, 'A': 0, 'B': 2}
    semis = steps[name[0]]
    rest = name[1:]
    while rest and rest[0] in '#b':
        semis += 1 if rest[0] == '#' else -1
        rest = rest[1:]
    octave = int(rest)
    return 440.0 * 2 ** ((semis + 12 * (octave - 4)) / 12.0)


def add_tone(buf, start, dur, freq, amp, partials, decay, attack=0.006):
    """Adds a struck tone: a sum of partials (ratio, level, decay factor) with an
    exponential decay and a short attack, faded out over its last 40 ms."""
    n0 = int(start * RATE)
    n = int(dur * RATE)
    fade = int(0.04 * RATE)
    for ratio, level, dscale in partials:
        f = freq * ratio
        if f >= RATE / 2 - 200:
            continue
        w = 2 * math.pi * f / RATE
        k = math.exp(-decay * dscale / RATE)
        env = amp * level
        a_n = max(1, int(attack * RATE))
        for i in range(n):
            j = n0 + i
            if j >= len(buf):
                break
            e = env
            if i < a_n:
                e *= i / a_n
            if i > n - fade:
                e *= (n - i) / fade
            buf[j] += e * math.sin(w * i)
            env *= k


MUSIC_BOX = [(1.0, 1.0, 1.0), (2.0, 0.35, 1.6), (3.0, 0.12, 2.4), (4.01, 0.06, 3.2)]
SOFT_BASS = [(1.0, 1.0, 1.0), (2.0, 0.3, 1.5), (3.0, 0.08, 2.0)]


def canon():
    beat = 60.0 / 76  # quarter note at 76 per minute
    half = 2 * beat
    ground = ['D3', 'A2', 'B2', 'F#2', 'G2', 'D2', 'G2', 'A2']
    chords = [['F#4', 'A4'], ['E4', 'A4'], ['D4', 'F#4'], ['C#4', 'F#4'],
              ['B3', 'D4'], ['A3', 'D4'], ['B3', 'D4'], ['C#4', 'E4']]
    melody = [
        # variation 1, half notes
        [(m, half) for m in ['F#5', 'E5', 'D5', 'C#5', 'B4', 'A4', 'B4', 'C#5']],
        # variation 2, half notes
        [(m, half) for m in ['D5', 'C#5', 'B4', 'A4', 'G4', 'F#4', 'G4', 'E4']],
        # variation 3, quarter notes
        [(m, beat) for m in ['D4', 'F#4', 'A4', 'G4', 'F#4', 'D4', 'F#4', 'E4',
                             'D4', 'B3', 'D4', 'A4', 'G4', 'B4', 'A4', 'G4']],
        # variation 4, quarters an octave up, the tune singing out
        [(m, beat) for m in ['F#5', 'D5', 'E5', 'F#5', 'E5', 'D5', 'E5', 'C#5',
                             'D5', 'F#5', 'A5', 'G5', 'F#5', 'D5', 'F#5', 'E5']],
    ]
    cycle = 8 * half
    total = len(melody) * cycle + 3.0
    buf = array.array('d', [0.0]) * int(total * RATE)
    for c, line in enumerate(melody):
        t0 = c * cycle
        for i, b in enumerate(ground):
            add_tone(buf, t0 + i * half, half * 1.15, note_freq(b), 0.30, SOFT_BASS, 2.2)
            for k, ch in enumerate(chords[i]):  # a gentle broken chord on beats 1 and 2
                add_tone(buf, t0 + i * half + k * beat, beat * 1.6, note_freq(ch), 0.10, MUSIC_BOX, 3.5)
        t = t0
        for m, d in line:
            add_tone(buf, t, d * 1.4, note_freq(m), 0.36, MUSIC_BOX, 2.0)
            t += d
    # The close: a D major chord that rings out.
    end = len(melody) * cycle
    for m, a in [('D3', 0.3), ('A3', 0.14), ('D4', 0.16), ('F#4', 0.14), ('A4', 0.14), ('D5', 0.3)]:
        add_tone(buf, end, 3.0, note_freq(m), a, MUSIC_BOX, 1.2)
    return buf


def bell():
    """A twin-bell mechanical alarm: every hammer stroke excites the inharmonic modes of a
    small steel bell; strokes alternate between two bells a little apart in pitch."""
    rnd = random.Random(7)
    bells = [
        [(2350.0, 1.0, 28.0), (3920.0, 0.55, 40.0), (5630.0, 0.3, 55.0), (1180.0, 0.25, 18.0)],
        [(2480.0, 1.0, 28.0), (4100.0, 0.5, 40.0), (5900.0, 0.28, 55.0), (1245.0, 0.22, 18.0)],
    ]
    rate_hz = 18.0
    bursts = [(0.0, 2.6), (3.1, 2.6), (6.2, 2.6), (9.3, 2.6), (12.4, 3.0)]
    total = 16.0
    buf = array.array('d', [0.0]) * int(total * RATE)
    for start, length in bursts:
        strokes = int(length * rate_hz)
        for s in range(strokes):
            t = start + s / rate_hz + rnd.uniform(-0.002, 0.002)
            strength = 0.55 + 0.15 * rnd.random()
            if s < 3:
                strength *= (s + 1) / 4.0  # the hammer gets going
            for f, level, decay in bells[s % 2]:
                add_tone(buf, t, 0.35, f * (1 + rnd.uniform(-0.001, 0.001)), 0.16 * strength * level,
                         [(1.0, 1.0, 1.0)], decay, attack=0.0008)
            # The click of the hammer itself.
            n0 = int(t * RATE)
            for i in range(int(0.003 * RATE)):
                if n0 + i < len(buf):
                    buf[n0 + i] += 0.08 * strength * rnd.uniform(-1, 1) * (1 - i / (0.003 * RATE))
    return buf


def write_wav(path, buf):
    peak = max(1e-9, max(abs(x) for x in buf))
    scale = 0.89 * 32767 / peak
    pcm = array.array('h', (int(max(-32767, min(32767, x * scale))) for x in buf))
    if sys.byteorder == 'big':
        pcm.byteswap()
    with wave.open(path, 'wb') as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(pcm.tobytes())


def encode(buf, target):
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, 'sound.wav')
        write_wav(wav, buf)
        subprocess.run(['lame', '--quiet', '-m', 'm', '-b', '64', '--resample', '22.05',
                        '--noreplaygain', wav, target], check=True)
    print('%s: %.1f s, %d bytes' % (target, len(buf) / RATE, os.path.getsize(target)))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, '..', 'assets')
    os.makedirs(out, exist_ok=True)
    encode(canon(), os.path.join(out, '默认闹铃.mp3'))
    encode(bell(), os.path.join(out, '默认闹铃2.mp3'))


if __name__ == '__main__':
    main()
