// Zandrovia: a pick-up dropped by a destroyed tank.
#include "zandrovia/pickup.h"

#include <cmath>

#include "kestrum-framework/contentmanager.h"
#include "kestrum-scenegraph/layer.h"
#include "zandrovia/constants.h"
#include "zandrovia/globals.h"

using kestrum::scenegraph::ImageArray;

namespace {

platform::ImagePtr FirstImage(const ImageArray& frames) {
    return frames && !frames->empty() ? (*frames)[0] : nullptr;
}

}  // namespace

PickupKind PickupKindOf(const ImageArray& frames) {
    const struct {
        const ImageArray& frames;
        PickupKind kind;
    } kinds[] = {{PowerUpPickupFrames, PickupKind::PowerUp},
                 {TrackerPickupFrames, PickupKind::Tracker},
                 {NukePickupFrames, PickupKind::Nuke},
                 {ShieldPickupFrames, PickupKind::Shield},
                 {LaserPickupFrames, PickupKind::Laser}};
    if (!frames) return PickupKind::None;
    for (const auto& k : kinds) {
        if (frames == k.frames) return k.kind;
    }
    // Frames that failed to load are all null: a null first image names no kind.
    const platform::ImagePtr first = FirstImage(frames);
    if (!first) return PickupKind::None;
    for (const auto& k : kinds) {
        if (first == FirstImage(k.frames)) return k.kind;
    }
    return PickupKind::None;
}

std::string PickupName(PickupKind kind) {
    switch (kind) {
        case PickupKind::PowerUp: return "POWER UP";
        case PickupKind::Tracker: return "TRACKER";
        case PickupKind::Nuke: return "NUKE";
        case PickupKind::Shield: return "SHIELD";
        case PickupKind::Laser: return "LASER";
        default: return "";
    }
}

std::shared_ptr<Pickup> Pickup::New(kestrum::scenegraph::Layer* layer, ImageArray frames, platform::Vec2f position) {
    auto pickup = std::make_shared<Pickup>();
    pickup->Layer(layer);
    if (layer) pickup->TaskManager(layer->TaskManager);
    pickup->Location(position);
    pickup->CollisionWrite(true);
    pickup->Sprite = GameSprite::New(pickup.get(), std::move(frames));
    pickup->Width(pickup->Sprite->Width());
    pickup->Height(pickup->Sprite->Height());
    const platform::Vec2f centre{pickup->Width() / 2, pickup->Height() / 2};
    pickup->Sprite->Location(centre);
    const PickupKind kind = pickup->Kind();
    if (kind == PickupKind::PowerUp || kind == PickupKind::Tracker) {
        pickup->Glow = GameSprite::New(pickup.get(), kestrum::framework::Content->GetImage("particles/glow.png"));
        pickup->Glow->BlendMode = platform::BlendMode::Additive;
        pickup->Glow->Color = kind == PickupKind::PowerUp ? platform::Color{0.5f, 0.5f, 1.0f, 0.5f}
                                                          : platform::Color{0.75f, 0.25f, 0.75f, 0.5f};
        pickup->Glow->Location(centre);
    }
    return pickup;
}

PickupKind Pickup::Kind() const { return Sprite ? PickupKindOf(Sprite->Images()) : PickupKind::None; }

void Pickup::OnUpdate() {
    const int frames = Sprite->Frames();
    if (frames > 0) Sprite->Frame = std::fmod(Sprite->Frame + 0.4f, static_cast<float>(frames));
    if (gameState != STATE_PLAY) {
        Sprite->Alpha(Sprite->Alpha() - 0.01f);
        if (Sprite->Alpha() < 0) Sprite->Enabled(false);
        if (Glow) {
            Glow->Alpha(Glow->Alpha() - 0.01f);
            if (Glow->Alpha() < 0) Glow->Enabled(false);
        }
    }
    Y(Y() - 0.75f);
    const float h = Glow ? Glow->Height() : Sprite->Height();
    if (Y() < -h / 2 || Sprite->Alpha() < 0) Remove();
}
