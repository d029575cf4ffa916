#!/usr/bin/env python3
"""The Windows executable started under Wine as a player starts it.

    windows_startup.py <Zandrovia.exe> [--screenshots FOLDER]

Runs in a new Wine prefix (so the profile folder starts empty) on the X
display named by DISPLAY:

1. With ZANDROVIA_FRAME_DUMP the game records every frame's screen: the loader
   must show first, the Game screen must follow, and the program must end by
   itself with exit code 0 and without output.
2. Without it, the test watches the window until the loader's progress bar is
   gone and presses Escape: the Game screen saves the preferences and quits,
   so the preferences file must appear in the profile folder.

With --screenshots it also starts a level from saved preferences, opens the
pause menu and saves PNGs of the loader, the level and the menu.
"""
import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import time
import zlib

WIDTH, HEIGHT = 1136, 640
BAR_LEFT, BAR_WIDTH = WIDTH // 4, WIDTH // 2
PREFS_NAME = ".zandrovia.pref.dat"


def fail(message):
    print("FAILED: " + message, file=sys.stderr)
    sys.exit(1)


def windows_path(path):
    return "Z:" + path


class Wine:
    def __init__(self, folder):
        self.env = dict(os.environ)
        self.env.update({
            "WINEPREFIX": os.path.join(folder, "wineprefix"),
            "WINEDEBUG": "-all",
            # No sound card needed, as in the other tests.
            "ALSOFT_DRIVERS": "null",
            "SDL_AUDIODRIVER": "dummy",
        })
        self.env.pop("ZANDROVIA_FRAME_DUMP", None)
        self.env.pop("USERPROFILE", None)

    def boot(self):
        start = time.monotonic()
        subprocess.run(["wineboot", "-i"], env=self.env, check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=300)
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=300)
        return time.monotonic() - start

    def profile(self):
        # Wine names the profile folder after the Unix user.
        users = os.path.join(self.env["WINEPREFIX"], "drive_c", "users")
        for name in (os.environ.get("USER"), os.environ.get("LOGNAME")):
            if name and os.path.isdir(os.path.join(users, name)):
                return os.path.join(users, name)
        import pwd
        return os.path.join(users, pwd.getpwuid(os.getuid()).pw_name)

    def start(self, exe, extra=None, output=None):
        env = dict(self.env)
        env.update(extra or {})
        return subprocess.Popen(["wine", exe], env=env, stdout=output, stderr=subprocess.STDOUT,
                                cwd=os.path.dirname(exe))

    def stop(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stderr=subprocess.DEVNULL, timeout=60)


# --- the X window ------------------------------------------------------------

def find_window():
    result = subprocess.run(["xdotool", "search", "--name", "^Zandrovia$"], capture_output=True, text=True)
    ids = result.stdout.split()
    return ids[0] if ids else None


def capture(window):
    """The window's pixels as (width, height, rows of (r, g, b)), or None."""
    result = subprocess.run(["xwd", "-silent", "-id", window], capture_output=True)
    if result.returncode != 0 or len(result.stdout) < 100:
        return None
    data = result.stdout
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    bits_per_pixel, bytes_per_line, ncolors = fields[11], fields[12], fields[19]
    byte_order = fields[7]
    if bits_per_pixel != 32:
        return None
    offset = header_size + ncolors * 12
    pixels = data[offset:offset + bytes_per_line * height]
    if len(pixels) < bytes_per_line * height:
        return None
    endian = "<" if byte_order == 0 else ">"
    rows = []
    for y in range(height):
        line = pixels[y * bytes_per_line:y * bytes_per_line + width * 4]
        values = struct.unpack(endian + "%dI" % width, line)
        rows.append([((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF) for v in values])
    return width, height, rows


def save_png(image, path):
    width, height, rows = image
    raw = b"".join(b"\0" + bytes(c for pixel in row for c in pixel) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n")
        out.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        out.write(chunk(b"IDAT", zlib.compress(raw, 6)))
        out.write(chunk(b"IEND", b""))


def loader_bar_showing(image):
    """The loader draws its progress bar, bright or dark green, along row 16."""
    width, height, rows = image
    if width < BAR_LEFT + BAR_WIDTH or height < 17:
        return False
    for x in (BAR_LEFT + 2, BAR_LEFT + BAR_WIDTH // 2, BAR_LEFT + BAR_WIDTH - 3):
        r, g, b = rows[16][x]
        if not (g > 100 and r < 40 and b < 40):
            return False
    return True


def wait_for_game(process, timeout):
    """Waits until the loader has been seen and is gone; returns the window."""
    deadline = time.monotonic() + timeout
    window, seen_loader = None, False
    while time.monotonic() < deadline:
        if process.poll() is not None:
            fail("the game ended before it reached the Game screen (exit code %d)" % process.returncode)
        window = window or find_window()
        image = capture(window) if window else None
        if image:
            if loader_bar_showing(image):
                seen_loader = True
            elif seen_loader:
                return window, image
        time.sleep(0.25)
    fail("the Game screen did not show within %d s (loader seen: %s)" % (timeout, seen_loader))


def press(window, *keys):
    subprocess.run(["xdotool", "windowfocus", window], stderr=subprocess.DEVNULL)
    subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=True)


def click(window, x, y):
    subprocess.run(["xdotool", "mousemove", "--window", window, str(x), str(y)], check=True)
    # Held for a few frames: the game reads the button once per frame.
    subprocess.run(["xdotool", "mousedown", "1"], check=True)
    time.sleep(0.2)
    subprocess.run(["xdotool", "mouseup", "1"], check=True)


def finish(process, timeout):
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        process.kill()
        fail("the game did not end within %d s" % timeout)


# --- the checks --------------------------------------------------------------

def run_with_frame_dump(wine, exe, folder):
    frames = os.path.join(folder, "frames")
    os.makedirs(frames)
    with open(os.path.join(folder, "output.txt"), "wb") as output:
        process = wine.start(exe, {"ZANDROVIA_FRAME_DUMP": windows_path(frames)}, output)
        code = finish(process, 180)
    text = open(os.path.join(folder, "output.txt"), encoding="utf-8", errors="replace").read()
    if code != 0:
        fail("exit code %d with the frame dump; output:\n%s" % (code, text))
    if text:
        fail("the game printed:\n" + text)
    screens = open(os.path.join(frames, "screens.txt"), encoding="utf-8").read().splitlines()
    kinds = [line.split()[1] for line in screens]
    first_game = kinds.index("game") if "game" in kinds else -1
    if first_game < 1 or any(kind != "loader" for kind in kinds[:first_game]) \
            or any(kind != "game" for kind in kinds[first_game:]):
        fail("expected loader frames, then Game frames; got " + " ".join(kinds))
    for name in ("frame001.png", "frame%03d.png" % len(kinds)):
        if os.path.getsize(os.path.join(frames, name)) < 10000:
            fail(name + " is nearly empty")
    if os.path.exists(os.path.join(wine.profile(), PREFS_NAME)):
        fail("a run that ended by itself saved the preferences")
    print("loader for %d frames, then the Game screen; exit code 0" % first_game)
    return frames


def run_until_escape(wine, exe, folder):
    with open(os.path.join(folder, "output2.txt"), "wb") as output:
        process = wine.start(exe, output=output)
        window, _ = wait_for_game(process, 180)
        # Escape on the Game screen saves the state and ends the game.
        deadline = time.monotonic() + 60
        while process.poll() is None and time.monotonic() < deadline:
            press(window, "Escape")
            time.sleep(0.5)
        code = finish(process, 30)
    if code != 0:
        fail("exit code %d after Escape" % code)
    prefs = os.path.join(wine.profile(), PREFS_NAME)
    if not os.path.isfile(prefs):
        fail("no preferences in the profile folder " + wine.profile())
    text = open(prefs, encoding="utf-8").read()
    if "levelIndex" not in text:
        fail("the preferences lack the level: " + text)
    print("Escape on the Game screen saved %s and ended the game with exit code 0" % prefs)


def screenshots(wine, exe, folder, frames, target):
    os.makedirs(target, exist_ok=True)
    shutil.copy(os.path.join(frames, "frame049.png"), os.path.join(target, "win-loader.png"))
    # A player who has seen the tutorial and reached level 4.
    with open(os.path.join(wine.profile(), PREFS_NAME), "w", encoding="utf-8") as out:
        out.write("levelIndex=4\ninstructions1=true\n")
    process = wine.start(exe, output=subprocess.DEVNULL)
    window, _ = wait_for_game(process, 180)
    time.sleep(12)
    save_png(capture(window), os.path.join(target, "win-level.png"))
    click(window, WIDTH - 54, 54)
    time.sleep(2)
    save_png(capture(window), os.path.join(target, "win-pause.png"))
    press(window, "Escape")
    time.sleep(1)
    press(window, "Escape")
    finish(process, 60)
    print("screenshots in " + target)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("exe")
    parser.add_argument("--screenshots")
    args = parser.parse_args()
    exe = os.path.abspath(args.exe)
    if not os.environ.get("DISPLAY"):
        fail("no X display (DISPLAY)")
    folder = tempfile.mkdtemp(prefix="zandrovia-wine-")
    wine = Wine(folder)
    try:
        print("wineboot: %.1f s" % wine.boot())
        frames = run_with_frame_dump(wine, exe, folder)
        run_until_escape(wine, exe, folder)
        if args.screenshots:
            screenshots(wine, exe, folder, frames, args.screenshots)
    finally:
        wine.stop()
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
