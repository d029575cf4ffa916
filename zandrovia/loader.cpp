// Zandrovia: the loader screen and its asset script.
#include "zandrovia/loader.h"

#include <cstdio>
#include <iterator>
#include <utility>
#include <vector>

#include "kestrum-framework/assetpath.h"
#include "kestrum-framework/gfx.h"
#include "kestrum-framework/taskmanager.h"
#include "kestrum-scenegraph/camera.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/layersprite.h"
#include "kestrum-scenegraph/scene.h"
#include "platform/app.h"
#include "platform/audio.h"
#include "platform/files.h"
#include "platform/input.h"
#include "zandrovia/constants.h"
#include "zandrovia/globals.h"
#include "zandrovia/pooledemitter.h"
#include "zandrovia/spriteatlas.h"
#include "zandrovia/zandrovia.h"

namespace {

constexpr platform::Color NoTint{0, 0, 0, 0};
constexpr platform::Color White{1, 1, 1, 1};

void PrintNotFound(const std::string& path) {
    std::printf("Image not found: %s\n", path.c_str());
    std::fflush(stdout);
}

void PrintTime(const char* label) {
    std::printf("%s%d\n", label, kestrum::framework::TaskTime());
    std::fflush(stdout);
}

// A sound loaded whole, or streamed while it plays; a missing or damaged file
// has printed its line and stays null, and the game goes on without it.
platform::SoundPtr LoadSound(const std::string& path, platform::Sound::Mode mode = platform::Sound::Whole) {
    return platform::Sound::Load(path, mode);
}

}  // namespace

platform::ImagePtr LoadImage(const std::string& path) {
    platform::ImagePtr image = platform::Image::Load(path, nullptr, platform::TextureFlags::FilterMipmap);
    if (!image) {
        PrintNotFound(path);
        return nullptr;
    }
    image->Handle({0.5f, 0.5f});
    return image;
}

std::shared_ptr<PooledEmitter> LoadEmitter(const std::string& path) {
    if (!platform::TryLoadString(platform::RealPath(kestrum::framework::ResolvePath(path, "asset::")))) {
        std::printf("Particle file not found: %s\n", path.c_str());
        std::fflush(stdout);
    }
    return std::make_shared<PooledEmitter>(path);
}

std::string AnimationFramePath(const std::string& path, int index) {
    char number[16];
    std::snprintf(number, sizeof number, "%04d", index);
    // Only the extension's dot takes the number: a dot in a folder name
    // (a hidden folder, a versioned install path) must stay as it is.
    const std::size_t slash = path.rfind('/');
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + number;
    return path.substr(0, dot) + number + path.substr(dot);
}

kestrum::scenegraph::ImageArray LoadAnimation(const std::string& path, int count, platform::Color tint) {
    if (count <= 0) return nullptr;
    const auto size = static_cast<std::size_t>(count);
    std::vector<std::string> framePaths(size), diskPaths(size);
    for (std::size_t i = 0; i < size; ++i) {
        framePaths[i] = AnimationFramePath(path, static_cast<int>(i));
        diskPaths[i] = platform::RealPath(framePaths[i]);
    }
    std::vector<platform::PixmapPtr> pixmaps(size);
    for (std::size_t i = 0; i < size; ++i) pixmaps[i] = platform::Pixmap::Load(diskPaths[i]);
    auto frames = std::make_shared<std::vector<platform::ImagePtr>>(size);
    const bool tinted = !(tint == NoTint);
    for (std::size_t i = 0; i < size; ++i) {
        platform::ImagePtr frame;
        if (tinted) {
            // A missing file gives no pixmap, and MaskImage of no pixmap gives no image.
            frame = kestrum::framework::MaskImage(std::move(pixmaps[i]), tint, platform::TextureFlags::FilterMipmap);
        } else if (pixmaps[i]) {
            frame = std::make_shared<platform::Image>(std::move(pixmaps[i]), platform::TextureFlags::FilterMipmap,
                                                      nullptr);
        }
        if (!frame) {
            PrintNotFound(framePaths[i]);
            continue;
        }
        frame->Handle({0.5f, 0.5f});
        (*frames)[i] = std::move(frame);
    }
    return frames;
}

namespace {

// The flash copy of an animation whose normal frames are loaded already:
// each frame's decoded pixels are copied and masked instead of decoding the
// file a second time. A frame that did not load is read from its file as
// LoadAnimation would, so a missing file is reported the same way.
kestrum::scenegraph::ImageArray MaskAnimation(const std::string& path, int count,
                                              const kestrum::scenegraph::ImageArray& source, platform::Color tint) {
    if (!source || source->size() != static_cast<std::size_t>(count)) return LoadAnimation(path, count, tint);
    if (count <= 0) return nullptr;
    const auto size = static_cast<std::size_t>(count);
    auto frames = std::make_shared<std::vector<platform::ImagePtr>>(size);
    // The pixels of the frames that did load; the frames are not changed.
    std::vector<platform::PixmapPtr> sources(size);
    for (std::size_t i = 0; i < size; ++i) {
        const platform::ImagePtr& normal = (*source)[i];
        const platform::Texture* texture = normal ? normal->GetTexture().get() : nullptr;
        platform::PixmapPtr pixels = texture ? texture->GetPixmap() : nullptr;
        if (pixels && pixels->Width() > 0 && pixels->Height() > 0 && normal->Width() == pixels->Width() &&
            normal->Height() == pixels->Height()) {
            sources[i] = std::move(pixels);
        }
    }
    for (std::size_t i = 0; i < size; ++i) {
        platform::ImagePtr& frame = (*frames)[i];
        if (sources[i]) {
            frame = kestrum::framework::MaskImage(std::make_shared<platform::Pixmap>(*sources[i]), tint,
                                                  platform::TextureFlags::FilterMipmap);
        } else {
            const std::string framePath = AnimationFramePath(path, static_cast<int>(i));
            frame = kestrum::framework::MaskImage(platform::Pixmap::Load(framePath), tint,
                                                  platform::TextureFlags::FilterMipmap);
            if (!frame) {
                PrintNotFound(framePath);
                continue;
            }
        }
        frame->Handle({0.5f, 0.5f});
    }
    return frames;
}


// The animations in the order the loader's steps load them. The kinds the
// game layer draws among each other (ships, enemies, tanks, crushers, men
// and pick-ups, with their flash sets, and the shield and the launcher's
// foot, two single images) are packed onto the fleet's atlas pages, so that
// they draw in few batches. The two bosses come on their own and keep a
// texture per frame: a page of theirs would be uploaded whole when one
// first appears, or held in memory by games that never meet one.
struct Animation {
    const char* path;
    int count;
    ImageArray* frames;
    ImageArray* ghosts;
    bool packed;
    bool single = false;
};
const Animation animations[19] = {
    {"asset::sprites/cargo/", 20, &CargoFrames, &CargoGhostFrames, true},
    {"asset::sprites/hunter/", 21, &HunterFrames, &HunterGhostFrames, true},
    {"asset::sprites/player/", 16, &PlayerFrames, &PlayerGhostFrames, true},
    {"asset::sprites/launcher/", 18, &LauncherFrames, &LauncherGhostFrames, true},
    {"asset::sprites/rocket/", 16, &RocketFrames, &RocketGhostFrames, true},
    {"asset::sprites/saucer/", 26, &SaucerFrames, &SaucerGhostFrames, false},
    {"asset::sprites/sawcer/", 25, &SawcerFrames, &SawcerGhostFrames, true},
    {"asset::sprites/spider/frame.png", 66, &SpiderFrames, &SpiderGhostFrames, false},
    {"asset::sprites/tank/top/", 36, &TankTopFrames, &TankTopGhostFrames, true},
    {"asset::sprites/tank/wheels/", 24, &TankWheelFrames, &TankWheelGhostFrames, true},
    {"asset::sprites/crusher/", 50, &CrusherFrames, nullptr, true},
    {"asset::sprites/man/frame.png", 32, &ManFrames, nullptr, true},
    {"asset::sprites/pickups/laser/frame.png", 20, &LaserPickupFrames, nullptr, true},
    {"asset::sprites/pickups/nuke/frame.png", 20, &NukePickupFrames, nullptr, true},
    {"asset::sprites/shield.png", 1, nullptr, nullptr, true, true},
    {"asset::sprites/pickups/shield/frame.png", 20, &ShieldPickupFrames, nullptr, true},
    {"asset::sprites/pickups/powerup/frame.png", 20, &PowerUpPickupFrames, nullptr, true},
    {"asset::sprites/pickups/tracker/frame.png", 20, &TrackerPickupFrames, nullptr, true},
    {"asset::sprites/foot.png", 1, nullptr, nullptr, true, true},
};

// The path of an animation's frames: a path ending in "/" is a folder
// holding SpriteSet + "frame.png".
std::string FramesPath(const Animation& a) {
    const std::string path = a.path;
    return !a.single && path.back() == '/' ? path + SpriteSet + "frame.png" : path;
}

// The fleet's animations, and the place of animation n among them.
std::vector<SpriteAtlas::Animation> FleetAnimations() {
    std::vector<SpriteAtlas::Animation> members;
    for (const Animation& a : animations) {
        if (a.packed) members.push_back({FramesPath(a), a.count, a.ghosts != nullptr, a.single});
    }
    return members;
}

std::size_t FleetPlace(std::size_t n) {
    std::size_t place = 0;
    for (std::size_t k = 0; k < n; ++k) place += animations[k].packed;
    return place;
}

}  // namespace

Loader::Loader() {
    Scene = std::make_shared<kestrum::scenegraph::Scene>(Manager());
    const auto camera = kestrum::scenegraph::Camera::New(Scene.get());
    camera->SetVirtualWidth(1136);
    const auto layer = kestrum::scenegraph::Layer::New(Scene.get());
    const platform::ImagePtr splash =
        platform::Image::Load("asset::loader.jpg", nullptr, platform::TextureFlags::FilterMipmap);
    if (!splash) PrintNotFound("asset::loader.jpg");
    const auto sprite = kestrum::scenegraph::LayerSprite::New(layer.get(), splash);
    sprite->Location({static_cast<float>(camera->VirtualWidth()) * 0.5f,
                      static_cast<float>(camera->VirtualHeight()) * 0.5f});
}

Loader::~Loader() = default;

void Loader::OnUpdate() {
    Scene->Update();
    if (platform::Keyboard().KeyHit(platform::Key::Escape)) {
        if (platform::AppInstance* app = platform::AppInstance::Instance()) app->Terminate();
    }
}

void Loader::OnRender(platform::Canvas& canvas) {
    LoaderScreen::OnRender(canvas);
    // The fleet's frame sizes are read from their files a few animations a
    // frame, while the steps before the first of them load sounds, so that
    // the step of the first animation does not lay out the pages as well.
    if (!Fleet_) Fleet_ = std::make_unique<SpriteAtlas>(FleetAnimations());
    Fleet_->Prepare(2);
    Scene->Draw(canvas);
    const int width = Manager() ? Manager()->Width() : canvas.Width();
    kestrum::framework::DrawProgressBar(canvas, static_cast<int>(width * 0.5), 16, static_cast<int>(width * 0.5), 2,
                                        Loaded, Steps, {0, 0.5f, 0, 1}, {0, 1, 0, 1}, 0.5f, 0.5f);
}

void Loader::OnLoad() {
    using platform::Color;
    if (DebugPrints && Step()) PrintTime("MUSIC LOADING.... ");
    // The music streams: decoding it whole would hold the loader up for a
    // long frame and keep minutes of samples in memory.
    if (Step()) Music = LoadSound("asset::music/technosonavista.ogg", platform::Sound::Streamed);
    if (Step() && DebugPrints) {
        std::printf("DPI hor: %d\n", GetDisplayDpi());
        std::fflush(stdout);
    }
    if (DebugPrints && Step()) PrintTime("LOADING.... ");
    if (Step()) BonusSound = LoadSound("asset::sfx/bonus.wav");
    if (Step()) Explosion1Sound = LoadSound("asset::sfx/explosion1.wav");
    if (Step()) Explosion2Sound = LoadSound("asset::sfx/explosion2.wav");
    if (Step()) ImpactSound = LoadSound("asset::sfx/impact.wav");
    if (Step()) Laser1Sound = LoadSound("asset::sfx/laser1.wav");
    if (Step()) Laser2Sound = LoadSound("asset::sfx/laser2.wav");
    if (Step()) PickupSound = LoadSound("asset::sfx/pickup.wav");
    if (Step()) Shoot1Sound = LoadSound("asset::sfx/shoot1.wav");
    if (Step()) Shoot2Sound = LoadSound("asset::sfx/shoot2.wav");
    if (Step()) WarningSound = LoadSound("asset::sfx/warning.wav");
    if (Step()) WhooshSound = LoadSound("asset::sfx/whoosh.wav");
    if (DebugPrints && Step()) PrintTime("LOAD MID0 ");
    static const char* const voices[7] = {"powerup", "laser", "tracker", "shield", "nuke", "welldone", "gratz"};
    for (int v = 0; v < 7; ++v) {
        if (Step()) Voices[static_cast<std::size_t>(v)] = LoadSound(std::string("asset::sfx/voices/") + voices[v] + ".ogg");
    }
    if (Step()) ExplosionEmitter = LoadEmitter("particles/explosion.txt");
    if (Step()) SmokeEmitter = LoadEmitter("particles/smoke.txt");
    if (Step()) DustEmitter = LoadEmitter("particles/dust.txt");
    if (DebugPrints && Step()) PrintTime("LOAD MID1 ");

    // The fleet's atlas and animation n's place in it.
    auto fleet = [&](std::size_t n) {
        if (!Fleet_) Fleet_ = std::make_unique<SpriteAtlas>(FleetAnimations());
        return FleetPlace(n);
    };
    // Like every texture, the pages are uploaded at their first draw (the
    // first frame of play): done in one load step, the upload of the whole
    // fleet made that step the longest.
    auto frames = [&](std::size_t n) {
        const Animation& a = animations[n];
        if (!a.packed) return LoadAnimation(FramesPath(a), a.count, NoTint);
        const std::size_t place = fleet(n);
        return Fleet_->Frames(place, NoTint);
    };
    auto ghosts = [&](std::size_t n) {
        const Animation& a = animations[n];
        if (!a.packed) return MaskAnimation(FramesPath(a), a.count, *a.frames, White);
        const std::size_t place = fleet(n);
        return Fleet_->Flash(place, *a.frames, White);
    };
    // A single image of the fleet (null, after "Image not found: ", when it cannot be loaded).
    auto image = [&](std::size_t n) -> platform::ImagePtr {
        const ImageArray loaded = frames(n);
        return loaded ? loaded->front() : nullptr;
    };
    for (std::size_t n = 0; n < 10; ++n) {
        if (Step()) *animations[n].frames = frames(n);
    }
    if (DebugPrints && Step()) PrintTime("LOAD MID2 ");
    for (std::size_t n = 0; n < 10; ++n) {
        if (Step()) *animations[n].ghosts = ghosts(n);
    }
    if (DebugPrints && Step()) PrintTime("LOAD MID3 ");
    if (Step()) CrusherFrames = frames(10);
    if (Step()) ManFrames = frames(11);
    if (Step()) LaserPickupFrames = frames(12);
    if (Step()) NukePickupFrames = frames(13);
    if (Step()) ShieldImage = image(14);
    if (Step()) ShieldPickupFrames = frames(15);
    if (Step()) PowerUpPickupFrames = frames(16);
    if (Step()) TrackerPickupFrames = frames(17);
    if (DebugPrints && Step()) PrintTime("LOAD MID4 ");
    if (Step()) FootImage = image(18);
    if (Step()) LaserRedImage = LoadImage("asset::sprites/laser_red.png");
    if (Step()) LaserGreenImage = LoadImage("asset::sprites/laser_green.png");
    if (Step()) PlayerBulletImage = LoadImage("asset::sprites/player_bullet.png");
    if (Step()) PurpleBulletImage = LoadImage("asset::sprites/purple_bullet.png");
    if (Step()) SparkBlueImage = LoadImage("asset::sprites/spark_blue.png");
    if (Step()) SparkPurpleImage = LoadImage("asset::sprites/spark_purple.png");
    if (Step()) SparkRedImage = LoadImage("asset::sprites/spark_red.png");
    if (Step()) SpiderBulletImage = LoadImage("asset::sprites/spider_bullet.png");
    if (Step()) TankBulletImage = LoadImage("asset::sprites/tank_bullet.png");
    if (DebugPrints && Step()) PrintTime("LOAD ENDE ");
}
