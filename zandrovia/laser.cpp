// Zandrovia: the player's laser beam.
#include "zandrovia/laser.h"

#include "kestrum-framework/contentmanager.h"
#include "zandrovia/globals.h"

std::shared_ptr<Laser> Laser::New(kestrum::scenegraph::Layer* layer) {
    auto laser = std::make_shared<Laser>();
    laser->Layer(layer);
    laser->Image(LaserGreenImage);
    laser->Alpha(0);
    laser->BlendMode = platform::BlendMode::Additive;
    laser->Floating = true;
    laser->Tattooed = true;
    laser->Enabled(false);
    for (auto& glow : laser->Glows) {
        glow = GameSprite::New(layer, kestrum::framework::Content->GetImage("particles/glow480.png"));
        glow->BlendMode = platform::BlendMode::Additive;
        glow->Color = {0, 1, 0, 1};
        glow->Scale = {0.5f, 0.5f};
        glow->Floating = true;
        glow->Tattooed = true;
        glow->Enabled(false);
    }
    return laser;
}

void Laser::Draw(platform::Canvas& canvas) {
    if (!Image()) return;
    LayerLine::Draw(canvas);
}
