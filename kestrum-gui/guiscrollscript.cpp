// The scroll-box content script: GuiScrollBox::LoadScript fills a box from a
// text of key=value lines. Lines set drawing state (colour, font, cursor,
// the box's clear colour) or add a widget at the cursor (a label, a text
// field word-wrapped into one label per line, an image); widgets added one
// after the other stack downwards. Keys are matched in any case with blanks
// around them ignored; values are taken as written up to a second "=".
//
// Lines whose value, font size or font is missing where one is needed are
// skipped; "\r\n" line ends read like "\n". The cursor saturates at the ends
// of the Int range, and numbers beyond it are clamped before they are used.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "kestrum-framework/assetpath.h"
#include "kestrum-framework/contentmanager.h"
#include "kestrum-framework/font.h"
#include "kestrum-framework/gfx.h"
#include "kestrum-framework/math.h"
#include "kestrum-framework/strings.h"
#include "kestrum-gui/guiimage.h"
#include "kestrum-gui/guilabel.h"
#include "kestrum-gui/guiscrollbox.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kestrum::gui {

namespace {

struct ScriptState {
    std::shared_ptr<framework::ContentManager> content = std::make_shared<framework::ContentManager>();
    platform::Color color{1, 1, 1, 1};
    std::shared_ptr<platform::Font> font;
    int x = 0;
    int y = 0;
    std::shared_ptr<GuiObject> last;
};

// A plain number (leading digits), or with "%" a share of the extent.
int Coordinate(const std::string& value, float extent) {
    if (platform::Contains(value, "%")) {
        return framework::TruncToInt(static_cast<double>(platform::ToFloat(platform::Replace(value, "%", ""))) *
                                     extent / 100);
    }
    return platform::ToInt(value);
}

// Moves a cursor coordinate by a distance, stopping at the ends of the Int range.
void Step(int& coordinate, std::int64_t distance) { coordinate = framework::SaturatingAdd(coordinate, distance); }

// Three or four components, as percentages when a "%" appears anywhere,
// else as bytes 0 to 255; any other count leaves the colour as it was.
platform::Color ParseColor(const std::string& value, platform::Color current) {
    const std::vector<std::string> parts = platform::Split(value, ",");
    if (parts.size() != 3 && parts.size() != 4) return current;
    if (platform::Contains(value, "%")) {
        std::vector<float> c;
        for (const auto& part : parts) c.push_back(platform::ToFloat(platform::Replace(part, "%", "")) / 100);
        return {c[0], c[1], c[2], parts.size() == 4 ? c[3] : 1.0f};
    }
    std::vector<int> c;
    for (const auto& part : parts) c.push_back(std::clamp(framework::TruncToInt(platform::ToFloat(part)), 0, 255));
    return framework::ColorFromBytes(c[0], c[1], c[2], parts.size() == 4 ? c[3] : 255);
}

// Puts a new widget at the cursor: its top edge on the cursor (with the
// default handle), the cursor then stepping over its lower half.
void Place(GuiObject& widget, ScriptState& state, float step) {
    Step(state.y, framework::TruncToInt(step));
    widget.X(static_cast<float>(state.x));
    widget.Y(static_cast<float>(state.y));
    widget.Color = state.color;
}

}  // namespace

void GuiScrollBox::LoadScript(const std::string& path) {
    std::string text = platform::LoadString(platform::RealPath(framework::ResolvePath(path, "asset::")));
    text = platform::Trim(platform::Replace(text, "\r\n", "\n"));
    auto self = std::static_pointer_cast<GuiGroup>(Self());
    ScriptState state;

    for (const std::string& line : platform::Split(text, "\n")) {
        if (state.last) {
            Step(state.y, framework::TruncToInt(state.last->Height() * 0.5f));
            state.last = nullptr;
        }
        const std::vector<std::string> parts = platform::Split(line, "=");
        // A line without "=" has no value: nothing to do.
        if (parts.size() < 2) continue;
        const std::string key = platform::Trim(platform::ToLower(parts[0]));
        const std::string& value = parts[1];

        if (key == "clearcolor") {
            ClearColor = ParseColor(value, ClearColor);
        } else if (key == "color") {
            state.color = ParseColor(value, state.color);
        } else if (key == "font") {
            const std::vector<std::string> font = platform::Split(value, ",");
            if (font.size() < 2) continue;
            state.font = state.content->GetFont(font[0], static_cast<float>(platform::ToInt(font[1])));
        } else if (key == "x") {
            state.x = Coordinate(value, Width());
        } else if (key == "x+") {
            Step(state.x, platform::ToInt(value));
        } else if (key == "x-") {
            Step(state.x, -std::int64_t{platform::ToInt(value)});
        } else if (key == "y") {
            state.y = Coordinate(value, Height());
        } else if (key == "y+") {
            Step(state.y, platform::ToInt(value));
        } else if (key == "y-") {
            Step(state.y, -std::int64_t{platform::ToInt(value)});
        } else if (key == "label") {
            auto label = GuiLabel::New(self, state.font, value);
            Place(*label, state, label->Height() * 0.5f);
            state.last = label;
        } else if (key == "image") {
            auto image = GuiImage::New(self, state.content->GetImage(value));
            Place(*image, state, image->Height() * 0.5f);
            state.last = image;
        } else if (key == "textfield") {
            // Word-wrapping needs a font and a text.
            const std::vector<std::string> field = framework::Split(value, ",");
            if (!state.font || field.empty() || field[0].empty()) continue;
            const int width = field.size() == 2 ? Coordinate(field[1], Width()) : framework::TruncToInt(Width());
            for (const std::string& wrapped : framework::FitText(state.font, field[0], width, "\n")) {
                auto label = GuiLabel::New(self, state.font, platform::ToUpper(wrapped));
                Place(*label, state, label->Height());
                state.last = label;
            }
        }
    }
}

}  // namespace kestrum::gui
