#!/usr/bin/python3
"""Generates every file of the game's assets folder.

    /usr/bin/python3 tools/assetgen/gen.py [--out assets] [--sheet FILE] [--only KINDS]

KINDS is a comma-separated subset of: images, sounds, music, voices, data, fonts.
Every random choice comes from a fixed seed, so a run writes the same files.
"""
import argparse
import os
import shutil
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import fonts  # noqa: E402
import fx  # noqa: E402
import ground  # noqa: E402
import gui  # noqa: E402
import scene  # noqa: E402
import ships  # noqa: E402
from neon import save_png, trim_alpha  # noqa: E402

FONTS = {
    # asset path: (Debian font file, its package's licence file, the change of
    # the copy: a function of source and destination path that writes the
    # font and returns the note heading its licence, or None for a plain copy)
    "fonts/stencil.otf": ("/usr/share/fonts/opentype/ferrite-core/FerriteCoreDX-Medium.otf",
                          "/usr/share/doc/fonts-ferrite-core/copyright", fonts.widen_hyphen),
    "fonts/stargaze.otf": ("/usr/share/fonts/opentype/allerta/allerta_stencil.otf",
                           "/usr/share/doc/fonts-allerta/copyright", None),
    "kestrum-framework/fonts/arial.ttf": ("/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf",
                                          "/usr/share/doc/fonts-liberation2/copyright", None),
}

ANIMATIONS = [
    # folder, generator, frame count
    ("sprites/player", ships.player, 16),
    ("sprites/cargo", ships.cargo, 20),
    ("sprites/hunter", ships.hunter, 21),
    ("sprites/sawcer", ships.sawcer, 25),
    ("sprites/saucer", ships.saucer, 26),
    ("sprites/spider", ships.spider, 66),
    ("sprites/man", ships.man, 32),
    ("sprites/launcher", ground.launcher, 18),
    ("sprites/rocket", ground.rocket, 16),
    ("sprites/tank/top", ground.tank_top, 36),
    ("sprites/tank/wheels", ground.tank_wheels, 24),
    ("sprites/crusher", ground.crusher, 50),
] + [("sprites/pickups/" + k, (lambda n, k=k: fx.pickup(k, n)), 20)
     for k in ("powerup", "tracker", "nuke", "shield", "laser")]


def write_images(out, sheet_items):
    for folder, make, count in ANIMATIONS:
        frames = [trim_alpha(f) for f in make(count)]
        assert len(frames) == count, folder
        for i, img in enumerate(frames):
            save_png(img, os.path.join(out, folder, "frame%04d.png" % i))
        sheet_items.append((folder, frames))
        print("  %-28s %2d frames %dx%d" % (folder, count, frames[0].width, frames[0].height))
    singles = {}
    for name, img in fx.bullets().items():
        singles["sprites/" + name] = img
    for name, img in fx.sparks().items():
        singles["sprites/" + name] = img
    singles["sprites/shield"] = fx.shield()
    singles["sprites/foot"] = ground.foot()
    singles["sprites/laser_red"] = fx.beam(900, 24, (255, 40, 60))
    singles["sprites/laser_green"] = fx.beam(256, 16, (60, 255, 110))
    for name, img in fx.particle_images().items():
        singles["particles/" + name] = img
    for i in range(4):
        singles["scene/gas%d" % (i + 1)] = scene.gas(i)
    for i in range(7):
        singles["scene/planet%d" % (i + 1)] = scene.planet(i)
    for i in range(3):
        singles["scene/rocks%d" % (i + 1)] = scene.rocks(i)
    singles["scene/haze"] = scene.haze()
    for i in range(6):
        singles["scene/soil%d" % (i + 1)] = scene.soil(i)
    singles["mouse"] = fx.mouse()
    singles["kestrum-framework/images/test"] = fx.placeholder()
    for name, img in gui.all_images(FONTS["fonts/stencil.otf"][0]).items():
        singles["gui/" + name] = img
    for name, img in sorted(singles.items()):
        save_png(img, os.path.join(out, name + ".png"))
        sheet_items.append((name, [img]))
    splash = scene.loader(FONTS["fonts/stencil.otf"][0], ships.player(16)[0])
    splash.save(os.path.join(out, "loader.jpg"), "JPEG", quality=88, optimize=True)
    sheet_items.append(("loader.jpg", [splash.convert("RGBA")]))
    print("  %d single images, loader.jpg" % len(singles))


def write_fonts(out):
    for dest, (src, licence, change) in FONTS.items():
        path = os.path.join(out, dest)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        note = ""
        if change:
            note = change(src, path)
        else:
            shutil.copyfile(src, path)
        with open(licence, encoding="utf-8", newline="") as f:
            text = f.read()
        with open(os.path.splitext(path)[0] + "-LICENSE.txt", "w", encoding="utf-8", newline="") as f:
            f.write(note + text)
        print("  %s <- %s%s" % (dest, src, " (changed)" if change else ""))


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--out", default=os.path.join(HERE, "..", "..", "assets"))
    ap.add_argument("--sheet", default=None, help="write a contact sheet of every image here")
    ap.add_argument("--only", default="images,sounds,music,voices,data,fonts")
    args = ap.parse_args()
    out = os.path.normpath(args.out)
    kinds = set(args.only.split(","))
    sheet_items = []
    if "fonts" in kinds:
        print("fonts")
        write_fonts(out)
    if "images" in kinds:
        print("images")
        write_images(out, sheet_items)
    if "sounds" in kinds:
        import sfx
        print("sounds")
        sfx.write_all(out)
    if "music" in kinds:
        import music
        print("music")
        music.write(out)
    if "voices" in kinds:
        import voices
        print("voices")
        voices.write_all(out)
    if "data" in kinds:
        import data
        print("data")
        data.write_all(out, FONTS["fonts/stargaze.otf"][0], FONTS["fonts/stencil.otf"][0])
    if args.sheet and sheet_items:
        import sheet
        import preview
        sheet.write(sheet_items, args.sheet)
        print("contact sheet: " + args.sheet)
        # review pictures of play, the menu and the effects beside the sheet
        preview.write(out, os.path.dirname(os.path.abspath(args.sheet)))


if __name__ == "__main__":
    main()
