#include "kestrum-scenegraph/scene.h"

#include <gtest/gtest.h>

#include "platform/input.h"
#include "sgtest.h"

namespace sg = kestrum::scenegraph;
using sgtest::MakeProbe;
using sgtest::Probe;

namespace {

// A scene task that counts its updates.
class Counter : public kestrum::framework::Task {
public:
    int updates = 0;
    void OnUpdate() override { ++updates; }
};

struct World {
    sgtest::FakeClock clock{1000};
    sg::Scene scene{nullptr};
    std::shared_ptr<sg::Camera> camera = sg::Camera::New(&scene);
    std::shared_ptr<sg::Layer> layer = sg::Layer::New(&scene);
};

}  // namespace

TEST(SceneUpdate, FirstUpdateOnlyStartsTheClock) {
    World w;
    auto probe = MakeProbe(w.layer.get(), 10, 10);
    w.scene.Update();
    EXPECT_EQ(probe->updates, 0);
    EXPECT_EQ(w.scene.FrameNumber, 1);
    for (int n = 2; n <= 5; ++n) {
        w.scene.Update();
        EXPECT_EQ(probe->updates, n - 1);
        EXPECT_EQ(w.scene.FrameNumber, n);
        EXPECT_FLOAT_EQ(w.scene.Time, 20.0f * n);
    }
}

TEST(SceneUpdate, ObjectsAreUpdatedOncePerFrameWhateverTheCameras) {
    struct Case {
        const char* name;
        bool secondEnabled, secondVisible;
        bool firstEnabled;
        int expected;  // updates of each probe over 3 updates after the first
    };
    const Case cases[] = {
        {"two cameras", true, true, true, 3},
        {"invisible camera still updates", true, false, false, 3},
        {"disabled camera updates nothing", false, true, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        World w;
        auto second = sg::Camera::New(&w.scene);
        w.camera->Enabled = c.firstEnabled;
        second->Enabled = c.secondEnabled;
        second->Visible = c.secondVisible;
        auto probe = MakeProbe(w.layer.get(), 10, 10);
        for (int i = 0; i < 4; ++i) w.scene.Update();
        EXPECT_EQ(probe->updates, c.expected);
    }
}

TEST(SceneUpdate, LayersAndTaskManagersDecideWhoUpdates) {
    World w;
    auto hidden = sg::Layer::New(&w.scene);
    hidden->Visible = false;
    auto off = sg::Layer::New(&w.scene);
    off->Enabled = false;
    auto inHidden = MakeProbe(hidden.get(), 10, 10);
    auto inOff = MakeProbe(off.get(), 10, 10);
    auto inScene = MakeProbe(w.layer.get(), 10, 10);
    inScene->TaskManager(w.scene.TaskManager);  // updated by the scene, not the layer
    auto untagged = MakeProbe(w.layer.get(), 10, 10);
    untagged->TaskManager(nullptr);
    auto outOfView = MakeProbe(w.layer.get(), 20000, 10);
    for (int i = 0; i < 4; ++i) w.scene.Update();
    EXPECT_EQ(inHidden->updates, 3);
    EXPECT_EQ(inOff->updates, 0);
    EXPECT_EQ(inScene->updates, 3);
    EXPECT_EQ(untagged->updates, 0);
    EXPECT_EQ(outOfView->updates, 0);
    w.camera->X(19000);
    w.scene.Update();
    EXPECT_EQ(outOfView->updates, 1);
}

TEST(SceneUpdate, HaltedClockFollowsTheStamps) {
    World w;
    auto pausable = MakeProbe(w.layer.get(), 10, 10);
    auto steady = MakeProbe(w.layer.get(), 20, 10);
    steady->Pausable = false;
    auto task = std::make_shared<Counter>();
    task->Pausable = false;
    task->TaskManager(w.scene.TaskManager);
    for (int i = 0; i < 3; ++i) w.scene.Update();
    ASSERT_EQ(pausable->updates, 2);
    ASSERT_EQ(steady->updates, 2);
    const int tasksBefore = task->updates;

    kestrum::framework::SetTasksPaused(true);
    for (int i = 0; i < 10; ++i) w.scene.Update();
    EXPECT_EQ(w.scene.FrameNumber, 3);
    EXPECT_FLOAT_EQ(w.scene.Time, 60);
    EXPECT_EQ(pausable->updates, 2);
    // The stamp test comes first: the stamp of the first halted frame is new,
    // so a non-pausable object gets exactly one more update, then none.
    EXPECT_EQ(steady->updates, 3);
    EXPECT_EQ(task->updates, tasksBefore + 10);

    kestrum::framework::SetTasksPaused(false);
    kestrum::framework::SetTasksFrozen(true);
    w.scene.Update();
    EXPECT_EQ(task->updates, tasksBefore + 10);
    EXPECT_EQ(w.scene.FrameNumber, 3);
}

TEST(SceneUpdate, HandlersMayRemoveObjectsDuringThePass) {
    World w;
    std::vector<std::string> log;
    auto a = MakeProbe(w.layer.get(), 10, 10, "a", &log);
    auto b = MakeProbe(w.layer.get(), 20, 10, "b", &log);
    auto c = MakeProbe(w.layer.get(), 2100, 10, "c", &log);  // culled after the remover
    w.scene.Update();
    // The remover takes c and itself out while the pass walks the list.
    struct Remover : Probe {
        std::shared_ptr<Probe> victim;
        void OnUpdate() override {
            Probe::OnUpdate();
            victim->Remove();
            Remove();
        }
    };
    auto remover = std::make_shared<Remover>();
    remover->victim = c;
    remover->Layer(w.layer.get());
    remover->TaskManager(w.layer->TaskManager);
    w.scene.Update();
    EXPECT_EQ(a->updates, 1);
    EXPECT_EQ(b->updates, 1);
    EXPECT_EQ(remover->updates, 1);
    EXPECT_EQ(c->updates, 0);
    EXPECT_EQ(w.layer->CountLayerObjects(), 2);
    w.scene.Update();
    EXPECT_EQ(remover->updates, 1);
}

TEST(SceneUpdate, InputIsPolledOnlyWhileEnabled) {
    World w;
    platform::Mouse().Reset();
    platform::Mouse().SetButton(1, true);
    w.scene.Update();
    EXPECT_TRUE(w.scene.MouseHit(1));
    auto probe = MakeProbe(w.layer.get(), 10, 10);
    EXPECT_TRUE(probe->MouseHit(1));
    EXPECT_TRUE(probe->MouseDown(1));
    EXPECT_FALSE(probe->MouseHit(7));
    w.scene.Enabled = false;
    w.scene.Update();
    EXPECT_TRUE(w.scene.MouseHit(1));  // kept: no polling
    EXPECT_EQ(w.scene.FrameNumber, 1);
    w.scene.Enabled = true;
    w.scene.Update();
    EXPECT_FALSE(w.scene.MouseHit(1));
    EXPECT_TRUE(w.scene.MouseDown(1));
    platform::Mouse().FrameDone();
    platform::Mouse().SetButton(1, false);
    w.scene.Update();
    EXPECT_TRUE(probe->MouseReleased(1));
    platform::Mouse().Reset();
}

TEST(SceneUpdate, LookupsOutsideTheListsGiveNull) {
    World w;
    w.camera->Name = "main";
    EXPECT_EQ(w.scene.GetCamera(0), w.camera);
    EXPECT_EQ(w.scene.GetCamera(1), nullptr);
    EXPECT_EQ(w.scene.GetCamera(-3), nullptr);
    EXPECT_EQ(w.scene.GetCamera("main"), w.camera);
    EXPECT_EQ(w.scene.GetCamera(""), nullptr);
    EXPECT_FALSE(w.scene.GetObject("nothing"));
    w.camera->Remove();
    EXPECT_TRUE(w.scene.Cameras.Empty());
    EXPECT_EQ(w.camera->VirtualWidth(), 0);
    EXPECT_EQ(w.camera->GetMouseLocation(w.layer.get()), (platform::Vec2f{}));
}
