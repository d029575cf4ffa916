// Zandrovia: the flying enemies of the attack waves.
#include "zandrovia/attacker.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "platform/clock.h"
#include "zandrovia/attackerbullet.h"
#include "zandrovia/enemies.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/levels.h"
#include "zandrovia/man.h"
#include "zandrovia/player.h"
#include "zandrovia/taskscheduler.h"

namespace {

constexpr float Tau = 2.0f * std::numbers::pi_v<float>;

float Rnd(double low, double high) { return static_cast<float>(platform::Rnd(low, high)); }

// What a spawner gives every attacker of its kind.
struct WaveKind {
    const ImageArray& frames;
    const ImageArray& ghostFrames;
    int energy;
    int points;
    float scale;
};

enum class Side { Left, Right };

// Builds count attackers of the kind entering over the side, attacker n
// starting delay + n * spacing ms from now; set gives each its kind's fields.
template <typename Set>
void Spawn(const WaveKind& kind, Side side, int count, int delay, int spacing, Set set) {
    for (int n = 0; n < count; ++n) {
        const auto a = Attacker::New(GameLayer.get(), kind.frames, kind.ghostFrames, kind.energy, kind.points);
        a->Scale = kind.scale;
        a->X(side == Side::Left ? -a->Width() * 0.5f : ViewWidth() + a->Width() * 0.5f);
        a->Y(Rnd(400, 336));
        a->Intro();
        set(*a);
        if (GameScheduler) GameScheduler->Add(a, delay + n * spacing);
    }
}

WaveKind Sawcer() { return {SawcerFrames, SawcerGhostFrames, SawcerEnergy, SawcerScore, SawcerScale}; }
WaveKind Hunter() { return {HunterFrames, HunterGhostFrames, HunterEnergy, HunterScore, HunterScale}; }
WaveKind CargoShip() { return {CargoFrames, CargoGhostFrames, CargoEnergy, CargoScore, CargoScale}; }

void SetSawcer(Attacker& a) { a.ExplosionSize = 0.5f; }
void SetHunter(Attacker& a) {
    a.ExplosionSize = 0.5f;
    a.Armed = true;
}
void SetCargo(Attacker& a) {
    a.Cargo = true;
    a.AnimSpeed = 0.2f;
}

// The lowest point of the sky an attacker glides to.
float SkyBottom() { return ViewHeight() - SoilHeight() - static_cast<float>(AttackerMargin); }

}  // namespace

std::shared_ptr<Attacker> Attacker::New(kestrum::scenegraph::Layer* layer, kestrum::scenegraph::ImageArray frames,
                                        kestrum::scenegraph::ImageArray ghostFrames, int energy, int points) {
    auto a = std::make_shared<Attacker>();
    a->InitFields();
    a->Layer(layer);
    if (layer) a->TaskManager(layer->TaskManager);
    a->Images(std::move(frames));
    a->GhostImages = std::move(ghostFrames);
    a->ScoreSystem = std::make_shared<kestrum::scenegraph::ScoreSystem>();
    a->ScoreSystem->Energy = energy;
    a->ScoreSystem->Points = points;
    a->CollisionWrite(true);
    a->Spark = ::Spark::New(layer, SparkPurpleImage);
    a->Spark->Enabled(false);
    return a;
}

void Attacker::SawcersLeft(int delay, int spacing) { Spawn(Sawcer(), Side::Left, 8, delay, spacing, SetSawcer); }
void Attacker::SawcersRight(int delay, int spacing) { Spawn(Sawcer(), Side::Right, 8, delay, spacing, SetSawcer); }
void Attacker::HuntersLeft(int delay, int spacing) { Spawn(Hunter(), Side::Left, 8, delay, spacing, SetHunter); }
void Attacker::HuntersRight(int delay, int spacing) { Spawn(Hunter(), Side::Right, 8, delay, spacing, SetHunter); }

void Attacker::CargoLeft(int count, int delay, int spacing) {
    Spawn(CargoShip(), Side::Left, count, delay, spacing, SetCargo);
}

void Attacker::CargoRight(int count, int delay, int spacing) {
    Spawn(CargoShip(), Side::Right, count, delay, spacing, SetCargo);
}

void Attacker::InitFields() { Velocity = {0, 0}; }

void Attacker::SteerTowards(float x, float y, platform::Vec2f thrust) {
    const float a = std::atan2(y - Y(), x - X());
    Velocity.x += std::cos(a) * thrust.x;
    Velocity.y += std::sin(a) * thrust.y;
}

void Attacker::Intro() {
    const float x = ViewWidth() * 0.5f;
    const float y = Rnd(AttackerMargin, SkyBottom());
    const float thrustX = Rnd(2, 6);
    const float thrustY = Rnd(2, 6);
    SteerTowards(x, y, {thrustX, thrustY});
    Mode = 1;
}

void Attacker::OnUpdate() {
    const float vw = ViewWidth();
    if (Mode == 0) {
        const float x = Rnd(AttackerMargin, vw - static_cast<float>(AttackerMargin));
        const float y = Rnd(AttackerMargin, SkyBottom());
        SteerTowards(x, y, {Thrust, Thrust});
        Mode = 1;
    } else if (Mode == 1 && std::abs(Velocity.x) < StopSpeed && std::abs(Velocity.y) < StopSpeed) {
        Mode = 0;
    }

    Location(Location() + Velocity);
    if (X() < -Width()) X(vw);
    if (X() > vw + Width()) X(0);

    if (Y() + Height() * 0.5f > GroundLine()) {
        Explode(X(), Y(), ExplosionSize, -1, 0, 8);
        // A crashed attacker is out of play: it must not fire any more.
        Remove();
        return;
    }

    Velocity = Velocity * 0.99f;
    Frame += AnimSpeed;
    Fire_();
    Spark_();
}

void Attacker::Fire_() {
    if (!Armed || !CurrentPlayer) return;
    FireCountdown -= 1;
    if (FireCountdown >= 0) return;
    FireCountdown = static_cast<int>(Rnd(100, 150));
    const Player& ship = *CurrentPlayer;
    const float a = std::atan2(Y() - ship.Y(), X() - ship.X());
    if (const std::shared_ptr<AttackerBullet> shot = AttackerBulletPool.Acquire()) {
        shot->Launch(PurpleBulletImage, Self_(), a / Tau * 360.0f);
        // From the attacker's rim rather than its centre.
        const float ahead =
            std::max(shot->Width(), shot->Height()) / static_cast<float>(AttackerBulletSpeed) * 0.5f;
        shot->Location(shot->Location() + shot->Velocity * ahead);
        Spark->Alpha(1);
        Spark->Enabled(true);
    }
    PlaySfx(Shoot1Sound, 1.0f, 0.5f);
}

void Attacker::Spark_() {
    if (Spark->Enabled()) {
        Spark->Alpha(Spark->Alpha() - 0.2f);
        if (Spark->Alpha() < 0) Spark->Enabled(false);
    }
    Spark->Location(Location());
}

void Attacker::Remove() {
    const auto keep = Self_();
    if (Spark) Spark->Remove();
    LayerObject::Remove();
}

void Attacker::OnOutro(const std::shared_ptr<kestrum::scenegraph::LayerObject>&) {
    Explode(X(), Y(), ExplosionSize, -1, 0, 8);
    if (Cargo) Man::New(GameLayer.get(), ManFrames, Location());
    ShowPoints(ScoreSystem ? ScoreSystem->Points : 0, X(), Y());
}
