// Pixmaps, textures, shaders and images.
//
// An Image can be loaded and measured with no GL context: its pixels stay in
// memory and the texture is uploaded on first draw. Pixmaps hold straight
// (not premultiplied) RGBA; textures are premultiplied on upload.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace platform {

// Texture options, as an Int bit set.
namespace TextureFlags {
constexpr int ClampS = 1;
constexpr int ClampT = 2;
constexpr int Filter = 4;   // linear filtering
constexpr int Mipmap = 8;
constexpr int Dynamic = 256;  // neither filtered nor mipmapped, re-uploadable
constexpr int FilterMipmap = Filter | Mipmap;  // 12: what the framework loads with
}  // namespace TextureFlags

// Shaders are named process-lifetime objects compared by identity: "sprite",
// "font", "light" and "bump". GetShader returns null for other names.
class Shader {
public:
    static Shader* GetShader(std::string_view name, std::string_view defines = "");
    const std::string& Name() const { return name_; }

    explicit Shader(std::string name) : name_(std::move(name)) {}

private:
    std::string name_;
};

class Pixmap {
public:
    Pixmap(int width, int height);  // transparent black
    // PNG or JPEG through stb_image; null when missing or undecodable.
    static std::shared_ptr<Pixmap> Load(std::string_view path);

    int Width() const { return width_; }
    int Height() const { return height_; }
    // 0xAARRGGBB; out-of-range reads give 0 and writes are ignored.
    std::uint32_t GetPixelARGB(int x, int y) const;
    void SetPixelARGB(int x, int y, std::uint32_t argb);
    Color GetPixel(int x, int y) const;
    void SetPixel(int x, int y, Color color);
    void Clear(Color color);
    // Writes a PNG; false when the file cannot be written.
    bool Save(std::string_view path) const;
    // Frees the pixel memory at once; the pixmap is then 0 × 0.
    void Discard();

    // RGBA bytes, row by row from the top.
    std::uint8_t* Data() { return pixels_.data(); }
    const std::uint8_t* Data() const { return pixels_.data(); }

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<std::uint8_t> pixels_;
};

// A texture of the GPU together with the pixels it is made from. Sub-images
// share one texture. Render-target textures have no pixels in memory. A
// texture keeps its own pixels: a pixmap the caller still holds is copied, so
// changing or discarding it afterwards does not reach the texture.
class Texture {
public:
    Texture(std::shared_ptr<Pixmap> pixmap, int flags);
    Texture(int width, int height, int flags);  // a blank render target
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    int Flags() const { return flags_; }
    bool IsRenderTarget() const { return pixmap_ == nullptr; }
    const std::shared_ptr<Pixmap>& GetPixmap() const { return pixmap_; }

    // GL objects, made on first use with a current GL context.
    unsigned GlTexture();
    // Whether the texture has a GL object now (it is made on first draw).
    bool Uploaded() const { return glTexture_ != 0; }
    unsigned GlFramebuffer();
    // Marks the mipmaps for regeneration after the texture was drawn into.
    void Modified();
    // Uploads the pixmap again on next use, after its pixels were changed.
    void Update();
    // Releases the GL objects at once (they are made again if the texture is used).
    void Discard();
    // The smallest mipmap level kept, counted from 0 (the full size); -1, the
    // default, keeps every level down to 1 × 1. An atlas of several pictures
    // stops where a level would start to mix neighbouring pictures. Changing
    // it after the upload makes the texture again on its next use.
    int MaxMipLevel() const { return maxMipLevel_; }
    void MaxMipLevel(int level);
    // The widest and tallest texture the GL driver takes; 0 while GL is not available.
    static int MaxSize();

private:
    int width_ = 0;
    int height_ = 0;
    int flags_ = 0;
    int maxMipLevel_ = -1;
    std::shared_ptr<Pixmap> pixmap_;
    unsigned glTexture_ = 0;
    unsigned glFramebuffer_ = 0;
    bool mipmapsDirty_ = false;
    bool reupload_ = false;
    unsigned generation_ = 0;
    friend class Canvas;
};

class Image {
public:
    // An image of a whole pixmap.
    Image(std::shared_ptr<Pixmap> pixmap, int flags = TextureFlags::FilterMipmap, Shader* shader = nullptr);
    // A blank image usable as a render target.
    Image(int width, int height, int flags = TextureFlags::FilterMipmap, Shader* shader = nullptr);
    // A sub-image sharing the texture of image; rect is relative to image's own rectangle.
    Image(const Image& image, Recti rect);

    // Null when the file is missing or cannot be decoded.
    static std::shared_ptr<Image> Load(std::string_view path, Shader* shader = nullptr,
                                       int flags = TextureFlags::FilterMipmap);
    static std::shared_ptr<Image> LoadLight(std::string_view path, Shader* shader = nullptr,
                                            int flags = TextureFlags::FilterMipmap);
    // A lit image from a diffuse, a normal and a specular map (the last two may be "").
    static std::shared_ptr<Image> LoadBump(std::string_view diffuse, std::string_view normal,
                                           std::string_view specular, float specularity,
                                           bool flipNormalY, Shader* shader = nullptr,
                                           int flags = TextureFlags::FilterMipmap);

    int Width() const { return rect_.Width(); }
    int Height() const { return rect_.Height(); }
    Recti Rect() const { return rect_; }
    // Fractions of the image's size: (0, 0) top-left, (0.5, 0.5) centre.
    Vec2f Handle() const { return handle_; }
    void Handle(Vec2f handle) { handle_ = handle; }
    Vec2f Scale() const { return scale_; }
    void Scale(Vec2f scale) { scale_ = scale; }
    // Tint multiplied into every draw of the image.
    platform::Color Color() const { return color_; }
    void Color(platform::Color color) { color_ = color; }
    // Height of a light above the scene, used by the lighting pass.
    float LightDepth() const { return lightDepth_; }
    void LightDepth(float depth) { lightDepth_ = depth; }
    Shader* GetShader() const { return shader_; }
    const std::shared_ptr<platform::Texture>& GetTexture() const { return texture_; }
    // Normal and specular maps of a bump image; null otherwise.
    const std::shared_ptr<platform::Texture>& NormalTexture() const { return normal_; }
    const std::shared_ptr<platform::Texture>& SpecularTexture() const { return specular_; }
    float Specularity() const { return specularity_; }

    // Releases the image's GPU memory at once.
    void Discard();

private:
    Image() = default;
    std::shared_ptr<platform::Texture> texture_;
    std::shared_ptr<platform::Texture> normal_;
    std::shared_ptr<platform::Texture> specular_;
    Shader* shader_ = nullptr;
    Recti rect_;
    Vec2f handle_{0, 0};
    Vec2f scale_{1, 1};
    platform::Color color_{1, 1, 1, 1};
    float lightDepth_ = 100;
    float specularity_ = 1;
};

using ImagePtr = std::shared_ptr<Image>;
using PixmapPtr = std::shared_ptr<Pixmap>;

}  // namespace platform
