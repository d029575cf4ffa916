// Content manager: the framework's cache of loaded assets.
//
// A ContentManager keeps seven independent caches (bump images, Config files,
// fonts, images, light images, sounds and whole text files). Each is a list of
// records scanned in order; a request is answered by the first record whose
// key equals the request's key (the path exactly as the caller wrote it, plus
// the shader, flags or size of the load). The first request loads through the
// platform and records the result, null included, so a missing asset is tried
// once per cache and then answered with null at once. Records are never
// removed, reordered or replaced.
//
// Paths are turned into platform paths with ResolvePath(path, "asset::").
//
// Globals: Content, the shared cache of the program, and NullContent, a
// private cache used only by NullImage and NullFont. Both are made by
// InitContentManagerUnit(), which the framework's module initialiser calls.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/audio.h"
#include "platform/font.h"
#include "platform/image.h"
#include "platform/types.h"

namespace kestrum::framework::config {
class Config;
}

namespace kestrum::framework::contentmanager {

using platform::FontPtr;
using platform::ImagePtr;
using platform::SoundPtr;
using ConfigPtr = std::shared_ptr<config::Config>;

// The record types. The manager owns them; the loaded objects are shared with
// the callers. The defaults are those of an empty slot waiting to be filled.
struct Bump_ {
    ImagePtr Image;
    std::string Diffuse;
    bool FlipNormalY = true;
    std::string Normal;
    platform::Shader* Shader = nullptr;
    std::string Specular;
    float Specularity = 1.0f;
    int Flags = 0;
};

struct Config_ {
    ConfigPtr Config;
    std::string Path;
};

struct Font_ {
    FontPtr Font;
    float Size = 0;
    std::string Path;
    platform::Shader* Shader = nullptr;
};

struct Image_ {
    ImagePtr Image;
    std::string Path;
    platform::Shader* Shader = nullptr;
    int Flags = 0;
};

struct Light_ {
    ImagePtr Image;
    std::string Path;
    platform::Shader* Shader = nullptr;
    int Flags = 0;
};

struct Sound_ {
    SoundPtr Sound;
    std::string Path;
};

struct String_ {
    std::string Text;
    std::string Path;
};

class ContentManager {
public:
    ContentManager();

    // The getters. A null shader is replaced by the platform shader of the
    // kind ("sprite", "font", "light", "bump") before the lookup, so a null
    // request and one with that very shader meet the same entry.
    ImagePtr GetImage(const std::string& path, platform::Shader* shader = nullptr,
                      int flags = platform::TextureFlags::FilterMipmap);
    // A font that fails to load prints its resolved path once, on the loading call.
    FontPtr GetFont(const std::string& path, float size, platform::Shader* shader = nullptr);
    SoundPtr GetSound(const std::string& path);
    // "" for a missing file.
    std::string GetString(const std::string& path);
    // Never null: a missing file gives a Config of one empty line.
    ConfigPtr GetConfig(const std::string& path);
    // Loads with texture flags 12 whatever flags says; flags is still part of the key.
    ImagePtr GetLight(const std::string& path, platform::Shader* shader = nullptr,
                      int flags = platform::TextureFlags::FilterMipmap);
    // Keyed by the three paths and the shader; specularity, flipNormalY and
    // flags are recorded but not compared. Loads with texture flags 12.
    ImagePtr GetBump(const std::string& diffuse, const std::string& normal, const std::string& specular,
                     float specularity, bool flipNormalY, platform::Shader* shader = nullptr,
                     int flags = platform::TextureFlags::FilterMipmap);

    // Registers an image made elsewhere under path, keyed by path, the image's
    // shader and its texture's flags. Returns image, or null (changing
    // nothing) when that key is already recorded or image is null.
    ImagePtr AddImage(const ImagePtr& image, const std::string& path);
    ImagePtr AddLight(const ImagePtr& image, const std::string& path);

    // Sets the handle of every recorded image (not lights or bump images).
    void SetImageHandle(platform::Vec2f handle);
    // One "Kind=path" line per entry of each kind whose word ("config",
    // "font", "image", "light", "sound") the lower-cased filter contains.
    std::string ContentList(std::string_view filter) const;
    // The nearest recorded image before (after) image that is not null;
    // image itself at the ends; null when image is not recorded.
    ImagePtr PreviousImage(const ImagePtr& image) const;
    ImagePtr NextImage(const ImagePtr& image) const;
    // The recorded path of image; "" when it is not recorded.
    std::string ImagePath(const ImagePtr& image) const;

    // The object of the record at a position 0 to count - 1; null ("" for
    // StringAt) for any other index.
    ImagePtr BumpAt(int index) const;
    ConfigPtr ConfigAt(int index) const;
    FontPtr FontAt(int index) const;
    ImagePtr ImageAt(int index) const;
    ImagePtr LightAt(int index) const;
    SoundPtr SoundAt(int index) const;
    std::string StringAt(int index) const;

    // Slots 0 to count - 1 are the recorded entries in the order of their
    // first request; the slots after them hold empty records.
    std::vector<std::shared_ptr<Bump_>> Bumps;
    int BumpCount = 0;
    std::vector<std::shared_ptr<Config_>> Configs;
    int ConfigCount = 0;
    std::vector<std::shared_ptr<Font_>> Fonts;
    int FontCount = 0;
    std::vector<std::shared_ptr<Image_>> Images;
    int ImageCount = 0;
    std::vector<std::shared_ptr<Light_>> Lights;
    int LightCount = 0;
    std::vector<std::shared_ptr<Sound_>> Sounds;
    int SoundCount = 0;
    std::vector<std::shared_ptr<String_>> Strings;
    int StringCount = 0;

private:
    void InitBumps_();
    void InitConfigs_();
    void InitFonts_();
    void InitImages_();
    void InitLights_();
    void InitSounds_();
    void InitStrings_();
    void ExpandBumps_();
    void ExpandConfigs_();
    void ExpandFonts_();
    void ExpandImages_();
    void ExpandLights_();
    void ExpandSounds_();
    void ExpandStrings_();
};

// The shared cache of the program.
extern std::shared_ptr<ContentManager> Content;
// The private cache of the placeholders.
extern std::shared_ptr<ContentManager> NullContent;

// Makes NullContent and then Content (once; later calls keep them).
void InitContentManagerUnit();

// image, or the placeholder image "kestrum-framework/images/test.png" when it is null.
ImagePtr NullImage(const ImagePtr& image);
// font, or the placeholder font "kestrum-framework/fonts/arial.ttf" at size 16 when it is null.
FontPtr NullFont(const FontPtr& font);

}  // namespace kestrum::framework::contentmanager

namespace kestrum::framework {
using namespace contentmanager;
}
