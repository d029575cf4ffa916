"""Flying sprites: the player's ship, the three attacker kinds, the two
bosses and the men. Every function returns a list of PIL images (frames)."""
import math

from neon import (AMBER, CYAN, DARK, GOLD, ICE, MAGENTA, ORANGE, RED, STEEL, VIOLET,
                  WHITE, Pic, dim, mix, rgba, rot, shift)

TAU = 2 * math.pi


def mirror(half):
    """A symmetric outline from its right half (listed from top to bottom on x >= 0)."""
    return half + [(-x, y) for x, y in reversed(half)]


def player(frames=16):
    """The player's ship, 64 x 64, nose down (it fires towards the ground)."""
    out = []
    hull = mirror([(0, 29), (7, 14), (27, -2), (25, -10), (12, -8), (9, -22), (4, -26)])
    inner = mirror([(0, 20), (5, 10), (17, -2), (8, -4), (5, -16)])
    for f in range(frames):
        t = f / frames
        p = Pic(64, 64)
        # engine flames at the rear (top), flickering
        fl = 1.0 + 0.25 * math.sin(t * TAU * 2) + 0.1 * math.sin(t * TAU * 5)
        for ex in (-6, 6):
            flame = [(ex - 3.5, -22), (ex + 3.5, -22), (ex, -22 - 6 * fl)]
            p.poly(shift(flame, 32, 32), fill=rgba(ICE, 230))
        p.glow(2.5, 1.4, CYAN)
        body = p.layer()
        body.poly(shift(hull, 32, 32), fill=rgba(mix(DARK, CYAN, 0.18)), outline=rgba(CYAN), width=2.2)
        body.poly(shift(inner, 32, 32), fill=rgba(mix(DARK, CYAN, 0.35)), outline=rgba(ICE, 200), width=1.0)
        # cockpit
        body.ellipse(32, 40, 3.2, 6, fill=rgba(WHITE), outline=rgba(CYAN), width=1)
        # wing-tip lights that blink in turn
        on = (f // 4) % 2
        body.circle(32 + 25, 32 - 6, 2.2, fill=rgba(WHITE if on else CYAN))
        body.circle(32 - 25, 32 - 6, 2.2, fill=rgba(CYAN if on else WHITE))
        body.glow(3, 1.2, CYAN)
        p.paste(body)
        out.append(p.final())
    return out


def cargo(frames=20):
    """A slow violet freighter, 96 x 56, with a lit hold where the man sits."""
    out = []
    hull = [(-40, 2), (-30, -14), (24, -16), (40, -4), (40, 8), (26, 18), (-30, 18)]
    for f in range(frames):
        t = f / frames
        p = Pic(96, 56)
        b = p.layer()
        b.poly(shift(hull, 46, 28), fill=rgba(mix(DARK, VIOLET, 0.3)), outline=rgba(VIOLET), width=2.2)
        b.rect(46 - 22, 28 - 9, 46 + 14, 28 + 11, fill=rgba(mix(DARK, VIOLET, 0.5)), outline=rgba(MAGENTA), width=1.2, radius=3)
        # the hold window with its passenger
        b.rect(46 - 16, 28 - 5, 46 + 8, 28 + 7, fill=rgba(mix(DARK, GOLD, 0.35)), radius=2)
        b.circle(46 - 4, 28 - 0.5, 2.6, fill=rgba(GOLD))
        b.rect(46 - 6.5, 28 + 2, 46 - 1.5, 28 + 7, fill=rgba(GOLD), radius=1.5)
        # engine pods
        for y in (-10, 12):
            b.rect(46 + 26, 28 + y - 3, 46 + 38, 28 + y + 3, fill=rgba(STEEL), outline=rgba(VIOLET), width=1, radius=2)
        # rotating beacon lights along the hull
        for i in range(5):
            ph = (t + i / 5.0) % 1.0
            a = 0.25 + 0.75 * max(0.0, math.cos(ph * TAU))
            b.circle(46 - 28 + i * 12, 28 + 14, 1.8, fill=rgba(mix(VIOLET, AMBER, a), 255))
        b.glow(3, 1.3, MAGENTA)
        # engine glow at the rear, pulsing
        e = p.layer()
        pul = 0.7 + 0.3 * math.sin(t * TAU)
        for y in (-10, 12):
            e.ellipse(46 + 40, 28 + y, 3 + 2 * pul, 2.5, fill=rgba(ORANGE, 230))
        e.glow(2.5, 1.5, ORANGE)
        p.paste(e)
        p.paste(b)
        out.append(p.final())
    return out


def hunter(frames=21):
    """An armed magenta raider, 60 x 48, with a red eye that pulses."""
    out = []
    for f in range(frames):
        t = f / frames
        p = Pic(60, 48)
        flap = 3.0 * math.sin(t * TAU)
        wing = [(-6, -4), (-27, -18 - flap), (-16, 2), (-27, 18 + flap), (-6, 6), (0, 0)]
        b = p.layer()
        for sx in (1, -1):
            pts = [(x * sx, y) for x, y in wing]
            b.poly(shift(pts, 30, 24), fill=rgba(mix(DARK, MAGENTA, 0.3)), outline=rgba(MAGENTA), width=2)
        core = [(0, -12), (12, 0), (0, 12), (-12, 0)]
        b.poly(shift(core, 30, 24), fill=rgba(mix(DARK, MAGENTA, 0.45)), outline=rgba(WHITE, 220), width=1.4)
        b.glow(3, 1.3, MAGENTA)
        eye = p.layer()
        pul = 0.5 + 0.5 * math.sin(t * TAU * 2)
        eye.circle(30, 24, 3.2 + 1.2 * pul, fill=rgba(mix(RED, WHITE, 0.3 * pul)))
        eye.glow(2 + 2 * pul, 1.6, RED)
        p.paste(b)
        p.paste(eye)
        out.append(p.final())
    return out


def sawcer(frames=25):
    """An unarmed spinning saw disc, 48 x 48; one frame turns it by a fifth of a tooth pair."""
    out = []
    teeth = 10
    for f in range(frames):
        ang = f / frames * (2 * TAU / teeth)  # two teeth per loop: seamless
        p = Pic(48, 48)
        pts = []
        for i in range(teeth):
            a0 = ang + i * TAU / teeth
            pts.append((math.cos(a0) * 21, math.sin(a0) * 21))
            a1 = a0 + TAU / teeth * 0.55
            pts.append((math.cos(a1) * 14, math.sin(a1) * 14))
        b = p.layer()
        b.poly(shift(pts, 24, 24), fill=rgba(mix(DARK, ORANGE, 0.35)), outline=rgba(ORANGE), width=1.8)
        b.circle(24, 24, 8.5, fill=rgba(mix(DARK, RED, 0.5)), outline=rgba(AMBER), width=1.4)
        for i in range(5):
            a = ang * 2 + i * TAU / 5
            b.line([(24, 24), (24 + math.cos(a) * 8, 24 + math.sin(a) * 8)], rgba(AMBER), 1.2)
        b.circle(24, 24, 2.5, fill=rgba(WHITE))
        b.glow(3, 1.2, ORANGE)
        p.paste(b)
        out.append(p.final())
    return out


def saucer(frames=26):
    """The laser boss, 208 x 120; its beam leaves the orb 38 units above the centre."""
    out = []
    W, H = 208, 120
    cx, cy = W / 2, H / 2
    for f in range(frames):
        t = f / frames
        p = Pic(W, H)
        b = p.layer()
        # dome
        b.ellipse(cx, cy - 12, 40, 30, fill=rgba(mix(DARK, MAGENTA, 0.25)), outline=rgba(MAGENTA), width=2)
        b.ellipse(cx - 10, cy - 22, 14, 9, fill=rgba(mix(MAGENTA, WHITE, 0.3), 90))
        # disc
        b.ellipse(cx, cy + 8, 98, 26, fill=rgba(mix(DARK, RED, 0.25)), outline=rgba(RED), width=2.4)
        b.ellipse(cx, cy + 4, 78, 14, fill=rgba(mix(DARK, RED, 0.4)), outline=rgba(mix(RED, AMBER, 0.4)), width=1.2)
        b.ellipse(cx, cy + 26, 30, 8, fill=rgba(STEEL), outline=rgba(RED), width=1.5)
        # running lights around the rim
        n = 13
        for i in range(n):
            ph = (i / n + t) % 1.0
            x = cx + math.cos(ph * TAU) * 88
            y = cy + 10 + math.sin(ph * TAU) * 18
            if math.sin(ph * TAU) < -0.2:
                continue  # behind the disc
            lit = (i + f) % 3 == 0
            b.circle(x, y, 3.2 if lit else 2.2, fill=rgba(AMBER if lit else mix(RED, AMBER, 0.3)))
        b.glow(4, 1.3, RED)
        orb = p.layer()
        pul = 0.5 + 0.5 * math.sin(t * TAU * 2)
        orb.circle(cx, cy - 38, 6 + 1.5 * pul, fill=rgba(mix(RED, WHITE, 0.5 + 0.3 * pul)))
        orb.glow(4 + 2 * pul, 1.8, RED)
        p.paste(b)
        p.paste(orb)
        out.append(p.final())
    return out


def _spider_leg(p, hip, knee, foot, color, width):
    p.line([hip, knee, foot], rgba(color), width)
    p.circle(knee[0], knee[1], width * 0.9, fill=rgba(mix(color, WHITE, 0.4)))


def spider(frames=66):
    """The spraying boss, 176 x 150, seen from above with its head down.

    Frames 0-23 walk, 24-41 settle (the legs spread and the cannon opens),
    42-65 fire (the cannon pulses)."""
    out = []
    W, H = 176, 150
    cx, cy = W / 2, H / 2
    for f in range(frames):
        if f < 24:
            walk, settle, fire = f / 24.0, 0.0, None
        elif f < 42:
            walk, settle, fire = 0.0, (f - 24) / 17.0, None
        else:
            walk, settle, fire = 0.0, 1.0, (f - 42) / 24.0
        p = Pic(W, H)
        legs = p.layer()
        for side in (1, -1):
            for i in range(4):
                ph = walk * TAU + i * math.pi / 2 + (0 if side > 0 else math.pi)
                swing = math.sin(ph) * 10 * (1 - settle)
                lift = max(0.0, math.cos(ph)) * 4 * (1 - settle)
                base = -30 + i * 20
                hip = (cx + side * 18, cy + base * 0.55)
                spread = 1.0 + 0.12 * settle
                knee = (cx + side * (50 + lift) * spread, cy + (base - 14) * spread + swing * 0.5)
                foot = (cx + side * (78 - i * 2) * spread, cy + (base * 1.25 + 10) * spread + swing)
                _spider_leg(legs, hip, knee, foot, mix(VIOLET, RED, 0.35), 3.2)
        legs.glow(3, 1.2, VIOLET)
        body = p.layer()
        body.ellipse(cx, cy - 16, 26, 30, fill=rgba(mix(DARK, VIOLET, 0.35)), outline=rgba(VIOLET), width=2.2)
        for k in range(3):
            body.line([(cx - 16 + k * 16, cy - 38), (cx - 16 + k * 16, cy - 2)], rgba(mix(VIOLET, MAGENTA, 0.5), 200), 1.2)
        body.ellipse(cx, cy + 20, 20, 16, fill=rgba(mix(DARK, RED, 0.4)), outline=rgba(RED), width=2)
        # the eyes and the cannon mouth
        open_ = settle
        body.circle(cx - 9, cy + 26, 2.6, fill=rgba(AMBER))
        body.circle(cx + 9, cy + 26, 2.6, fill=rgba(AMBER))
        body.glow(3, 1.2, RED)
        gun = p.layer()
        r = 3 + 6 * open_
        heat = 0.0 if fire is None else 0.5 + 0.5 * math.cos(fire * TAU * 4)
        gun.circle(cx, cy + 30, r, fill=rgba(mix(mix(DARK, RED, 0.6), WHITE, heat * 0.8)),
                   outline=rgba(mix(RED, AMBER, open_)), width=1.6)
        if open_ > 0:
            gun.glow(2 + 4 * heat + 2 * open_, 1.0 + heat, RED)
        p.paste(legs)
        p.paste(body)
        p.paste(gun)
        out.append(p.final())
    return out


def man(frames=32):
    """A stranded astronaut, 40 x 40, turning once over the frames."""
    out = []
    for f in range(frames):
        a = f / frames * TAU
        p = Pic(40, 40)
        b = p.layer()
        body = [(-5, -4), (5, -4), (6, 8), (-6, 8)]
        b.poly(rot(body, a, 20, 20), fill=rgba(mix(WHITE, GOLD, 0.3)), outline=rgba(GOLD), width=1.2)
        for arm in ([(-5, -2), (-11, -9)], [(5, -2), (11, -9)], [(-3, 8), (-5, 15)], [(3, 8), (5, 15)]):
            b.line(rot(arm, a, 20, 20), rgba(mix(WHITE, GOLD, 0.3)), 3)
        hx, hy = rot([(0, -9)], a, 20, 20)[0]
        b.circle(hx, hy, 5.2, fill=rgba(WHITE), outline=rgba(GOLD), width=1.2)
        vx, vy = rot([(0, -8.2)], a, 20, 20)[0]
        b.circle(vx, vy, 2.8, fill=rgba(mix(CYAN, DARK, 0.3)))
        b.glow(2.5, 1.3, GOLD)
        p.paste(b)
        out.append(p.final())
    return out
