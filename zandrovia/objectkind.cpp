// Zandrovia: which kind of actor a layer object is.
#include "zandrovia/objectkind.h"

#include "zandrovia/attackerbullet.h"
#include "zandrovia/ghostedsprite.h"
#include "zandrovia/man.h"
#include "zandrovia/pickup.h"
#include "zandrovia/player.h"
#include "zandrovia/playerbullet.h"
#include "zandrovia/tankbullet.h"

namespace {

template <typename T>
bool Is(const kestrum::scenegraph::LayerObject* object) {
    return dynamic_cast<const T*>(object) != nullptr;
}

}  // namespace

ObjectKind KindOf(const kestrum::scenegraph::LayerObject* object) {
    if (object == nullptr) return ObjectKind::Other;
    if (Is<PlayerBullet>(object)) return ObjectKind::PlayerBullet;
    if (Is<AttackerBullet>(object)) return ObjectKind::AttackerBullet;
    if (Is<TankBullet>(object)) return ObjectKind::TankBullet;
    if (Is<Player>(object)) return ObjectKind::Player;
    if (Is<Man>(object)) return ObjectKind::Man;
    if (Is<Pickup>(object)) return ObjectKind::Pickup;
    // The enemies (Attacker, Launcher, Rocket, Tank, Saucer, SaucerLaser,
    // Spider, Crusher) are recognised here once their classes exist.
    return ObjectKind::Other;
}

std::vector<GhostedSprite*> HitFlashSprites(kestrum::scenegraph::LayerObject* object) {
    // A tank flashes its turret and its wheels, once the tank class exists.
    if (auto* sprite = dynamic_cast<GhostedSprite*>(object)) return {sprite};
    return {};
}
