// Zandrovia: the spider boss.
//
// The spider walks down from above the top edge with a looping walk (frames
// 0 to 23), settles in the middle of the sky at the start of a walk cycle,
// plays its transition (24 to 41) and then loops over its firing frames (42
// to 65), spraying shots from the shared AttackerBulletPool in random
// directions, one every 4 to 6 updates as far as the pool allows, until it
// is destroyed. It takes SpiderEnergy, is worth SpiderScore and counts for
// CountAttackers.
//
// A level script makes one with Top, which places it and hands it to
// GameScheduler; a warning sound given there makes it schedule
// WarningSound five times, 1250 ms apart, in its first active update.
//
// Depends on ghostedsprite.h, spark.h and the game's globals.
#pragma once

#include <memory>

#include "platform/audio.h"
#include "zandrovia/ghostedsprite.h"
#include "zandrovia/spark.h"

class Spider : public GhostedSprite {
public:
    // Updates left before the next shot of the spray.
    int FireCountdown = 0;
    // The muzzle flash, in the spider's layer.
    std::shared_ptr<::Spark> Spark;
    // 0 descending and walking, 1 settled and firing.
    int State = 0;
    // When set, the first update schedules the warning and clears it.
    platform::SoundPtr Warning;

    Spider() = default;
    // A spider in the layer and its task manager with a score record of
    // SpiderEnergy and SpiderScore, a collision writer with an unlit red spark.
    static std::shared_ptr<Spider> New(kestrum::scenegraph::Layer* layer);
    // A spider in GameLayer at x, one frame height above the top edge,
    // starting delay ms from now. A warning that is not null makes it
    // schedule WarningSound when it starts.
    static std::shared_ptr<Spider> Top(int delay, int x, const platform::SoundPtr& warning);

    void OnUpdate() override;
    // Removes the spark too.
    void Remove() override;
    // Explosion, 16 trails, sound and the points label.
    void OnOutro(const std::shared_ptr<kestrum::scenegraph::LayerObject>& other) override;

private:
    void Fire_();
    void Spark_();
};
