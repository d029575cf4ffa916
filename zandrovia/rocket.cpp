// Zandrovia: the homing rocket of a launcher.
#include "zandrovia/rocket.h"

#include <cmath>
#include <numbers>

#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "zandrovia/constants.h"
#include "zandrovia/enemies.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/levels.h"
#include "zandrovia/player.h"
#include "zandrovia/pooledemitter.h"

namespace {

constexpr float Tau = 2.0f * std::numbers::pi_v<float>;

float Mapped(float degrees) { return degrees < 1 ? 360 - std::abs(degrees) : degrees; }

}  // namespace

std::shared_ptr<Rocket> Rocket::New(kestrum::scenegraph::Layer* layer) {
    auto rocket = std::make_shared<Rocket>();
    rocket->InitFields();
    rocket->Layer(layer);
    if (layer) rocket->TaskManager(layer->TaskManager);
    rocket->Images(RocketFrames);
    rocket->GhostImages = RocketGhostFrames;
    rocket->ScoreSystem = std::make_shared<kestrum::scenegraph::ScoreSystem>();
    rocket->ScoreSystem->Points = RocketScore;
    rocket->CollisionWrite(true);
    return rocket;
}

void Rocket::InitFields() { Velocity = {0, 0}; }

int Rocket::TurnDirection(float heading, float bearing) {
    heading = Mapped(heading);
    bearing = Mapped(bearing);
    if (bearing > heading) return 1;
    if (bearing < heading) return -1;
    return 0;
}

void Rocket::OnUpdate() {
    if (Flying != 1) return;
    platform::Vec2f target{ViewWidth() * 0.5f, ViewHeight() * 0.5f};
    if (CurrentPlayer) target = CurrentPlayer->Location();
    const float heading = Rotation / Tau * 360.0f;
    const float bearing = std::atan2(target.y - Y(), target.x - X()) / Tau * 360.0f;
    Rotation += static_cast<float>(TurnDirection(heading, bearing)) * RocketTurnRate;

    const float speed = static_cast<float>(RocketSpeed);
    Velocity = {std::cos(Rotation) * speed, std::sin(Rotation) * speed};
    Location(Location() + Velocity);
    const float vw = ViewWidth();
    const float halfWidth = Width() * 0.5f;
    if (X() < -halfWidth) X(vw + halfWidth);
    if (X() > vw + halfWidth) X(-halfWidth);

    if (Y() + Height() * 0.5f > GroundLine()) {
        Explode(X(), Y(), 0.5f, -1, 0, 8);
        Remove();
    }
    Frame += 0.2f;
    // The trail, in the crash update too.
    if (SmokeEmitter) SmokeEmitter->Play(X(), Y(), 1.0f, RocketSmokeBudget[0], RocketSmokeBudget[1]);
}

void Rocket::Remove() {
    Flying = 0;
    Enabled(false);
}

void Rocket::OnOutro(const std::shared_ptr<kestrum::scenegraph::LayerObject>&) {
    Explode(X(), Y(), 0.5f, ExplosionBudget[0], ExplosionBudget[1], 8);
    ShowPoints(ScoreSystem ? ScoreSystem->Points : 0, X(), Y());
}
