#include "kestrum-gui/guiwidgets.h"

#include <algorithm>

#include "kestrum-framework/gfx.h"
#include "kestrum-gui/guilayer.h"

namespace kestrum::gui {

namespace {

// The image of record (0, 0), replaced by that of (state, 0) when it has one.
std::shared_ptr<platform::Image> StateImage(framework::ImageSet& set, int state) {
    std::shared_ptr<platform::Image> image = set.DrawData(0, 0)->Image;
    if (auto own = set.DrawData(state, 0)->Image) image = own;
    return image;
}

// Moves a widget to the end of its own list (drawn last, on top).
void BringToTop(GuiObject& widget) {
    if (auto group = widget.Group()) {
        widget.Group(group);
    } else if (GuiLayer* layer = widget.Layer()) {
        widget.Layer(layer);
    }
}

}  // namespace

void GuiPanel::Draw(platform::Canvas& canvas) {
    DrawSurface_(canvas);
    if (Frame >= 0) {
        const int state = RenderState();
        if (auto image = StateImage(Header, state)) {
            canvas.PushMatrix();
            ApplyDrawData_(canvas, *Header.DrawData(state, Frame));
            framework::Draw9Patch(canvas, image, Header.Borders, 0, 0, Header.Width(), Header.Height(), 0, ScaleX,
                                  ScaleY, 0, 0);
            canvas.PopMatrix();
        }
        if (!Title.Text.empty() && Title.Font) {
            canvas.PushMatrix();
            ApplyDrawData_(canvas, *Title.DrawData(state, Frame));
            canvas.Font(Title.Font);
            canvas.Scale(ScaleX, ScaleY);
            canvas.DrawText(Title.Text, Title.OffsetX(), Title.OffsetY(), 0, 0);
            canvas.PopMatrix();
        }
    }
    DrawContent_(canvas);
    DrawOverlays_(canvas);
}

void GuiTabber::SetDocument(int index) {
    for (int i = 0; i < static_cast<int>(Documents.size()); ++i) {
        const auto& document = Documents[static_cast<std::size_t>(i)];
        const std::shared_ptr<Tab> tab = i < static_cast<int>(Tabs.size()) ? Tabs[static_cast<std::size_t>(i)] : nullptr;
        if (i == index) {
            if (document) {
                document->Enabled(true);
                BringToTop(*document);
            }
            if (tab) {
                BringToTop(*tab);
                tab->Frame = 0;
            }
        } else {
            if (document) document->Enabled(false);
            if (tab) tab->Frame = 1;
        }
    }
}

int GuiTabber::Document() const {
    for (int i = 0; i < static_cast<int>(Documents.size()); ++i) {
        const auto& document = Documents[static_cast<std::size_t>(i)];
        if (document && document->Enabled()) return i;
    }
    return -1;
}

std::shared_ptr<GuiGroup> GuiTabber::GetDocument(int index) const {
    if (index < 0 || index >= static_cast<int>(Documents.size())) return nullptr;
    return Documents[static_cast<std::size_t>(index)];
}

std::string GuiTabber::GetDocumentName(int index) const {
    if (index < 0 || index >= static_cast<int>(Tabs.size()) || !Tabs[static_cast<std::size_t>(index)]) return "";
    return Tabs[static_cast<std::size_t>(index)]->Name;
}

std::vector<std::string> GuiTabber::GetDocumentNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < static_cast<int>(Documents.size()); ++i) names.push_back(GetDocumentName(i));
    return names;
}

void GuiTabber::Update_() {
    UpdateMembers_();
    const std::vector<std::shared_ptr<Tab>> tabs = Tabs;
    for (int i = 0; i < static_cast<int>(tabs.size()); ++i) {
        if (tabs[static_cast<std::size_t>(i)] && tabs[static_cast<std::size_t>(i)]->Released) SetDocument(i);
    }
}

void GuiGroup::Closer::OnReleased() {
    if (auto target = Target.lock()) target->Remove();
}

GuiRectangle::GuiRectangle(int width, int height) {
    Width_ = static_cast<float>(width);
    Height_ = static_cast<float>(height);
}

std::shared_ptr<GuiRectangle> GuiRectangle::New(const std::shared_ptr<GuiGroup>& group, int width, int height) {
    auto rectangle = std::make_shared<GuiRectangle>(width, height);
    rectangle->Group(group);
    return rectangle;
}

std::shared_ptr<GuiRectangle> GuiRectangle::New(const std::shared_ptr<GuiGroup>& group) { return New(group, 0, 0); }

std::shared_ptr<GuiRectangle> GuiRectangle::New(GuiLayer* layer, int width, int height) {
    auto rectangle = std::make_shared<GuiRectangle>(width, height);
    rectangle->Layer(layer);
    return rectangle;
}

std::shared_ptr<GuiRectangle> GuiRectangle::New(GuiLayer* layer) { return New(layer, 0, 0); }

void GuiRectangle::Draw(platform::Canvas& canvas) {
    const float w = Width_;
    const float h = Height_;
    canvas.PushMatrix();
    canvas.Translate(X(), Y());
    canvas.Rotate(-Rotation);
    canvas.Scale(ScaleX, ScaleY);
    canvas.Translate(-Handle.x * w, -Handle.y * h);
    canvas.BlendMode(BlendMode);
    canvas.Color(Brightness(Color));
    const float b = static_cast<float>(BorderWidth);
    if (BorderWidth == 0) {
        canvas.DrawRect(0, 0, w, h);
    } else {
        canvas.DrawRect(0, 0, w, b);
        canvas.DrawRect(0, b, b, h - 2 * b);
        canvas.DrawRect(0, h - b, w, b);
        canvas.DrawRect(w - b, b, b, h - 2 * b);
    }
    canvas.PopMatrix();
    if (EditorSelected_()) DrawSelection_(canvas);
}

float GuiHProgressBar::FillWidth() const {
    const float barWidth = Bar.Width();
    // A bar without a positive maximum has no share to show.
    if (Maximum <= 0) return 0;
    const float fill = static_cast<float>(Value) * barWidth / static_cast<float>(Maximum);
    return std::clamp(fill, 0.0f, barWidth);
}

void GuiHProgressBar::Draw(platform::Canvas& canvas) {
    if (Frame < 0) return;
    const int state = RenderState();
    if (auto track = StateImage(Background, state)) {
        canvas.PushMatrix();
        ApplyDrawData_(canvas, *Background.DrawData(state, Frame));
        framework::Draw9Patch(canvas, track, Background.Borders, 0, 0, Width(), Height(), 0, ScaleX, ScaleY, 0, 0);
        canvas.PopMatrix();
    }
    auto bar = StateImage(Bar, state);
    if (!bar) return;
    const float fill = FillWidth();
    const float h = Bar.Height();
    canvas.PushMatrix();
    ApplyDrawData_(canvas, *Bar.DrawData(state, 0));
    Bar.ApplyOffset(canvas);
    if (Bar.Borders.size() == 36) {
        if (fill > 0) framework::Draw9Patch(canvas, bar, Bar.Borders, 0, 0, fill, h, 0, ScaleX, ScaleY, 0, 0);
    } else {
        canvas.Scale(ScaleX, ScaleY);
        const float srcWidth = static_cast<float>(static_cast<int>(fill));
        const float srcHeight = static_cast<float>(static_cast<int>(h));
        if (srcWidth > 0 && srcHeight > 0) canvas.DrawRect(0, 0, fill, h, *bar, 0, 0, srcWidth, srcHeight);
    }
    canvas.PopMatrix();
    DrawOverlays_(canvas);
}

}  // namespace kestrum::gui
