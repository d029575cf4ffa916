// Zandrovia: the auto-laser and the tracker's target.
#include "zandrovia/targeting.h"

#include <cmath>
#include <string>

#include "kestrum-framework/contentmanager.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "zandrovia/constants.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/laser.h"
#include "zandrovia/objectkind.h"
#include "zandrovia/player.h"
#include "zandrovia/scoremessage.h"

namespace {

bool LaserCandidate(const kestrum::scenegraph::LayerObject* object) {
    switch (KindOf(object)) {
        case ObjectKind::Attacker:
        case ObjectKind::AttackerBullet:
        case ObjectKind::Rocket:
        case ObjectKind::TankBullet: return true;
        default: return false;
    }
}

bool TrackerCandidate(const kestrum::scenegraph::LayerObject* object) {
    switch (KindOf(object)) {
        case ObjectKind::Attacker:
        case ObjectKind::Rocket:
        case ObjectKind::Tank:
        case ObjectKind::Spider: return true;
        default: return false;
    }
}

float Manhattan(const kestrum::scenegraph::LayerObject& a, const kestrum::scenegraph::LayerObject& b) {
    return std::abs(a.X() - b.X()) + std::abs(a.Y() - b.Y());
}

}  // namespace

void UpdateClosestLaserTarget(kestrum::scenegraph::Layer* layer) {
    if (!CurrentPlayer || !GameOn()) return;
    const Player& ship = *CurrentPlayer;
    ForEachObject(layer, [&](const kestrum::scenegraph::LayerObjectPtr& object) {
        if (!object->Enabled() || !LaserCandidate(object.get())) return;
        const int d = kestrum::scenegraph::TruncToInt(Manhattan(*object, ship));
        if (d >= LASER_RANGE) return;
        // The target does not change during a burst.
        if (PlayerLaser && PlayerLaser->Enabled()) return;
        if (LaserTarget && LaserTarget->Enabled()) {
            if (Manhattan(*LaserTarget, ship) > static_cast<float>(d)) LaserTarget = object;
        } else {
            LaserTarget = object;
        }
    });
}

void UpdateClosestTrackerTarget(kestrum::scenegraph::Layer* layer) {
    if (!CurrentPlayer || !GameOn()) return;
    TrackerTarget = nullptr;
    ForEachObject(layer, [&](const kestrum::scenegraph::LayerObjectPtr& object) {
        if (TrackerTarget || !LaserTarget) return;
        if (!object->Enabled()) return;
        if (TrackerCandidate(object.get())) TrackerTarget = object;
    });
}

void UpdateLaser() {
    if (!PlayerLaser) return;
    const auto off = [] {
        PlayerLaser->Enabled(false);
        for (const auto& glow : PlayerLaser->Glows) glow->Enabled(false);
    };
    // Ammunition is needed to start a burst; a running burst has paid its
    // unit and goes on to its end (else the last unit would buy a beam that
    // is cut off after one update and destroys nothing).
    const bool ammunition = LaserAmmo > 0 || PlayerLaser->Enabled();
    if (!GameOn() || !ammunition || !CurrentPlayer || !CurrentPlayer->Enabled() || !LaserTarget ||
        !LaserTarget->Enabled()) {
        off();
        return;
    }
    if (!PlayerLaser->Enabled()) {
        PlaySfx(Laser1Sound);
        PlayerLaser->Alpha(1.0f);
        PlayerLaser->Enabled(true);
        for (const auto& glow : PlayerLaser->Glows) glow->Enabled(true);
        LaserAmmo -= 1;
    }
    PlayerLaser->Location(CurrentPlayer->Location());
    PlayerLaser->Location2(LaserTarget->Location());
    PlayerLaser->Glows[0]->Location(PlayerLaser->Location());
    PlayerLaser->Glows[1]->Location(PlayerLaser->Location2());
    PlayerLaser->Alpha(PlayerLaser->Alpha() - 0.2f);
    for (const auto& glow : PlayerLaser->Glows) glow->Alpha(PlayerLaser->Alpha());
    if (PlayerLaser->Alpha() >= 0) return;

    // The end of the burst destroys the target.
    const std::shared_ptr<kestrum::scenegraph::LayerObject> target = LaserTarget;
    target->OnOutro(nullptr);
    const ObjectKind kind = KindOf(target.get());
    if ((kind == ObjectKind::AttackerBullet || kind == ObjectKind::TankBullet) && target->ScoreSystem) {
        const int points = target->ScoreSystem->Points;
        const auto label =
            ScoreMessage::New(FrontLayer.get(), kestrum::framework::Content->GetFont(TextFont, 28),
                              std::to_string(points) + "+", static_cast<int>(target->X()),
                              static_cast<int>(target->Y()), 1000);
        label->Color = {0, 1, 0, 1};
        Score += points;
    }
    target->Remove();
    off();
}
