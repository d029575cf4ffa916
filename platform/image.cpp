// Image: a rectangle of a shared texture with a handle, a scale and a tint.
#include "platform/image.h"

#include <algorithm>
#include <cstdint>

namespace platform {

Image::Image(std::shared_ptr<Pixmap> pixmap, int flags, Shader* shader)
    : texture_(std::make_shared<platform::Texture>(std::move(pixmap), flags)), shader_(shader),
      rect_(0, 0, texture_->Width(), texture_->Height()) {}

Image::Image(int width, int height, int flags, Shader* shader)
    : texture_(std::make_shared<platform::Texture>(width, height, flags)), shader_(shader),
      rect_(0, 0, texture_->Width(), texture_->Height()) {}

Image::Image(const Image& image, Recti rect)
    : texture_(image.texture_), normal_(image.normal_), specular_(image.specular_), shader_(image.shader_),
      handle_(image.handle_), scale_(image.scale_), color_(image.color_), lightDepth_(image.lightDepth_),
      specularity_(image.specularity_) {
    // Clipped to the parent so a sub-image never samples outside it.
    // The sums are taken in 64 bits: a rectangle read from a file may lie
    // anywhere in the Int range.
    const Recti parent = image.rect_;
    const auto clip = [](int origin, int offset, int low, int high) {
        return static_cast<int>(std::clamp<std::int64_t>(std::int64_t{origin} + offset, low, high));
    };
    rect_.min.x = clip(parent.min.x, rect.min.x, parent.min.x, parent.max.x);
    rect_.min.y = clip(parent.min.y, rect.min.y, parent.min.y, parent.max.y);
    rect_.max.x = clip(parent.min.x, rect.max.x, rect_.min.x, parent.max.x);
    rect_.max.y = clip(parent.min.y, rect.max.y, rect_.min.y, parent.max.y);
}

std::shared_ptr<Image> Image::Load(std::string_view path, Shader* shader, int flags) {
    auto pixmap = Pixmap::Load(path);
    if (!pixmap) return nullptr;
    return std::make_shared<Image>(std::move(pixmap), flags, shader);
}

std::shared_ptr<Image> Image::LoadLight(std::string_view path, Shader* shader, int flags) {
    return Load(path, shader ? shader : Shader::GetShader("light"), flags);
}

std::shared_ptr<Image> Image::LoadBump(std::string_view diffuse, std::string_view normal, std::string_view specular,
                                       float specularity, bool flipNormalY, Shader* shader, int flags) {
    auto image = Load(diffuse, shader ? shader : Shader::GetShader("bump"), flags);
    if (!image) return nullptr;
    if (!normal.empty()) {
        auto pixmap = Pixmap::Load(normal);
        if (!pixmap) return nullptr;
        if (flipNormalY) {
            std::uint8_t* p = pixmap->Data();
            const std::size_t size = static_cast<std::size_t>(pixmap->Width()) * pixmap->Height() * 4;
            for (std::size_t i = 1; i < size; i += 4) p[i] = static_cast<std::uint8_t>(255 - p[i]);
        }
        image->normal_ = std::make_shared<platform::Texture>(std::move(pixmap), flags);
    }
    if (!specular.empty()) {
        auto pixmap = Pixmap::Load(specular);
        if (!pixmap) return nullptr;
        image->specular_ = std::make_shared<platform::Texture>(std::move(pixmap), flags);
    }
    image->specularity_ = specularity;
    return image;
}

void Image::Discard() {
    if (texture_) texture_->Discard();
    if (normal_) normal_->Discard();
    if (specular_) specular_->Discard();
}

}  // namespace platform
