// Zandrovia: which kind of actor a layer object is.
#include "zandrovia/objectkind.h"

#include "zandrovia/attacker.h"
#include "zandrovia/attackerbullet.h"
#include "zandrovia/crusher.h"
#include "zandrovia/ghostedsprite.h"
#include "zandrovia/launcher.h"
#include "zandrovia/man.h"
#include "zandrovia/pickup.h"
#include "zandrovia/player.h"
#include "zandrovia/playerbullet.h"
#include "zandrovia/rocket.h"
#include "zandrovia/saucer.h"
#include "zandrovia/saucerlaser.h"
#include "zandrovia/spider.h"
#include "zandrovia/tank.h"
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
    if (Is<Attacker>(object)) return ObjectKind::Attacker;
    if (Is<Launcher>(object)) return ObjectKind::Launcher;
    if (Is<Rocket>(object)) return ObjectKind::Rocket;
    if (Is<Tank>(object)) return ObjectKind::Tank;
    if (Is<Saucer>(object)) return ObjectKind::Saucer;
    if (Is<SaucerLaser>(object)) return ObjectKind::SaucerLaser;
    if (Is<Spider>(object)) return ObjectKind::Spider;
    if (Is<Crusher>(object)) return ObjectKind::Crusher;
    return ObjectKind::Other;
}

std::vector<GhostedSprite*> HitFlashSprites(kestrum::scenegraph::LayerObject* object) {
    if (auto* tank = dynamic_cast<Tank*>(object)) return {tank->Turret.get(), tank->Wheels.get()};
    if (auto* sprite = dynamic_cast<GhostedSprite*>(object)) return {sprite};
    return {};
}
