#include "kestrum-scenegraph/layersprite.h"

#include <gtest/gtest.h>

#include <numbers>

#include "kestrum-framework/contentmanager.h"
#include "sgtest.h"

namespace sg = kestrum::scenegraph;
using platform::Color;
using sgtest::Frames;
using sgtest::SolidImage;

namespace {

// Images 10, 20, 30 ... pixels wide, so the chosen frame shows in Width().
sg::ImageArray Widths(int count) {
    std::vector<platform::ImagePtr> images;
    for (int i = 1; i <= count; ++i) images.push_back(SolidImage(10 * i, 5, Color::White()));
    return Frames(images);
}

struct Animated {
    sgtest::FakeClock clock;
    sg::Scene scene{nullptr};
    std::shared_ptr<sg::Layer> layer = sg::Layer::New(&scene);
    std::shared_ptr<sg::LayerSprite> sprite = sg::LayerSprite::New(layer.get(), Widths(3));
};

}  // namespace

TEST(LayerSpriteFrames, FrameIsRoundedAndWrappedIntoTheImages) {
    sgtest::FakeClock clock;
    struct Case {
        float frame;
        int frames;
        float width;
    };
    const Case cases[] = {
        {0, 3, 10}, {1.5f, 4, 30}, {1.49f, 4, 20}, {5, 3, 30}, {3, 3, 10}, {-1, 3, 30}, {-4.6f, 3, 20},
    };
    for (const Case& c : cases) {
        auto sprite = sg::LayerSprite::New(static_cast<sg::Layer*>(nullptr), Widths(c.frames));
        sprite->Frame = c.frame;
        EXPECT_FLOAT_EQ(sprite->Width(), c.width) << "frame " << c.frame << " of " << c.frames;
    }

    // No frames, or a null frame: the placeholder image and its size.
    auto empty = std::make_shared<sg::LayerSprite>();
    const auto placeholder = kestrum::framework::NullImage(nullptr);
    ASSERT_TRUE(placeholder);
    EXPECT_EQ(empty->Image(), placeholder);
    EXPECT_EQ(empty->Frames(), 0);
    EXPECT_EQ(empty->LastFrame(), -1);
    EXPECT_FLOAT_EQ(empty->Height(), static_cast<float>(placeholder->Height()));
    empty->Images(std::vector<platform::ImagePtr>{nullptr});
    EXPECT_EQ(empty->Image(), placeholder);
}

TEST(LayerSpriteFrames, ImageSetterSharesAOneFrameArray) {
    sgtest::FakeClock clock;
    auto five = std::make_shared<sg::LayerSprite>();
    const auto firstArray = Widths(5);
    five->Images(firstArray);
    const auto red = SolidImage(7, 7, Color{1, 0, 0, 1});
    five->Image(red);
    EXPECT_EQ(five->Frames(), 1);
    EXPECT_NE(five->Images(), firstArray);
    EXPECT_EQ(firstArray->size(), 5u);

    auto a = std::make_shared<sg::LayerSprite>();
    auto b = std::make_shared<sg::LayerSprite>();
    a->Images(Frames({red}));
    b->Images(a->Images());
    const auto blue = SolidImage(9, 9, Color{0, 0, 1, 1});
    b->Image(blue);
    EXPECT_EQ(a->Image(), blue);
}

TEST(LayerSpriteFrames, FlipSigns) {
    sgtest::FakeClock clock;
    sg::LayerSprite s;
    s.FlippedX(-3);
    s.FlippedX(0);
    EXPECT_EQ(s.FlippedX(), -1);
    s.FlippedX(7);
    EXPECT_EQ(s.FlippedX(), 1);

    constexpr float quarter = std::numbers::pi_v<float> / 2;
    struct Case {
        int x, y, xy;
        float rotation;
        int flippedX, flippedY;
    };
    const Case cases[] = {{-1, -1, -1, quarter, -1, 1}, {1, 1, -1, -quarter, -1, 1}, {1, -1, 1, 0, 1, -1},
                          {-1, 1, -1, quarter, 1, 1},   {1, -1, -1, -quarter, 1, 1}};
    for (const Case& c : cases) {
        sg::LayerSprite t;
        t.Flip(c.x, c.y, c.xy);
        EXPECT_NEAR(t.Rotation, c.rotation, 1e-6) << c.x << c.y << c.xy;
        EXPECT_EQ(t.FlippedX(), c.flippedX) << c.x << c.y << c.xy;
        EXPECT_EQ(t.FlippedY(), c.flippedY) << c.x << c.y << c.xy;
    }
}

TEST(LayerSpriteAnimation, FramesAdvanceAgainstSceneTime) {
    Animated a;
    a.sprite->FrameTimes = {100, 100, 100};
    a.scene.Time = 1000;
    struct Step {
        float time;
        float frame;
    };
    // The first update advances at once (-1 + 100 <= 1000) and records 1000.
    const Step steps[] = {{1000, 1}, {1020, 1}, {1080, 1}, {1100, 2}, {1180, 2}, {1200, 0}, {1300, 1}};
    for (const Step& s : steps) {
        a.scene.Time = s.time;
        a.sprite->OnUpdate();
        EXPECT_FLOAT_EQ(a.sprite->Frame, s.frame) << "at " << s.time;
    }
    EXPECT_EQ(a.sprite->LastFrameChange, 1300);

    // At most one frame per update, however much time has passed.
    a.scene.Time = 99999;
    a.sprite->OnUpdate();
    EXPECT_FLOAT_EQ(a.sprite->Frame, 2);
}

TEST(LayerSpriteAnimation, DurationsAreReadSafelyAndMismatchesDoNotAnimate) {
    Animated a;
    a.sprite->FrameTimes = {100, 500, 100};
    a.sprite->LastFrameChange = 0;
    struct Case {
        float frame;
        float time;
        bool advances;
    };
    // The duration of the truncated frame, wrapped like the images: frame
    // 1.5 waits 500, frame 4 (wrapped to 1) too, frame -2 (wrapped to 1) too.
    const Case cases[] = {{1.5f, 400, false}, {1.5f, 500, true}, {4, 499, false}, {4, 500, true},
                          {-2, 499, false},   {-2, 500, true},   {0, 100, true}};
    for (const Case& c : cases) {
        a.sprite->Frame = c.frame;
        a.sprite->LastFrameChange = 0;
        a.scene.Time = c.time;
        a.sprite->Animate();
        EXPECT_EQ(a.sprite->Frame != c.frame, c.advances) << c.frame << " at " << c.time;
    }

    a.sprite->FrameTimes = {100, 100};  // two durations for three images
    a.sprite->Frame = 0;
    a.scene.Time = 5000;
    a.sprite->Animate();
    EXPECT_FLOAT_EQ(a.sprite->Frame, 0);

    auto loose = sg::LayerSprite::New(static_cast<sg::Layer*>(nullptr), Widths(2));
    loose->FrameTimes = {1, 1};
    loose->Animate();  // no layer, no scene clock
    EXPECT_FLOAT_EQ(loose->Frame, 0);
}

TEST(LayerSpriteAnimation, SynchronizedSpritesCopyTheLeader) {
    Animated a;
    a.sprite->FrameTimes = {100, 100, 100};
    auto follower = sg::LayerSprite::New(a.layer.get(), Widths(3));
    follower->FrameTimes = {1, 1, 1};
    follower->Synchronizer = a.sprite;
    a.sprite->Frame = 1.25f;
    a.scene.Time = 0;
    follower->OnUpdate();
    EXPECT_FLOAT_EQ(follower->Frame, 1.25f);
    EXPECT_EQ(follower->LastFrameChange, -1);  // never animated by itself
}

TEST(LayerSpriteAnimation, SynchronizePairsSpritesByIdentifier) {
    sgtest::FakeClock clock;
    sg::Scene scene(nullptr);
    auto back = sg::Layer::New(&scene);
    auto front = sg::Layer::New(&scene);
    auto make = [](sg::Layer* layer, const std::string& id, float x) {
        auto sprite = sg::LayerSprite::New(layer, Widths(2));
        sprite->FrameTimes = {50, 50};
        sprite->Identifier = id;
        sprite->X(x);
        sprite->TaskManager(layer->TaskManager);
        return sprite;
    };
    auto leader = make(back.get(), "water", 5000);
    auto other = make(front.get(), "water", 10);
    auto lava = make(front.get(), "lava", 20);
    auto still = sg::LayerSprite::New(front.get(), Widths(2));  // no durations: not animated
    still->Identifier = "water";
    still->TaskManager(front->TaskManager);

    EXPECT_TRUE(leader->UniqueIdentifier());
    sg::Synchronize(&scene);
    EXPECT_EQ(leader->TaskManager(), scene.TaskManager);
    EXPECT_EQ(lava->TaskManager(), scene.TaskManager);
    EXPECT_EQ(other->Synchronizer, leader);
    EXPECT_EQ(other->TaskManager(), front->TaskManager);
    EXPECT_EQ(still->Synchronizer, nullptr);
    EXPECT_FALSE(leader->UniqueIdentifier());  // it is itself in the scene's manager
    EXPECT_EQ(other->GetSyncronizer(), leader);

    sg::Synchronize(&scene);  // a second run changes nothing
    EXPECT_EQ(scene.TaskManager->Tasks.Length(), 2);
    EXPECT_EQ(other->Synchronizer, leader);
}
