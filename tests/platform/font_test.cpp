// Fonts: loading and measuring text with no GL context.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/font.h"
#include "support/testsupport.h"

namespace {

const char* const dejavu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

TEST(Font, MissingCorruptOrUnusableFontsGiveNull) {
    const std::string dir = testsupport::TempDir();
    std::ofstream(dir + "bad.ttf") << "not a font at all";
    EXPECT_FALSE(platform::Font::Load(dir + "missing.ttf", 20));
    EXPECT_FALSE(platform::Font::Load(dir + "bad.ttf", 20));
    EXPECT_FALSE(platform::Font::Load(dir, 20));
    EXPECT_FALSE(platform::Font::Load(dejavu, 0));
    EXPECT_FALSE(platform::Font::Load(dejavu, -5));
    EXPECT_FALSE(platform::Font::Load(dejavu, 600));  // an atlas too large for a texture
}

TEST(Font, LargeSizesStillFitOneTexture) {
    auto font = platform::Font::Load(dejavu, 200);
    ASSERT_TRUE(font);
    const auto& pixmap = font->Atlas()->GetTexture()->GetPixmap();
    EXPECT_LE(pixmap->Width(), 8192);
    EXPECT_LE(pixmap->Height(), 8192);
    EXPECT_GT(font->GetGlyph('W')->rect.Width(), 150);
}

TEST(Font, MeasuresTextFromAdvancesAndKerning) {
    auto font = platform::Font::Load(dejavu, 20);
    ASSERT_TRUE(font);
    EXPECT_FLOAT_EQ(font->Size(), 20);
    EXPECT_GT(font->Height(), 20);
    EXPECT_LT(font->Height(), 30);
    EXPECT_EQ(font->TextWidth(""), 0);
    const float a = font->GetGlyph('a')->advance, b = font->GetGlyph('b')->advance;
    EXPECT_GT(a, 5);
    EXPECT_FLOAT_EQ(font->TextWidth("ab"), a + b + font->Kerning('a', 'b'));
    EXPECT_FLOAT_EQ(font->TextWidth("abab"), 2 * font->TextWidth("ab") + font->Kerning('b', 'a'));
    // Kerning pulls A and V together in this font.
    EXPECT_LT(font->Kerning('A', 'V'), 0);
    EXPECT_LT(font->TextWidth("AV"), font->GetGlyph('A')->advance + font->GetGlyph('V')->advance);
    // Line breaks take no room.
    EXPECT_FLOAT_EQ(font->TextWidth("a\nb"), a + b);
}

TEST(Font, HasGermanLettersAndFallsBackForUnknownCharacters) {
    auto font = platform::Font::Load(dejavu, 16);
    ASSERT_TRUE(font);
    for (char32_t code : {U'ä', U'ö', U'ü', U'ß', U'Ä', U'Ö', U'Ü', U'é', U'€', U'„'}) {
        EXPECT_TRUE(font->HasGlyph(code)) << int(code);
        EXPECT_GT(font->GetGlyph(code)->rect.Width(), 0) << int(code);
    }
    EXPECT_GT(font->TextWidth("Ä"), 0);
    // A character outside the repertoire is measured and drawn as '?'.
    EXPECT_FALSE(font->HasGlyph(U'\u4e2d'));
    EXPECT_FLOAT_EQ(font->TextWidth("\u4e2d"), font->TextWidth("?"));
    ASSERT_NE(font->GetGlyph(U'\u4e2d'), nullptr);
    // Malformed UTF-8 does not break measuring.
    EXPECT_GT(font->TextWidth("a\xff\xfe" "b"), font->TextWidth("ab"));
}

TEST(Font, GlyphAtlasIsRasterisedAtLoadWithoutUploading) {
    auto font = platform::Font::Load(dejavu, 24);
    ASSERT_TRUE(font);
    ASSERT_TRUE(font->Atlas());
    EXPECT_FALSE(font->Atlas()->GetTexture()->Uploaded());
    EXPECT_EQ(font->GetShader(), platform::Shader::GetShader("font"));
    const auto& pixmap = font->Atlas()->GetTexture()->GetPixmap();
    ASSERT_TRUE(pixmap);
    const platform::Glyph* glyph = font->GetGlyph('H');
    ASSERT_GT(glyph->rect.Height(), 10);
    // Inside the atlas and covering some pixels.
    EXPECT_LE(glyph->rect.max.x, pixmap->Width());
    EXPECT_LE(glyph->rect.max.y, pixmap->Height());
    int covered = 0;
    for (int y = glyph->rect.min.y; y < glyph->rect.max.y; ++y) {
        for (int x = glyph->rect.min.x; x < glyph->rect.max.x; ++x) covered += (pixmap->GetPixelARGB(x, y) >> 24) > 128;
    }
    EXPECT_GT(covered, 20);
    // The glyph sits on the line: its top below the line's top, its bottom above its foot.
    EXPECT_GT(glyph->offset.y, 0);
    EXPECT_LT(glyph->offset.y + glyph->rect.Height(), font->Height());
}

// Bitmap fonts hand FreeType's glyphs over packed at 1, 2 or 4 bits per
// pixel; every pixel must reach the atlas as its coverage, read within its row.
TEST(Font, PackedBitmapGlyphsReachTheAtlasPixelByPixel) {
    const char* data = std::getenv("ZANDROVIA_TEST_DATA");
    ASSERT_NE(data, nullptr);
    for (int bpp : {1, 2, 4}) {
        SCOPED_TRACE(bpp);
        const auto font = platform::Font::Load(std::string(data) + "/tiny-" + std::to_string(bpp) + "bpp.bdf", 8);
        ASSERT_TRUE(font);
        const auto& pixmap = font->Atlas()->GetTexture()->GetPixmap();
        const int top = (1 << bpp) - 1;
        // The fixture's 'A': 24 × 3 pixels of levels running through the depth.
        const platform::Glyph* glyph = font->GetGlyph('A');
        ASSERT_TRUE(font->HasGlyph('A'));
        ASSERT_EQ(glyph->rect.Width(), 24);
        ASSERT_EQ(glyph->rect.Height(), 3);
        EXPECT_FLOAT_EQ(glyph->advance, 25);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 24; ++x) {
                const int level = bpp == 1 ? (x + 2 * y) % 3 == 0 : (x + y) % (top + 1);
                const unsigned alpha = pixmap->GetPixelARGB(glyph->rect.min.x + x, glyph->rect.min.y + y) >> 24;
                EXPECT_EQ(alpha, static_cast<unsigned>(level * 255 / top)) << x << "," << y;
            }
        }
        // '?' is solid and also serves as the fallback.
        const platform::Glyph* fallback = font->GetGlyph(U'\u4e2d');
        ASSERT_EQ(fallback->rect.Width(), 4);
        EXPECT_EQ(pixmap->GetPixelARGB(fallback->rect.min.x + 3, fallback->rect.min.y + 3) >> 24, 255u);
    }
}

// A broken font can declare glyphs of many thousand pixels; rasterising
// them would take seconds and gigabytes. A glyph far larger than the size
// is left out (it shows as the fallback), the rest of the font loads.
TEST(Font, GlyphsFarLargerThanTheSizeAreLeftOut) {
    const std::string path = testsupport::TempDir() + "oversized.bdf";
    std::ofstream bdf(path);
    bdf << "STARTFONT 2.1\nFONT -test-oversized-medium-r-normal--8-80-72-72-c-80-iso10646-1\nSIZE 8 72 72\n"
           "FONTBOUNDINGBOX 64 64 0 -2\nSTARTPROPERTIES 3\nFONT_ASCENT 6\nFONT_DESCENT 2\nPIXEL_SIZE 8\n"
           "ENDPROPERTIES\nCHARS 3\n"
           "STARTCHAR question\nENCODING 63\nSWIDTH 1000 0\nDWIDTH 5 0\nBBX 4 4 1 0\nBITMAP\nF0\nF0\nF0\nF0\nENDCHAR\n"
           "STARTCHAR A\nENCODING 65\nSWIDTH 1000 0\nDWIDTH 5 0\nBBX 4 4 1 0\nBITMAP\nF0\nF0\nF0\nF0\nENDCHAR\n"
           "STARTCHAR B\nENCODING 66\nSWIDTH 1000 0\nDWIDTH 64 0\nBBX 64 64 0 -2\nBITMAP\n";
    for (int row = 0; row < 64; ++row) bdf << "FFFFFFFFFFFFFFFF\n";
    bdf << "ENDCHAR\nENDFONT\n";
    bdf.close();
    const auto font = platform::Font::Load(path, 8);
    ASSERT_TRUE(font);
    EXPECT_TRUE(font->HasGlyph('A'));
    EXPECT_FALSE(font->HasGlyph('B'));
    EXPECT_EQ(font->GetGlyph('B')->rect.Width(), 4);
}

}  // namespace

// FreeType hands a BDF glyph that has a BBX line and no BITMAP section over
// as 1 × 1 pixels with no buffer. Such a glyph keeps its advance and draws
// nothing; the font loads and draws its other glyphs.
TEST(Font, GlyphsWithoutPixelDataDrawNothing) {
    const char* data = std::getenv("ZANDROVIA_TEST_DATA");
    ASSERT_NE(data, nullptr);
    // The font's one glyph, without pixel data, serves as every character.
    const auto blank = platform::Font::Load(
        std::string(data) + "/../../fuzz/regressions/font/glyph-without-bitmap-reads-address-0.bdf", 11);
    ASSERT_TRUE(blank);
    EXPECT_EQ(blank->GetGlyph('A')->rect.Width(), 0);
    // 'A' without pixel data beside a solid 4 × 4 '?'.
    const std::string path = testsupport::TempDir() + "blank-a.bdf";
    std::ofstream(path) << "STARTFONT 2.1\nFONT -test-blank-medium-r-normal--8-80-72-72-c-80-iso10646-1\n"
                           "SIZE 8 72 72\nFONTBOUNDINGBOX 4 4 0 0\nCHARS 2\n"
                           "STARTCHAR question\nENCODING 63\nDWIDTH 5 0\nBBX 4 4 0 0\nBITMAP\nF0\nF0\nF0\nF0\nENDCHAR\n"
                           "STARTCHAR A\nENCODING 65\nDWIDTH 6 0\nBBX 4 4 0 0\nENDCHAR\nENDFONT\n";
    const auto font = platform::Font::Load(path, 8);
    ASSERT_TRUE(font);
    EXPECT_TRUE(font->HasGlyph('A'));
    EXPECT_EQ(font->GetGlyph('A')->rect.Width(), 0);
    EXPECT_FLOAT_EQ(font->TextWidth("AA?"), 17);

    auto target = testsupport::MakeTarget(32, 16, platform::Color::Black());
    target.canvas->Font(blank);
    target.canvas->DrawText("A?", 0, 0);
    target.canvas->Font(font);
    target.canvas->DrawText("AA?", 0, 8);
    const auto pixels = target.canvas->CopyPixmap({0, 0, 32, 16});
    // Only the '?' after the two blank 'A's is drawn: x 12 to 15 of the second line.
    int lit = 0, outside = 0;
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 32; ++x) {
            if ((pixels->GetPixelARGB(x, y) & 0xffffff) == 0) continue;
            ++lit;
            outside += x < 12 || x >= 16 || y < 8;
        }
    }
    EXPECT_EQ(lit, 16);
    EXPECT_EQ(outside, 0);
}
