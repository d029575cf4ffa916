#include "kestrum-gui/guiobject.h"

#include <gtest/gtest.h>

#include <numbers>

#include "guitest.h"
#include "kestrum-framework/message.h"
#include "kestrum-gui/guigroup.h"
#include "kestrum-gui/guilayer.h"

namespace {

using namespace kestrum::gui;
using guitest::GuiTest;

std::shared_ptr<GuiObject> Box(float x, float y, float w, float h) {
    auto widget = std::make_shared<GuiObject>();
    widget->X(x);
    widget->Y(y);
    widget->Width(w);
    widget->Height(h);
    return widget;
}

class GuiObjectTest : public GuiTest {};

TEST_F(GuiObjectTest, AWidgetBelongsToOneLayerOrOneGroup) {
    auto group = GuiGroup::New(layer.get());
    auto widget = Box(0, 0, 10, 10);
    widget->Layer(layer.get());
    ASSERT_EQ(layer->Objects.Length(), 2);

    widget->Group(group);
    EXPECT_EQ(layer->Objects.Length(), 1);
    EXPECT_EQ(GuiObjectTestAccess::Layer_(*widget), nullptr);
    EXPECT_EQ(widget->Layer(), layer.get());
    EXPECT_EQ(widget->Group(), group);

    auto inner = GuiGroup::New(group);
    auto member = Box(0, 0, 1, 1);
    member->Group(inner);
    EXPECT_EQ(member->Groups(), (std::vector<std::shared_ptr<GuiGroup>>{inner, group}));
    EXPECT_EQ(member->OutermostGroup(), group);
    EXPECT_EQ(member->Layer(), layer.get());

    widget->GroupInsert(group, 0);
    EXPECT_EQ(group->Members[0], widget);
    EXPECT_EQ(group->Members.Length(), 2);

    widget->Layer(layer.get());
    EXPECT_EQ(group->Members.Length(), 1);
    EXPECT_EQ(widget->Group(), nullptr);
    EXPECT_EQ(layer->Objects.Length(), 2);
}

TEST_F(GuiObjectTest, RemoveHonoursTattoosAndClearsTheCurrentObject) {
    auto plain = Box(100, 100, 50, 50);
    plain->Layer(layer.get());
    Frame(100, 100);
    ASSERT_EQ(layer->Current, plain);
    plain->Remove();
    EXPECT_EQ(layer->Current, nullptr);
    EXPECT_EQ(layer->Objects.Length(), 0);

    auto tattooed = Box(0, 0, 1, 1);
    tattooed->Tattooed = true;
    tattooed->Layer(layer.get());
    tattooed->Remove();
    EXPECT_TRUE(tattooed->Enabled());
    EXPECT_EQ(layer->Objects.Length(), 1);
    tattooed->DisableOnRemove = true;
    tattooed->Remove();
    EXPECT_FALSE(tattooed->Enabled());
    EXPECT_EQ(layer->Objects.Length(), 1);
}

TEST_F(GuiObjectTest, AClosedDialogIsFreed) {
    std::weak_ptr<GuiGroup> watch;
    {
        auto dialog = GuiGroup::New(layer.get());
        auto button = Box(0, 0, 10, 10);
        button->Group(dialog);
        watch = dialog;
        dialog->Remove();
    }
    EXPECT_TRUE(watch.expired());
}

TEST_F(GuiObjectTest, PointInsideTable) {
    auto scaled = GuiGroup::New(layer.get());
    scaled->Handle = {0, 0};
    scaled->ScaleX = scaled->ScaleY = 2;
    auto scaledMember = Box(50, 50, 10, 10);
    scaledMember->Group(scaled);

    auto scrolled = GuiGroup::New(layer.get());
    scrolled->Handle = {0, 0};
    scrolled->X(300);
    scrolled->ScrollY = 100;
    auto scrolledMember = Box(20, 150, 10, 10);
    scrolledMember->Group(scrolled);

    auto moved = GuiGroup::New(layer.get());
    moved->X(500);
    moved->Y(300);
    moved->Width(100);
    moved->Height(100);
    moved->Rotation = std::numbers::pi_v<float> / 2;
    auto movedMember = Box(50, 0, 20, 10);  // top centre of the group
    movedMember->Group(moved);

    auto plain = Box(200, 100, 100, 40);
    plain->Layer(layer.get());
    auto rotated = Box(200, 400, 100, 40);
    rotated->Rotation = std::numbers::pi_v<float> / 2;
    rotated->Layer(layer.get());
    auto clipper = Box(200, 100, 20, 20);
    auto clipped = Box(200, 100, 100, 40);
    clipped->ClipParent = clipper;
    clipped->Layer(layer.get());
    clipper->Layer(layer.get());
    auto loose = Box(0, 0, 1000, 1000);

    struct Case {
        const char* name;
        std::shared_ptr<GuiObject> widget;
        float x, y;
        bool inside;
    } cases[] = {
        {"top-left edge counts", plain, 150, 80, true},
        {"bottom-right edge counts", plain, 250, 120, true},
        {"left of the edge", plain, 149.5f, 100, false},
        {"rotated: along its length, now vertical", rotated, 215, 445, true},
        {"rotated: its old width is out", rotated, 245, 400, false},
        {"scaled group: member at twice its place", scaledMember, 109, 109, true},
        {"scaled group: member at twice its size", scaledMember, 91, 91, true},
        {"scaled group: beyond", scaledMember, 111, 100, false},
        {"scrolled group: 100 units higher", scrolledMember, 320, 50, true},
        {"scrolled group: where its y says", scrolledMember, 320, 150, false},
        {"turned group: member turned about the group's centre", movedMember, 550, 300, true},
        {"turned group: member's unturned place", movedMember, 500, 250, false},
        {"clip parent: inside both", clipped, 205, 105, true},
        {"clip parent: outside the clip", clipped, 240, 100, false},
        {"no layer", loose, 10, 10, false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.widget->PointInside(c.x, c.y), c.inside) << c.name;
}

TEST_F(GuiObjectTest, PointInsideFollowsTheLayersVirtualScale) {
    layer->SetVirtualWidth(568);  // 2 window pixels per unit
    auto widget = Box(100, 100, 20, 20);
    widget->Layer(layer.get());
    EXPECT_TRUE(widget->PointInside(platform::Vec2f{218, 218}));
    EXPECT_FALSE(widget->PointInside(platform::Vec2f{100, 100}));
}

TEST_F(GuiObjectTest, RenderStateTable) {
    auto group = GuiGroup::New(layer.get());
    auto widget = Box(0, 0, 10, 10);
    widget->Group(group);
    const std::vector<int> withActive{0, 1, 2, 3, 4};
    struct Case {
        const char* name;
        bool groupGhosted, ghosted, down, over, focused;
        std::vector<int> allowed;
        int expect;
    } cases[] = {
        {"idle", false, false, false, false, false, {0, 2, 3, 4}, GuiState::Normal},
        {"over", false, false, false, true, false, {0, 2, 3, 4}, GuiState::Over},
        {"down beats over", false, false, true, true, false, {0, 2, 3, 4}, GuiState::Down},
        {"ghosted beats down", false, true, true, false, false, {0, 2, 3, 4}, GuiState::Ghosted},
        {"a ghosted group ghosts its members", true, false, false, true, false, {0, 2, 3, 4}, GuiState::Ghosted},
        {"ghosted but not allowed", false, true, false, false, false, {0, 2, 3}, GuiState::Normal},
        {"focused without the active state", false, false, false, false, true, {0, 2, 3, 4}, GuiState::Normal},
        {"focused with the active state", false, false, false, false, true, withActive, GuiState::Active},
        {"down, no down state, focused", false, false, true, false, true, {0, 1}, GuiState::Active},
        {"over not allowed", false, false, false, true, false, {0}, GuiState::Normal},
        {"no states at all", false, false, true, true, false, {}, GuiState::Normal},
    };
    for (const Case& c : cases) {
        group->Ghosted = c.groupGhosted;
        widget->Ghosted = c.ghosted;
        widget->Down = c.down;
        widget->MouseOver = c.over;
        widget->AllowedStates = c.allowed;
        FocusedObject = c.focused ? std::weak_ptr<GuiObject>(widget) : std::weak_ptr<GuiObject>();
        EXPECT_EQ(widget->RenderState(), c.expect) << c.name;
    }
}

TEST_F(GuiObjectTest, BrightnessMultipliesGroupAndLayerColours) {
    auto outer = GuiGroup::New(layer.get());
    outer->Color = {0.5f, 1, 1, 1};
    auto inner = GuiGroup::New(outer);
    inner->Color = {1, 0.5f, 1, 1};
    auto widget = Box(0, 0, 1, 1);
    widget->Group(inner);
    layer->Color = {1, 1, 0.5f, 1};
    EXPECT_EQ(widget->Brightness({1, 1, 1, 1}), (platform::Color{0.5f, 0.5f, 0.5f, 1}));
    layer->Color = {0, 0, 0, 0};
    EXPECT_EQ(widget->Brightness({1, 1, 1, 0.5f}), (platform::Color{0.5f, 0.5f, 1, 0.5f}));
}

TEST_F(GuiObjectTest, MessagesNameThePathAndStayBounded) {
    using kestrum::framework::Message;
    auto menu = GuiGroup::New(layer.get());
    menu->Name = "menu";
    auto unnamed = GuiGroup::New(menu);
    auto ok = Box(0, 0, 1, 1);
    ok->Name = "ok";
    ok->Group(unnamed);

    ok->SendMessage("Hit");
    EXPECT_TRUE(Message::Contains("menu|ok=Hit", ok.get()));
    ok->SendMessage("Hit");
    EXPECT_EQ(Message::Count(), 1);

    // A renamed widget's newer message replaces its older one for the event.
    ok->Name = "yes";
    ok->SendMessage("Hit");
    EXPECT_EQ(Message::Count(), 1);
    EXPECT_TRUE(Message::Contains("menu|yes=Hit", ok.get()));

    auto nameless = Box(0, 0, 1, 1);
    nameless->Layer(layer.get());
    nameless->SendMessage("Hit");
    ok->SendMessage("");
    EXPECT_EQ(Message::Count(), 1);

    // A freed widget takes its messages with it.
    ok->SendMessage("Released");
    ok->Remove();
    ok.reset();
    EXPECT_EQ(Message::Count(), 0);
}

}  // namespace
