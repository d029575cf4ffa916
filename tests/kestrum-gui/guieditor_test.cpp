// Layout blocks, snapshots, the layout file loader and the layout editor.
#include <gtest/gtest.h>

#include <fstream>

#include "guitest.h"
#include "kestrum-gui/guigroup.h"
#include "kestrum-gui/guiimage.h"
#include "kestrum-gui/guilayer.h"
#include "kestrum-gui/guiloader.h"
#include "support/testsupport.h"

namespace {

using namespace kestrum::gui;
using guitest::GuiTest;

std::shared_ptr<GuiObject> Named(GuiLayer* layer, const std::string& name, float x = 0, float y = 0) {
    auto widget = std::make_shared<GuiObject>();
    widget->Name = name;
    widget->X(x);
    widget->Y(y);
    widget->Width(20);
    widget->Height(20);
    widget->Layer(layer);
    return widget;
}

std::string WriteFile(const std::string& text) {
    const std::string path = testsupport::TempDir() + "skin.txt";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

class GuiEditorTest : public GuiTest {};

TEST_F(GuiEditorTest, SnapshotsOfWidgetsGroupsAndLayers) {
    auto ok = Named(layer.get(), "ok", 100, 0);
    EXPECT_EQ(ok->Snapshot(), "name=ok\nx=100\n");
    auto help = Named(layer.get(), "help");
    help->Enabled(false);
    EXPECT_EQ(help->Snapshot(), "name=help\nenabled=False\n");
    ok->Y(10.5f);
    EXPECT_EQ(ok->Snapshot(), "name=ok\nx=100\ny=10.5\n");

    auto menu = GuiGroup::New(layer.get());
    menu->Name = "menu";
    auto a = Named(nullptr, "a", 1, 2);
    a->Group(menu);
    auto unnamed = GuiGroup::New(menu);
    auto hidden = Named(nullptr, "hidden", 3, 3);
    hidden->Group(unnamed);
    auto b = Named(nullptr, "b", 0, 4);
    b->Group(menu);
    EXPECT_EQ(menu->Snapshot(), "name=menu\n\nname=a\nx=1\ny=2\n\nname=b\ny=4\n");

    EXPECT_EQ(layer->Snapshot(), "") << "an unnamed layer writes nothing";
    layer->Name = "root";
    layer->X = 5;
    EXPECT_EQ(layer->Snapshot(), "name=root\nx=5\n\nname=ok\nx=100\ny=10.5\n\nname=help\nenabled=False\n\n" +
                                     menu->Snapshot());
}

TEST_F(GuiEditorTest, ApplyConfigChangesOnlyTheGivenKeys) {
    auto widget = Named(layer.get(), "w", 5, 6);
    widget->Z = 3;
    kestrum::framework::Config block;
    block.Parse("X=\"100\"");
    widget->ApplyConfig(block);
    EXPECT_EQ(widget->X(), 100);
    EXPECT_EQ(widget->Y(), 6);
    EXPECT_EQ(widget->Z, 3);
    EXPECT_EQ(widget->Name, "w");
    EXPECT_TRUE(widget->Enabled());

    auto group = GuiGroup::New(layer.get());
    auto member = Named(nullptr, "m");
    member->Group(group);
    member->Released = true;
    block.Parse("enabled=FALSE\nz=-2");
    group->ApplyConfig(block);
    EXPECT_FALSE(group->Enabled());
    EXPECT_FALSE(member->Released);
    EXPECT_EQ(group->Z, -2);
}

TEST_F(GuiEditorTest, LoaderBlocks) {
    auto sound = Named(layer.get(), "sound");
    auto music = Named(layer.get(), "music");
    auto dialog = GuiGroup::New(layer.get());
    auto member = Named(nullptr, "yes", 10, 10);
    member->Group(dialog);
    dialog->Name = "dialog";

    const std::string text =
        "\r\n\r\nNAME=sound\r\nX = \"100\"\r\ny=50\r\n\r\n"
        "name=music\nenabled=false\n \nname=sound\nx=999\n\n"  // a line with a blank does not separate
        "x=7\n\n"                                              // no name: skipped
        "name=nobody\nx=1\n\n"
        "name=dialog\nx=300\n\n\n";
    GuiLoader loader(WriteFile(text), *layer);
    ASSERT_EQ(loader.Blocks.size(), 5u);
    EXPECT_EQ(sound->X(), 100);
    EXPECT_EQ(sound->Y(), 50);
    EXPECT_FALSE(music->Enabled());
    EXPECT_EQ(music->X(), 999) << "the merged block applies to its first name only";
    EXPECT_EQ(music->Name, "music");
    EXPECT_EQ(dialog->X(), 300);
    EXPECT_EQ(member->X(), 10) << "members move with their group";

    GuiLoader missing("no/such/skin.txt", *layer);
    EXPECT_EQ(missing.Blocks.size(), 1u);
    EXPECT_EQ(sound->X(), 100);
}

TEST_F(GuiEditorTest, SnapshotsRoundTripThroughTheLoader) {
    layer->Name = "root";
    auto a = Named(layer.get(), "a", 12.25f, -3);
    auto b = Named(layer.get(), "b", 0, 40);
    b->Enabled(false);
    auto group = GuiGroup::New(layer.get());
    group->Name = "g";
    auto inner = Named(nullptr, "inner", 7, 8);
    inner->Group(group);
    const std::string saved = layer->Snapshot();

    a->X(0);
    a->Y(0);
    b->Enabled(true);
    b->Y(0);
    inner->X(0);
    GuiLoader(WriteFile(saved), *layer);
    EXPECT_EQ(a->X(), 12.25f);
    EXPECT_EQ(a->Y(), -3);
    EXPECT_FALSE(b->Enabled());
    EXPECT_EQ(b->Y(), 40);
    EXPECT_EQ(inner->X(), 7);
    EXPECT_EQ(layer->Snapshot(), saved);
}

TEST_F(GuiEditorTest, TheEditorSelectsMovesAndTogglesAPressedWidget) {
    layer->EditorMode = true;
    auto button = std::make_shared<GuiButton>();
    button->Name = "ok";
    button->Width(40);
    button->Height(20);
    button->X(100);
    button->Y(100);
    button->Layer(layer.get());
    Frame(100, 100);
    Frame(100, 100, true);
    EXPECT_EQ(layer->Dragged, button) << "selected though not draggable";
    Frame(120, 90, true);
    EXPECT_EQ(button->X(), 120);
    EXPECT_EQ(button->Y(), 90);
    layer->SendKeyEvent({platform::KeyEvent::KeyDown, platform::Key::Left, 0, ""});
    layer->SendKeyEvent({platform::KeyEvent::KeyRepeat, platform::Key::Left, 0, ""});
    layer->SendKeyEvent({platform::KeyEvent::KeyRepeat, platform::Key::Down, 0, ""});
    EXPECT_EQ(button->X(), 118);
    EXPECT_EQ(button->Y(), 91);
    layer->SendKeyEvent({platform::KeyEvent::KeyRepeat, 't', 0, ""});
    EXPECT_TRUE(button->Enabled());
    layer->SendKeyEvent({platform::KeyEvent::KeyDown, 't', 0, ""});
    EXPECT_FALSE(button->Enabled());
    button->Enabled(true);
    Frame(118, 91, false);
    Frame(118, 91, false);
    EXPECT_EQ(layer->Dragged, nullptr);
    layer->SendKeyEvent({platform::KeyEvent::KeyDown, platform::Key::Left, 0, ""});
    EXPECT_EQ(button->X(), 118);
}

TEST_F(GuiEditorTest, TheEditorBarSitsAtTheBottomOfTheWindow) {
    testsupport::App();
    GuiLayer small(platform::Vec2i{64, 64});
    small.EditorMode = true;
    auto target = testsupport::MakeTarget(64, 64);
    auto font = kestrum::framework::NullFont(nullptr);
    target.canvas->Font(font);
    small.Draw(*target.canvas);
    const int barTop = 64 - static_cast<int>(font->Height() * 1.25f);
    const std::uint32_t bar = target.Pixel(32, 63);
    EXPECT_TRUE(testsupport::Near(bar, {0, 0.25f, 0, 1}, 4)) << testsupport::Describe(bar);
    EXPECT_TRUE(testsupport::Near(target.Pixel(32, barTop - 2), {0, 0, 0, 1}));
    EXPECT_EQ(target.canvas->Font(), font) << "the canvas font is put back";
}

}  // namespace
