// Helpers of the GUI toolkit's tests: a module set up once, a layer on a
// window-less view, the mouse driven frame by frame, images made in memory.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

#include "kestrum-framework/message.h"
#include "kestrum-framework/taskmanager.h"
#include "kestrum-gui/gui.h"
#include "kestrum-gui/guilayer.h"
#include "kestrum-gui/guiobject.h"
#include "platform/clock.h"
#include "platform/image.h"
#include "platform/input.h"

namespace kestrum::gui {

// Reaches the internals a test checks directly.
struct GuiObjectTestAccess {
    static GuiLayer* Layer_(const GuiObject& widget) { return widget.Layer_; }
    static void OnReleased_(GuiObject& widget) { widget.OnReleased_(); }
};

struct GuiLayerTestAccess {
    static void UpdateContextMenu_(GuiLayer& layer) { layer.UpdateContextMenu_(); }
};

}  // namespace kestrum::gui

namespace guitest {

inline const platform::Color kRed{1, 0, 0, 1};
inline const platform::Color kGreen{0, 1, 0, 1};
inline const platform::Color kBlue{0, 0, 1, 1};
inline const platform::Color kBlack{0, 0, 0, 1};

// An image of that size whose pixels stay in memory (measurable without GL).
inline std::shared_ptr<platform::Image> MakeImage(int width, int height,
                                                  platform::Color color = platform::Color::White()) {
    auto pixmap = std::make_shared<platform::Pixmap>(width, height);
    pixmap->Clear(color);
    return std::make_shared<platform::Image>(pixmap);
}

// A fixture with the module ready, a clean mouse, an unpaused task clock on
// a clock the test controls, and a 1136 × 640 layer.
class GuiTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetMillisecsSource([this] { return now; });
        kestrum::gui::InitGuiModule();
        kestrum::framework::InitTaskManagerUnit();
        kestrum::framework::Message::Clear();
        kestrum::gui::FocusedObject.reset();
        kestrum::gui::OpenMenu.reset();
        kestrum::gui::OpenSubMenu.reset();
        platform::Mouse().Reset();
        layer = std::make_unique<kestrum::gui::GuiLayer>(platform::Vec2i{1136, 640});
    }
    void TearDown() override {
        layer.reset();
        kestrum::framework::SetTasksPaused(false);
        platform::Mouse().Reset();
        platform::SetMillisecsSource({});
    }

    // One frame with the pointer at (x, y) in window coordinates and the
    // left button held or not; the frame before ends first, as the event
    // loop ends each frame before the next one's input.
    void Frame(int x, int y, bool down = false) {
        platform::Mouse().FrameDone();
        platform::Mouse().SetLocation({x, y});
        platform::Mouse().SetButton(1, down);
        now += 16;
        layer->Update();
    }

    std::int64_t now = 1000;
    std::unique_ptr<kestrum::gui::GuiLayer> layer;
};

}  // namespace guitest
