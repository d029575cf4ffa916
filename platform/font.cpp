// Font: FreeType glyphs rasterised into one atlas pixmap at load.
#include "platform/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"

namespace platform {

struct Font::Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    ~Face() {
        if (face) FT_Done_Face(face);
        if (library) FT_Done_FreeType(library);
    }
};

namespace {

// Latin-1 and the typographic marks German and English texts use.
std::vector<char32_t> Repertoire() {
    std::vector<char32_t> codes;
    for (char32_t c = 0x20; c <= 0x7e; ++c) codes.push_back(c);
    for (char32_t c = 0xa0; c <= 0xff; ++c) codes.push_back(c);
    for (char32_t c : {0x152, 0x153, 0x160, 0x161, 0x178, 0x17d, 0x17e, 0x1e9e, 0x2013, 0x2014, 0x2018, 0x2019,
                       0x201a, 0x201c, 0x201d, 0x201e, 0x2022, 0x2026, 0x2039, 0x203a, 0x20ac, 0x2122}) {
        codes.push_back(c);
    }
    return codes;
}

struct Bitmap {
    char32_t code = 0;
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage;
    Glyph glyph;
};

// The glyph's coverage, one byte (0 to 255) per pixel, top row first.
// FreeType hands bitmaps over in several pixel modes: packed 1, 2 and 4 bits
// per pixel (bitmap fonts and embedded bitmaps), 8-bit gray (outlines),
// premultiplied BGRA (colour bitmaps) and rows that run bottom-up.
bool Coverage(FT_Library library, const FT_Bitmap& bitmap, std::vector<std::uint8_t>& coverage, int& width,
              int& height) {
    // A glyph without pixel data draws nothing, whatever size it declares:
    // a bitmap font's glyph that has a box and no bitmap comes as 1 × 1
    // pixels with no buffer, which neither branch below may read.
    if (!bitmap.buffer) {
        width = height = 0;
        coverage.clear();
        return true;
    }
    if (bitmap.pixel_mode == FT_PIXEL_MODE_BGRA) {
        width = static_cast<int>(bitmap.width);
        height = static_cast<int>(bitmap.rows);
        coverage.resize(static_cast<std::size_t>(width) * height);
        const std::ptrdiff_t stride = std::abs(bitmap.pitch);
        for (int y = 0; y < height; ++y) {
            const int row = bitmap.pitch >= 0 ? y : height - 1 - y;
            const unsigned char* pixels = bitmap.buffer + row * stride;
            for (int x = 0; x < width; ++x) coverage[static_cast<std::size_t>(y) * width + x] = pixels[x * 4 + 3];
        }
        return true;
    }
    // Every other mode becomes one byte per pixel of 0 to num_grays - 1.
    FT_Bitmap gray;
    FT_Bitmap_Init(&gray);
    if (FT_Bitmap_Convert(library, &bitmap, &gray, 1) != 0) {
        FT_Bitmap_Done(library, &gray);
        return false;
    }
    width = static_cast<int>(gray.width);
    height = static_cast<int>(gray.rows);
    coverage.resize(static_cast<std::size_t>(width) * height);
    const int top = std::max(gray.num_grays - 1, 1);
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = gray.buffer + static_cast<std::ptrdiff_t>(y) * gray.pitch;
        for (int x = 0; x < width; ++x) {
            const int level = std::min<int>(row[x], top);
            const int value = (level * 255 + top / 2) / top;
            coverage[static_cast<std::size_t>(y) * width + x] = static_cast<std::uint8_t>(value);
        }
    }
    FT_Bitmap_Done(library, &gray);
    return true;
}

// The largest glyph, in pixels each way, as a multiple of the font size:
// real glyphs stay within about one and a half em, while a broken font can
// declare outlines or bitmaps of many thousand pixels.
constexpr float kMaxGlyphEms = 4;

// Renders the glyph at the given index; false when FreeType cannot or the
// glyph is far larger than the font size.
bool Render(FT_Face face, FT_UInt index, float size, float ascent, Bitmap& out) {
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) return false;
    const FT_GlyphSlot slot = face->glyph;
    // Outlines are measured before they are rasterised, bitmaps as loaded.
    const bool bitmap = slot->format == FT_GLYPH_FORMAT_BITMAP;
    const double width = bitmap ? slot->bitmap.width : slot->metrics.width / 64.0;
    const double height = bitmap ? slot->bitmap.rows : slot->metrics.height / 64.0;
    const double limit = kMaxGlyphEms * size + 16;
    if (!(width <= limit && height <= limit)) return false;
    if (!bitmap && FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return false;
    if (!Coverage(slot->library, slot->bitmap, out.coverage, out.width, out.height)) return false;
    out.glyph.offset = {static_cast<float>(slot->bitmap_left), ascent - static_cast<float>(slot->bitmap_top)};
    out.glyph.advance = static_cast<float>(slot->advance.x) / 64.0f;
    return true;
}

}  // namespace

Font::~Font() = default;

std::shared_ptr<Font> Font::Load(std::string_view path, float size, Shader* shader, int textureFlags) {
    // Sizes beyond a few hundred pixels would make atlases larger than a GL texture may be.
    if (!(size > 0) || size > 512) return nullptr;
    auto face = std::make_unique<Face>();
    if (FT_Init_FreeType(&face->library) != 0) return nullptr;
    const std::string file = RealPath(path);
    if (FT_New_Face(face->library, file.c_str(), 0, &face->face) != 0) return nullptr;
    FT_Face ft = face->face;
    if (FT_Set_Char_Size(ft, 0, static_cast<FT_F26Dot6>(std::lround(size * 64)), 72, 72) != 0) return nullptr;

    std::shared_ptr<Font> font(new Font());
    font->size_ = size;
    font->ascent_ = static_cast<float>(ft->size->metrics.ascender) / 64.0f;
    font->height_ = static_cast<float>(ft->size->metrics.height) / 64.0f;
    font->shader_ = shader ? shader : Shader::GetShader("font");

    // The glyphs with their gaps (so filtering never bleeds) must fit the
    // largest atlas; a font that needs more is not loaded.
    constexpr int gap = 2;
    constexpr int maxAtlas = 8192;
    std::vector<Bitmap> bitmaps;
    long area = 0;
    const auto add = [&](Bitmap&& bitmap) {
        area += long(bitmap.width + gap) * (bitmap.height + gap);
        bitmaps.push_back(std::move(bitmap));
        return area <= long(maxAtlas) * maxAtlas;
    };
    for (char32_t code : Repertoire()) {
        const FT_UInt index = FT_Get_Char_Index(ft, code);
        if (index == 0) continue;
        Bitmap bitmap;
        bitmap.code = code;
        if (Render(ft, index, size, font->ascent_, bitmap) && !add(std::move(bitmap))) return nullptr;
    }
    // The fallback: the font's '?' or, lacking that, its missing-glyph box.
    Bitmap fallback;
    fallback.code = 0;
    if (!Render(ft, FT_Get_Char_Index(ft, '?'), size, font->ascent_, fallback)) return nullptr;
    if (!add(std::move(fallback))) return nullptr;

    // Shelf packing, tallest first.
    int atlasWidth = 128;
    while (long(atlasWidth) * atlasWidth < area * 2 && atlasWidth < maxAtlas) atlasWidth *= 2;
    std::vector<Bitmap*> order;
    for (Bitmap& b : bitmaps) order.push_back(&b);
    std::stable_sort(order.begin(), order.end(), [](const Bitmap* a, const Bitmap* b) { return a->height > b->height; });
    int x = gap, y = gap, shelf = 0;
    for (Bitmap* b : order) {
        if (x + b->width + gap > atlasWidth) {
            x = gap;
            y += shelf + gap;
            shelf = 0;
        }
        b->glyph.rect = {x, y, x + b->width, y + b->height};
        x += b->width + gap;
        shelf = std::max(shelf, b->height);
    }
    const int atlasHeight = y + shelf + gap;
    if (atlasHeight > maxAtlas) return nullptr;

    auto pixmap = std::make_shared<Pixmap>(atlasWidth, atlasHeight);
    for (const Bitmap& b : bitmaps) {
        for (int row = 0; row < b.height; ++row) {
            for (int col = 0; col < b.width; ++col) {
                const std::uint32_t alpha = b.coverage[static_cast<std::size_t>(row) * b.width + col];
                pixmap->SetPixelARGB(b.glyph.rect.min.x + col, b.glyph.rect.min.y + row, (alpha << 24) | 0xffffff);
            }
        }
        if (b.code == 0) {
            font->fallback_ = b.glyph;
        } else {
            font->glyphs_[b.code] = b.glyph;
        }
    }
    font->atlas_ = std::make_shared<Image>(std::move(pixmap), textureFlags, font->shader_);
    font->face_ = std::move(face);
    return font;
}

float Font::TextWidth(std::string_view text) const {
    float width = 0;
    char32_t previous = 0;
    for (char32_t code : ToUtf32(text)) {
        if (code < 0x20) {
            previous = 0;
            continue;
        }
        if (previous) width += Kerning(previous, code);
        width += GetGlyph(code)->advance;
        previous = code;
    }
    return width;
}

bool Font::HasGlyph(char32_t code) const { return glyphs_.count(code) != 0; }

const Glyph* Font::GetGlyph(char32_t code) const {
    const auto it = glyphs_.find(code);
    return it != glyphs_.end() ? &it->second : &fallback_;
}

float Font::Kerning(char32_t left, char32_t right) const {
    if (!face_ || !FT_HAS_KERNING(face_->face)) return 0;
    const FT_UInt a = FT_Get_Char_Index(face_->face, left), b = FT_Get_Char_Index(face_->face, right);
    if (a == 0 || b == 0) return 0;
    FT_Vector kerning{};
    if (FT_Get_Kerning(face_->face, a, b, FT_KERNING_DEFAULT, &kerning) != 0) return 0;
    return static_cast<float>(kerning.x) / 64.0f;
}

}  // namespace platform
