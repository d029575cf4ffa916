// Zandrovia: a rocket launcher standing on the ground.
#include "zandrovia/launcher.h"

#include <numbers>

#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "platform/clock.h"
#include "zandrovia/constants.h"
#include "zandrovia/enemies.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/gamesprite.h"
#include "zandrovia/globals.h"
#include "zandrovia/levels.h"

namespace {

float ImageHeight(const platform::ImagePtr& image) { return image ? static_cast<float>(image->Height()) : 0.0f; }

}  // namespace

std::shared_ptr<Launcher> Launcher::New(kestrum::scenegraph::Layer* layer, platform::Vec2i position) {
    auto launcher = std::make_shared<Launcher>();
    launcher->InitFields();
    launcher->Rocket = Rocket::New(layer);
    launcher->Rocket->Scale = PadRocketScale;
    launcher->Rocket->Enabled(false);

    const float x = static_cast<float>(position.x);
    const float y = static_cast<float>(position.y);
    if (FootImage) FootImage->Scale({FootScale, FootScale});
    const float footHeight = ImageHeight(FootImage);
    const auto foot = GameSprite::New(layer, FootImage);
    foot->Location({x, y - footHeight * 0.5f});

    launcher->Layer(layer);
    if (layer) launcher->TaskManager(layer->TaskManager);
    launcher->Images(LauncherFrames);
    launcher->GhostImages = LauncherGhostFrames;
    launcher->Scale = LauncherScale;
    const platform::ImagePtr body =
        LauncherGhostFrames && !LauncherGhostFrames->empty() ? LauncherGhostFrames->front() : nullptr;
    const float top = y - footHeight * 0.5f - ImageHeight(body) * launcher->Scale * 0.5f;
    launcher->Location({x, static_cast<float>(static_cast<int>(top))});
    launcher->ScoreSystem = std::make_shared<kestrum::scenegraph::ScoreSystem>();
    launcher->ScoreSystem->Energy = LauncherEnergy;
    launcher->ScoreSystem->Points = LauncherScore;
    launcher->CollisionWrite(true);
    return launcher;
}

void Launcher::InitFields() { Timer = platform::Rnd(120, 480); }

void Launcher::OnUpdate() {
    // A state that finishes hands over to the next one in the same update.
    if (State == 0) {
        if (Rocket->Enabled()) return;
        Timer -= 1;
        if (Timer > 0) return;
        Timer = platform::Rnd(120, 480);
        State = 1;
    }
    if (State == 1) {
        Frame += 0.1f;
        if (Frame <= static_cast<float>(LastFrame())) return;
        Frame = static_cast<float>(LastFrame());
        PlaySfx(WhooshSound);
        Rocket->Location({X() - 2, Y() + 12});
        Rocket->Frame = 3;
        Rocket->Rotation = -0.25f * 2.0f * std::numbers::pi_v<float>;
        if (Rocket->ScoreSystem) Rocket->ScoreSystem->Energy = RocketEnergy;
        // Climbing, not yet flying on its own, whatever its last flight left.
        Rocket->Flying = 0;
        Rocket->Enabled(true);
        State = 2;
    }
    if (State == 2) {
        if (!Rocket->Enabled()) {
            // Shot or nuked while climbing: the climb ends without a flight.
            State = 3;
        } else {
            Rocket->Y(Rocket->Y() - static_cast<float>(RocketSpeed));
            if (Rocket->Y() > Y() - 48) return;
            State = 3;
            Rocket->Flying = 1;
        }
    }
    if (State == 3) {
        Frame -= 0.1f;
        if (Frame > 0) return;
        Frame = 0;
        State = 0;
    }
}

void Launcher::Remove() {
    const auto keep = Self_();
    if (Rocket && Rocket->Enabled() && Rocket->Flying == 0) Rocket->Remove();
    LayerObject::Remove();
}

void Launcher::OnOutro(const std::shared_ptr<kestrum::scenegraph::LayerObject>&) {
    Explode(X(), Y(), 2.0f, ExplosionBudget[0], ExplosionBudget[1], 8, 0.5f);
    ShowPoints(ScoreSystem ? ScoreSystem->Points : 0, X(), Y());
}
