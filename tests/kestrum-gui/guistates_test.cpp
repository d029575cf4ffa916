// The event state machine, frame by frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "guitest.h"
#include "kestrum-framework/taskmanager.h"
#include "kestrum-gui/guigroup.h"
#include "kestrum-gui/guilayer.h"
#include "kestrum-gui/guiobject.h"

namespace {

using namespace kestrum::gui;
using guitest::GuiTest;

// A widget that logs its hooks.
class Probe : public GuiObject {
public:
    Probe(std::vector<std::string>* log, std::string tag) : log_(log), tag_(std::move(tag)) {}
    void OnHit() override { Note("hit"); }
    void OnReleased_() override { Note("released_"); }
    void OnReleased() override { Note("released"); }
    void OnEntered() override { Note("entered"); }
    void OnLeft() override { Note("left"); }
    void OnRollOver() override { ++rollOvers; }
    int rollOvers = 0;

private:
    void Note(const std::string& what) { log_->push_back(tag_ + ":" + what); }
    std::vector<std::string>* log_;
    std::string tag_;
};

class GuiStatesTest : public GuiTest {
protected:
    std::shared_ptr<Probe> MakeProbe(const std::string& tag, float x, float y, float w = 100, float h = 40) {
        auto probe = std::make_shared<Probe>(&log, tag);
        probe->X(x);
        probe->Y(y);
        probe->Width(w);
        probe->Height(h);
        return probe;
    }
    std::vector<std::string> log;
};

TEST_F(GuiStatesTest, AClickSetsHitThenReleasedEachForOneFrame) {
    auto button = MakeProbe("b", 100, 100);
    button->Layer(layer.get());

    Frame(100, 100);
    EXPECT_TRUE(button->Entered);
    EXPECT_TRUE(button->MouseOver);
    EXPECT_EQ(button->rollOvers, 1);

    Frame(100, 100, true);
    EXPECT_FALSE(button->Entered);
    EXPECT_TRUE(button->Hit);
    EXPECT_TRUE(button->Down);
    EXPECT_TRUE(button->PressCaptured);

    Frame(100, 100, true);
    EXPECT_FALSE(button->Hit);
    EXPECT_TRUE(button->Down);

    Frame(100, 100, false);
    EXPECT_TRUE(button->Released);
    EXPECT_FALSE(button->Down);
    EXPECT_FALSE(button->PressCaptured);

    Frame(100, 100);
    EXPECT_FALSE(button->Released);
    EXPECT_EQ(log, (std::vector<std::string>{"b:entered", "b:hit", "b:released_", "b:released"}));
    EXPECT_EQ(button->rollOvers, 5);
}

TEST_F(GuiStatesTest, DraggingOffAndBack) {
    auto button = MakeProbe("b", 100, 100);
    button->Layer(layer.get());
    Frame(100, 100);
    Frame(100, 100, true);
    Frame(400, 400, true);  // held outside: still current, not down
    EXPECT_EQ(layer->Current, button);
    EXPECT_FALSE(button->Down);
    EXPECT_TRUE(button->MouseOver);  // kept until the widget stops being current
    Frame(400, 400, false);  // released outside
    EXPECT_FALSE(button->Released);
    EXPECT_FALSE(button->PressCaptured);
    Frame(400, 400);
    EXPECT_TRUE(button->Left);
    EXPECT_FALSE(button->MouseOver);
    EXPECT_EQ(layer->Current, nullptr);

    log.clear();
    Frame(100, 100);
    EXPECT_TRUE(button->Left) << "kept through the first frame as current again";
    Frame(100, 100, true);
    EXPECT_FALSE(button->Left);
    Frame(400, 400, true);
    Frame(100, 100, true);  // back over before the release
    EXPECT_TRUE(button->Down);
    Frame(100, 100, false);
    EXPECT_TRUE(button->Released);
}

TEST_F(GuiStatesTest, AHeldPressStarvesOtherWidgets) {
    auto first = MakeProbe("a", 100, 100);
    auto second = MakeProbe("b", 300, 100);
    first->Layer(layer.get());
    second->Layer(layer.get());
    Frame(100, 100, true);
    Frame(300, 100, true);
    EXPECT_EQ(layer->Current, first);
    EXPECT_FALSE(second->Entered);
    EXPECT_FALSE(second->MouseOver);
    Frame(300, 100, false);
    EXPECT_FALSE(first->Released);
    Frame(300, 100);
    EXPECT_EQ(layer->Current, second);
    EXPECT_TRUE(second->Entered);
    EXPECT_TRUE(first->Left);
}

TEST_F(GuiStatesTest, OverlapDisabledAndPausedWidgets) {
    auto below = MakeProbe("below", 100, 100);
    auto above = MakeProbe("above", 110, 100);
    below->Layer(layer.get());
    above->Layer(layer.get());
    Frame(105, 100);
    EXPECT_EQ(layer->Current, above) << "the later widget is on top";

    above->Enabled(false);
    Frame(105, 100);
    EXPECT_EQ(layer->Current, below) << "a disabled widget never claims";

    above->Enabled(true);
    above->Ghosted = true;
    Frame(105, 100);
    EXPECT_EQ(layer->Current, above) << "ghosting changes only the drawing";

    kestrum::framework::SetTasksPaused(true);
    Frame(105, 100);
    EXPECT_EQ(layer->Current, nullptr) << "pausable widgets sit out while paused";
    below->Pausable = false;
    Frame(105, 100);
    EXPECT_EQ(layer->Current, below);
}

TEST_F(GuiStatesTest, AWidgetTakenAwayDuringAPressReleasesTheLayer) {
    for (bool disable : {false, true}) {
        auto held = MakeProbe("held", 100, 100);
        auto other = MakeProbe("other", 300, 100);
        held->Layer(layer.get());
        other->Layer(layer.get());
        Frame(100, 100, true);
        ASSERT_EQ(layer->Current, held);
        if (disable) {
            held->Enabled(false);
        } else {
            held->Remove();
            layer->Current = held;  // as if it had been detached by moving it elsewhere
        }
        Frame(300, 100, true);
        Frame(300, 100, false);
        Frame(300, 100);
        EXPECT_EQ(layer->Current, other) << (disable ? "disabled" : "detached");
        EXPECT_FALSE(held->PressCaptured);
        EXPECT_FALSE(held->Down);
        held->Remove();
        other->Remove();
        layer->Current = nullptr;
    }
}

TEST_F(GuiStatesTest, AGroupTakenAwayDuringAPressReleasesEveryMember) {
    for (bool disable : {true, false}) {
        SCOPED_TRACE(disable ? "disabled" : "detached");
        log.clear();
        auto group = GuiGroup::New(layer.get());
        group->Handle = {0, 0};
        group->Width(400);
        group->Height(400);
        auto inner = GuiGroup::New(group);
        auto member = MakeProbe("m", 100, 100);
        member->Group(inner);
        Frame(300, 300, true);  // over the group, beside the member: every member captures the press
        ASSERT_EQ(layer->Current, group);
        ASSERT_TRUE(member->PressCaptured);
        if (disable) {
            group->Enabled(false);
        } else {
            group->Remove();
        }
        Frame(300, 300, true);
        Frame(300, 300, false);
        EXPECT_FALSE(member->PressCaptured);
        EXPECT_FALSE(member->Down);
        EXPECT_FALSE(inner->PressCaptured);

        if (disable) {
            group->Enabled(true);
        } else {
            group->Layer(layer.get());
        }
        Frame(100, 100);
        EXPECT_EQ(member->RenderState(), GuiState::Over) << "no stale pressed picture";
        Frame(100, 100, true);
        Frame(100, 100, false);
        EXPECT_EQ(log, (std::vector<std::string>{"m:entered", "m:hit", "m:released_", "m:released"}));
        group->Remove();
        layer->Current = nullptr;
    }
}

TEST_F(GuiStatesTest, AModalObjectSetDuringAPressReleasesThePressingWidget) {
    auto button = MakeProbe("b", 100, 100);
    button->Layer(layer.get());
    auto dialog = MakeProbe("dialog", 600, 300);
    dialog->Layer(layer.get());
    Frame(100, 100, true);
    ASSERT_TRUE(button->PressCaptured);
    layer->Modal = dialog;
    Frame(100, 100, true);
    EXPECT_EQ(layer->Current, dialog);
    EXPECT_FALSE(button->PressCaptured);
    EXPECT_FALSE(button->Down);
    Frame(100, 100, false);
    layer->Modal = nullptr;
    log.clear();
    Frame(100, 100, true);
    Frame(100, 100, false);
    EXPECT_EQ(log, (std::vector<std::string>{"b:hit", "b:entered", "b:released_", "b:released"}));
}

TEST_F(GuiStatesTest, GroupMembersWinOverTheirGroup) {
    auto group = GuiGroup::New(layer.get());
    group->Handle = {0, 0};
    group->Width(400);
    group->Height(400);
    auto member = MakeProbe("m", 100, 100);
    member->Group(group);
    Frame(100, 100);
    EXPECT_EQ(layer->Current, member);
    Frame(300, 300);
    EXPECT_EQ(layer->Current, group);
    group->Visible = false;
    Frame(100, 100);
    EXPECT_EQ(layer->Current, nullptr) << "an invisible group takes no pointer";
}

TEST_F(GuiStatesTest, AModalGroupCapturesEveryPressForItsMembers) {
    auto behind = MakeProbe("behind", 500, 500);
    behind->Layer(layer.get());
    auto dialog = GuiGroup::New(layer.get());
    dialog->Handle = {0, 0};
    dialog->Width(400);
    dialog->Height(200);
    auto yes = MakeProbe("yes", 100, 100);
    auto no = MakeProbe("no", 300, 100);
    yes->Group(dialog);
    no->Group(dialog);
    layer->Modal = dialog;

    Frame(500, 500, true);  // a press outside every button, over the widget behind
    EXPECT_FALSE(behind->Hit);
    EXPECT_TRUE(yes->PressCaptured);
    EXPECT_TRUE(no->PressCaptured);
    Frame(100, 100, true);
    Frame(100, 100, false);
    EXPECT_TRUE(yes->Released) << "a press anywhere released over a member counts";
    EXPECT_FALSE(no->Released);
    Frame(300, 100);
    EXPECT_TRUE(yes->Released) << "members keep their flags until read";
    EXPECT_TRUE(yes->MouseOver);
    EXPECT_FALSE(yes->Left);

    dialog->Enabled(false);
    EXPECT_FALSE(yes->Released);
    EXPECT_FALSE(yes->MouseOver);
}

}  // namespace

// A layer that did not run in the frame before (a menu switched on, a
// layer made active again) was not on screen: a press held when it runs
// again began before its widgets showed and is no click on them, whether
// the layer saw the press begin long ago or never. A press that came since
// the last frame is one.
TEST_F(GuiStatesTest, APressFromBeforeALayerRanAgainIsNoClick) {
    struct Step {
        bool runs;
        bool down;
    };
    const struct {
        const char* name;
        std::vector<Step> steps;
        std::vector<std::string> log;
    } cases[] = {
        {"held into the layer", {{false, true}, {true, true}, {true, true}, {true, false}, {true, false}}, {}},
        {"pressed as it runs again", {{false, false}, {true, true}, {true, false}}, {"b:hit", "b:released_", "b:released"}},
        {"pressed on it, let go while it idled", {{true, true}, {false, false}, {true, false}, {true, false}},
         {"b:hit"}},
        {"pressed on it, held while it idled", {{true, true}, {false, true}, {true, true}, {true, false}}, {"b:hit"}},
        {"let go and pressed again while it idled",
         {{true, true}, {false, false}, {false, true}, {true, true}, {true, false}},
         {"b:hit"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        layer = std::make_unique<GuiLayer>(platform::Vec2i{1136, 640});
        auto button = MakeProbe("b", 100, 100);
        button->Layer(layer.get());
        Frame(100, 100, false);
        log.clear();
        for (const Step& step : c.steps) {
            if (step.runs) {
                Frame(100, 100, step.down);
                continue;
            }
            platform::Mouse().FrameDone();
            platform::Mouse().SetButton(1, step.down);
        }
        std::erase(log, "b:entered");
        EXPECT_EQ(log, c.log);
        EXPECT_FALSE(button->PressCaptured);
        platform::Mouse().Reset();
    }
}
