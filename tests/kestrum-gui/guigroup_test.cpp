#include "kestrum-gui/guigroup.h"

#include <gtest/gtest.h>

#include "guitest.h"
#include "kestrum-gui/guilayer.h"

namespace {

using namespace kestrum::gui;
using guitest::GuiTest;

std::shared_ptr<GuiObject> Member(const std::shared_ptr<GuiGroup>& group, float x, float y, float w, float h) {
    auto widget = std::make_shared<GuiObject>();
    widget->X(x);
    widget->Y(y);
    widget->Width(w);
    widget->Height(h);
    widget->Group(group);
    return widget;
}

class GuiGroupTest : public GuiTest {};

TEST_F(GuiGroupTest, ContentExtentTable) {
    struct Case {
        const char* name;
        std::vector<std::array<float, 4>> members;  // x, y, w, h
        int disabled;                                // index of a disabled member, -1 for none
        float width, height;
    } cases[] = {
        {"empty", {}, -1, 0, 0},
        {"two members around the origin", {{-10, 0, 20, 20}, {100, 0, 20, 20}}, -1, 130, 20},
        {"a left edge at -0.5 keeps the minimum at 0", {{9.5f, 5, 20, 10}}, -1, 19, 10},
        {"fractions dropped at the far edge", {{10.7f, 10, 1, 1}}, -1, 11, 10},
        {"disabled members do not count", {{-10, 0, 20, 20}, {100, 0, 20, 20}}, 1, 20, 20},
        {"all disabled", {{100, 100, 20, 20}}, 0, 0, 0},
    };
    for (const Case& c : cases) {
        auto group = std::make_shared<GuiGroup>();
        for (std::size_t i = 0; i < c.members.size(); ++i) {
            auto m = Member(group, c.members[i][0], c.members[i][1], c.members[i][2], c.members[i][3]);
            if (static_cast<int>(i) == c.disabled) m->Enabled(false);
        }
        EXPECT_EQ(group->GetContentWidth(), c.width) << c.name;
        EXPECT_EQ(group->GetContentHeight(), c.height) << c.name;
    }
}

TEST_F(GuiGroupTest, DisablingClearsTheDirectMembersFlagsOnly) {
    auto group = GuiGroup::New(layer.get());
    auto direct = Member(group, 0, 0, 1, 1);
    auto nested = GuiGroup::New(group);
    auto deep = Member(nested, 0, 0, 1, 1);
    for (auto* w : {direct.get(), deep.get()}) {
        w->Released = w->Hit = w->Entered = w->Left = w->MouseOver = true;
    }
    group->Enabled(false);
    EXPECT_FALSE(direct->Released || direct->Hit || direct->Entered || direct->Left || direct->MouseOver);
    EXPECT_TRUE(deep->Released && deep->MouseOver);
    EXPECT_FALSE(group->Enabled());
}

TEST_F(GuiGroupTest, GetObjectSearchesDepthFirst) {
    auto group = GuiGroup::New(layer.get());
    auto nested = GuiGroup::New(group);
    auto deep = Member(nested, 0, 0, 1, 1);
    auto later = Member(group, 0, 0, 1, 1);
    deep->Name = later->Name = "twin";
    group->Name = "outer";
    EXPECT_EQ(layer->GetObject("twin"), deep);
    EXPECT_EQ(layer->GetObject("outer"), group);
    EXPECT_EQ(layer->GetObject("Twin"), nullptr);
}

TEST_F(GuiGroupTest, ClearForgetsMembersWithoutTellingThem) {
    auto group = GuiGroup::New(layer.get());
    auto member = Member(group, 50, 50, 10, 10);
    group->Clear();
    EXPECT_EQ(group->GetContentHeight(), 0);
    EXPECT_EQ(member->Group(), group);
}

// Hooks that change the member list while the group walks it.
class SelfRemover : public GuiObject {
public:
    void OnUpdate() override { Remove(); }
};

class Adder : public GuiObject {
public:
    void OnUpdate() override {
        if (auto group = Group()) std::make_shared<GuiObject>()->Group(group);
    }
};

TEST_F(GuiGroupTest, MembersMayLeaveOrJoinDuringTheUpdate) {
    auto group = GuiGroup::New(layer.get());
    auto remover = std::make_shared<SelfRemover>();
    remover->Group(group);
    auto adder = std::make_shared<Adder>();
    adder->Group(group);
    std::weak_ptr<GuiObject> watch = remover;
    remover.reset();
    Frame(0, 0);
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(group->Members.Length(), 2);
}

}  // namespace
