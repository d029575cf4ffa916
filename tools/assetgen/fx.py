"""Shots, muzzle flashes, beams, the shield bubble, the pick-ups and the
particle images."""
import math

import numpy as np
from PIL import Image, ImageChops

from neon import (AMBER, CYAN, DARK, GOLD, GREEN, ICE, LIME, MAGENTA, ORANGE, RED,
                  VIOLET, WHITE, Pic, mix, radial, rgba, rot, shift)

TAU = 2 * math.pi


def bolt(w, h, color, core=WHITE, glow=2.0):
    """An elongated shot pointing towards +x with a hot core."""
    p = Pic(w, h)
    b = p.layer()
    m = h / 2
    b.poly([(2, m), (w * 0.35, m - h * 0.28), (w - 3, m), (w * 0.35, m + h * 0.28)], fill=rgba(color))
    b.ellipse(w * 0.62, m, w * 0.26, h * 0.13, fill=rgba(core))
    b.glow(glow, 1.6, color)
    p.paste(b)
    return p.final()


def orb(size, color, spikes=0):
    """A round shot (pointing towards +x with a short tail when spikes is 0)."""
    p = Pic(size, size)
    b = p.layer()
    c = size / 2
    b.poly([(1.5, c), (c, c - size * 0.2), (c, c + size * 0.2)], fill=rgba(color, 170))
    b.circle(c + size * 0.1, c, size * 0.22, fill=rgba(color))
    b.circle(c + size * 0.12, c, size * 0.1, fill=rgba(WHITE))
    b.glow(size * 0.12, 1.8, color)
    p.paste(b)
    return p.final()


def bullets():
    return {
        "player_bullet": bolt(34, 12, CYAN, glow=2.2),
        "purple_bullet": bolt(24, 12, mix(VIOLET, MAGENTA, 0.4), glow=2.0),
        "tank_bullet": bolt(22, 12, ORANGE, core=(255, 240, 200), glow=2.0),
        "spider_bullet": orb(20, RED),
    }


def spark(color, size=48):
    """A muzzle flash: a hot star over a soft glow; drawn additively."""
    base = radial(size, color, falloff=2.2, core=0.25)
    p = Pic(size, size)
    c = size / 2
    for a in range(4):
        ang = a * TAU / 8 * 2 + TAU / 16 * 0
        pts = rot([(-c * 0.9, 0), (0, -2), (c * 0.9, 0), (0, 2)], ang, c, c)
        p.poly(pts, fill=rgba(mix(color, WHITE, 0.5), 200))
    img = Image.alpha_composite(base, p.final())
    return img


def sparks():
    return {"spark_blue": spark(CYAN), "spark_purple": spark(mix(VIOLET, MAGENTA, 0.4)), "spark_red": spark(RED)}


def beam(length, height, color):
    """A beam strip laid along a line: bright core, soft edges, even along its length."""
    y = np.arange(height, dtype=np.float64)
    d = np.abs(y - (height - 1) / 2) / (height / 2)
    glow = np.clip(1 - d, 0, 1) ** 1.8
    core = np.clip(1 - d / 0.28, 0, 1)
    out = np.zeros((height, length, 4))
    for i in range(3):
        col = color[i] * (1 - core) + 255 * core
        out[:, :, i] = col[:, None]
    out[:, :, 3] = (np.maximum(glow, core) * 255)[:, None]
    # the last few pixels taper so the beam's end is soft
    taper = np.clip(np.arange(length)[::-1] / 12.0, 0, 1)
    out[:, :, 3] *= taper[None, :]
    return Image.fromarray(np.clip(out, 0, 255).astype(np.uint8), "RGBA")


def shield():
    """The bubble around a ship, 100 x 100."""
    p = Pic(100, 100)
    b = p.layer()
    b.circle(50, 50, 44, fill=rgba(CYAN, 40), outline=rgba(ICE, 230), width=2.2)
    for i in range(6):
        a = i * TAU / 6
        b.arc(50, 50, 38, math.degrees(a), math.degrees(a) + 35, rgba(CYAN, 160), 1.6)
    b.glow(3, 1.4, CYAN)
    p.paste(b)
    return p.final()


def _icon(kind, p, cx, cy, color):
    if kind == "powerup":
        for k in range(2):
            y = cy + 5 - k * 9
            p.line([(cx - 9, y + 4), (cx, y - 4), (cx + 9, y + 4)], rgba(WHITE), 3.2)
    elif kind == "tracker":
        p.circle(cx, cy, 9, outline=rgba(WHITE), width=2.2)
        p.circle(cx, cy, 3, fill=rgba(WHITE))
        for a in range(4):
            x, y = math.cos(a * TAU / 4), math.sin(a * TAU / 4)
            p.line([(cx + x * 6, cy + y * 6), (cx + x * 13, cy + y * 13)], rgba(WHITE), 2.2)
    elif kind == "nuke":
        p.circle(cx, cy, 3.2, fill=rgba(WHITE))
        for a in range(3):
            a0 = math.degrees(a * TAU / 3) - 90 - 30
            pts = [(cx, cy)]
            for s in range(9):
                aa = math.radians(a0 + s * 60 / 8)
                pts.append((cx + math.cos(aa) * 12, cy + math.sin(aa) * 12))
            pts2 = [(cx + (x - cx) * 0.42, cy + (y - cy) * 0.42) for x, y in pts[1:]]
            p.poly(pts[1:] + list(reversed(pts2)), fill=rgba(WHITE))
    elif kind == "shield":
        pts = [(cx - 10, cy - 11), (cx + 10, cy - 11), (cx + 10, cy + 1), (cx, cy + 12), (cx - 10, cy + 1)]
        p.poly(pts, fill=rgba(mix(color, WHITE, 0.4)), outline=rgba(WHITE), width=2)
        p.line([(cx, cy - 11), (cx, cy + 12)], rgba(WHITE), 1.4)
    elif kind == "laser":
        p.poly([(cx + 3, cy - 13), (cx - 7, cy + 2), (cx - 1, cy + 2), (cx - 4, cy + 13), (cx + 7, cy - 3), (cx + 1, cy - 3)],
               fill=rgba(WHITE))


PICKUP_COLORS = {
    "powerup": (90, 140, 255),
    "tracker": mix(VIOLET, MAGENTA, 0.35),
    "nuke": GOLD,
    "shield": CYAN,
    "laser": GREEN,
}


def pickup(kind, frames=20, size=56):
    """A spinning capsule with a white rim and the kind's icon, size x size."""
    out = []
    color = PICKUP_COLORS[kind]
    c = size / 2
    for f in range(frames):
        t = f / frames
        p = Pic(size, size)
        b = p.layer()
        # hexagonal capsule
        hexa = [(math.cos(a * TAU / 6 + TAU / 12) * 22, math.sin(a * TAU / 6 + TAU / 12) * 22) for a in range(6)]
        b.poly(shift(hexa, c, c), fill=rgba(mix(DARK, color, 0.45)), outline=rgba(WHITE), width=2.2)
        # a ring of light running round the rim
        for i in range(6):
            a = (t + i / 6.0) * TAU
            w = 0.5 + 0.5 * math.cos(a * 1)
            b.circle(c + math.cos(i * TAU / 6 + TAU / 12) * 22, c + math.sin(i * TAU / 6 + TAU / 12) * 22,
                     1.6 + 1.4 * w, fill=rgba(mix(color, WHITE, w)))
        _icon(kind, b, c, c, color)
        # a glint sweeping across, kept inside the capsule
        gx = -30 + 60 * t
        glint = p.layer()
        glint.line([(c + gx - 5, c - 22), (c + gx + 5, c + 22)], rgba(WHITE, 90), 4)
        inside = p.layer()
        inside.poly(shift([(x * 0.9, y * 0.9) for x, y in hexa], c, c), fill=rgba(WHITE))
        glint.img.putalpha(ImageChops.multiply(glint.img.getchannel("A"), inside.img.getchannel("A")))
        b.paste(glint)
        b.glow(3, 1.5, color)
        p.paste(b)
        out.append(p.final())
    return out


def particle_images():
    """The images that the particle files and the game's glow sprites use."""
    imgs = {
        "glow": radial(128, WHITE, falloff=2.0),
        "glow480": radial(480, WHITE, falloff=3.0, core=0.06),
        "flare": radial(64, (255, 230, 180), falloff=1.6, core=0.3),
        "smoke": _smoke(64),
        "spark": _streak(48, 10),
        "ring": _ring(128),
        "dust": _smoke(32, seed=7, soft=1.4),
    }
    return imgs


def _smoke(n, seed=3, soft=1.2):
    rng = np.random.default_rng(seed)
    yy, xx = np.mgrid[0:n, 0:n].astype(np.float64)
    c = (n - 1) / 2
    r = np.sqrt((xx - c) ** 2 + (yy - c) ** 2) / (n / 2)
    a = np.clip(1 - r, 0, 1) ** soft
    # a few soft lumps make it read as a puff rather than a disc
    for _ in range(6):
        px, py = rng.uniform(n * 0.3, n * 0.7, 2)
        rr = rng.uniform(n * 0.12, n * 0.22)
        a += 0.35 * np.exp(-((xx - px) ** 2 + (yy - py) ** 2) / (2 * rr * rr))
    a = np.clip(a * (r < 1), 0, 1) * 0.85
    out = np.full((n, n, 4), 255.0)
    out[..., 3] = a * 255
    return Image.fromarray(out.astype(np.uint8), "RGBA")


def _streak(w, h):
    yy, xx = np.mgrid[0:h, 0:w].astype(np.float64)
    dx = np.abs(xx - (w - 1) / 2) / (w / 2)
    dy = np.abs(yy - (h - 1) / 2) / (h / 2)
    a = np.clip(1 - dx, 0, 1) ** 0.8 * np.clip(1 - dy, 0, 1) ** 1.2
    a = np.clip(a * 1.4, 0, 1)
    out = np.full((h, w, 4), 255.0)
    out[..., 3] = a * 255
    return Image.fromarray(out.astype(np.uint8), "RGBA")


def _ring(n):
    yy, xx = np.mgrid[0:n, 0:n].astype(np.float64)
    c = (n - 1) / 2
    r = np.sqrt((xx - c) ** 2 + (yy - c) ** 2) / (n / 2)
    a = np.exp(-((r - 0.8) ** 2) / (2 * 0.07 ** 2)) + 0.25 * np.clip(1 - r, 0, 1) ** 2
    out = np.full((n, n, 4), 255.0)
    out[..., 3] = np.clip(a, 0, 1) * 255
    return Image.fromarray(out.astype(np.uint8), "RGBA")


def mouse():
    """The pointer, 48 x 48, its hot spot in the centre."""
    p = Pic(48, 48)
    b = p.layer()
    b.circle(24, 24, 13, outline=rgba(WHITE), width=2)
    for a in range(4):
        x, y = math.cos(a * TAU / 4 + TAU / 8), math.sin(a * TAU / 4 + TAU / 8)
        b.line([(24 + x * 8, 24 + y * 8), (24 + x * 19, 24 + y * 19)], rgba(WHITE), 2.2)
    b.circle(24, 24, 2, fill=rgba(WHITE))
    b.glow(2, 1.2, CYAN)
    p.paste(b)
    return p.final()


def placeholder():
    """The framework's stand-in for a sprite without frames: a loud checker, 64 x 64."""
    a = np.zeros((64, 64, 4), dtype=np.uint8)
    yy, xx = np.mgrid[0:64, 0:64]
    check = ((xx // 16 + yy // 16) % 2).astype(bool)
    a[check] = (255, 0, 255, 255)
    a[~check] = (20, 20, 20, 255)
    return Image.fromarray(a, "RGBA")
