"""Drawing helpers shared by every image of the generator.

Everything is drawn at SS times the final size into an RGBA picture and
downsampled at the end, which gives smooth edges. Coordinates passed to the
helpers are in final pixels (floats are fine); the helpers scale them.
"""
import math

from PIL import Image, ImageDraw, ImageFilter

SS = 4  # supersampling factor

# The palette of the whole game: the player is cyan and white, everything
# hostile is warm (magenta, red, orange, violet), pick-ups are green-gold.
CYAN = (70, 225, 255)
ICE = (190, 250, 255)
WHITE = (255, 255, 255)
MAGENTA = (255, 60, 190)
RED = (255, 60, 60)
ORANGE = (255, 140, 30)
AMBER = (255, 200, 60)
VIOLET = (170, 90, 255)
GREEN = (90, 255, 120)
LIME = (190, 255, 80)
GOLD = (255, 215, 80)
STEEL = (40, 46, 66)
DARK = (14, 16, 28)


def rgba(c, a=255):
    return (int(c[0]), int(c[1]), int(c[2]), int(a))


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def dim(c, f):
    return tuple(int(max(0, min(255, v * f))) for v in c[:3])


class Pic:
    """A supersampled RGBA drawing surface of w x h final pixels."""

    def __init__(self, w, h):
        self.w, self.h = w, h
        self.img = Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))

    def layer(self):
        return Pic(self.w, self.h)

    def draw(self):
        return ImageDraw.Draw(self.img)

    @staticmethod
    def _pts(pts):
        return [(x * SS, y * SS) for x, y in pts]

    def poly(self, pts, fill=None, outline=None, width=1.0):
        d = self.draw()
        p = self._pts(pts)
        if fill is not None:
            d.polygon(p, fill=fill)
        if outline is not None:
            d.line(p + [p[0]], fill=outline, width=max(1, int(width * SS)), joint="curve")

    def line(self, pts, color, width=1.0):
        d = self.draw()
        p = self._pts(pts)
        w = max(1, int(width * SS))
        d.line(p, fill=color, width=w, joint="curve")
        r = w / 2.0
        for x, y in (p[0], p[-1]):  # round caps
            d.ellipse((x - r, y - r, x + r, y + r), fill=color)

    def ellipse(self, cx, cy, rx, ry, fill=None, outline=None, width=1.0):
        box = ((cx - rx) * SS, (cy - ry) * SS, (cx + rx) * SS, (cy + ry) * SS)
        self.draw().ellipse(box, fill=fill, outline=outline,
                            width=max(1, int(width * SS)) if outline else 0)

    def circle(self, cx, cy, r, fill=None, outline=None, width=1.0):
        self.ellipse(cx, cy, r, r, fill, outline, width)

    def arc(self, cx, cy, r, a0, a1, color, width=1.0):
        box = ((cx - r) * SS, (cy - r) * SS, (cx + r) * SS, (cy + r) * SS)
        self.draw().arc(box, a0, a1, fill=color, width=max(1, int(width * SS)))

    def rect(self, x0, y0, x1, y1, fill=None, outline=None, width=1.0, radius=0):
        box = (x0 * SS, y0 * SS, x1 * SS, y1 * SS)
        self.draw().rounded_rectangle(box, radius=radius * SS, fill=fill, outline=outline,
                                      width=max(1, int(width * SS)) if outline else 0)

    def paste(self, other, alpha=1.0):
        src = other.img if alpha >= 1.0 else fade(other.img, alpha)
        self.img = Image.alpha_composite(self.img, src)

    def under(self, other):
        self.img = Image.alpha_composite(other.img, self.img)

    def glow(self, radius, strength=1.0, color=None):
        """Adds a blurred halo of the current drawing underneath it."""
        src = self.img
        if color is not None:
            src = tint(src, color)
        halo = src.filter(ImageFilter.GaussianBlur(radius * SS))
        if strength != 1.0:
            halo = fade(halo, strength)
        self.img = Image.alpha_composite(halo, self.img)
        return self

    def final(self):
        """The picture at its final size, downsampled with premultiplied alpha."""
        pm = self.img.convert("RGBa")
        return pm.resize((self.w, self.h), Image.LANCZOS).convert("RGBA")


def fade(img, f):
    r, g, b, a = img.split()
    a = a.point(lambda v: int(min(255, v * f)))
    return Image.merge("RGBA", (r, g, b, a))


def tint(img, color):
    a = img.getchannel("A")
    solid = Image.new("RGBA", img.size, rgba(color))
    solid.putalpha(a)
    return solid


def rot(pts, ang, cx=0.0, cy=0.0, sx=1.0, sy=1.0):
    """Scales then turns points (given around the origin) by ang radians and moves them to (cx, cy)."""
    c, s = math.cos(ang), math.sin(ang)
    return [(cx + (x * sx) * c - (y * sy) * s, cy + (x * sx) * s + (y * sy) * c) for x, y in pts]


def shift(pts, dx, dy):
    return [(x + dx, y + dy) for x, y in pts]


def radial(size, color, falloff=2.0, core=0.0):
    """A soft round glow: alpha = (1 - r)^falloff, with an optional white-hot core."""
    import numpy as np
    n = size
    yy, xx = np.mgrid[0:n, 0:n].astype(np.float64)
    c = (n - 1) / 2.0
    r = np.sqrt((xx - c) ** 2 + (yy - c) ** 2) / (n / 2.0)
    a = np.clip(1.0 - r, 0.0, 1.0) ** falloff
    out = np.zeros((n, n, 4), dtype=np.float64)
    for i in range(3):
        out[..., i] = color[i]
    if core > 0:
        w = np.clip(1.0 - r / core, 0.0, 1.0) ** 2
        for i in range(3):
            out[..., i] = out[..., i] * (1 - w) + 255 * w
    out[..., 3] = a * 255
    return Image.fromarray(np.clip(out, 0, 255).astype(np.uint8), "RGBA")


def save_png(img, path):
    import os
    os.makedirs(os.path.dirname(path), exist_ok=True)
    img.save(path, "PNG", optimize=True)


def trim_alpha(img, floor=24):
    """Drops the faintest edge of the glow: the game's hit flash paints every
    pixel whose alpha is not 0 white, so a wide faint halo would flash as a blob.
    Alpha is remapped continuously, so no hard edge appears."""
    r, g, b, a = img.split()
    a = a.point(lambda v: 0 if v <= floor else int(round((v - floor) * 255.0 / (255 - floor))))
    return Image.merge("RGBA", (r, g, b, a))
