// The game's sprites: a missing image draws nothing and measures 0; sparks
// follow their group or stay put; background sprites turn at their speed.
#include "zandrovia/gamesprite.h"

#include <gtest/gtest.h>

#include "kestrum-framework/taskmanager.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/layergroup.h"
#include "support/testsupport.h"
#include "zandrovia/backgroundsprite.h"
#include "zandrovia/spark.h"

namespace {

platform::ImagePtr Solid(int width, int height) {
    auto pixmap = std::make_shared<platform::Pixmap>(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixmap->SetPixelARGB(x, y, 0xFFFFFFFFu);
    }
    auto image = std::make_shared<platform::Image>(pixmap, 0);
    image->Handle({0.5f, 0.5f});
    return image;
}

int LitPixels(testsupport::Target& target, int width, int height) {
    const auto pixels = target.canvas->CopyPixmap({0, 0, width, height});
    int lit = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) lit += (pixels->GetPixelARGB(x, y) & 0x00FFFFFFu) != 0;
    }
    return lit;
}

}  // namespace

TEST(GameSprite, AMissingImageDrawsNothingAndMeasuresZero) {
    testsupport::Target target = testsupport::MakeTarget(64, 64);
    auto missing = GameSprite::New(static_cast<kestrum::scenegraph::Layer*>(nullptr), nullptr);
    missing->Location({32, 32});
    EXPECT_EQ(missing->Width(), 0);
    EXPECT_EQ(missing->Height(), 0);
    missing->Draw(*target.canvas);
    EXPECT_EQ(LitPixels(target, 64, 64), 0);

    // A frame array with a gap: only the missing frame is empty.
    auto frames = std::make_shared<std::vector<platform::ImagePtr>>(
        std::vector<platform::ImagePtr>{Solid(8, 6), nullptr});
    auto group = kestrum::scenegraph::LayerGroup::New();
    auto animated = GameSprite::New(group.get(), frames);
    EXPECT_EQ(animated->Width(), 8);
    animated->Frame = 1;
    EXPECT_EQ(animated->Height(), 0);

    auto shown = GameSprite::New(static_cast<kestrum::scenegraph::Layer*>(nullptr), Solid(10, 10));
    shown->Location({32, 32});
    shown->Draw(*target.canvas);
    EXPECT_EQ(LitPixels(target, 64, 64), 100);
}

TEST(GameSprite, SparksAndBackgroundSprites) {
    auto layer = kestrum::scenegraph::Layer::New();
    auto group = kestrum::scenegraph::LayerGroup::New(layer.get());
    group->Location({100, 100});
    auto inGroup = Spark::New(group.get(), Solid(4, 4));
    inGroup->Location({10, 0});
    auto inLayer = Spark::New(layer.get(), Solid(4, 4));
    inLayer->Location({50, 50});
    for (const auto& spark : {inGroup, inLayer}) {
        EXPECT_EQ(spark->BlendMode, platform::BlendMode::Additive);
        EXPECT_FALSE(spark->TaskManager());
    }
    group->Location({200, 300});
    EXPECT_FLOAT_EQ(inGroup->WorldX(), 210);
    EXPECT_FLOAT_EQ(inGroup->WorldY(), 300);
    EXPECT_EQ(inLayer->Location(), (platform::Vec2f{50, 50}));

    auto still = BackgroundSprite::New(layer.get(), Solid(4, 4), 0);
    auto turning = BackgroundSprite::New(layer.get(), Solid(4, 4), 0.001f);
    EXPECT_FALSE(still->TaskManager());
    EXPECT_EQ(turning->TaskManager(), layer->TaskManager);
    for (int i = 0; i < 10; ++i) {
        still->OnUpdate();
        turning->OnUpdate();
    }
    EXPECT_EQ(still->Rotation, 0);
    EXPECT_NEAR(turning->Rotation, 0.01f, 1e-6f);
}
