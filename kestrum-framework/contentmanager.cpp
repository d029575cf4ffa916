// Content manager: lookups by linear scan, loads through the platform.
#include "kestrum-framework/contentmanager.h"

#include <cstdio>

#include "kestrum-framework/arrays.h"
#include "kestrum-framework/assetpath.h"
#include "kestrum-framework/config.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kestrum::framework::contentmanager {

std::shared_ptr<ContentManager> Content;
std::shared_ptr<ContentManager> NullContent;

namespace {

constexpr const char* AssetPrefix = "asset::";
constexpr int LoadFlags = platform::TextureFlags::FilterMipmap;

std::string Resolve(const std::string& path) { return assetpath::ResolvePath(path, AssetPrefix); }

// The normal and specular maps of a bump image are optional: "" stays "" so
// that the platform builds the image without that map instead of trying to
// open the assets folder itself.
std::string ResolveOptional(const std::string& path) { return path.empty() ? path : Resolve(path); }

// Exact, case-sensitive equality. Byte equality of the UTF-8 texts is code
// unit equality of their UTF-16 forms, without converting on every scan step.
bool SamePath(const std::string& a, const std::string& b) { return a == b; }

// Fills every slot from `from` on with a new empty record.
template <typename Record>
void FillSlots(std::vector<std::shared_ptr<Record>>& list, std::size_t from) {
    for (std::size_t i = from; i < list.size(); ++i) {
        if (!list[i]) list[i] = std::make_shared<Record>();
    }
}

template <typename Record>
void InitList(std::vector<std::shared_ptr<Record>>& list, int length) {
    list = arrays::ResizeArray(std::vector<std::shared_ptr<Record>>(), length);
    FillSlots(list, 0);
}

// Grows a full list to count × 2 + 10 slots, keeping the records in place.
template <typename Record>
void ExpandList(std::vector<std::shared_ptr<Record>>& list, int count) {
    if (count < static_cast<int>(list.size())) return;
    const std::size_t old = list.size();
    list = arrays::ResizeArray(std::move(list), count * 2 + 10);
    FillSlots(list, old);
}

// The record at position count, made ready to take a new entry.
template <typename Record>
Record& NextSlot(std::vector<std::shared_ptr<Record>>& list, int& count) {
    Record& record = *list[static_cast<std::size_t>(count)];
    ++count;
    return record;
}

// The first of the count recorded entries that match; null when none.
template <typename Record, typename Match>
const Record* FindRecord(const std::vector<std::shared_ptr<Record>>& list, int count, Match match) {
    for (int i = 0; i < count; ++i) {
        const Record& entry = *list[static_cast<std::size_t>(i)];
        if (match(entry)) return &entry;
    }
    return nullptr;
}

// A field of the record at a position 0 to count - 1; an empty value for any other index.
template <typename Record, typename Field>
Field FieldAt(const std::vector<std::shared_ptr<Record>>& list, int count, int index, Field Record::*field) {
    if (index < 0 || index >= count || index >= static_cast<int>(list.size())) return Field();
    return (*list[static_cast<std::size_t>(index)]).*field;
}

platform::Shader* OrShader(platform::Shader* shader, const char* name) {
    return shader ? shader : platform::Shader::GetShader(name, "");
}

}  // namespace

ContentManager::ContentManager() {
    InitBumps_();
    InitConfigs_();
    InitFonts_();
    InitImages_();
    InitLights_();
    InitSounds_();
    InitStrings_();
}

void ContentManager::InitBumps_() { InitList(Bumps, 16); }
void ContentManager::InitConfigs_() { InitList(Configs, 64); }
void ContentManager::InitFonts_() { InitList(Fonts, 16); }
void ContentManager::InitImages_() { InitList(Images, 64); }
void ContentManager::InitLights_() { InitList(Lights, 16); }
void ContentManager::InitSounds_() { InitList(Sounds, 32); }
void ContentManager::InitStrings_() { InitList(Strings, 32); }

void ContentManager::ExpandBumps_() { ExpandList(Bumps, BumpCount); }
void ContentManager::ExpandConfigs_() { ExpandList(Configs, ConfigCount); }
void ContentManager::ExpandFonts_() { ExpandList(Fonts, FontCount); }
void ContentManager::ExpandImages_() { ExpandList(Images, ImageCount); }
void ContentManager::ExpandLights_() { ExpandList(Lights, LightCount); }
void ContentManager::ExpandSounds_() { ExpandList(Sounds, SoundCount); }
void ContentManager::ExpandStrings_() { ExpandList(Strings, StringCount); }

ImagePtr ContentManager::GetImage(const std::string& path, platform::Shader* shader, int flags) {
    ExpandImages_();
    shader = OrShader(shader, "sprite");
    const Image_* hit = FindRecord(Images, ImageCount, [&](const Image_& entry) {
        return entry.Shader == shader && entry.Flags == flags && SamePath(entry.Path, path);
    });
    if (hit) return hit->Image;
    Image_& record = NextSlot(Images, ImageCount);
    record.Image = platform::Image::Load(Resolve(path), shader, flags);
    record.Path = path;
    record.Shader = shader;
    record.Flags = flags;
    return record.Image;
}

FontPtr ContentManager::GetFont(const std::string& path, float size, platform::Shader* shader) {
    ExpandFonts_();
    shader = OrShader(shader, "font");
    // Exact Float equality: a NaN size never meets an entry.
    const Font_* hit = FindRecord(Fonts, FontCount, [&](const Font_& entry) {
        return entry.Size == size && entry.Shader == shader && SamePath(entry.Path, path);
    });
    if (hit) return hit->Font;
    const std::string resolved = Resolve(path);
    Font_& record = NextSlot(Fonts, FontCount);
    record.Font = platform::Font::Load(resolved, size, shader, LoadFlags);
    record.Size = size;
    record.Path = path;
    record.Shader = shader;
    if (!record.Font) std::printf("%s\n", resolved.c_str());
    return record.Font;
}

SoundPtr ContentManager::GetSound(const std::string& path) {
    ExpandSounds_();
    const Sound_* hit = FindRecord(Sounds, SoundCount, [&](const Sound_& entry) {
        return SamePath(entry.Path, path);
    });
    if (hit) return hit->Sound;
    Sound_& record = NextSlot(Sounds, SoundCount);
    record.Sound = platform::Sound::Load(Resolve(path));
    record.Path = path;
    return record.Sound;
}

std::string ContentManager::GetString(const std::string& path) {
    ExpandStrings_();
    const String_* hit = FindRecord(Strings, StringCount, [&](const String_& entry) {
        return SamePath(entry.Path, path);
    });
    if (hit) return hit->Text;
    String_& record = NextSlot(Strings, StringCount);
    record.Text = platform::LoadString(Resolve(path));
    record.Path = path;
    return record.Text;
}

ConfigPtr ContentManager::GetConfig(const std::string& path) {
    ExpandConfigs_();
    const Config_* hit = FindRecord(Configs, ConfigCount, [&](const Config_& entry) {
        return SamePath(entry.Path, path);
    });
    if (hit) return hit->Config;
    Config_& record = NextSlot(Configs, ConfigCount);
    record.Config = std::make_shared<config::Config>(Resolve(path));
    record.Path = path;
    return record.Config;
}

ImagePtr ContentManager::GetLight(const std::string& path, platform::Shader* shader, int flags) {
    ExpandLights_();
    shader = OrShader(shader, "light");
    const Light_* hit = FindRecord(Lights, LightCount, [&](const Light_& entry) {
        return entry.Shader == shader && entry.Flags == flags && SamePath(entry.Path, path);
    });
    if (hit) return hit->Image;
    Light_& record = NextSlot(Lights, LightCount);
    record.Image = platform::Image::LoadLight(Resolve(path), shader, LoadFlags);
    record.Path = path;
    record.Shader = shader;
    record.Flags = flags;
    return record.Image;
}

ImagePtr ContentManager::GetBump(const std::string& diffuse, const std::string& normal, const std::string& specular,
                                 float specularity, bool flipNormalY, platform::Shader* shader, int flags) {
    ExpandBumps_();
    shader = OrShader(shader, "bump");
    const Bump_* hit = FindRecord(Bumps, BumpCount, [&](const Bump_& entry) {
        return entry.Shader == shader && SamePath(entry.Diffuse, diffuse) && SamePath(entry.Normal, normal) && SamePath(entry.Specular, specular);
    });
    if (hit) return hit->Image;
    Bump_& record = NextSlot(Bumps, BumpCount);
    record.Image = platform::Image::LoadBump(Resolve(diffuse), ResolveOptional(normal), ResolveOptional(specular),
                                             specularity, flipNormalY, shader, LoadFlags);
    record.Diffuse = diffuse;
    record.FlipNormalY = flipNormalY;
    record.Normal = normal;
    record.Shader = shader;
    record.Specular = specular;
    record.Specularity = specularity;
    record.Flags = flags;
    return record.Image;
}

namespace {

// AddImage and AddLight share their records' shape.
template <typename Record>
ImagePtr AddTo(std::vector<std::shared_ptr<Record>>& list, int& count, const ImagePtr& image,
               const std::string& path) {
    if (!image) return nullptr;
    platform::Shader* shader = image->GetShader();
    const int flags = image->GetTexture() ? image->GetTexture()->Flags() : 0;
    if (FindRecord(list, count, [&](const Record& entry) {
            return entry.Shader == shader && entry.Flags == flags && SamePath(entry.Path, path);
        })) {
        return nullptr;
    }
    ExpandList(list, count);
    Record& record = NextSlot(list, count);
    record.Image = image;
    record.Path = path;
    record.Shader = shader;
    record.Flags = flags;
    return image;
}

// The position of the first entry holding image under the image's own shader; -1 when none.
template <typename Record>
int FindImage(const std::vector<std::shared_ptr<Record>>& list, int count, const ImagePtr& image) {
    if (!image) return -1;
    for (int i = 0; i < count; ++i) {
        const Record& entry = *list[static_cast<std::size_t>(i)];
        if (entry.Image == image && entry.Shader == image->GetShader()) return i;
    }
    return -1;
}

}  // namespace

ImagePtr ContentManager::AddImage(const ImagePtr& image, const std::string& path) {
    return AddTo(Images, ImageCount, image, path);
}

ImagePtr ContentManager::AddLight(const ImagePtr& image, const std::string& path) {
    return AddTo(Lights, LightCount, image, path);
}

void ContentManager::SetImageHandle(platform::Vec2f handle) {
    for (int i = 0; i < ImageCount; ++i) {
        const ImagePtr& image = Images[static_cast<std::size_t>(i)]->Image;
        if (image) image->Handle(handle);
    }
}

std::string ContentManager::ContentList(std::string_view filter) const {
    const std::string lower = platform::ToLower(filter);
    std::string result;
    auto list = [&](const char* word, const char* label, const auto& records, int count) {
        if (!platform::Contains(lower, word)) return;
        for (int i = 0; i < count; ++i) {
            if (!result.empty()) result += "\n";
            result += label;
            result += records[static_cast<std::size_t>(i)]->Path;
        }
    };
    list("config", "Config=", Configs, ConfigCount);
    list("font", "Font=", Fonts, FontCount);
    list("image", "Image=", Images, ImageCount);
    list("light", "Light=", Lights, LightCount);
    list("sound", "Sound=", Sounds, SoundCount);
    return result;
}

ImagePtr ContentManager::PreviousImage(const ImagePtr& image) const {
    const int at = FindImage(Images, ImageCount, image);
    if (at < 0) return nullptr;
    for (int i = at - 1; i >= 0; --i) {
        if (Images[static_cast<std::size_t>(i)]->Image) return Images[static_cast<std::size_t>(i)]->Image;
    }
    return image;
}

ImagePtr ContentManager::NextImage(const ImagePtr& image) const {
    const int at = FindImage(Images, ImageCount, image);
    if (at < 0) return nullptr;
    for (int i = at + 1; i < ImageCount; ++i) {
        if (Images[static_cast<std::size_t>(i)]->Image) return Images[static_cast<std::size_t>(i)]->Image;
    }
    return image;
}

std::string ContentManager::ImagePath(const ImagePtr& image) const {
    const int at = FindImage(Images, ImageCount, image);
    return at < 0 ? std::string() : Images[static_cast<std::size_t>(at)]->Path;
}

ImagePtr ContentManager::BumpAt(int index) const { return FieldAt(Bumps, BumpCount, index, &Bump_::Image); }
ConfigPtr ContentManager::ConfigAt(int index) const { return FieldAt(Configs, ConfigCount, index, &Config_::Config); }
FontPtr ContentManager::FontAt(int index) const { return FieldAt(Fonts, FontCount, index, &Font_::Font); }
ImagePtr ContentManager::ImageAt(int index) const { return FieldAt(Images, ImageCount, index, &Image_::Image); }
ImagePtr ContentManager::LightAt(int index) const { return FieldAt(Lights, LightCount, index, &Light_::Image); }
SoundPtr ContentManager::SoundAt(int index) const { return FieldAt(Sounds, SoundCount, index, &Sound_::Sound); }
std::string ContentManager::StringAt(int index) const { return FieldAt(Strings, StringCount, index, &String_::Text); }

void InitContentManagerUnit() {
    if (!NullContent) NullContent = std::make_shared<ContentManager>();
    if (!Content) Content = std::make_shared<ContentManager>();
}

ImagePtr NullImage(const ImagePtr& image) {
    if (image) return image;
    // Drawing code may run before the module initialiser in tools and tests;
    // the placeholder must still be there rather than a crash.
    if (!NullContent) NullContent = std::make_shared<ContentManager>();
    return NullContent->GetImage("kestrum-framework/images/test.png", nullptr, LoadFlags);
}

FontPtr NullFont(const FontPtr& font) {
    if (font) return font;
    if (!NullContent) NullContent = std::make_shared<ContentManager>();
    return NullContent->GetFont("kestrum-framework/fonts/arial.ttf", 16, nullptr);
}

}  // namespace kestrum::framework::contentmanager
