// Texture: the GL texture of a pixmap or of a render target, made on first use.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/gl.h"
#include "platform/image.h"

namespace platform {

namespace {

bool Mipmapped(int flags) {
    return (flags & TextureFlags::Mipmap) != 0 && (flags & TextureFlags::Dynamic) == 0;
}

bool Filtered(int flags) {
    return (flags & TextureFlags::Filter) != 0 && (flags & TextureFlags::Dynamic) == 0;
}

void SetParameters(int flags, int maxMipLevel) {
    const GLint mag = Filtered(flags) ? GL_LINEAR : GL_NEAREST;
    GLint min = mag;
    if (Mipmapped(flags)) min = Filtered(flags) ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST_MIPMAP_NEAREST;
    gl::TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, mag);
    gl::TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, min);
    gl::TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, (flags & TextureFlags::ClampS) ? GL_CLAMP_TO_EDGE : GL_REPEAT);
    gl::TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, (flags & TextureFlags::ClampT) ? GL_CLAMP_TO_EDGE : GL_REPEAT);
    if (maxMipLevel >= 0) gl::TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, maxMipLevel);
}

// The next smaller mipmap level: each texel the mean of the 2 × 2 texels
// above it (of the last row or column where the size is odd). Blocks of four
// transparent texels, most of an atlas page, are skipped.
std::vector<std::uint8_t> HalfSize(const std::vector<std::uint8_t>& pixels, int width, int height) {
    const int w = std::max(width / 2, 1), h = std::max(height / 2, 1);
    std::vector<std::uint8_t> half(static_cast<std::size_t>(w) * static_cast<std::size_t>(h) * 4);
    const std::size_t stride = static_cast<std::size_t>(width) * 4;
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* row0 = pixels.data() + static_cast<std::size_t>(std::min(2 * y, height - 1)) * stride;
        const std::uint8_t* row1 = pixels.data() + static_cast<std::size_t>(std::min(2 * y + 1, height - 1)) * stride;
        std::uint8_t* out = half.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w) * 4;
        for (int x = 0; x < w; ++x, out += 4) {
            const std::uint8_t* a = row0 + static_cast<std::size_t>(std::min(2 * x, width - 1)) * 4;
            const std::uint8_t* b = row0 + static_cast<std::size_t>(std::min(2 * x + 1, width - 1)) * 4;
            const std::uint8_t* c = row1 + (a - row0);
            const std::uint8_t* d = row1 + (b - row0);
            std::uint32_t any = 0, word = 0;
            for (const std::uint8_t* p : {a, b, c, d}) {
                std::memcpy(&word, p, 4);
                any |= word;
            }
            if (any == 0) continue;  // the vector starts out zero
            for (int k = 0; k < 4; ++k) out[k] = static_cast<std::uint8_t>((a[k] + b[k] + c[k] + d[k] + 2) / 4);
        }
    }
    return half;
}

// Uploads premultiplied pixels as level 0 and, when mipmapped, every smaller
// level down to 1 × 1, or down to maxLevel when that is not -1. The levels
// are made here rather than by glGenerateMipmap, which a software renderer
// runs as draws of its own that compile shaders on first use (the first
// frame of the program waited for it).
void UploadLevels(std::vector<std::uint8_t> pixels, int width, int height, bool mipmapped, int maxLevel,
                  bool replace) {
    for (int level = 0;; ++level) {
        if (replace) {
            gl::TexSubImage2D(GL_TEXTURE_2D, level, 0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        } else {
            gl::TexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                           pixels.empty() ? nullptr : pixels.data());
        }
        if (!mipmapped || (width == 1 && height == 1) || level == maxLevel) break;
        pixels = HalfSize(pixels, width, height);
        width = std::max(width / 2, 1);
        height = std::max(height / 2, 1);
    }
}

// Straight alpha in the pixmap, premultiplied alpha on the GPU. Sprites and
// atlas pages are mostly fully transparent or fully opaque pixels, which
// need no arithmetic.
std::vector<std::uint8_t> Premultiplied(const Pixmap& pixmap) {
    const std::size_t size = static_cast<std::size_t>(pixmap.Width()) * pixmap.Height() * 4;
    std::vector<std::uint8_t> out(pixmap.Data(), pixmap.Data() + size);
    for (std::size_t i = 0; i < size; i += 4) {
        const unsigned a = out[i + 3];
        if (a == 255) continue;
        if (a == 0) {
            out[i] = out[i + 1] = out[i + 2] = 0;
            continue;
        }
        for (int c = 0; c < 3; ++c) out[i + c] = static_cast<std::uint8_t>((out[i + c] * a + 127) / 255);
    }
    return out;
}

}  // namespace

// The pixels are uploaded on first draw, so the texture needs pixels that
// nobody else can change or discard before then: a pixmap that the caller
// still holds is copied.
Texture::Texture(std::shared_ptr<Pixmap> pixmap, int flags)
    : width_(pixmap ? pixmap->Width() : 0), height_(pixmap ? pixmap->Height() : 0), flags_(flags),
      pixmap_(!pixmap                     ? std::make_shared<Pixmap>(0, 0)
              : pixmap.use_count() > 1 ? std::make_shared<Pixmap>(*pixmap)
                                       : std::move(pixmap)) {}

Texture::Texture(int width, int height, int flags)
    : width_(std::max(width, 1)), height_(std::max(height, 1)), flags_(flags) {}

Texture::~Texture() { Discard(); }

unsigned Texture::GlTexture() {
    if (!gl::Available()) return 0;
    if (generation_ != gl::Generation()) {
        // Made in a context that is gone: its names mean nothing now.
        glTexture_ = glFramebuffer_ = 0;
        generation_ = gl::Generation();
    }
    if (glTexture_ == 0) {
        gl::GenTextures(1, &glTexture_);
        gl::BindTexture(GL_TEXTURE_2D, glTexture_);
        SetParameters(flags_, maxMipLevel_);
        gl::PixelStorei(GL_UNPACK_ALIGNMENT, 4);
        if (pixmap_ && pixmap_->Width() == width_ && pixmap_->Height() == height_) {
            UploadLevels(Premultiplied(*pixmap_), width_, height_, Mipmapped(flags_), maxMipLevel_, false);
        } else {
            gl::TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width_, height_, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
            if (Mipmapped(flags_)) gl::GenerateMipmap(GL_TEXTURE_2D);
        }
        mipmapsDirty_ = false;
        reupload_ = false;
        return glTexture_;
    }
    if (reupload_ && pixmap_ && pixmap_->Width() == width_ && pixmap_->Height() == height_) {
        gl::BindTexture(GL_TEXTURE_2D, glTexture_);
        gl::PixelStorei(GL_UNPACK_ALIGNMENT, 4);
        UploadLevels(Premultiplied(*pixmap_), width_, height_, Mipmapped(flags_), maxMipLevel_, true);
    }
    reupload_ = false;
    if (mipmapsDirty_) {
        gl::BindTexture(GL_TEXTURE_2D, glTexture_);
        gl::GenerateMipmap(GL_TEXTURE_2D);
        mipmapsDirty_ = false;
    }
    return glTexture_;
}

unsigned Texture::GlFramebuffer() {
    const unsigned texture = GlTexture();
    if (texture == 0) return 0;
    if (glFramebuffer_ == 0) {
        gl::GenFramebuffers(1, &glFramebuffer_);
        gl::BindFramebuffer(GL_FRAMEBUFFER, glFramebuffer_);
        gl::FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
        if (gl::CheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
            gl::BindFramebuffer(GL_FRAMEBUFFER, 0);
            gl::DeleteFramebuffers(1, &glFramebuffer_);
            glFramebuffer_ = 0;
        }
    }
    return glFramebuffer_;
}

void Texture::MaxMipLevel(int level) {
    level = std::max(level, -1);
    if (level == maxMipLevel_) return;
    maxMipLevel_ = level;
    Discard();
}

int Texture::MaxSize() {
    if (!gl::Available()) return 0;
    GLint size = 0;
    gl::GetIntegerv(GL_MAX_TEXTURE_SIZE, &size);
    return size;
}

void Texture::Modified() { mipmapsDirty_ = Mipmapped(flags_); }

void Texture::Update() { reupload_ = !IsRenderTarget(); }

void Texture::Discard() {
    if (gl::Available() && generation_ == gl::Generation()) {
        if (glFramebuffer_) gl::DeleteFramebuffers(1, &glFramebuffer_);
        if (glTexture_) gl::DeleteTextures(1, &glTexture_);
    }
    glFramebuffer_ = 0;
    glTexture_ = 0;
    mipmapsDirty_ = false;
    reupload_ = false;
}

}  // namespace platform
