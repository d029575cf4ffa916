#include "kestrum-gui/guilayer.h"

#include <gtest/gtest.h>

#include "guitest.h"
#include "kestrum-gui/guigroup.h"
#include "kestrum-gui/guiimage.h"
#include "support/testsupport.h"

namespace {

using namespace kestrum::gui;
using guitest::GuiTest;

// Counts its updates and key events.
class Counter : public GuiObject {
public:
    void Update_() override { ++internal; }
    void OnUpdate() override { ++updates; }
    void OnKeyEvent(const platform::KeyEvent&) override { ++keys; }
    int internal = 0, updates = 0, keys = 0;
};

std::shared_ptr<Counter> MakeCounter(GuiLayer* layer, float x = 0, float y = 0) {
    auto counter = std::make_shared<Counter>();
    counter->X(x);
    counter->Y(y);
    counter->Width(20);
    counter->Height(20);
    counter->Layer(layer);
    return counter;
}

class GuiLayerTest : public GuiTest {};

TEST_F(GuiLayerTest, VirtualResolution) {
    layer->SetVirtualWidth(1136);
    EXPECT_EQ(layer->VirtualScale, 1);
    EXPECT_EQ(layer->VirtualHeight(), 640);

    GuiLayer narrow(platform::Vec2i{1000, 600});
    narrow.SetVirtualHeight(200);
    EXPECT_EQ(narrow.VirtualScale, 3);
    EXPECT_EQ(narrow.VirtualWidth(), 333);

    layer->SetVirtualResolution(568, 640);
    EXPECT_EQ(layer->ScaleX, 1);
    EXPECT_EQ(layer->VirtualScale, 1);
    EXPECT_EQ(layer->ViewOffset, (platform::Vec2f{-284, 0}));
    auto widget = MakeCounter(layer.get(), 10, 10);
    Frame(294, 10);
    EXPECT_EQ(layer->Current, widget) << "the pointer maps back onto the centred content";
    EXPECT_EQ(layer->GetMouseLocation(), (platform::Vec2i{10, 10}));

    // Sizes of 0 are ignored rather than dividing by them.
    layer->SetVirtualWidth(0);
    EXPECT_EQ(layer->ScaleX, 1);
}

TEST_F(GuiLayerTest, UpdatesKeysAndModalObjects) {
    auto a = MakeCounter(layer.get());
    auto hidden = MakeCounter(layer.get());
    hidden->Visible = false;
    auto off = MakeCounter(layer.get());
    off->Enabled(false);
    Frame(500, 500);
    layer->SendKeyEvent({platform::KeyEvent::KeyDown, 'a', 0, ""});
    EXPECT_EQ(a->updates, 1);
    EXPECT_EQ(a->internal, 1);
    EXPECT_EQ(hidden->updates, 1) << "an invisible widget is still updated";
    EXPECT_EQ(hidden->keys, 1);
    EXPECT_EQ(off->updates, 0);
    EXPECT_EQ(off->keys, 0);

    layer->Modal = hidden;
    Frame(500, 500);
    EXPECT_EQ(a->updates, 1) << "only the modal object is updated";
    EXPECT_EQ(hidden->updates, 2);

    layer->Active = false;
    Frame(500, 500);
    EXPECT_EQ(hidden->updates, 2);
}

TEST_F(GuiLayerTest, DraggingMovesAndRaisesTheWidget) {
    auto dragged = MakeCounter(layer.get(), 100, 100);
    dragged->Draggable = true;
    auto other = MakeCounter(layer.get(), 300, 300);
    Frame(100, 100);
    Frame(100, 100, true);
    EXPECT_EQ(layer->Dragged, dragged);
    EXPECT_EQ(layer->Objects[1], dragged) << "drawn on top";
    Frame(110, 96, true);
    EXPECT_EQ(dragged->X(), 110);
    EXPECT_EQ(dragged->Y(), 96);
    Frame(110, 96, false);
    Frame(110, 96, false);
    EXPECT_EQ(layer->Dragged, nullptr);
    (void)other;
}

TEST_F(GuiLayerTest, ZSortDrawsSmallerZLast) {
    auto two = MakeCounter(layer.get());
    two->Z = 2;
    auto one = MakeCounter(layer.get());
    one->Z = 1;
    auto alsoTwo = MakeCounter(layer.get());
    alsoTwo->Z = 2;
    layer->ZSort();
    EXPECT_EQ(layer->Objects.Data(), (std::vector<std::shared_ptr<GuiObject>>{two, alsoTwo, one}));
}

TEST_F(GuiLayerTest, AModalObjectDimsEverythingElse) {
    testsupport::App();
    auto target = testsupport::MakeTarget(64, 32);
    auto image = guitest::MakeImage(16, 16);
    auto behind = GuiImage::New(layer.get(), image);
    behind->X(10);
    behind->Y(10);
    auto modal = GuiImage::New(layer.get(), image);
    modal->X(40);
    modal->Y(10);
    auto invisible = GuiImage::New(layer.get(), image);
    invisible->X(40);
    invisible->Y(25);
    invisible->Visible = false;
    layer->Modal = modal;
    layer->Draw(*target.canvas);
    EXPECT_TRUE(testsupport::Near(target.Pixel(10, 10), {0.5f, 0.5f, 0.5f, 1}, 4)) << testsupport::Describe(target.Pixel(10, 10));
    EXPECT_TRUE(testsupport::Near(target.Pixel(40, 10), {1, 1, 1, 1}));
    EXPECT_TRUE(testsupport::Near(target.Pixel(40, 30), {0, 0, 0, 1}));
    EXPECT_EQ(layer->Color, (platform::Color{1, 1, 1, 1})) << "the tint is put back";
}

}  // namespace
