"""The backdrop: gas clouds, planets, rock ridges, the haze, the soil strips
and the splash picture."""
import math

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

from neon import CYAN, MAGENTA, ORANGE, VIOLET, WHITE, mix

TAU = 2 * math.pi


def fbm(w, h, seed, octaves=6, base=3, persistence=0.55):
    """Smooth fractal noise in 0..1, made by summing upsampled random grids."""
    rng = np.random.default_rng(seed)
    total = np.zeros((h, w), dtype=np.float64)
    amp, norm = 1.0, 0.0
    for o in range(octaves):
        gw, gh = base * 2 ** o + 1, max(2, int(base * 2 ** o * h / w) + 1)
        grid = rng.random((gh, gw)).astype(np.float32)
        layer = np.asarray(Image.fromarray(grid, "F").resize((w, h), Image.BICUBIC), dtype=np.float64)
        total += amp * layer
        norm += amp
        amp *= persistence
    total /= norm
    lo, hi = np.percentile(total, 1), np.percentile(total, 99)
    return np.clip((total - lo) / (hi - lo), 0, 1)


def to_image(rgb, alpha):
    out = np.dstack([np.clip(rgb, 0, 255), np.clip(alpha, 0, 1) * 255]).astype(np.uint8)
    return Image.fromarray(out, "RGBA")


GAS_COLORS = [
    ((40, 90, 255), (60, 230, 230)),
    ((190, 40, 200), (255, 90, 150)),
    ((230, 80, 30), (255, 190, 90)),
    ((40, 170, 120), (110, 120, 255)),
]


def gas(i, n=768):
    a_col, b_col = GAS_COLORS[i]
    yy, xx = np.mgrid[0:n, 0:n].astype(np.float64)
    c = (n - 1) / 2
    r = np.sqrt((xx - c) ** 2 + (yy - c) ** 2) / (n / 2)
    shape = fbm(n, n, 100 + i)
    detail = fbm(n, n, 200 + i, octaves=7, base=6)
    mixv = fbm(n, n, 300 + i, octaves=4)
    fall = np.clip(1 - r, 0, 1) ** 1.3
    dens = np.clip((shape * 0.7 + detail * 0.3 - 0.22) * 2.2, 0, 1) * fall
    rgb = np.zeros((n, n, 3))
    for k in range(3):
        rgb[..., k] = a_col[k] * (1 - mixv) + b_col[k] * mixv
    rgb = np.clip(rgb * (0.75 + 0.7 * detail[..., None]), 0, 255)
    alpha = dens * 0.8
    # stars ride with the cloud; they show where the cloud is
    rng = np.random.default_rng(400 + i)
    stars = rng.random((n, n)) > 0.9985
    bright = rng.random((n, n))
    sa = stars * (0.4 + 0.6 * bright) * np.clip(1.15 - r, 0, 1)
    rgb = rgb * (1 - sa[..., None]) + 255 * sa[..., None]
    alpha = np.maximum(alpha, sa)
    return to_image(rgb, alpha)


PLANETS = [
    # base colour, band colour, light colour, rings
    ((60, 110, 200), (140, 220, 255), CYAN, False),
    ((150, 60, 150), (255, 140, 200), MAGENTA, True),
    ((180, 90, 40), (255, 200, 120), ORANGE, False),
    ((50, 140, 110), (170, 255, 200), (120, 255, 200), False),
    ((90, 70, 170), (190, 160, 255), VIOLET, True),
    ((150, 150, 160), (230, 230, 240), WHITE, False),
    ((170, 50, 60), (255, 150, 110), (255, 120, 100), False),
]


def planet(i, n=320):
    base, band, light, rings = PLANETS[i]
    W = int(n * 1.6) if rings else n
    H = n
    pr = n * 0.36
    cx, cy = W / 2, H / 2
    yy, xx = np.mgrid[0:H, 0:W].astype(np.float64)
    dx, dy = (xx - cx) / pr, (yy - cy) / pr
    d2 = dx * dx + dy * dy
    inside = d2 <= 1
    dz = np.sqrt(np.clip(1 - d2, 0, 1))
    # bands follow latitude with noise; craters/cloud patches from noise
    tilt = 0.35 * (i % 3 - 1)
    lat = dy * math.cos(tilt) + dx * math.sin(tilt)
    noise = fbm(W, H, 500 + i, octaves=6, base=4)
    bands = 0.5 + 0.5 * np.sin(lat * (6 + i) + noise * 4)
    col = np.zeros((H, W, 3))
    for k in range(3):
        col[..., k] = base[k] * (1 - bands * 0.6) + band[k] * bands * 0.6
    # light from the upper left, a rim of the light colour on the dark side
    lx, ly, lz = -0.55, -0.45, 0.7
    shade = np.clip(dx * lx + dy * ly + dz * lz, 0, 1)
    shade = 0.12 + 0.95 * shade ** 1.1
    rim = np.clip(1 - dz, 0, 1) ** 3 * 0.9
    rgb = col * shade[..., None] + np.array(light)[None, None, :] * rim[..., None] * 0.6
    # soft antialiased edge
    edge = np.clip((1 - np.sqrt(d2)) * pr, 0, 1)
    alpha = edge * inside
    # atmosphere halo outside the disc
    dist = np.sqrt(d2)
    halo = np.clip(1 - (dist - 1) / 0.12, 0, 1) ** 2 * (dist > 1) * 0.55
    rgb = np.where(inside[..., None], rgb, np.array(light)[None, None, :] * 1.0)
    alpha = np.maximum(alpha, halo)
    if rings:
        # an elliptic ring, hidden behind the planet on its far half
        rx, ry = dx / 1.9, dy / 0.5
        rr = np.sqrt(rx * rx + ry * ry)
        ring = np.clip(1 - np.abs(rr - 0.85) / 0.14, 0, 1) * (0.55 + 0.45 * np.sin(rr * 60))
        far = (dy < 0) & inside
        ring = np.where(far, 0, ring) * 0.85
        rgb = rgb * (1 - ring[..., None]) + np.array(band)[None, None, :] * ring[..., None]
        alpha = np.maximum(alpha, ring)
    return to_image(rgb, alpha)


ROCK_COLORS = [(70, 60, 130), (110, 50, 110), (50, 90, 120)]


def rocks(i, w=640, h=200):
    rng = np.random.default_rng(700 + i)
    x = np.arange(w, dtype=np.float64)
    ridge = np.zeros(w)
    for k, amp in enumerate([60, 28, 14, 6]):
        freq = (2 + k * 3 + i) / w * TAU
        ridge += amp * np.sin(x * freq + rng.uniform(0, TAU))
    walk = np.cumsum(rng.normal(0, 1.6, w))
    walk -= np.linspace(walk[0], walk[-1], w)  # a jagged crest on top of the broad shapes
    ridge += walk * 1.2
    crags = np.abs(np.sin(x / w * TAU * (9 + i * 2) + rng.uniform(0, TAU)))
    ridge += (1 - crags) ** 6 * 22
    ridge = (ridge - ridge.min()) / (ridge.max() - ridge.min())
    top = 10 + (1 - ridge) * (h - 75)
    # Both ends slope down to the bottom edge, which the soil hides, so the
    # range rises out of the ground and sinks back into it: no cliff where
    # the picture ends, wherever the game puts it.
    ends = np.minimum(x, w - 1 - x) / (w * 0.22)
    taper = np.clip(ends, 0, 1) ** 2 * (3 - 2 * np.clip(ends, 0, 1))
    top = h - (h - top) * taper
    yy = np.arange(h, dtype=np.float64)[:, None]
    inside = yy >= top[None, :]
    depth = np.clip((yy - top[None, :]) / (h * 0.6), 0, 1)
    base = np.array(ROCK_COLORS[i], dtype=np.float64)
    tex = fbm(w, h, 800 + i, octaves=5, base=8)
    rgb = base[None, None, :] * (0.32 - 0.22 * depth[..., None] + 0.18 * tex[..., None])
    rim = np.clip(1 - (yy - top[None, :]) / 3.0, 0, 1) * inside
    light = np.array(mix(ROCK_COLORS[i], (255, 255, 255), 0.5))
    rgb = rgb * (1 - rim[..., None]) + light[None, None, :] * rim[..., None]
    edge = np.clip(yy - top[None, :] + 0.5, 0, 1)
    return to_image(rgb, edge)


def haze():
    """One pixel wide (the game stretches it over the width), 220 high."""
    h = 220
    y = np.linspace(0, 1, h)
    a = y ** 2.2 * 0.75
    col = np.array([mix(VIOLET, CYAN, v) for v in y], dtype=np.float64)
    return to_image(col[:, None, :], a[:, None])


SOIL_COLORS = [CYAN, MAGENTA, ORANGE, (120, 255, 160), (120, 140, 255), VIOLET]


def soil(i, w=1200, h=80):
    """The ground strip: solid from its top edge (the ground line) down."""
    rim_col = np.array(SOIL_COLORS[i], dtype=np.float64)
    tex = fbm(w, h, 900 + i, octaves=6, base=12)
    strata = fbm(w, h, 950 + i, octaves=3, base=3)
    yy = np.arange(h, dtype=np.float64)[:, None] * np.ones((1, w))
    base = np.array(mix((18, 16, 30), SOIL_COLORS[i], 0.12), dtype=np.float64)
    layers = 0.5 + 0.5 * np.sin(yy * 0.35 + strata * 9)
    rgb = base[None, None, :] * (0.7 + 0.5 * tex[..., None] + 0.3 * layers[..., None])
    # glowing veins
    vein = np.clip(1 - np.abs(fbm(w, h, 990 + i, octaves=5, base=10) - 0.5) / 0.025, 0, 1) * (yy > 10)
    rgb = rgb * (1 - 0.6 * vein[..., None]) + rim_col[None, None, :] * 0.6 * vein[..., None]
    # the bright rim along the top edge and its glow beneath
    rim = np.clip(1 - yy / 2.5, 0, 1)
    under = np.exp(-yy / 7.0) * 0.5
    rgb = rgb * (1 - rim[..., None]) + np.array(mix(SOIL_COLORS[i], (255, 255, 255), 0.45))[None, None, :] * rim[..., None]
    rgb = rgb + rim_col[None, None, :] * under[..., None]
    return to_image(rgb, np.ones((h, w)))


def loader(title_font_path, ship_img, W=1136, H=640):
    """The splash picture shown while the game loads."""
    sky = Image.new("RGBA", (W, H), (4, 5, 14, 255))
    g = gas(1, n=900).resize((1300, 1300), Image.BICUBIC)
    sky.alpha_composite(g, (W // 2 - 650, H // 2 - 720))
    g2 = gas(0, n=768)
    sky.alpha_composite(g2, (-300, -200))
    p = planet(4).resize((560, 350), Image.LANCZOS)
    sky.alpha_composite(p, (W - 520, 40))
    rk = rocks(0).resize((1400, 437), Image.LANCZOS)
    sky.alpha_composite(rk, (-140, H - 80 - 300))
    hz = haze().resize((W, 220))
    sky.alpha_composite(hz, (0, H - 220))
    sky.alpha_composite(soil(0).crop((0, 0, W, 80)), (0, H - 80))
    # a squadron sweeping down towards the ground
    for k, (x, y, s) in enumerate([(200, 430, 1.7), (110, 350, 1.2), (290, 345, 1.2), (60, 280, 0.9), (340, 270, 0.9)]):
        img = ship_img.resize((int(64 * s), int(64 * s)), Image.LANCZOS)
        sky.alpha_composite(img, (int(x - 32 * s), int(y - 32 * s)))
    # the title with a neon glow
    font = ImageFont.truetype(title_font_path, 120)
    txt = Image.new("RGBA", (W, H), (0, 0, 0, 0))
    d = ImageDraw.Draw(txt)
    text = "ZANDROVIA"
    tw = d.textlength(text, font=font)
    pos = ((W - tw) / 2, 150)
    d.text(pos, text, font=font, fill=(255, 255, 255, 255))
    glow = txt.filter(ImageFilter.GaussianBlur(12))
    solid = Image.new("RGBA", (W, H), (70, 225, 255, 255))
    solid.putalpha(glow.getchannel("A").point(lambda v: min(255, v * 2)))
    sky.alpha_composite(solid)
    sky.alpha_composite(txt)
    return sky.convert("RGB")
