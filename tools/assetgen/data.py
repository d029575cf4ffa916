"""Data files: the translation table, the pause menu's layout and the three
particle effects."""
import json
import os
from collections import OrderedDict

from PIL import ImageFont

import gui

TEXTS = OrderedDict([
    ("en", OrderedDict([
        ("tut_ship", "This is your ship. Drag the mouse to fly it - it fires on its own."),
        ("tut_switch", "Click another ship to take command of it."),
        ("tut_enemiesnum", "< Enemies left in this level"),
        ("tut_enemieshere", "Tanks roll in along the ground. Destroy them all!"),
        ("tut_takecare", "Take care! A ship that touches the ground is lost. Good luck, commander!"),
        ("lvl_cleared", "Level cleared!"),
        ("end_youmadeit", "You made it!"),
        ("end_thankyou", "Thank you for playing!"),
        ("enter_name", "Enter your name"),
        ("enter_mail", "Enter your e-mail (optional)"),
        ("howtoplay", "HOW TO PLAY"),
        ("introduction",
         "Drag the mouse to steer your ship; it fires on its own. Click another ship to take "
         "command of it. Destroyed tanks drop pick-ups: POWER UP, TRACKER, SHIELD, LASER and NUKE. "
         "Catch the men who float up from destroyed cargo ships - each one is worth 1000 points. "
         "Never touch the ground, and beware of crushers, rockets and the saucer's beam. "
         "A level is cleared when every attacker, tank and boss is destroyed."),
        ("halloffame", "HALL OF FAME"),
        ("reset_game", "Reset your progress?\nYou start again at level 1."),
        ("yes", "Yes"),
        ("no", "No"),
    ])),
    ("de", OrderedDict([
        ("tut_ship", "Das ist dein Schiff. Ziehe mit der Maus, um es zu steuern - es feuert von selbst."),
        ("tut_switch", "Klicke auf ein anderes Schiff, um es zu übernehmen."),
        ("tut_enemiesnum", "< Gegner, die in diesem Level übrig sind"),
        ("tut_enemieshere", "Panzer rollen am Boden heran. Zerstöre sie alle!"),
        ("tut_takecare", "Vorsicht! Ein Schiff, das den Boden berührt, ist verloren. Viel Glück, Kommandant!"),
        ("lvl_cleared", "Level geschafft!"),
        ("end_youmadeit", "Du hast es geschafft!"),
        ("end_thankyou", "Danke fürs Spielen!"),
        ("enter_name", "Gib deinen Namen ein"),
        ("enter_mail", "Gib deine E-Mail ein (freiwillig)"),
        ("howtoplay", "SO WIRD GESPIELT"),
        ("introduction",
         "Ziehe mit der Maus, um dein Schiff zu steuern; es feuert von selbst. Klicke auf ein "
         "anderes Schiff, um es zu übernehmen. Zerstörte Panzer lassen Extras fallen: POWER UP, "
         "TRACKER, SHIELD, LASER und NUKE. Fange die Männer auf, die aus zerstörten Frachtern "
         "aufsteigen - jeder bringt 1000 Punkte. Berühre niemals den Boden und hüte dich vor "
         "Stampfern, Raketen und dem Strahl der großen Untertasse. Ein Level ist geschafft, wenn "
         "alle Angreifer, Panzer und Bosse zerstört sind."),
        ("halloffame", "RUHMESHALLE"),
        ("reset_game", "Fortschritt zurücksetzen?\nDu beginnst wieder bei Level 1."),
        ("yes", "Ja"),
        ("no", "Nein"),
    ])),
])


def translation():
    doc = OrderedDict([("default", "en"), ("format", "json"), ("langs", list(TEXTS.keys()))])
    doc.update(TEXTS)
    return json.dumps(doc, ensure_ascii=False, indent=2) + "\n"


def check_text_widths(title_font_path, text_font_path):
    """Texts that the game draws unbroken must fit where they are shown."""
    title32 = ImageFont.truetype(title_font_path, 32)
    title21 = ImageFont.truetype(title_font_path, 21)
    text32 = ImageFont.truetype(text_font_path, 32)
    text64 = ImageFont.truetype(text_font_path, 64)
    for lang, t in TEXTS.items():
        for line in t["reset_game"].split("\n"):
            assert title32.getlength(line) <= 600 - 60, (lang, line)
        for key in ("yes", "no"):
            assert title32.getlength(t[key]) <= 150, (lang, key)
        assert title21.getlength(t["tut_enemieshere"]) <= 1000, lang
        assert text32.getlength(t["enter_mail"]) <= 1000, lang
        for key in ("lvl_cleared", "end_youmadeit", "end_thankyou"):
            assert text64.getlength(t[key]) <= 1100, (lang, key)


def skin():
    blocks = []
    for name, (x, y) in gui.LAYOUT.items():
        blocks.append("name=%s\nenabled=true\nx=%d\ny=%d\nz=0" % (name, x, y))
    return "\n\n".join(blocks) + "\n"


def block(**kv):
    return "\n".join("%s=%s" % (k, v) for k, v in kv.items())


def explosion():
    # at size 1 (a cargo ship or a tank) the blast is about 200 units across;
    # 22 particles, so one explosion fits the game's budget of 32
    return "\n\n".join([
        # the flash
        block(particles=1, imagePath="particles/flare.png", blendMode="additive",
              red=1, green=0.95, blue=0.85, alpha=1, targetRed=1, targetGreen=0.55, targetBlue=0.15, targetAlpha=0,
              scale="2.6,3.0", targetScale="3.8,4.2", timeToLive="160,220"),
        # the shock ring
        block(particles=1, imagePath="particles/ring.png", blendMode="additive",
              red=1, green=0.75, blue=0.45, alpha=0.9, targetRed=1, targetGreen=0.3, targetBlue=0.1, targetAlpha=0,
              scale=0.4, targetScale="2.2,2.6", timeToLive="380,440"),
        # smoke left behind, drawn under the fire (it starts after the flash)
        block(particles=4, imagePath="particles/smoke.png", blendMode="alpha",
              red=0.4, green=0.34, blue=0.5, alpha=0.55, targetRed=0.22, targetGreen=0.2, targetBlue=0.28,
              targetAlpha=0, scale="0.8,1.2", targetScale="2.5,3.2", angle="0,360",
              velocityX="0.4,1.4", velocityY="0.4,1.4", dragX=0.96, dragY=0.96, gravity=-0.02,
              spin="-0.03,0.03", delay="60,140", timeToLive="900,1300"),
        # fireballs
        block(particles=6, imagePath="particles/flare.png", blendMode="additive",
              red=1, green="0.7,0.9", blue="0.3,0.5", alpha=1,
              targetRed=0.9, targetGreen=0.2, targetBlue=0.05, targetAlpha=0,
              scale="1.0,1.6", targetScale="2.2,3.0", angle="0,360", velocityX="1,3.5", velocityY="1,3.5",
              dragX=0.95, dragY=0.95, timeToLive="500,800"),
        # sparks flying out along their direction
        block(particles=10, imagePath="particles/spark.png", blendMode="additive",
              red=1, green="0.85,1", blue="0.55,0.85", alpha=1,
              targetRed=1, targetGreen=0.45, targetBlue=0.1, targetAlpha=0,
              scale="1.4,2.0", targetScale=0.4, angle="0,360", velocityX="5,11", velocityY="5,11",
              dragX=0.92, dragY=0.92, gravity=0.06, timeToLive="400,650"),
    ]) + "\n"


def smoke():
    # one puff per play: rockets and tanks play it every update under a budget
    # of 24 and 48 live puffs, so a short life keeps the trail unbroken
    return block(particles=1, imagePath="particles/smoke.png", blendMode="alpha",
                 red=0.8, green=0.75, blue=0.9, alpha=0.6, targetRed=0.45, targetGreen=0.4, targetBlue=0.55,
                 targetAlpha=0, scale="0.35,0.5", targetScale="1.0,1.4", angle="0,360",
                 velocityX="0.2,0.6", velocityY="0.2,0.6", dragX=0.97, dragY=0.97, gravity=-0.015,
                 spin="-0.02,0.02", timeToLive="300,400") + "\n"


def dust():
    return "\n\n".join([
        block(particles=3, imagePath="particles/dust.png", blendMode="alpha",
              red=0.9, green=0.8, blue=0.65, alpha=0.7, targetRed=0.6, targetGreen=0.5, targetBlue=0.4,
              targetAlpha=0, scale="0.8,1.2", targetScale="1.8,2.4", angle="200,340",
              velocityX="1,2.5", velocityY="1,2.5", dragX=0.93, dragY=0.93, gravity=0.02,
              timeToLive="400,600"),
        block(particles=2, imagePath="particles/spark.png", blendMode="additive",
              red=0.7, green=1, blue=1, alpha=1, targetRed=0.2, targetGreen=0.6, targetBlue=1, targetAlpha=0,
              scale="0.9,1.2", targetScale=0.3, angle="220,320", velocityX="3,5.5", velocityY="3,5.5",
              gravity=0.25, timeToLive="220,320"),
    ]) + "\n"


def write_all(out, title_font, text_font):
    check_text_widths(title_font, text_font)
    files = {
        "translation.json": translation(),
        "gui/skin.txt": skin(),
        "particles/explosion.txt": explosion(),
        "particles/smoke.txt": smoke(),
        "particles/dust.txt": dust(),
    }
    for name, text in files.items():
        path = os.path.join(out, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "w", encoding="utf-8", newline="\n") as f:
            f.write(text)
        print("  " + name)
