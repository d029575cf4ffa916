// Screenshots of the two on-screen keyboards with dashes and dots: the keys,
// the name display and the e-mail display all draw the text font, whose dash
// must read as a dash (a bar clearly wider than tall) and not as the dot (a
// small square). Saved into ZANDROVIA_SCREENSHOTS (or a temporary folder).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "shelltest.h"

namespace {

using shelltest::ShellTest;
using Ink = std::function<bool(const platform::Color&)>;

// White captions are bright in red, unlike the keys' dark faces and cyan rims.
const Ink kCaption = [](const platform::Color& c) { return c.r > 0.5f; };
// The displays draw green text, their hint half-transparent light green.
const Ink kDisplay = [](const platform::Color& c) { return c.g > 0.4f; };

// The glyphs drawn in the area, left to right: each a run of columns holding
// ink, boxed by the rows those columns ink.
std::vector<platform::Recti> Glyphs(const platform::Pixmap& pixels, const platform::Recti& area, const Ink& ink) {
    std::vector<platform::Recti> glyphs;
    for (int x = area.min.x; x < area.max.x; ++x) {
        int top = area.max.y, bottom = area.min.y;
        for (int y = area.min.y; y < area.max.y; ++y) {
            if (!ink(pixels.GetPixel(x, y))) continue;
            top = std::min(top, y);
            bottom = std::max(bottom, y + 1);
        }
        if (top >= bottom) continue;
        if (!glyphs.empty() && glyphs.back().max.x == x) {
            platform::Recti& glyph = glyphs.back();
            glyph = {glyph.min.x, std::min(glyph.min.y, top), x + 1, std::max(glyph.max.y, bottom)};
        } else {
            glyphs.push_back({x, top, x + 1, bottom});
        }
    }
    return glyphs;
}

std::string Size(const platform::Recti& box) {
    return std::to_string(box.Width()) + " x " + std::to_string(box.Height());
}

// A dash is a bar at least 1.75 times as wide as tall (rows and columns that
// antialiasing half covers are counted whole).
void ExpectDash(const platform::Recti& dash, const std::string& where) {
    EXPECT_GT(dash.Height(), 0) << where;
    EXPECT_GE(4 * dash.Width(), 7 * dash.Height()) << where << ": dash " << Size(dash);
}

// ... and half as wide again as the dot, which is about square.
void ExpectDashAndDot(const platform::Recti& dash, const platform::Recti& dot, const std::string& where) {
    ExpectDash(dash, where);
    EXPECT_LE(2 * dot.Width(), 3 * dot.Height()) << where << ": dot " << Size(dot);
    EXPECT_GE(2 * dash.Width(), 3 * dot.Width()) << where << ": dash " << Size(dash) << ", dot " << Size(dot);
}

class KeyboardScreenshots : public ShellTest {
protected:
    // The caption of a key, alone in the key.
    static platform::Recti Caption(const platform::Pixmap& pixels, kestrum::gui::GuiObject& key) {
        const platform::Vec2i centre = Centre(key);
        const int halfWidth = static_cast<int>(key.WorldWidth() / 2);
        const int halfHeight = static_cast<int>(key.WorldHeight() / 2);
        const platform::Recti area{centre.x - halfWidth, centre.y - halfHeight, centre.x + halfWidth,
                                   centre.y + halfHeight};
        const auto glyphs = Glyphs(pixels, area, kCaption);
        EXPECT_EQ(glyphs.size(), 1u) << key.Name;
        return glyphs.empty() ? platform::Recti{} : glyphs.front();
    }
};

}  // namespace

TEST_F(KeyboardScreenshots, TheDashReadsAsADashOnTheKeysAndInTheDisplays) {
    // The displays stand above the keyboards (y 80), the keys from y 176 down.
    const platform::Recti displayBand{0, 0, 1136, 170};

    // Both texts read J . N O V A - X ...: the dot second, the dash seventh.
    // The name is drawn at 64 pixels, the e-mail address at 32 as the keys.
    const struct {
        int mode;
        Keyboard* keyboard;
        Keyboard::Display* display;
        const char* text;
        std::size_t glyphs;
        const char* name;
    } cases[] = {{GUI_MODE_NAME, NameEntry.get(), NameDisplay.get(), "J.NOVA-X", 8, "name-keyboard-dash"},
                 {GUI_MODE_EMAIL, EmailEntry.get(), EmailDisplay.get(), "J.NOVA-X@Z.ORG", 14, "email-keyboard-dash"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto dashKey = c.keyboard->GetObject(" - "), dotKey = c.keyboard->GetObject(" . ");
        ASSERT_TRUE(dashKey && dotKey);
        GuiMode = c.mode;
        c.display->Text(c.text);
        c.display->CursorText = "";
        const auto pixels = Screenshot({GuiRoots[static_cast<std::size_t>(c.mode)].get()}, c.name);
        ExpectDashAndDot(Caption(*pixels, *dashKey), Caption(*pixels, *dotKey), "keys");
        const auto shown = Glyphs(*pixels, displayBand, kDisplay);
        ASSERT_EQ(shown.size(), c.glyphs);
        ExpectDashAndDot(shown[6], shown[1], "display");
    }

    // The hint of the empty e-mail display, "Enter your e-mail (optional)":
    // every letter stands apart ("i" and "l" too), the dash eleventh.
    EmailDisplay->Text("");
    const auto hintShot = Screenshot({GuiRoots[GUI_MODE_EMAIL].get()}, "email-keyboard-hint");
    const auto hint = Glyphs(*hintShot, displayBand, kDisplay);
    ASSERT_EQ(hint.size(), 25u);
    ExpectDash(hint[10], "e-mail hint");
}
