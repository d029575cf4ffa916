"""The looping techno track: 32 bars at 128 BPM (exactly 60 s), rendered in
numpy into a circular buffer so that every tail and echo wraps round to the
start: the loop point has no click. Encoded with oggenc and a fixed serial."""
import os
import subprocess
import tempfile
import wave

import numpy as np

RATE = 44100
BPM = 128
BARS = 32
BEAT = 60.0 / BPM
LOOP = int(round(BARS * 4 * BEAT * RATE))  # 2,646,000 samples
STEP = BEAT / 4  # a sixteenth


def at(bar, step):
    return int(round((bar * 16 + step) * STEP * RATE))


def midi(n):
    return 440.0 * 2 ** ((n - 69) / 12.0)


class Mix:
    def __init__(self):
        self.buf = np.zeros((LOOP, 2))

    def add(self, start, sig, gain=1.0, pan=0.0):
        """Adds a mono signal at a sample position, wrapping past the loop's end."""
        l, r = gain * np.sqrt(0.5 * (1 - pan)), gain * np.sqrt(0.5 * (1 + pan))
        n = len(sig)
        assert n <= LOOP
        end = start % LOOP
        first = min(n, LOOP - end)
        self.buf[end:end + first, 0] += sig[:first] * l
        self.buf[end:end + first, 1] += sig[:first] * r
        if first < n:
            self.buf[:n - first, 0] += sig[first:] * l
            self.buf[:n - first, 1] += sig[first:] * r


def kick():
    d = 0.38
    t = np.arange(int(d * RATE)) / RATE
    f = 45 + 110 * np.exp(-t * 28)
    ph = 2 * np.pi * np.cumsum(f) / RATE
    body = np.sin(ph) * np.exp(-t * 7.5)
    click = np.exp(-t * 400) * 0.5
    return fade_edges(np.tanh((body + click) * 1.6), a=0.0015)


def hat(d, seed, decay):
    rng = np.random.default_rng(seed)
    n = int(d * RATE)
    x = rng.uniform(-1, 1, n)
    x = np.diff(np.concatenate([[0], x]))  # a crude high-pass
    t = np.arange(n) / RATE
    return fade_edges(x * np.exp(-t * decay) * 0.5, a=0.0008)


def clap(seed):
    rng = np.random.default_rng(seed)
    n = int(0.25 * RATE)
    t = np.arange(n) / RATE
    x = rng.uniform(-1, 1, n)
    x = np.convolve(x, np.ones(6) / 6, mode="same")  # soften
    x = x - np.convolve(x, np.ones(40) / 40, mode="same")  # band
    e = np.exp(-t * 22)
    for k in (0.0, 0.011, 0.022):
        e += np.exp(-np.clip(t - k, 0, None) * 180) * (t >= k) * 0.8
    return fade_edges(x * e * 1.4, a=0.0008)


def saw_note(f, dur, cut0, cut1, decay, harmonics=48):
    """A band-limited saw whose low-pass cutoff glides from cut0 to cut1."""
    n = int(dur * RATE)
    t = np.arange(n) / RATE
    cut = cut1 + (cut0 - cut1) * np.exp(-t * decay)
    out = np.zeros(n)
    for k in range(1, harmonics + 1):
        fk = f * k
        if fk > 16000:
            break
        w = 1.0 / np.sqrt(1 + (fk / cut) ** 4)
        out += np.sin(2 * np.pi * fk * t) * w / k
    return out


def square_note(f, dur, decay):
    n = int(dur * RATE)
    t = np.arange(n) / RATE
    out = np.zeros(n)
    for k in range(1, 16, 2):
        if f * k > 14000:
            break
        out += np.sin(2 * np.pi * f * k * t) / k * (0.85 ** k)
    return out * np.exp(-t * decay)


def fade_edges(x, a=0.003, r=0.01):
    n = len(x)
    ka, kr = min(n, int(a * RATE)), min(n, int(r * RATE))
    x = x.copy()
    x[:ka] *= np.linspace(0, 1, ka)
    x[n - kr:] *= np.linspace(1, 0, kr)
    return x


# A minor: Am, F, C, G, two bars each, over 8 bars
CHORDS = [(57, [57, 60, 64]), (53, [53, 57, 60]), (48, [48, 52, 55]), (55, [55, 59, 62])]


def chord_at(bar):
    return CHORDS[(bar // 2) % 4]


def render():
    m = Mix()
    k = kick()
    hc = hat(0.05, 1, 90)
    ho = hat(0.22, 2, 16)
    cl = clap(3)
    cache = {}
    for bar in range(BARS):
        section = bar // 8  # 0 intro, 1 drive, 2 lift, 3 full
        root, triad = chord_at(bar)
        # drums
        for beat in range(4):
            if not (section == 2 and bar % 8 >= 6 and beat >= 2):
                m.add(at(bar, beat * 4), k, 0.9)
            m.add(at(bar, beat * 4 + 2), ho, 0.28 if section else 0.18, 0.2)
            if section >= 1 and beat in (1, 3):
                m.add(at(bar, beat * 4), cl, 0.42, -0.1)
        for s in range(16):
            if s % 2 == 1 or section >= 2:
                m.add(at(bar, s), hc, 0.14 + 0.05 * (s % 4 == 3), -0.35 + 0.05 * (s % 3))
        # bass: rolling sixteenths off the kick, the filter opening over the intro
        open_ = min(1.0, (bar + 1) / 8.0) if section == 0 else 1.0
        for s in range(16):
            if s % 4 == 0:
                continue
            note = root - 24 + (12 if s % 4 == 3 and section >= 1 else 0)
            cut = 300 + 1500 * open_ + (600 if s % 4 == 2 else 0)
            key = ("b", note, int(cut))
            if key not in cache:
                cache[key] = fade_edges(saw_note(midi(note), STEP * 0.9, cut * 2.2, cut * 0.5, 30))
            m.add(at(bar, s), cache[key], 0.5)
        # pad: long detuned chord under the lift and the full part
        if section >= 2 and bar % 2 == 0:
            for i, n in enumerate(triad):
                for det, pan in ((-0.12, -0.6), (0.12, 0.6)):
                    key = ("p", n, det)
                    if key not in cache:
                        d = 2 * 4 * BEAT
                        x = saw_note(midi(n + 12) * 2 ** (det / 12), d, 1400, 900, 1, harmonics=24)
                        t = np.arange(len(x)) / RATE
                        x = x * np.clip(t / 0.6, 0, 1) * np.clip((d - t) / 0.5, 0, 1)
                        cache[key] = x
                    m.add(at(bar, 0), cache[key], 0.07, pan)
        # arpeggio: from the second section on, a different figure in the lift
        if section >= 1:
            figure = [0, 1, 2, 1, 2, 0, 1, 2] if section != 2 else [0, 2, 1, 2, 0, 2, 1, 0]
            for s in range(0, 16, 2):
                n = triad[figure[s // 2 % 8]] + 12 + (12 if s == 14 and section == 3 else 0)
                key = ("a", n)
                if key not in cache:
                    cache[key] = fade_edges(square_note(midi(n), STEP * 1.8, 9))
                m.add(at(bar, s), cache[key], 0.16, 0.35 if s % 4 == 0 else -0.35)
    # a ping-pong echo on everything above the bass: circular, so it wraps
    dry = m.buf.copy()
    d = at(0, 3)
    wet = np.zeros_like(dry)
    for i in range(1, 5):
        g = 0.28 * 0.55 ** (i - 1)
        sh = np.roll(dry, d * i, axis=0)
        if i % 2:
            sh = sh[:, ::-1]
        wet += sh * g
    # keep the echo off the low end with a gentle high-pass (difference of moving averages)
    kern = np.ones(64) / 64
    for c in range(2):
        low = np.convolve(np.concatenate([wet[-64:, c], wet[:, c], wet[:64, c]]), kern, mode="same")[64:-64]
        wet[:, c] -= low
    out = dry + wet * 0.6
    out = np.tanh(out * 1.1) / np.tanh(1.1)
    peak = np.max(np.abs(out))
    return out * (0.89 / peak)


def write(out):
    path = os.path.join(out, "music", "technosonavista.ogg")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    x = render()
    with tempfile.TemporaryDirectory() as tmp:
        wav = os.path.join(tmp, "music.wav")
        with wave.open(wav, "wb") as w:
            w.setnchannels(2)
            w.setsampwidth(2)
            w.setframerate(RATE)
            w.writeframes((np.clip(x, -1, 1) * 32767).astype("<i2").tobytes())
        subprocess.run(["oggenc", "--quiet", "-q", "4", "-s", "20260101", "-o", path, wav], check=True)
    print("  music/technosonavista.ogg %.1f s, %d kB" % (LOOP / RATE, os.path.getsize(path) // 1024))
