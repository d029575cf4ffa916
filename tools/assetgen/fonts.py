"""The text font's copy with a hyphen that reads as a hyphen.

Ferrite Core DX draws "-" as one small block, 142 x 126 units, the size of
its full stop raised to mid-height: at the keyboards' 32 pixels it is a
4 x 4 square, and "NOVA-X" reads "NOVA·X". The copy gets a bar as tall as
that block and 300 units wide, centred in the same advance, so text widths
and kerning stay as they were.

The SIL Open Font License lets a modified font travel under the same licence
with the original's copyright notice; a modified version must not carry a
Reserved Font Name, so the copy is renamed throughout, and its licence file
begins with a note of what was changed.
"""
from fontTools.pens.boundsPen import BoundsPen
from fontTools.pens.t2CharStringPen import T2CharStringPen
from fontTools.ttLib import TTFont

FAMILY = ("Ferrite Core DX", "Zandrovia Text")
POSTSCRIPT = ("FerriteCoreDX", "ZandroviaText")

HYPHEN_WIDTH = 300  # font units


def _rename(text):
    return text.replace(FAMILY[0], FAMILY[1]).replace(POSTSCRIPT[0], POSTSCRIPT[1])


def widen_hyphen(src, dest):
    """Writes the font src to dest with the wide hyphen and the new names;
    returns the note for the head of its licence file."""
    # The original's time stamp stays, so every run writes the same bytes.
    font = TTFont(src, recalcTimestamp=False)
    glyphs = font.getGlyphSet()
    name = font.getBestCmap()[ord("-")]
    advance, _ = font["hmtx"][name]
    bounds = BoundsPen(glyphs)
    glyphs[name].draw(bounds)
    old_left, bottom, old_right, top = bounds.bounds
    left = (advance - HYPHEN_WIDTH) // 2
    right = left + HYPHEN_WIDTH

    # The bar runs like the block did: down the left, counter-clockwise.
    bar = T2CharStringPen(advance, glyphs)
    bar.moveTo((left, top))
    bar.lineTo((left, bottom))
    bar.lineTo((right, bottom))
    bar.lineTo((right, top))
    bar.closePath()
    cff = font["CFF "].cff
    top_dict = cff.topDictIndex[0]
    old = top_dict.CharStrings[name]
    top_dict.CharStrings[name] = bar.getCharString(private=old.private, globalSubrs=old.globalSubrs)
    font["hmtx"][name] = (advance, left)

    for record in font["name"].names:
        record.string = _rename(record.toUnicode())
    cff.fontNames = [_rename(n) for n in cff.fontNames]
    top_dict.FullName = _rename(top_dict.FullName)
    revision = font["head"].fontRevision
    font.save(dest)
    font.close()

    return (
        "Modified Version\n"
        "================\n"
        "This font file is a Modified Version, in the sense of the SIL Open Font\n"
        "License below, of FerriteCoreDX-Medium.otf (version %.3f) from the\n"
        "Debian package fonts-ferrite-core, made by Zandrovia's asset generator\n"
        "(tools/assetgen/fonts.py). What was changed:\n"
        "\n"
        "- The glyph \"%s\" (U+002D HYPHEN-MINUS) was a block of %d x %d units\n"
        "  (x %d to %d, y %d to %d), which small sizes show as a dot; it is now\n"
        "  a bar of %d x %d units (x %d to %d), centred in the unchanged advance\n"
        "  of %d units.\n"
        "- The font is renamed \"%s\" (PostScript name\n"
        "  \"%s-Medium\") in its name and CFF tables, so the Modified\n"
        "  Version carries none of the Original Version's names.\n"
        "\n"
        "Every other glyph, metric and table entry is as it was (fontTools wrote\n"
        "the file anew). The Modified Version is distributed under the\n"
        "SIL Open Font License 1.1, as the Original Version is; the original's\n"
        "copyright notice and licence follow unchanged.\n"
        "\n"
        % (revision, name, old_right - old_left, top - bottom, old_left, old_right, bottom, top,
           HYPHEN_WIDTH, top - bottom, left, right, advance, FAMILY[1], POSTSCRIPT[1])
    )
