"""Ground enemies: the tank's turret and wheels, the launcher with its foot,
the homing rocket and the crusher segment."""
import math

from neon import (AMBER, DARK, GOLD, ORANGE, RED, STEEL, WHITE, Pic, mix, rgba,
                  rot, shift)

TAU = 2 * math.pi

# Muzzle of the tank's gun per turret frame, relative to the tank's centre.
TURRET_MUZZLES = [
    (44, 2), (43, 0), (41, -3), (39, -6), (36, -8), (33, -10), (30, -12), (27, -13),
    (24, -14), (21, -15), (18, -16), (15, -17), (13, -18), (10, -19), (7, -20), (5, -21),
    (2, -22), (0, -23), (-3, -21), (-5, -20), (-8, -18), (-10, -17), (-13, -17), (-15, -16),
    (-18, -15), (-20, -14), (-23, -13), (-26, -12), (-29, -11), (-32, -10), (-35, -8),
    (-38, -6), (-41, -3), (-43, 0), (-44, 2), (-45, 5),
]

TANK_W, TANK_H = 120, 90        # the wheels image: it sets the tank's size
TURRET_W, TURRET_H = 112, 80     # the turret image, drawn 8 units below the tank's centre
TURRET_DY = 8
PIVOT = (0, 2)                   # the gun's pivot, relative to the tank's centre


def tank_top(frames=36):
    """Frame k: the gun from the pivot to TURRET_MUZZLES[k]; the image centre is the
    tank's centre + (0, 8), so the muzzle sits at the table's offset from the tank."""
    out = []
    cx, cy = TURRET_W / 2, TURRET_H / 2 - TURRET_DY  # the tank's centre in the image
    for k in range(frames):
        mx, my = TURRET_MUZZLES[k]
        px, py = cx + PIVOT[0], cy + PIVOT[1]
        p = Pic(TURRET_W, TURRET_H)
        b = p.layer()
        ex, ey = cx + mx, cy + my
        b.line([(px, py), (ex, ey)], rgba(mix(STEEL, ORANGE, 0.45)), 5.2)
        b.line([(px, py), (ex, ey)], rgba(AMBER), 1.6)
        # muzzle brake
        ang = math.atan2(my - PIVOT[1], mx - PIVOT[0])
        tip = rot([(-4, -3.6), (1, -3.6), (1, 3.6), (-4, 3.6)], ang, ex, ey)
        b.poly(tip, fill=rgba(mix(STEEL, ORANGE, 0.5)), outline=rgba(AMBER), width=1.2)
        # dome (a half-ellipse on the hull deck)
        dome = [(px + 19 * math.cos(a), py + 4 + 13 * math.sin(a))
                for a in [math.pi + i * math.pi / 16 for i in range(17)]]
        b.poly(dome, fill=rgba(mix(DARK, ORANGE, 0.35)), outline=rgba(ORANGE), width=1.8)
        b.circle(px, py - 3, 3, fill=rgba(AMBER))
        b.glow(2.5, 1.2, ORANGE)
        p.paste(b)
        out.append(p.final())
    return out


def tank_wheels(frames=24):
    """Hull and tracks, 120 x 90; the tracks' bottom is the image's bottom (the ground)."""
    out = []
    cx, cy = TANK_W / 2, TANK_H / 2
    for f in range(frames):
        t = f / frames
        p = Pic(TANK_W, TANK_H)
        b = p.layer()
        hull = [(-46, 6), (46, 6), (56, 20), (-56, 20)]
        b.poly(shift(hull, cx, cy), fill=rgba(mix(DARK, ORANGE, 0.3)), outline=rgba(ORANGE), width=2)
        b.line([(cx - 38, cy + 12), (cx + 38, cy + 12)], rgba(AMBER, 160), 1.2)
        # track belt
        b.rect(cx - 56, cy + 21, cx + 56, cy + 44, fill=rgba(STEEL), outline=rgba(ORANGE), width=2, radius=11)
        # track studs that move along the belt
        n = 14
        for i in range(n):
            x = cx - 50 + ((i + t * 2) / n % 1.0) * 100
            b.rect(x - 1.5, cy + 21.5, x + 1.5, cy + 24.5, fill=rgba(AMBER, 200))
            b.rect(100 + 20 - x - 1.5, cy + 40.5, 100 + 20 - x + 1.5, cy + 43.5, fill=rgba(AMBER, 200))
        # road wheels that turn
        for i in range(5):
            wx = cx - 40 + i * 20
            b.circle(wx, cy + 32.5, 7, fill=rgba(mix(DARK, ORANGE, 0.2)), outline=rgba(AMBER), width=1.4)
            a = t * TAU / 3 + i
            for s in range(3):
                aa = a + s * TAU / 3
                b.line([(wx, cy + 32.5), (wx + 5 * math.cos(aa), cy + 32.5 + 5 * math.sin(aa))], rgba(ORANGE), 1.2)
        b.glow(3, 1.1, ORANGE)
        p.paste(b)
        out.append(p.final())
    return out


LAUNCHER_W, LAUNCHER_H = 88, 64
FOOT_W, FOOT_H = 104, 22


def launcher(frames=18):
    """A silo, 88 x 64; the hatch is shut at frame 0 and wide open at frame 17."""
    out = []
    cx, cy = LAUNCHER_W / 2, LAUNCHER_H / 2
    for f in range(frames):
        o = f / (frames - 1)
        p = Pic(LAUNCHER_W, LAUNCHER_H)
        b = p.layer()
        body = [(-30, -6), (30, -6), (40, 30), (-40, 30)]
        b.poly(shift(body, cx, cy), fill=rgba(mix(DARK, ORANGE, 0.28)), outline=rgba(ORANGE), width=2)
        for i in range(5):  # hazard stripes
            x = cx - 30 + i * 14
            b.poly([(x, cy + 22), (x + 7, cy + 22), (x + 3, cy + 29), (x - 4, cy + 29)], fill=rgba(AMBER, 200))
        # the shaft, lit from inside as the hatch opens
        b.rect(cx - 14, cy - 6, cx + 14, cy + 16, fill=rgba(mix(DARK, RED, 0.2 + 0.6 * o)), radius=3)
        # two hatch doors that swing outwards
        for s in (1, -1):
            a = -o * math.radians(100) * s
            door = rot([(0, 0), (-15 * s, 0), (-15 * s, -5), (0, -5)], a, cx + 15 * s, cy - 6)
            b.poly(door, fill=rgba(mix(STEEL, ORANGE, 0.3)), outline=rgba(AMBER), width=1.4)
        b.circle(cx - 34, cy + 2, 2.5, fill=rgba(RED if f % 6 < 3 else AMBER))
        b.circle(cx + 34, cy + 2, 2.5, fill=rgba(AMBER if f % 6 < 3 else RED))
        b.glow(3, 1.2, ORANGE)
        p.paste(b)
        out.append(p.final())
    return out


def foot():
    """The base the launcher stands on, 104 x 22: its bottom edge rests on the ground."""
    p = Pic(FOOT_W, FOOT_H)
    b = p.layer()
    b.poly([(6, 2), (98, 2), (103, 21), (1, 21)], fill=rgba(mix(DARK, STEEL, 0.8)), outline=rgba(ORANGE), width=1.8)
    for i in range(6):
        b.rect(12 + i * 15, 8, 20 + i * 15, 14, fill=rgba(mix(ORANGE, DARK, 0.5)), radius=1)
    b.glow(2, 0.9, ORANGE)
    p.paste(b)
    return p.final()


def rocket(frames=16):
    """The homing rocket, 52 x 22, nose towards +x, flame flickering at the tail."""
    out = []
    for f in range(frames):
        t = f / frames
        p = Pic(52, 22)
        fl = p.layer()
        ln = 10 + 4 * math.sin(t * TAU * 2) + 2 * math.sin(t * TAU * 3)
        fl.poly([(14, 7), (14, 15), (14 - ln, 11)], fill=rgba(mix(AMBER, WHITE, 0.4)))
        fl.glow(2.5, 1.6, ORANGE)
        b = p.layer()
        body = [(14, 6.5), (38, 6.5), (50, 11), (38, 15.5), (14, 15.5)]
        b.poly(body, fill=rgba(mix(DARK, RED, 0.45)), outline=rgba(RED), width=1.6)
        b.poly([(16, 6.5), (10, 2), (22, 6.5)], fill=rgba(RED))
        b.poly([(16, 15.5), (10, 20), (22, 15.5)], fill=rgba(RED))
        b.circle(40, 11, 2.2, fill=rgba(mix(AMBER, WHITE, 0.5 + 0.5 * math.sin(t * TAU * 4))))
        b.glow(2, 1.1, RED)
        p.paste(fl)
        p.paste(b)
        out.append(p.final())
    return out


CRUSHER_W, CRUSHER_H = 96, 96


def crusher(frames=50):
    """A segment of the crusher column, 96 x 96, tiling vertically; its solid core is
    64 wide (16 units of spikes at each side, which the ship's test leaves out)."""
    out = []
    cx = CRUSHER_W / 2
    for f in range(frames):
        t = f / frames
        # drawn three tiles tall and cut from the middle, so the glow wraps too
        p = Pic(CRUSHER_W, CRUSHER_H * 3)
        b = p.layer()
        b.rect(cx - 32, -1, cx + 32, CRUSHER_H * 3 + 1, fill=rgba(mix(DARK, GOLD, 0.18)), outline=rgba(GOLD), width=2)
        # hazard chevrons scrolling down the core (one chevron period per loop)
        for i in range(-1, 10):
            y = (i + t) * 32
            b.poly([(cx - 26, y), (cx, y + 14), (cx + 26, y), (cx + 26, y + 8), (cx, y + 22), (cx - 26, y + 8)],
                   fill=rgba(mix(GOLD, ORANGE, 0.4), 210))
        # side spikes
        for s in (1, -1):
            for j in range(9):
                y = 16 + j * 32
                b.poly([(cx + s * 32, y - 9), (cx + s * 46, y), (cx + s * 32, y + 9)],
                       fill=rgba(mix(DARK, ORANGE, 0.5)), outline=rgba(ORANGE), width=1.4)
        b.line([(cx - 30, 0), (cx - 30, CRUSHER_H * 3)], rgba(AMBER), 1.4)
        b.line([(cx + 30, 0), (cx + 30, CRUSHER_H * 3)], rgba(AMBER), 1.4)
        b.glow(3, 1.1, GOLD)
        p.paste(b)
        out.append(p.final().crop((0, CRUSHER_H, CRUSHER_W, CRUSHER_H * 2)))
    return out
