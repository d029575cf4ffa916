// Floating score labels and text messages: their timelines on the task
// clock, their fading and removal, the drop shadow, and drawing only once an
// entry's time has come.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "kestrum-framework/contentmanager.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/scene.h"
#include "support/fakeclock.h"
#include "support/testsupport.h"
#include "zandrovia/constants.h"
#include "zandrovia/globals.h"
#include "zandrovia/scoremessage.h"
#include "zandrovia/textmessage.h"
#include "zandrovia/zandrovia.h"

namespace {

// A scene of one layer standing in for GameScene; the clock runs at 60
// frames a second from 1000 ms.
struct MessageScene {
    testsupport::FakeClock clock{1000};
    std::shared_ptr<kestrum::scenegraph::Scene> saved = GameScene;
    std::shared_ptr<kestrum::scenegraph::Layer> layer;
    int frame = 0;

    MessageScene() {
        InitGameModule();
        GameScene = std::make_shared<kestrum::scenegraph::Scene>(nullptr);
        layer = kestrum::scenegraph::Layer::New(GameScene.get());
        // A task made before a manager's first pass would sit that pass out.
        GameScene->TaskManager->Update();
    }
    ~MessageScene() { GameScene = saved; }
    // One update of the scene's task manager, 1000/60 ms later.
    void Update() {
        ++frame;
        clock.now = 1000 + frame * 1000 / 60;
        GameScene->TaskManager->Update();
    }
    int Now() const { return kestrum::framework::TaskTime(); }
};

platform::FontPtr Font(float size) { return kestrum::framework::Content->GetFont(TextFont, size); }

}  // namespace

TEST(ScoreMessage, RisesWaitsItsDurationThenFadesOutInTwentyUpdates) {
    MessageScene scene;
    const auto message = ScoreMessage::New(scene.layer.get(), Font(28), "1000+", 300, 200, 1000);
    EXPECT_EQ(message->Layer(), scene.layer.get());
    EXPECT_EQ(message->TaskManager(), GameScene->TaskManager);
    EXPECT_EQ(message->Text, "1000+");
    const int start = scene.Now();
    int updates = 0;
    while (scene.Now() + 1000 / 60 <= start + 1000) {
        scene.Update();
        ++updates;
        ASSERT_EQ(message->Alpha(), 1.0f) << scene.Now();
    }
    // The pause menu holds the clock: nothing moves.
    kestrum::framework::SetTasksPaused(true);
    for (int i = 0; i < 10; ++i) scene.Update();
    kestrum::framework::SetTasksPaused(false);
    int fading = 0;
    while (message->Layer()) {
        scene.Update();
        ++updates;
        ++fading;
        ASSERT_LE(fading, 20);
    }
    EXPECT_EQ(fading, 20);
    EXPECT_LT(message->Alpha(), 0.0f);
    EXPECT_FALSE(message->TaskManager());
    EXPECT_FLOAT_EQ(message->Y(), 200 - 0.5f * static_cast<float>(updates));
}

TEST(TextMessage, TwoEntriesShowFadePauseAndRemoveThemselves) {
    MessageScene scene;
    std::vector<std::shared_ptr<TextMessageData>> data{std::make_shared<TextMessageData>(Font(64), "FIRST", 1000),
                                                       std::make_shared<TextMessageData>(Font(64), "SECOND", 2000)};
    const auto message = TextMessage::New(scene.layer.get(), data, 568, 320, 2, 300);
    ASSERT_EQ(message->Members.Length(), 2);
    EXPECT_EQ(message->Members[0], message->Shadow);
    EXPECT_EQ(message->Shadow->Location(), (platform::Vec2f{2, 2}));
    EXPECT_EQ(message->Shadow->Color, (platform::Color{0, 0, 0, 1}));
    EXPECT_EQ(message->Main->Location(), (platform::Vec2f{0, 0}));
    EXPECT_EQ(message->Main->Text, "FIRST");

    // (time, text shown, alpha) at each change: the phases of the timeline.
    struct Phase {
        std::string text;
        bool shown;
        bool fading;
    };
    std::vector<std::pair<int, Phase>> phases;
    const int start = scene.Now();
    auto current = [&] {
        return Phase{message->Main->Text, scene.Now() > message->Time, message->Alpha() < 1.0f};
    };
    Phase last = current();
    phases.push_back({0, last});
    int fadeUpdates = 0;
    while (message->Layer() && scene.frame < 1000) {
        scene.Update();
        const Phase now = current();
        fadeUpdates += now.fading;
        if (now.text != last.text || now.shown != last.shown || now.fading != last.fading) {
            phases.push_back({scene.Now() - start, now});
            last = now;
        }
    }
    EXPECT_FALSE(message->Layer());
    ASSERT_EQ(phases.size(), 6u);
    // First shown after the delay, fading after its duration, then gone for 500 ms.
    EXPECT_EQ(phases[1].second.text, "FIRST");
    EXPECT_TRUE(phases[1].second.shown);
    EXPECT_NEAR(phases[1].first, 300, 17);
    EXPECT_TRUE(phases[2].second.fading);
    EXPECT_NEAR(phases[2].first, 1300, 17);
    EXPECT_EQ(phases[3].second.text, "SECOND");
    EXPECT_FALSE(phases[3].second.shown);
    EXPECT_NEAR(phases[3].first - phases[2].first, 20 * 1000 / 60, 17);
    EXPECT_TRUE(phases[4].second.shown);
    EXPECT_NEAR(phases[4].first - phases[3].first, 500, 17);
    EXPECT_TRUE(phases[5].second.fading);
    EXPECT_NEAR(phases[5].first - phases[4].first, 2000, 17);
    // Each entry fades over 20 updates; the 20th of the first brings the
    // second in at alpha 1, that of the second removes the message below 0.
    EXPECT_EQ(fadeUpdates, 19 + 20);
    EXPECT_LT(message->Alpha(), 0.0f);
    EXPECT_EQ(message->Shadow->Text, "SECOND");
}

TEST(TextMessage, NoShadowWithoutAnOffsetAndNothingDrawnBeforeItsTime) {
    MessageScene scene;
    const auto message = TextMessage::New(scene.layer.get(), Font(64), "MMMM", 100, 40, 0, 1000, 0);
    ASSERT_EQ(message->Members.Length(), 1);
    EXPECT_EQ(message->Members[0], message->Main);
    EXPECT_EQ(message->Data.size(), 1u);
    EXPECT_EQ(message->Data[0]->Duration, 1000);

    auto lit = [&] {
        testsupport::Target target = testsupport::MakeTarget(200, 80);
        message->Draw(*target.canvas);
        const auto pixels = target.canvas->CopyPixmap({0, 0, 200, 80});
        int count = 0;
        for (int y = 0; y < 80; ++y) {
            for (int x = 0; x < 200; ++x) count += (pixels->GetPixelARGB(x, y) & 0x00FFFFFFu) != 0;
        }
        return count;
    };
    EXPECT_EQ(lit(), 0);  // delay 0: the clock has not moved past the creation time
    scene.Update();
    EXPECT_GT(lit(), 200);

    // A message without entries removes itself at once.
    const auto empty = TextMessage::New(scene.layer.get(), {}, 0, 0, 1, 0);
    scene.Update();
    EXPECT_FALSE(empty->Layer());
}
