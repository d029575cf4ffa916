// Module start-up and the lifetime rules between layers, widgets and globals.
#include "kestrum-gui/gui.h"

#include <gtest/gtest.h>

#include "guitest.h"
#include "kestrum-gui/guigroup.h"
#include "kestrum-gui/guilayer.h"

namespace {

using namespace kestrum::gui;
using guitest::GuiTest;

class GuiModuleTest : public GuiTest {};

TEST_F(GuiModuleTest, ASecondStartUpKeepsTheGlobals) {
    const auto cache = GuiContent;
    ASSERT_NE(cache, nullptr);
    ModalDimColor = {0.25f, 0.25f, 0.25f, 1};
    InitGuiModule();
    EXPECT_EQ(GuiContent, cache);
    EXPECT_EQ(ModalDimColor, (platform::Color{0.25f, 0.25f, 0.25f, 1}));
    ModalDimColor = {0.5f, 0.5f, 0.5f, 1};
}

TEST_F(GuiModuleTest, GlobalsAndBackReferencesDoNotKeepWidgetsOrLayersAlive) {
    auto widget = std::make_shared<GuiObject>();
    auto group = GuiGroup::New(layer.get());
    widget->Layer(layer.get());
    FocusedObject = widget;
    std::weak_ptr<GuiObject> watch = widget;
    widget.reset();
    layer.reset();  // the layer goes first: its widgets forget it
    EXPECT_EQ(group->Layer(), nullptr);
    EXPECT_TRUE(watch.expired());
    EXPECT_TRUE(FocusedObject.expired());
}

}  // namespace
