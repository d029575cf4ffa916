"""The announcer: espeak-ng speaks each word, numpy ring-modulates it into a
robot voice, sox adds pitch, drive and a short room, numpy saturates it up to
the music's loudness, oggenc encodes it with a fixed serial number."""
import os
import subprocess
import tempfile
import wave

import numpy as np

WORDS = {
    "powerup": "Power up!",
    "laser": "Laser!",
    "tracker": "Tracker!",
    "shield": "Shield!",
    "nuke": "Nuke!",
    "welldone": "Well done!",
    "gratz": "Congratulations!",
}


def read_wav(path):
    with wave.open(path, "rb") as w:
        rate = w.getframerate()
        x = np.frombuffer(w.readframes(w.getnframes()), dtype="<i2").astype(np.float64) / 32768
        if w.getnchannels() == 2:
            x = x.reshape(-1, 2).mean(axis=1)
    return x, rate


def write_wav(path, x, rate):
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes((np.clip(x, -1, 1) * 32767).astype("<i2").tobytes())


def robot(x, rate):
    t = np.arange(len(x)) / rate
    ring = np.sin(2 * np.pi * 70 * t)
    y = 0.55 * x + 0.75 * x * ring
    y = np.round(y * 64) / 64 * 0.5 + y * 0.5  # a touch of bit grit
    return y / max(1e-9, np.max(np.abs(y))) * 0.8


def loud(x, drive=18.0, peak_db=-3.0):
    """Soft saturation. The ring-modulated voice is all spikes, its peaks some
    20 dB above its average, so normalising the peaks left it about 15 dB
    below the music. Saturating the spikes raises the rest of the voice by
    about 13 dB (RMS near -11 dBFS, the music's is about -9), with the peaks
    back at peak_db, so the announcer is heard over the music."""
    y = np.tanh(drive * x)
    return y / max(1e-9, np.max(np.abs(y))) * 10 ** (peak_db / 20)


def write_all(out, serial_base=4200):
    folder = os.path.join(out, "sfx", "voices")
    os.makedirs(folder, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        for i, (name, text) in enumerate(WORDS.items()):
            raw = os.path.join(tmp, name + "-raw.wav")
            subprocess.run(["espeak-ng", "-v", "en-us+m3", "-s", "135", "-p", "35", "-a", "180",
                            "-w", raw, text], check=True)
            x, rate = read_wav(raw)
            mod = os.path.join(tmp, name + "-mod.wav")
            write_wav(mod, robot(x, rate), rate)
            fx = os.path.join(tmp, name + ".wav")
            subprocess.run(["sox", "-D", mod, "-r", "44100", fx, "gain", "-6",
                            "highpass", "140", "pitch", "-180", "overdrive", "6", "20", "gain", "-4",
                            "reverb", "25", "50", "40", "gain", "-n", "-1.5", "pad", "0.02", "0.1"], check=True)
            y, fx_rate = read_wav(fx)
            write_wav(fx, loud(y), fx_rate)
            path = os.path.join(folder, name + ".ogg")
            subprocess.run(["oggenc", "--quiet", "-q", "3", "-s", str(serial_base + i), "-o", path, fx], check=True)
            print("  sfx/voices/%s.ogg \"%s\"" % (name, text))
