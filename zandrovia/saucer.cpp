// Zandrovia: the saucer boss and its sweeping laser beam.
#include "zandrovia/saucer.h"

#include <cmath>

#include "kestrum-framework/contentmanager.h"
#include "kestrum-framework/math.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/levels.h"
#include "zandrovia/soundscheduler.h"
#include "zandrovia/taskscheduler.h"

std::shared_ptr<Saucer> Saucer::New(kestrum::scenegraph::Layer* layer) {
    auto saucer = std::make_shared<Saucer>();
    saucer->InitFields();
    saucer->Layer(layer);
    if (layer) saucer->TaskManager(layer->TaskManager);
    saucer->Images(SaucerFrames);
    saucer->GhostImages = SaucerGhostFrames;
    saucer->ScoreSystem = std::make_shared<kestrum::scenegraph::ScoreSystem>();
    saucer->ScoreSystem->Energy = SaucerEnergy;
    saucer->ScoreSystem->Points = SaucerScore;
    saucer->CollisionWrite(true);

    saucer->Laser = std::make_shared<SaucerLaser>();
    saucer->Laser->Layer(layer);
    saucer->Laser->Image(LaserRedImage);
    saucer->Laser->BlendMode = platform::BlendMode::Additive;
    saucer->Laser->Floating = true;
    saucer->Laser->Enabled(false);
    saucer->Laser->CollisionWrite(true);
    for (auto& glow : saucer->Glows) {
        glow = GameSprite::New(layer, kestrum::framework::Content->GetImage("particles/glow480.png", nullptr,
                                                                            platform::TextureFlags::FilterMipmap));
        glow->BlendMode = platform::BlendMode::Additive;
        glow->Color = {1, 0, 0, 1};
        glow->Scale = {0.33f, 0.33f};
        glow->Floating = true;
        glow->Enabled(false);
    }
    return saucer;
}

std::shared_ptr<Saucer> Saucer::Top(int delay, int x, const platform::SoundPtr& warning) {
    const auto saucer = New(GameLayer.get());
    saucer->Scale = SaucerScale;
    saucer->X(static_cast<float>(x));
    saucer->Y(-saucer->Height());
    saucer->Warning = warning;
    if (GameScheduler) GameScheduler->Add(saucer, delay);
    return saucer;
}

void Saucer::InitFields() { Glows = {}; }

void Saucer::OnUpdate() {
    if (Warning) {
        // The sound given only decides whether the warning plays.
        if (GameSoundScheduler) GameSoundScheduler->Add(WarningSound, 0, 1.0f, 1.0f, 0.0f, 4, 1250);
        Warning = nullptr;
    }
    Frame += 0.5f;
    if (!Sweeping_) {
        Y(Y() + 1);
        if (Y() > (ViewHeight() - SoilHeight()) * 0.5f) {
            Sweeping_ = true;
            if (Laser->Image()) {
                Laser->Enabled(true);
                Glows[0]->Enabled(true);
            }
        }
    }
    if (Sweeping_) UpdateLaser_();
}

void Saucer::UpdateLaser_() {
    const platform::ImagePtr strip = Laser->Image();
    if (!strip) return;
    const double length = strip->Width();
    const double c = std::cos(BeamAngle);
    const double s = std::sin(BeamAngle);
    BeamAngle += 0.025;
    const platform::Vec2f start{X(), Y() - 38};
    // The end is measured from the saucer's centre, not from the start.
    const platform::Vec2f end{static_cast<float>(X() + length * c), static_cast<float>(Y() + length * s)};
    Laser->Location(start);
    Laser->Location2(end);
    Glows[0]->Location(start);

    const float ground = GroundLine();
    const float groundEnd = soil ? soil->ScaledWidth() : 0.0f;
    if (soil && kestrum::framework::LinesIntersect(start.x, start.y, end.x, end.y, 0, ground, groundEnd, ground)) {
        Glows[1]->Location({kestrum::framework::IntersectionX(), kestrum::framework::IntersectionY()});
        Glows[1]->Enabled(true);
    } else {
        Glows[1]->Enabled(false);
    }
}

void Saucer::Remove() {
    const auto keep = Self_();
    for (const auto& glow : Glows) {
        if (glow) glow->Remove();
    }
    if (Laser) Laser->Remove();
    LayerObject::Remove();
}

void Saucer::OnOutro(const std::shared_ptr<kestrum::scenegraph::LayerObject>&) {
    Explode(X(), Y(), 3.0f, -1, 0, 0);
    ShowPoints(ScoreSystem ? ScoreSystem->Points : 0, X(), Y());
}
