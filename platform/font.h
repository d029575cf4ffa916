// Fonts through FreeType. Text is measured with no GL context; the glyph atlas
// is rasterised at load and uploaded on first draw.
#pragma once

#include <memory>
#include <string_view>
#include <unordered_map>

#include "platform/image.h"

namespace platform {

struct Glyph {
    Recti rect;          // in the atlas pixmap
    Vec2f offset;        // from the pen position (on the top of the line) to the bitmap's top-left
    float advance = 0;
};

class Font {
public:
    // A TrueType or OpenType font at a pixel size; null when the file is
    // missing or not a font.
    static std::shared_ptr<Font> Load(std::string_view path, float size, Shader* shader = nullptr,
                                      int textureFlags = TextureFlags::FilterMipmap);

    float Size() const { return size_; }
    // The line height.
    float Height() const { return height_; }
    // Width of one line: advances plus kerning. Line breaks are not split.
    float TextWidth(std::string_view text) const;
    // Whether the font has a glyph of its own for the code point.
    bool HasGlyph(char32_t code) const;
    const Glyph* GetGlyph(char32_t code) const;
    float Kerning(char32_t left, char32_t right) const;
    const std::shared_ptr<Image>& Atlas() const { return atlas_; }
    Shader* GetShader() const { return shader_; }

    ~Font();

private:
    Font() = default;
    struct Face;
    std::unique_ptr<Face> face_;
    float size_ = 0;
    float height_ = 0;
    float ascent_ = 0;
    Shader* shader_ = nullptr;
    std::shared_ptr<Image> atlas_;
    std::unordered_map<char32_t, Glyph> glyphs_;
    Glyph fallback_;
    friend class Canvas;
};

using FontPtr = std::shared_ptr<Font>;

}  // namespace platform
