// Zandrovia: the spider boss.
#include "zandrovia/spider.h"

#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scoresystem.h"
#include "platform/clock.h"
#include "zandrovia/attackerbullet.h"
#include "zandrovia/constants.h"
#include "zandrovia/gamefunctions.h"
#include "zandrovia/globals.h"
#include "zandrovia/levels.h"
#include "zandrovia/soundscheduler.h"
#include "zandrovia/taskscheduler.h"

namespace {

// The frames of the walk cycle end here; the firing loop runs from FirstFiringFrame on.
constexpr float LastWalkFrame = 23;
constexpr float FirstFiringFrame = 42;

}  // namespace

std::shared_ptr<Spider> Spider::New(kestrum::scenegraph::Layer* layer) {
    auto spider = std::make_shared<Spider>();
    spider->Layer(layer);
    if (layer) spider->TaskManager(layer->TaskManager);
    spider->Images(SpiderFrames);
    spider->GhostImages = SpiderGhostFrames;
    spider->ScoreSystem = std::make_shared<kestrum::scenegraph::ScoreSystem>();
    spider->ScoreSystem->Energy = SpiderEnergy;
    spider->ScoreSystem->Points = SpiderScore;
    spider->CollisionWrite(true);
    spider->Spark = ::Spark::New(layer, SparkRedImage);
    spider->Spark->Enabled(false);
    return spider;
}

std::shared_ptr<Spider> Spider::Top(int delay, int x, const platform::SoundPtr& warning) {
    const auto spider = New(GameLayer.get());
    spider->X(static_cast<float>(x));
    spider->Y(-spider->Height());
    spider->Warning = warning;
    if (GameScheduler) GameScheduler->Add(spider, delay);
    return spider;
}

void Spider::OnUpdate() {
    if (Warning) {
        // The sound given only decides whether the warning plays.
        if (GameSoundScheduler) GameSoundScheduler->Add(WarningSound, 0, 1.0f, 1.0f, 0.0f, 4, 1250);
        Warning = nullptr;
    }
    Frame += 0.5f;
    if (State == 0) {
        Y(Y() + 1);
        if (Frame > LastWalkFrame) Frame = 0;
        // It settles only at the start of a walk cycle.
        if (Y() > (ViewHeight() - SoilHeight()) * 0.5f && Frame == 0) State = 1;
        Spark_();
        return;
    }
    if (Frame >= FirstFiringFrame) Fire_();
    if (Frame > static_cast<float>(LastFrame())) Frame = FirstFiringFrame;
    Spark_();
}

void Spider::Fire_() {
    FireCountdown -= 1;
    if (FireCountdown >= 0) return;
    FireCountdown = static_cast<int>(platform::Rnd(3, 6));
    const std::shared_ptr<AttackerBullet> shot = AttackerBulletPool.Acquire();
    if (!shot) return;
    shot->Launch(SpiderBulletImage, Self_(), static_cast<float>(platform::Rnd(359)));
    Spark->Alpha(1);
    Spark->Enabled(true);
    PlaySfx(Shoot1Sound, 1.0f, 0.5f);
}

void Spider::Spark_() {
    if (Spark->Enabled()) {
        Spark->Alpha(Spark->Alpha() - 0.2f);
        if (Spark->Alpha() < 0) Spark->Enabled(false);
    }
    Spark->Location(Location());
}

void Spider::Remove() {
    const auto keep = Self_();
    if (Spark) Spark->Remove();
    LayerObject::Remove();
}

void Spider::OnOutro(const std::shared_ptr<kestrum::scenegraph::LayerObject>&) {
    Explode(X(), Y(), 2.0f, ExplosionBudget[0], ExplosionBudget[1], 16);
    ShowPoints(ScoreSystem ? ScoreSystem->Points : 0, X(), Y());
}
