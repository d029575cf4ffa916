"""Review pictures written beside the contact sheet: a mock play screen, the
pause menu as the layout file places it, and the three particle effects
simulated at a few sizes and moments (with the rules the game's particles
follow: per-update motion at 60 updates a second, colour and scale tweened
over the life). Nothing here is an asset."""
import math
import os
import random

from PIL import Image

import data
import gui

W, H = 1136, 640


def load(out, path):
    return Image.open(os.path.join(out, path)).convert("RGBA")


def put(page, img, x, y, scale=1.0, alpha=1.0, additive=False, angle=0.0, sx=None, sy=None):
    sx = scale if sx is None else sx
    sy = scale if sy is None else sy
    if sx != 1.0 or sy != 1.0:
        img = img.resize((max(1, int(img.width * sx)), max(1, int(img.height * sy))), Image.BILINEAR)
    if angle:
        img = img.rotate(-math.degrees(angle), expand=True, resample=Image.BILINEAR)
    if alpha < 1.0:
        a = img.getchannel("A").point(lambda v: int(v * alpha))
        img = img.copy()
        img.putalpha(a)
    x0, y0 = int(x - img.width / 2), int(y - img.height / 2)
    if additive:
        box = (x0, y0, x0 + img.width, y0 + img.height)
        region = page.crop(box)
        a = img.getchannel("A")
        glow = Image.composite(img, Image.new("RGBA", img.size, (0, 0, 0, 0)), a)
        r = Image.eval(glow, lambda v: v)
        from PIL import ImageChops
        premul = Image.merge("RGB", [ImageChops.multiply(c, a) for c in r.split()[:3]])
        summed = ImageChops.add(region.convert("RGB"), premul)
        page.paste(summed, box)
    else:
        page.alpha_composite(img, (x0, y0)) if x0 >= 0 and y0 >= 0 else page.paste(img, (x0, y0), img)


def scene(out):
    page = Image.new("RGBA", (W, H), (0, 0, 0, 255))
    put(page, load(out, "scene/gas2.png"), W / 2 - 60, H / 2 + 40, 1.3)
    put(page, load(out, "scene/planet3.png"), W / 2 + 250, H / 2 - 120, 0.7)
    rocks = load(out, "scene/rocks1.png")
    put(page, rocks, W / 2 + 100, H - 55 - rocks.height / 2 * 1.4, 1.4)
    haze = load(out, "scene/haze.png").resize((W, 220))
    put(page, haze, W / 2, H - 110)
    soil = load(out, "scene/soil1.png")
    ground = H - soil.height
    # ships in their start rows, one current
    for i in range(7):
        f = load(out, "sprites/player/frame%04d.png" % (i * 2 % 16))
        if i != 3:
            f = Image.eval(f, lambda v: v)  # the others are drawn at half brightness by the game
            r, g, b, a = f.split()
            f = Image.merge("RGBA", [c.point(lambda v: v // 2) for c in (r, g, b)] + [a])
        put(page, f, 120 + i * 150, 110 + (i % 2) * 60)
    bullet = load(out, "sprites/player_bullet.png")
    for k in range(4):
        put(page, bullet, 570 - 16 + (k % 2) * 32, 200 + k * 40, additive=True, angle=math.pi / 2)
    put(page, load(out, "sprites/spark_blue.png"), 570, 150, additive=True)
    put(page, load(out, "sprites/shield.png"), 420, 110, alpha=0.4)
    put(page, load(out, "sprites/hunter/frame0000.png"), 300, 360)
    put(page, load(out, "sprites/sawcer/frame0000.png"), 420, 390)
    put(page, load(out, "sprites/cargo/frame0000.png"), 760, 350)
    put(page, load(out, "sprites/purple_bullet.png"), 330, 320, additive=True, angle=-2.2)
    put(page, load(out, "sprites/man/frame0003.png"), 840, 300)
    put(page, load(out, "sprites/pickups/powerup/frame0000.png"), 680, 430)
    glow = load(out, "particles/glow.png")
    put(page, glow, 680, 430, additive=True, alpha=0.5, scale=1.0)
    put(page, load(out, "sprites/pickups/shield/frame0004.png"), 980, 460)
    wheels = load(out, "sprites/tank/wheels/frame0000.png")
    tx, ty = 200, ground - wheels.height / 2
    put(page, wheels, tx, ty)
    put(page, load(out, "sprites/tank/top/frame0012.png"), tx, ty + 8)
    put(page, load(out, "sprites/tank_bullet.png"), tx + 60, ty - 60, additive=True, angle=-0.6)
    foot = load(out, "sprites/foot.png")
    put(page, foot, 900, ground - foot.height / 2)
    lau = load(out, "sprites/launcher/frame0017.png")
    ly = ground - foot.height - lau.height / 2
    put(page, lau, 900, ly)
    put(page, load(out, "sprites/rocket/frame0000.png"), 960, 250, angle=-2.0)
    put(page, soil, W / 2, H - soil.height / 2)
    return page


def menu(out):
    page = scene(out).convert("RGBA")
    dimmer = Image.new("RGBA", (W, H), (0, 0, 0, 110))
    page.alpha_composite(dimmer)
    win = load(out, "gui/window.png")
    ox, oy = W / 2 - win.width / 2, H / 2 - win.height / 2
    put(page, win, W / 2, H / 2)
    images = {"sound": "sound_normal", "music": "music_mouseover_off", "replay": "restart_normal",
              "reset": "reset_game_normal", "close": "resume_mouseover", "homepage": "homepage_button",
              "facebook": "facebook_button", "twitter": "twitter_button", "privacy": "eye"}
    for name, (x, y) in gui.LAYOUT.items():
        if name in images:
            put(page, load(out, "gui/%s.png" % images[name]), ox + x, oy + y)
    logo = load(out, "gui/korvello.png")
    x, y = gui.LAYOUT["credits"]
    put(page, logo, ox + x, oy + y + 120)
    put(page, load(out, "gui/pause_idle.png"), W - 30 - 24, 30 + 24)
    put(page, load(out, "mouse.png"), ox + 600, oy + 160, alpha=0.75)
    return page


def _cache(text):
    blocks = []
    for part in text.strip().split("\n\n"):
        kv = {}
        for line in part.split("\n"):
            k, _, v = line.partition("=")
            kv[k.strip()] = v.strip()
        blocks.append(kv)
    return blocks


def _rng(kv, key, rnd):
    v = kv.get(key, "")
    if not v:
        return 0.5 if key in ("handleX", "handleY") else 0.0
    parts = [float(p) for p in v.split(",")[:2]]
    lo, hi = parts[0], parts[-1]
    return lo + rnd.random() * (hi - lo)


def simulate(out, text, size, t_ms, seed=1):
    """Draws one effect t_ms after it was played, on a dark square."""
    rnd = random.Random(seed)
    n = int(260 * max(1.0, size))
    page = Image.new("RGBA", (n, n), (8, 10, 20, 255))
    imgs = {}
    for kv in _cache(text):
        count = 0
        while _rng(kv, "particles", rnd) > count:
            count += 1
            path = kv["imagePath"].split(",")[0]
            if path not in imgs:
                imgs[path] = load(out, path)
            col = [_rng(kv, k, rnd) for k in ("red", "green", "blue", "alpha")]
            tcol = [_rng(kv, k, rnd) for k in ("targetRed", "targetGreen", "targetBlue", "targetAlpha")]
            delay = _rng(kv, "delay", rnd)
            drag = (_rng(kv, "dragX", rnd), _rng(kv, "dragY", rnd))
            grav = _rng(kv, "gravity", rnd)
            ttl = _rng(kv, "timeToLive", rnd)
            ang = math.radians(_rng(kv, "angle", rnd))
            sc, tsc = _rng(kv, "scale", rnd) * size, _rng(kv, "targetScale", rnd) * size
            vx = _rng(kv, "velocityX", rnd) * math.cos(ang) * size
            vy = _rng(kv, "velocityY", rnd) * math.sin(ang) * size
            life = t_ms - delay
            if life < 0 or life > ttl:
                continue
            x = y = 0.0
            for _ in range(int(life / 16.67)):
                x += vx
                y += vy
                if drag[0]:
                    vx *= drag[0]
                if drag[1]:
                    vy *= drag[1]
                vy += grav
            f = life / ttl
            c = [min(1, max(0, a + (b - a) * f)) for a, b in zip(col, tcol)]
            s = sc + (tsc - sc) * f
            img = imgs[path]
            r, g, b, a = img.split()
            tinted = Image.merge("RGBA", [r.point(lambda v, k=c[0]: int(v * k)), g.point(lambda v, k=c[1]: int(v * k)),
                                          b.point(lambda v, k=c[2]: int(v * k)), a])
            put(page, tinted, n / 2 + x, n / 2 + y, scale=max(0.01, s), alpha=c[3],
                additive=kv.get("blendMode", "").lower() == "additive", angle=ang)
    return page


def effects(out):
    rows = []
    for name, text, sizes in (("explosion", data.explosion(), (0.25, 1.0, 2.0)),
                              ("smoke", data.smoke(), (1.0,)), ("dust", data.dust(), (0.75,))):
        for size in sizes:
            frames = [simulate(out, text, size, t) for t in (30, 120, 250, 450, 700)]
            row = Image.new("RGBA", (sum(f.width for f in frames), frames[0].height))
            x = 0
            for f in frames:
                row.paste(f, (x, 0))
                x += f.width
            rows.append(row)
    page = Image.new("RGBA", (max(r.width for r in rows), sum(r.height for r in rows)), (0, 0, 0, 255))
    y = 0
    for r in rows:
        page.paste(r, (0, y))
        y += r.height
    return page


def write(out, folder):
    os.makedirs(folder, exist_ok=True)
    scene(out).convert("RGB").save(os.path.join(folder, "preview-scene.png"))
    menu(out).convert("RGB").save(os.path.join(folder, "preview-menu.png"))
    effects(out).convert("RGB").save(os.path.join(folder, "preview-effects.png"))
