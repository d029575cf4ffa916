"""Interface images: the pause menu's window, buttons and toggles, the
confirmation dialog, the keyboard keys, the HUD pause button and the
publisher's logo. They carry icons, never words, so that one set of images
serves every language."""
import math

from PIL import Image, ImageDraw, ImageFilter, ImageFont

from neon import CYAN, DARK, GOLD, MAGENTA, RED, WHITE, Pic, mix, rgba

TAU = 2 * math.pi

# Where the pause menu's widgets sit inside the window (centres, window pixels).
WINDOW_W, WINDOW_H = 820, 560
CREDITS_BOX = (36 + 169, 64 + 215)   # 338 x 430 box
LAYOUT = {
    "close": (600, 150),
    "replay": (515, 300),
    "reset": (685, 300),
    "sound": (515, 410),
    "music": (685, 410),
    "homepage": (495, 505),
    "facebook": (565, 505),
    "twitter": (635, 505),
    "privacy": (705, 505),
    "credits": CREDITS_BOX,
}


def panel(w, h, accent=CYAN, alpha=225, radius=18):
    p = Pic(w, h)
    b = p.layer()
    b.rect(6, 6, w - 6, h - 6, fill=rgba(mix(DARK, accent, 0.06), alpha), outline=rgba(accent), width=2.5, radius=radius)
    b.rect(12, 12, w - 12, h - 12, outline=rgba(accent, 90), width=1, radius=radius - 5)
    # corner accents
    for (x, y, sx, sy) in ((10, 10, 1, 1), (w - 10, 10, -1, 1), (10, h - 10, 1, -1), (w - 10, h - 10, -1, -1)):
        b.line([(x, y + sy * 30), (x, y), (x + sx * 30, y)], rgba(WHITE), 3)
    b.glow(4, 1.0, accent)
    p.paste(b)
    return p


def window():
    p = panel(WINDOW_W, WINDOW_H)
    b = p.layer()
    x, y = CREDITS_BOX
    b.rect(x - 175, y - 221, x + 175, y + 221, fill=rgba((0, 0, 0), 150), outline=rgba(CYAN, 140), width=1.5, radius=8)
    b.line([(420, 60), (420, WINDOW_H - 60)], rgba(CYAN, 90), 1.2)
    b.line([(450, 460), (WINDOW_W - 40, 460)], rgba(CYAN, 90), 1.2)
    p.paste(b)
    return p.final()


def _button(size, icon, accent, over, round_=True):
    w, h = size
    p = Pic(w, h)
    b = p.layer()
    fill = rgba(mix(DARK, accent, 0.45 if over else 0.18), 240)
    if round_:
        b.circle(w / 2, h / 2, min(w, h) / 2 - 5, fill=fill, outline=rgba(WHITE if over else accent), width=2.5)
    else:
        b.rect(5, 5, w - 5, h - 5, fill=fill, outline=rgba(WHITE if over else accent), width=2.5, radius=12)
    icon(b, w / 2, h / 2, WHITE if over else mix(accent, WHITE, 0.55))
    b.glow(3.5 if over else 2.5, 1.5 if over else 1.0, accent)
    p.paste(b)
    return p.final()


def _play(p, cx, cy, c):
    r = 22
    p.poly([(cx - r * 0.55, cy - r), (cx + r, cy), (cx - r * 0.55, cy + r)], fill=rgba(c))


def _restart(p, cx, cy, c):
    p.arc(cx, cy, 18, 40, 330, rgba(c), 4.5)
    a = math.radians(40)
    x, y = cx + 18 * math.cos(a), cy + 18 * math.sin(a)
    p.poly([(x - 9, y - 2), (x + 6, y - 6), (x + 2, y + 9)], fill=rgba(c))


def _trash(p, cx, cy, c):
    p.rect(cx - 14, cy - 13, cx + 14, cy - 9, fill=rgba(c), radius=1.5)
    p.rect(cx - 5, cy - 17, cx + 5, cy - 13, outline=rgba(c), width=2)
    p.poly([(cx - 11, cy - 6), (cx + 11, cy - 6), (cx + 9, cy + 18), (cx - 9, cy + 18)], outline=rgba(c), width=3)
    for dx in (-4.5, 0, 4.5):
        p.line([(cx + dx, cy - 1), (cx + dx, cy + 13)], rgba(c), 2)


def _speaker(p, cx, cy, c, off):
    p.poly([(cx - 18, cy - 7), (cx - 10, cy - 7), (cx, cy - 16), (cx, cy + 16), (cx - 10, cy + 7), (cx - 18, cy + 7)], fill=rgba(c))
    if off:
        p.line([(cx + 6, cy - 8), (cx + 20, cy + 8)], rgba(RED), 4)
        p.line([(cx + 6, cy + 8), (cx + 20, cy - 8)], rgba(RED), 4)
    else:
        p.arc(cx + 2, cy, 9, -50, 50, rgba(c), 3)
        p.arc(cx + 2, cy, 17, -50, 50, rgba(c), 3)


def _note(p, cx, cy, c, off):
    p.ellipse(cx - 8, cy + 11, 7, 5.5, fill=rgba(c))
    p.ellipse(cx + 12, cy + 7, 7, 5.5, fill=rgba(c))
    p.line([(cx - 2, cy + 11), (cx - 2, cy - 14)], rgba(c), 3)
    p.line([(cx + 18, cy + 7), (cx + 18, cy - 18)], rgba(c), 3)
    p.poly([(cx - 3.5, cy - 16), (cx + 19.5, cy - 21), (cx + 19.5, cy - 14), (cx - 3.5, cy - 9)], fill=rgba(c))
    if off:
        p.line([(cx - 18, cy - 18), (cx + 24, cy + 20)], rgba(RED), 4)


def _house(p, cx, cy, c):
    p.poly([(cx - 15, cy - 1), (cx, cy - 15), (cx + 15, cy - 1)], outline=rgba(c), width=3)
    p.rect(cx - 10, cy - 2, cx + 10, cy + 14, outline=rgba(c), width=3)
    p.rect(cx - 3, cy + 5, cx + 3, cy + 14, fill=rgba(c))


def _people(p, cx, cy, c):
    for dx, s in ((-8, 0.8), (8, 0.8), (0, 1.0)):
        p.circle(cx + dx, cy - 7 * s, 5 * s, fill=rgba(c))
        p.ellipse(cx + dx, cy + 9 * s, 8 * s, 7 * s, fill=rgba(c))


def _bubble(p, cx, cy, c):
    p.rect(cx - 15, cy - 12, cx + 15, cy + 8, outline=rgba(c), width=3, radius=7)
    p.poly([(cx - 6, cy + 7), (cx - 10, cy + 16), (cx + 2, cy + 7)], fill=rgba(c))
    for dx in (-7, 0, 7):
        p.circle(cx + dx, cy - 2, 2, fill=rgba(c))


def _eye(p, cx, cy, c):
    pts = [(cx + 17 * math.cos(a), cy + 10 * math.sin(a) * abs(math.sin(a)) ** 0.2) for a in [i * TAU / 40 for i in range(40)]]
    p.poly(pts, outline=rgba(c), width=3)
    p.circle(cx, cy, 6, fill=rgba(c))
    p.circle(cx, cy, 2.2, fill=rgba(DARK))


def menu_images():
    imgs = {"window": window()}
    for over, suffix in ((False, "normal"), (True, "mouseover")):
        imgs["resume_" + suffix] = _button((128, 128), _play, CYAN, over)
        imgs["restart_" + suffix] = _button((96, 96), _restart, CYAN, over)
        imgs["reset_game_" + suffix] = _button((96, 96), _trash, MAGENTA, over)
        for off in (False, True):
            tail = suffix + ("_off" if off else "")
            imgs["sound_" + tail] = _button((112, 80), lambda p, x, y, c, o=off: _speaker(p, x, y, c, o),
                                            RED if off else CYAN, over, round_=False)
            imgs["music_" + tail] = _button((112, 80), lambda p, x, y, c, o=off: _note(p, x - 4, y, c, o),
                                            RED if off else CYAN, over, round_=False)
    for name, icon in (("homepage_button", _house), ("facebook_button", _people), ("twitter_button", _bubble)):
        imgs[name] = _button((60, 60), icon, CYAN, False)
        imgs[name + "_mouseover"] = _button((60, 60), icon, CYAN, True)
    imgs["eye"] = _button((60, 60), _eye, CYAN, False)
    return imgs


def pause_buttons():
    def bars(p, cx, cy, c):
        p.rect(cx - 10, cy - 13, cx - 3, cy + 13, fill=rgba(c), radius=1.5)
        p.rect(cx + 3, cy - 13, cx + 10, cy + 13, fill=rgba(c), radius=1.5)
    return {"pause_idle": _button((60, 60), bars, CYAN, False), "pause_down": _button((60, 60), bars, CYAN, True)}


def keys():
    """Nine-patch keys, 64 x 64 with 16-pixel borders: all decoration sits in the borders."""
    out = {}
    for name, down in (("key_idle", False), ("key_down", True)):
        p = Pic(64, 64)
        b = p.layer()
        b.rect(4, 4, 60, 60, fill=rgba(mix(DARK, CYAN, 0.5 if down else 0.14), 235),
               outline=rgba(WHITE if down else CYAN), width=2.2, radius=9)
        b.glow(2, 0.9, CYAN)
        p.paste(b)
        out[name] = p.final()
    return out


def dialog():
    p = panel(600, 300, accent=MAGENTA)
    btn = Pic(180, 60)
    b = btn.layer()
    b.rect(5, 5, 175, 55, fill=rgba(mix(DARK, MAGENTA, 0.22), 240), outline=rgba(MAGENTA), width=2.2, radius=12)
    b.glow(2.5, 1.0, MAGENTA)
    btn.paste(b)
    return {"dialog_window": p.final(), "dialog_button": btn.final()}


def logo(font_path):
    """The publisher's emblem and name, 300 x 96."""
    W, H = 300, 96
    p = Pic(W, H)
    b = p.layer()
    # a faceted gem as the emblem
    cx, cy = 48, 48
    gem = [(cx, cy - 34), (cx + 30, cy - 10), (cx + 18, cy + 32), (cx - 18, cy + 32), (cx - 30, cy - 10)]
    b.poly(gem, fill=rgba(mix(DARK, GOLD, 0.35)), outline=rgba(GOLD), width=2.5)
    for x, y in gem:
        b.line([(cx, cy + 2), (x, y)], rgba(GOLD, 150), 1.2)
    b.glow(3, 1.2, GOLD)
    p.paste(b)
    img = p.final()
    txt = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    d = ImageDraw.Draw(txt)
    size = 40
    font = ImageFont.truetype(font_path, size)
    while d.textlength("KORVELLO", font=font) > W - 104 and size > 10:
        size -= 1
        font = ImageFont.truetype(font_path, size)
    top = (H - size) / 2 - size * 0.1
    d.text((96, top), "KORVELLO", font=font, fill=rgba(WHITE))
    glow = txt.filter(ImageFilter.GaussianBlur(4))
    solid = Image.new("RGBA", (W, H), rgba(GOLD))
    solid.putalpha(glow.getchannel("A"))
    img.alpha_composite(solid)
    img.alpha_composite(txt)
    return img


def all_images(font_path):
    imgs = {}
    imgs.update(menu_images())
    imgs.update(pause_buttons())
    imgs.update(keys())
    imgs.update(dialog())
    imgs["korvello"] = logo(font_path)
    return imgs


