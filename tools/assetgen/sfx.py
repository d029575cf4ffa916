"""Sound effects, synthesised with numpy and written as 16-bit mono WAV."""
import os
import wave

import numpy as np

RATE = 44100


def t_axis(dur):
    return np.arange(int(dur * RATE)) / RATE


def env(n, attack, decay_pow=1.0, attack_s=0.004):
    """A fast attack and a power-law decay to zero over n samples."""
    a = np.ones(n)
    k = max(1, int(attack_s * RATE))
    a[:k] = np.linspace(0, 1, k)
    a *= (1 - np.linspace(0, 1, n)) ** decay_pow
    return a


def sweep(f0, f1, dur, shape="sine", curve=1.0):
    t = t_axis(dur)
    x = (t / dur) ** curve
    f = f0 + (f1 - f0) * x
    ph = 2 * np.pi * np.cumsum(f) / RATE
    if shape == "sine":
        return np.sin(ph)
    if shape == "square":
        return np.tanh(4 * np.sin(ph))
    if shape == "saw":
        return 2 * ((ph / (2 * np.pi)) % 1.0) - 1
    if shape == "tri":
        return 2 * np.abs(2 * ((ph / (2 * np.pi)) % 1.0) - 1) - 1
    raise ValueError(shape)


def lowpass(x, cutoff):
    """A one-pole low-pass; cutoff may be a number or an array (Hz per sample)."""
    c = np.broadcast_to(np.asarray(cutoff, dtype=np.float64), x.shape)
    a = 1 - np.exp(-2 * np.pi * c / RATE)
    y = np.empty_like(x)
    acc = 0.0
    for i in range(len(x)):
        acc += a[i] * (x[i] - acc)
        y[i] = acc
    return y


def noise(dur, seed):
    return np.random.default_rng(seed).uniform(-1, 1, int(dur * RATE))


def normalise(x, peak=0.85):
    m = np.max(np.abs(x))
    return x * (peak / m) if m > 0 else x


def write_wav(path, x):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    data = (np.clip(x, -1, 1) * 32767).astype("<i2")
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data.tobytes())


def explosion(dur, seed, body=55.0, bright=3000.0):
    n = int(dur * RATE)
    nz = noise(dur, seed)
    cut = bright * (1 - np.linspace(0, 1, n)) ** 2.5 + 120
    rumble = lowpass(lowpass(nz, cut), cut * 1.5)  # two poles: a boom, not a hiss
    thump = sweep(body * 2.2, body * 0.6, dur, "sine", 0.4) * env(n, 0, 3.0)
    crack = lowpass(noise(dur, seed + 1), 5000) * env(n, 0, 14.0)
    return normalise((rumble * env(n, 0, 1.6) * 1.6 + thump * 0.9 + crack * 0.3), 0.9)


def sounds():
    s = {}
    # bonus: a bright rising arpeggio (a man caught)
    notes = [523.25, 659.25, 783.99, 1046.5, 1318.5]
    parts = []
    for i, f in enumerate(notes):
        d = 0.07 if i < len(notes) - 1 else 0.35
        t = t_axis(d)
        tone = np.sin(2 * np.pi * f * t) + 0.4 * np.sin(2 * np.pi * 2 * f * t) + 0.15 * np.sin(2 * np.pi * 3 * f * t)
        parts.append(tone * env(len(t), 0, 1.2 if i == len(notes) - 1 else 0.6))
    s["bonus"] = normalise(np.concatenate(parts), 0.7)
    s["explosion1"] = explosion(0.9, 11)
    s["explosion2"] = explosion(1.6, 21, body=40.0, bright=2200.0)
    # impact: a short metallic tick
    n = int(0.11 * RATE)
    tick = lowpass(noise(0.11, 31), 5000) * env(n, 0, 6.0) + sweep(900, 300, 0.11, "sine") * env(n, 0, 4.0) * 0.6
    s["impact"] = normalise(tick, 0.6)
    # laser1: the player's beam, a buzzing descending zap
    d = 0.38
    n = int(d * RATE)
    z = sweep(1800, 300, d, "saw", 0.6) * 0.6 + sweep(1810, 305, d, "square", 0.6) * 0.4
    s["laser1"] = normalise(lowpass(z, 4500) * env(n, 0, 1.5), 0.6)
    # laser2: the tracker shot, a rising bright chirp with a tail
    d = 0.3
    n = int(d * RATE)
    z = sweep(400, 2400, d, "tri", 0.5) * env(n, 0, 1.8) + sweep(800, 4800, d, "sine", 0.5) * env(n, 0, 3) * 0.3
    s["laser2"] = normalise(z, 0.6)
    # pickup: a quick upward sweep with a sparkle
    d = 0.32
    n = int(d * RATE)
    up = sweep(600, 1800, d, "square", 0.7) * 0.5 + sweep(1200, 3600, d, "sine", 0.7) * 0.5
    trem = 0.6 + 0.4 * np.sin(2 * np.pi * 28 * t_axis(d))
    s["pickup"] = normalise(lowpass(up, 6000) * trem * env(n, 0, 1.0), 0.6)
    # shoot1: an enemy shot, a low short pew
    d = 0.16
    n = int(d * RATE)
    s["shoot1"] = normalise(lowpass(sweep(900, 150, d, "square", 0.5), 2500) * env(n, 0, 2.0), 0.6)
    # shoot2: the player's burst, every 7 updates: short and light
    d = 0.085
    n = int(d * RATE)
    pew = sweep(2200, 700, d, "tri", 0.5) * env(n, 0, 2.5) + lowpass(noise(d, 41), 8000) * env(n, 0, 8) * 0.2
    s["shoot2"] = normalise(pew, 0.45)
    # warning: two-tone alarm, under 1.2 s so that repeats 1.25 s apart stay apart
    d = 1.0
    t = t_axis(d)
    f = np.where((t * 4).astype(int) % 2 == 0, 880.0, 660.0)
    ph = 2 * np.pi * np.cumsum(f) / RATE
    al = np.tanh(3 * np.sin(ph)) * 0.7 + np.sin(2 * ph) * 0.2
    gate = np.clip(np.minimum(t / 0.01, (d - t) / 0.05), 0, 1)
    s["warning"] = normalise(lowpass(al, 3500) * gate, 0.7)
    # whoosh: the launcher's hatch and rocket, filtered noise swelling and falling
    d = 0.9
    n = int(d * RATE)
    x = np.linspace(0, 1, n)
    shape = np.sin(np.pi * x ** 0.6) ** 2
    s["whoosh"] = normalise(lowpass(noise(d, 51), 300 + 2500 * shape) * shape, 0.7)
    return s


def write_all(out):
    for name, x in sounds().items():
        path = os.path.join(out, "sfx", name + ".wav")
        write_wav(path, x)
        print("  sfx/%s.wav %.2f s" % (name, len(x) / RATE))
