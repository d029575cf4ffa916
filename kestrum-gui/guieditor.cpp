// Layout blocks and the layer's layout editor: ApplyConfig applies one
// key=value block ("name", "enabled", "x", "y", "z") to a widget; Snapshot
// writes widgets, groups and layers back in the same form, one block per
// named widget, blocks separated by an empty line. With the editor on, a
// pressed widget follows the mouse, the arrow keys nudge it, T switches it
// on and off, and a bar at the bottom of the window shows its name and place.
#include <string>
#include <vector>

#include "kestrum-framework/debugtools.h"
#include "kestrum-gui/guigroup.h"
#include "kestrum-gui/guilayer.h"
#include "kestrum-gui/guiobject.h"
#include "platform/text.h"

namespace kestrum::gui {

namespace {

// The value of the first line of the key. The store searches on from its
// last hit, so a block holding a key twice would otherwise answer with
// different lines for different keys.
std::string ReadFirst(framework::Config& block, const std::string& key, const std::string& fallback) {
    block.Cursor = 0;
    return block.ReadString(key, fallback);
}

// Values are read as text (which drops double quotes) and then converted,
// so a quoted number reads like a plain one. A missing key or an empty
// value keeps the default.
float ReadNumber(framework::Config& block, const std::string& key, float fallback) {
    const std::string value = ReadFirst(block, key, "");
    return value.empty() ? fallback : platform::ToFloat(value);
}

bool ReadFlag(framework::Config& block, const std::string& key, bool fallback) {
    const std::string value = platform::ToLower(ReadFirst(block, key, ""));
    if (value == "true") return true;
    if (value == "false") return false;
    return fallback;
}

std::string Number(float value) { return platform::FromFloat(value); }

// Appends a member's block after an empty line.
void AddBlock(std::string& text, const std::string& block) {
    if (!text.empty()) text += "\n";
    text += block;
}

}  // namespace

void GuiObject::ApplyConfig(framework::Config& block) {
    const bool enabled = ReadFlag(block, "enabled", Enabled());
    const std::string name = ReadFirst(block, "name", Name);
    const float x = ReadNumber(block, "x", X());
    const float y = ReadNumber(block, "y", Y());
    const float z = ReadNumber(block, "z", Z);
    Enabled(enabled);
    Name = name;
    X(x);
    Y(y);
    Z = z;
}

std::string GuiObject::Snapshot() {
    if (Name.empty()) return "";
    std::string text = "name=" + Name + "\n";
    if (!Enabled()) text += "enabled=False\n";
    if (X() != 0) text += "x=" + Number(X()) + "\n";
    if (Y() != 0) text += "y=" + Number(Y()) + "\n";
    return text;
}

std::string GuiGroup::Snapshot() {
    std::string text = GuiObject::Snapshot();
    const std::vector<std::shared_ptr<GuiObject>> members = Members.Data();
    for (const auto& member : members) {
        if (!member->Name.empty()) AddBlock(text, member->Snapshot());
    }
    return text;
}

std::string GuiLayer::Snapshot() {
    if (Name.empty()) return "";
    std::string text = "name=" + Name + "\n";
    if (X != 0) text += "x=" + Number(X) + "\n";
    if (Y != 0) text += "y=" + Number(Y) + "\n";
    const std::vector<std::shared_ptr<GuiObject>> objects = Objects.Data();
    for (const auto& object : objects) {
        if (!object->Name.empty()) AddBlock(text, object->Snapshot());
    }
    return text;
}

void GuiLayer::UpdateEditorSelection_() {
    if (!Dragged) {
        if (Current && Current->Down) Dragged = Current;
    } else if (!Dragged->Down) {
        Dragged = nullptr;
    }
}

void GuiLayer::OnDebugEditorKeyEvents_(const platform::KeyEvent& event) {
    const std::shared_ptr<GuiObject> selected = Dragged;
    if (!selected) return;
    if (event.type == platform::KeyEvent::KeyDown || event.type == platform::KeyEvent::KeyRepeat) {
        switch (event.key) {
            case platform::Key::Left: selected->X(selected->X() - 1); break;
            case platform::Key::Right: selected->X(selected->X() + 1); break;
            case platform::Key::Up: selected->Y(selected->Y() - 1); break;
            case platform::Key::Down: selected->Y(selected->Y() + 1); break;
            default: break;
        }
    }
    if (event.type == platform::KeyEvent::KeyDown && event.key == 't') selected->Enabled(!selected->Enabled());
}

void GuiLayer::DrawDebugEditor_(platform::Canvas& canvas) {
    const auto& font = canvas.Font();
    const float fontHeight = font ? font->Height() : 0;
    const float barHeight = fontHeight * 1.25f;
    const float barTop = static_cast<float>(WindowHeight()) - barHeight;
    canvas.BlendMode(framework::EditorBarBlend);
    canvas.Color(framework::EditorBarColor);
    canvas.DrawRect(0, barTop, static_cast<float>(WindowWidth()), barHeight);
    if (!Dragged) return;
    const std::string name = Dragged->Name.empty() ? "\"\"" : Dragged->Name;
    const std::string text =
        "Name=" + name + " | Location=" + Number(Dragged->X()) + "," + Number(Dragged->Y());
    canvas.Color(framework::EditorTextColor);
    canvas.DrawText(text, 8, barTop + barHeight * 0.5f - fontHeight * 0.5f, 0, 0);
}

}  // namespace kestrum::gui
