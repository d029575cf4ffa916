// Zandrovia: global functions of play shared by the actors and the screen.
#include "zandrovia/gamefunctions.h"

#include <cstdio>
#include <limits>

#include "kestrum-framework/contentmanager.h"
#include "kestrum-framework/math.h"
#include "kestrum-scenegraph/camera.h"
#include "kestrum-scenegraph/layersprite.h"
#include "platform/clock.h"
#include "zandrovia/backgroundsprite.h"
#include "zandrovia/constants.h"
#include "zandrovia/globals.h"
#include "zandrovia/laser.h"
#include "zandrovia/objectkind.h"
#include "zandrovia/pooledemitter.h"
#include "zandrovia/scoremessage.h"
#include "zandrovia/textmessage.h"
#include "zandrovia/togglebox.h"
#include "zandrovia/trailparticle.h"

using kestrum::scenegraph::LayerObjectPtr;

int CountAttackers(const kestrum::scenegraph::Layer* layer) {
    int count = 0;
    ForEachObject(layer, [&](const LayerObjectPtr& object) {
        switch (KindOf(object.get())) {
            case ObjectKind::Attacker:
            case ObjectKind::Saucer:
            case ObjectKind::Spider:
            case ObjectKind::Tank: ++count; break;
            case ObjectKind::Rocket: count += object->Enabled(); break;
            default: break;
        }
    });
    return count;
}

bool GameOn() { return gameState == STATE_PLAY && ShipsAlive > 0 && LevelBanner && LevelBanner->Alpha() < 0; }

void Nuke() {
    PlaySfx(Explosion1Sound, 0.5f);
    if (PlayerLaser) PlayerLaser->Enabled(false);
    if (GameLayer) {
        for (const LayerObjectPtr& object : GameLayer->GetAllLayerObjects(true, true)) {
            switch (KindOf(object.get())) {
                case ObjectKind::Attacker:
                case ObjectKind::AttackerBullet:
                case ObjectKind::Launcher:
                case ObjectKind::Rocket:
                case ObjectKind::Tank:
                case ObjectKind::TankBullet: object->Remove(); break;
                default: break;
            }
        }
    }
    Flash = 1;
}

namespace {

float Rnd(double low, double high) { return static_cast<float>(platform::Rnd(low, high)); }

// A backdrop image, loaded from its file (not through the content cache).
// Its edges are clamped: a filtered sprite whose texture repeats would show
// a seam of its opposite edge along each border (a dark line over the rocks).
platform::ImagePtr BackdropImage(const std::string& path) {
    constexpr int flags =
        platform::TextureFlags::FilterMipmap | platform::TextureFlags::ClampS | platform::TextureFlags::ClampT;
    platform::ImagePtr image = platform::Image::Load(path, nullptr, flags);
    if (!image) {
        std::printf("Image not found: %s\n", path.c_str());
        std::fflush(stdout);
    }
    return image;
}

// A numbered image of a backdrop series.
platform::ImagePtr SceneImage(const char* name, int variant) {
    return BackdropImage("asset::scene/" + std::string(name) + std::to_string(variant) + ".png");
}

int Next(int variant, int last) { return variant >= last ? 1 : variant + 1; }

}  // namespace

void InitBackground() {
    const float w = ViewWidth(), h = ViewHeight();
    kestrum::scenegraph::Layer* back = BackgroundLayer.get();

    const float gasScale = Rnd(1.0, 1.5);
    const auto gas = BackgroundSprite::New(back, SceneImage("gas", GasVariant), -0.0005f);
    gas->X(w / 2 + Rnd(-128, 128));
    gas->Y(h / 2 + Rnd(-128, 128));
    gas->Scale = {gasScale, gasScale};

    const float planetScale = Rnd(0.2, 1.2);
    const auto planet = BackgroundSprite::New(back, SceneImage("planet", PlanetVariant), 0.0005f);
    planet->X(w / 2 + Rnd(-320, 320));
    planet->Y(h / 2 + Rnd(-320, 320));
    planet->Scale = {planetScale, planetScale};

    const int flip = kestrum::framework::Round(Rnd(-1, 1));
    const float rocksScale = Rnd(1, 2);
    const auto rocks = GameSprite::New(back, SceneImage("rocks", RocksVariant));
    rocks->X(w / 2 + Rnd(-w / 2, w / 2));
    rocks->Y(h - 55 - rocks->Height() / 2);
    rocks->Scale = {rocksScale, rocksScale};
    rocks->FlippedX(flip);

    const auto haze = GameSprite::New(back, BackdropImage("asset::scene/haze.png"));
    haze->ScaleX(w);
    haze->X(w / 2);
    haze->Y(h - haze->Height() / 2);

    const auto ground = GameSprite::New(FrontLayer.get(), SceneImage("soil", SoilVariant));
    ground->X(w / 2);
    ground->Y(h - ground->Height() / 2);
    if (w > 1200) ground->Scale = {w / 1200, 1};
    soil = ground;

    GasVariant = Next(GasVariant, 4);
    PlanetVariant = Next(PlanetVariant, 7);
    SoilVariant = Next(SoilVariant, 6);
    RocksVariant = Next(RocksVariant, 3);
}

std::string Right(const std::string& text, int n) {
    const int length = static_cast<int>(text.size());
    int start = length - n;
    if (start < 0) start += length;
    if (start < 0) start = 0;
    if (start > length) start = length;
    return text.substr(static_cast<std::size_t>(start));
}

float GroundLine() {
    if (!soil) return std::numeric_limits<float>::infinity();
    return soil->Y() - soil->Height() / 2;
}

float SoilHeight() { return soil ? soil->Height() : 0.0f; }

float ViewWidth() { return GameCamera ? static_cast<float>(GameCamera->VirtualWidth()) : 0.0f; }

float ViewHeight() { return GameCamera ? static_cast<float>(GameCamera->VirtualHeight()) : 0.0f; }

platform::ChannelPtr PlaySfx(const platform::SoundPtr& sound, float rate, float volume) {
    if (!sound || !SoundOn()) return nullptr;
    platform::ChannelPtr channel = sound->Play(false);
    if (!channel) return nullptr;
    if (volume != 1.0f) channel->Volume(volume);
    if (rate != 1.0f) channel->Rate(rate);
    return channel;
}

void Explode(float x, float y, float size, int limit, int kind, int trails, float rate) {
    if (ExplosionEmitter) ExplosionEmitter->Play(x, y, size, limit, kind);
    if (TrailsEnabled && trails > 0) TrailParticle::Create(trails, x, y, 1.0f);
    PlaySfx(Explosion1Sound, rate);
}

void ShowPoints(int points, float x, float y) {
    const auto label = ScoreMessage::New(FrontLayer.get(), kestrum::framework::Content->GetFont(TextFont, 28),
                                         std::to_string(points) + "+", static_cast<int>(x), static_cast<int>(y),
                                         1000);
    label->Color = {0, 1, 0, 1};
}
