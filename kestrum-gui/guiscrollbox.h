// GuiScrollBox: a group whose members are drawn into an off-screen image of
// the box's visible size and then shown as one picture, so the content is
// cut off at the box's edges and moved inside it by the content offset.
//
// Optional sliders (one per direction) set the content offset from their
// knobs and take their thickness off the visible size. The off-screen image
// lives from frame to frame and is remade only when the visible size, in
// whole pixels, changes; a visible size below one pixel in either direction
// allocates and draws nothing.
#pragma once

#include <memory>
#include <string>

#include "kestrum-gui/guigroup.h"
#include "kestrum-gui/guislider.h"
#include "platform/canvas.h"
#include "platform/image.h"

namespace kestrum::gui {

class GuiScrollBox : public GuiGroup {
public:
    GuiScrollBox() { InitFields(); }
    // A box of that size with its off-screen image (needs a GL context).
    GuiScrollBox(int width, int height);
    static std::shared_ptr<GuiScrollBox> New(const std::shared_ptr<GuiGroup>& group, int width, int height);
    static std::shared_ptr<GuiScrollBox> New(GuiLayer* layer, int width, int height);

    // The colour the off-screen image is cleared to before each draw.
    platform::Color ClearColor{0, 0, 0, 1};
    std::shared_ptr<GuiSlider> HSlider;
    // Gap between the box and its sliders; the box places the sliders only while it is above 0.
    int SliderGap = 0;
    std::shared_ptr<GuiSlider> VSlider;
    std::unique_ptr<platform::Canvas> RenderCanvas;
    std::shared_ptr<platform::Image> RenderImage;

    void InitFields() { ClearColor = {0, 0, 0, 1}; }
    // Releases the off-screen image's GPU memory at once.
    void Discard();
    // Fills the box from a content script (guiscrollscript.cpp).
    void LoadScript(const std::string& path);

    void Draw(platform::Canvas& canvas) override;

protected:
    void Update_() override;

private:
    // Remakes the off-screen image and canvas for a size (none below 1 × 1).
    void UpdateCanvas_(int width, int height);
    // Fits the sliders to the content and takes the content offset from their knobs.
    void UpdateSliders_();
};

}  // namespace kestrum::gui
