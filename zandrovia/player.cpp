// Zandrovia: a ship of the player's squadron.
#include "zandrovia/player.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "kestrum-framework/contentmanager.h"
#include "kestrum-framework/math.h"
#include "kestrum-gui/guilayer.h"
#include "kestrum-scenegraph/camera.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/layerline.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "zandrovia/constants.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/objectkind.h"
#include "zandrovia/pickup.h"
#include "zandrovia/playerbullet.h"
#include "zandrovia/pooledemitter.h"
#include "zandrovia/screenshake.h"
#include "zandrovia/scoremessage.h"
#include "zandrovia/taskscheduler.h"
#include "zandrovia/trailparticle.h"

using kestrum::scenegraph::LayerObject;

int ManSpinSign = 1;
int PlayerFireDelay = 6;
int PlayerTrackerDelay = 30;

void InitPlayerFile() {
    ManSpinSign = 1;
    PlayerFireDelay = 6;
    PlayerTrackerDelay = 30;
}

namespace {

constexpr float Tau = 2.0f * std::numbers::pi_v<float>;

// A floating label in FrontLayer, TextFont at size 28, for 1000 ms.
void ShowLabel(const std::string& text, float x, float y, platform::Color color) {
    const auto label = ScoreMessage::New(FrontLayer.get(), kestrum::framework::Content->GetFont(TextFont, 28), text,
                                         static_cast<int>(x), static_cast<int>(y), 1000);
    label->Color = color;
}

}  // namespace

std::shared_ptr<Player> Player::New(kestrum::scenegraph::Layer* layer, platform::Vec2i position) {
    auto ship = std::make_shared<Player>();
    ship->Layer(layer);
    if (layer) ship->TaskManager(layer->TaskManager);
    ship->Location({static_cast<float>(position.x), static_cast<float>(position.y)});
    ship->Ship = GhostedSprite::New(ship.get(), PlayerFrames, PlayerGhostFrames);
    ship->Ship->Frame = static_cast<float>(platform::Rnd(static_cast<double>(ship->Ship->Frames())));
    ship->Ship->Color = {0.5f, 0.5f, 0.5f, 1};
    ship->Ship->Scale = PlayerScale;
    ship->Width(ship->Ship->Width());
    ship->Height(ship->Ship->Height());
    const platform::Vec2f centre{ship->Width() / 2, ship->Height() / 2};
    ship->Ship->Location(centre);
    ship->Spark = ::Spark::New(ship.get(), SparkBlueImage);
    ship->TrackerSpark = ::Spark::New(ship.get(), SparkPurpleImage);
    for (const auto& spark : {ship->Spark, ship->TrackerSpark}) {
        spark->Location(ship->Ship->Location());
        spark->Enabled(false);
    }
    ship->Shield = GameSprite::New(ship.get(), ShieldImage);
    ship->Shield->Location(centre);
    ship->Shield->Enabled(false);
    ship->Shield->ScoreSystem = std::make_shared<kestrum::scenegraph::ScoreSystem>();
    ship->ScoreSystem = std::make_shared<kestrum::scenegraph::ScoreSystem>();
    ship->ScoreSystem->Energy = PLAYER_ENERGY;
    ship->CollisionRead(true);
    ShipsAlive += 1;
    if (!CurrentPlayer) {
        CurrentPlayer = ship;
        PendingPlayer = ship;
    }
    return ship;
}

bool Player::IsCurrent_() const { return CurrentPlayer.get() == this; }

void Player::OnUpdate() {
    const auto self = std::static_pointer_cast<Player>(shared_from_this());
    Ship->Color = IsCurrent_() ? platform::Color{1, 1, 1, 1} : platform::Color{0.5f, 0.5f, 0.5f, 1};
    Ship->Frame += 0.5f;
    for (const auto& spark : {Spark, TrackerSpark}) {
        if (!spark->Enabled()) continue;
        spark->Alpha(spark->Alpha() - 0.2f);
        if (spark->Alpha() < 0) spark->Enabled(false);
    }
    ShieldUpdate_();

    // A click on this ship, where the frame on screen showed it, makes it
    // current; a drag starts from here.
    if (MousePressed && CameraShake && !IsCurrent_() &&
        CameraShake->PointOnShownFrame(*this, platform::Vec2f(platform::Mouse().Location()))) {
        CurrentPlayer = self;
        PendingPlayer = self;
        SwipeLast = CameraShake->SteadyMouseLocation(GameLayer.get());
    }

    Location(Location() + Velocity);
    Velocity = Velocity * 0.95f;
    const float right = ViewWidth() - 12;
    if (X() < 12) X(12);
    if (X() > right) X(right);
    if (Y() < 36) Y(36);

    if (GameOn()) {
        Fire_();
        FireTracker_();
    }
    if (Y() + Height() / 2 > GroundLine()) {
        OnOutro(nullptr);
        Remove();
    }
}

void Player::Fire_() {
    if (!IsCurrent_()) return;
    FireCooldown -= 1;
    if (FireCooldown >= 0) return;
    FireCooldown = PlayerFireDelay;
    struct Shot {
        platform::Vec2i offset;
        float degrees;
    };
    static const std::vector<Shot> bursts[] = {
        {{{0, 32}, 90}},
        {{{-16, 32}, 93}, {{16, 32}, 87}},
        {{{0, 32}, 90}, {{-16, 32}, 97}, {{16, 32}, 83}},
    };
    const int level = std::clamp(WeaponLevel, 0, static_cast<int>(std::size(bursts)) - 1);
    const auto self = std::static_pointer_cast<LayerObject>(shared_from_this());
    int launched = 0;
    for (const Shot& shot : bursts[level]) {
        const std::shared_ptr<PlayerBullet> bullet = PlayerBulletPool.Acquire();
        if (!bullet) continue;
        bullet->Launch(self, PlayerBulletImage, shot.offset, Tau * (shot.degrees / 360.0f), 16, 1, 1);
        ++launched;
    }
    if (launched > 0) {
        Spark->Alpha(1);
        Spark->Enabled(true);
    }
    PlaySfx(Shoot2Sound);
}

void Player::FireTracker_() {
    if (!IsCurrent_() || TrackerAmmo <= 0) return;
    TrackerCooldown -= 1;
    if (TrackerCooldown >= 0) return;
    TrackerCooldown = PlayerTrackerDelay;
    if (!TrackerTarget || !TrackerTarget->Enabled()) return;
    const float angle = std::atan2(TrackerTarget->Y() - Y(), TrackerTarget->X() - X());
    const std::shared_ptr<PlayerBullet> bullet = PlayerBulletPool.Acquire();
    if (!bullet) return;
    bullet->Launch(std::static_pointer_cast<LayerObject>(shared_from_this()), PurpleBulletImage, {0, 0}, angle, 16,
                   2, 2);
    TrackerSpark->Alpha(1);
    TrackerSpark->Enabled(true);
    TrackerAmmo -= 1;
    PlaySfx(Laser2Sound);
}

void Player::ShieldUpdate_() {
    if (ShieldFade == 0) return;
    Shield->Alpha(Shield->Alpha() + ShieldFade);
    if (Shield->Alpha() > 1) {
        Shield->Alpha(1);
        ShieldFade = -std::abs(ShieldFade);
    }
    if (Shield->Alpha() < SHIELD_ALPHA) {
        Shield->Alpha(SHIELD_ALPHA);
        ShieldFade = 0;
    }
}

void Player::UpdateScoreSystem_(const std::shared_ptr<LayerObject>& other) {
    if (!other || !other->ScoreSystem || !ScoreSystem) return;
    if (!Shield->Enabled()) {
        ApplyScoreSystem(other);
        return;
    }
    Shield->ScoreSystem->Energy -= other->ScoreSystem->Energy;
    if (Shield->ScoreSystem->Energy > 0) {
        const auto keep = other;
        other->OnOutro(std::static_pointer_cast<LayerObject>(shared_from_this()));
        other->Remove();
        ShieldFade = 0.1f;
    } else {
        Shield->Enabled(false);
    }
}

void Player::OnCollision(const std::shared_ptr<LayerObject>& other) {
    const auto self = shared_from_this();
    switch (KindOf(other.get())) {
        case ObjectKind::Attacker:
        case ObjectKind::AttackerBullet:
        case ObjectKind::Launcher:
        case ObjectKind::Saucer:
        case ObjectKind::Spider:
        case ObjectKind::Tank:
        case ObjectKind::TankBullet:
            Ship->GhostCount += 1;
            UpdateScoreSystem_(other);
            break;
        case ObjectKind::Crusher:
        case ObjectKind::SaucerLaser:
            OnOutro(nullptr);
            Remove();
            break;
        case ObjectKind::Rocket:
            other->OnOutro(nullptr);
            other->Remove();
            OnOutro(nullptr);
            Remove();
            break;
        case ObjectKind::Man:
            if (!IsCurrent_()) break;
            Score += 1000;
            ShowLabel("1000+", other->X(), other->Y(), {1, 1, 0, 1});
            other->Remove();
            PlaySfx(BonusSound);
            break;
        case ObjectKind::Pickup:
            if (GameOn() && IsCurrent_()) Pickups_(std::static_pointer_cast<Pickup>(other));
            break;
        default: break;
    }
}

void Player::Pickups_(const std::shared_ptr<Pickup>& pickup) {
    PlaySfx(PickupSound);
    const PickupKind kind = pickup->Kind();
    if (kind != PickupKind::None) {
        ShowLabel(PickupName(kind), pickup->X(), pickup->Y(), {1, 0, 0, 1});
        switch (kind) {
            case PickupKind::PowerUp:
                PlaySfx(Voices[0]);
                if (WeaponLevel < WEAPON_LEVELS - 1) WeaponLevel += 1;
                break;
            case PickupKind::Tracker:
                PlaySfx(Voices[2]);
                TrackerAmmo += TRACKER_AMMO_PICKUP;
                break;
            case PickupKind::Nuke:
                PlaySfx(Voices[4]);
                Nuke();
                break;
            case PickupKind::Shield:
                PlaySfx(Voices[3]);
                Shield->ScoreSystem->Energy += SHIELD_ENERGY_PICKUP;
                Shield->Alpha(SHIELD_ALPHA);
                Shield->Enabled(true);
                break;
            case PickupKind::Laser:
                PlaySfx(Voices[1]);
                LaserAmmo += LASER_AMMO_PICKUP;
                break;
            default: break;
        }
    }
    pickup->Remove();
}

bool Player::CollisionMethod(const std::shared_ptr<LayerObject>& other) {
    if (!other) return false;
    using kestrum::scenegraph::TruncToInt;
    switch (KindOf(other.get())) {
        case ObjectKind::Crusher:
            return kestrum::framework::RectsOverlap(X(), Y(), TruncToInt(Width()), TruncToInt(Height()), other->X(),
                                                    other->Y(), TruncToInt(other->Width() - 32),
                                                    TruncToInt(other->Height()), true);
        case ObjectKind::SaucerLaser: {
            const auto* beam = dynamic_cast<const kestrum::scenegraph::LayerLine*>(other.get());
            if (!beam) return false;
            return kestrum::framework::CircleSegmentOverlap(X(), Y(), std::min(Width(), Height()) / 2, beam->X(),
                                                            beam->Y(), beam->X2(), beam->Y2());
        }
        default: break;
    }
    const float radius = Shield->Enabled() ? 0.4f * std::min(Shield->Width(), Shield->Height())
                                           : 0.5f * std::min(Width(), Height());
    return kestrum::framework::CirclesOverlap(X(), Y(), radius, other->X(), other->Y(),
                                              0.25f * std::min(other->Width(), other->Height()));
}

void Player::OnOutro(const std::shared_ptr<LayerObject>&) {
    if (IsCurrent_() && CameraShake) CameraShake->Shake(250, 0.9f);
    if (ExplosionEmitter) ExplosionEmitter->Play(X(), Y(), 1.0f, -1, 0);
    if (TrailsEnabled) TrailParticle::Create(8, X(), Y(), 1.0f);
    PlaySfx(Explosion2Sound);
}

void Player::Remove() {
    if (Removed_) return;
    Removed_ = true;
    const auto keep = shared_from_this();
    ShipsAlive -= 1;
    if (ShipsAlive == 0 && gameState == STATE_PLAY) {
        if (GuiRoots[1]) {
            if (const auto close = GuiRoots[1]->GetObject("close")) close->Enabled(false);
        }
        if (GameScheduler) GameScheduler->Clear();
        gameState = STATE_GAME_OVER;
    }
    LayerObject::Remove();
}
