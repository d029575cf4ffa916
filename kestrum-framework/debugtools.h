// Colours and styles of the debug overlays that the scene graph and the GUI
// toolkit draw: selected objects, object flag numbers, and the layout
// editor's selection and status bar. Blend modes are the canvas's numbers.
//
// Depends on platform/types.h.
#pragma once

#include <array>

#include "platform/types.h"

namespace kestrum::framework::debugtools {

// Colour of a layer object's flag number n: grey, red, green, blue, yellow,
// cyan, orange, magenta.
inline std::array<platform::Color, 8> DebugPalette{
    platform::Color{0.5f, 0.5f, 0.5f, 1}, platform::Color{1, 0, 0, 1},    platform::Color{0, 1, 0, 1},
    platform::Color{0, 0, 1, 1},          platform::Color{1, 1, 0, 1},    platform::Color{0, 1, 1, 1},
    platform::Color{1, 0.5f, 0, 1},       platform::Color{1, 0, 1, 1}};
// A selected layer object's overlay: 0 none, 1 filled rectangle, 2 outline.
inline int SelectionMode = 1;
// Blend mode and colour of that overlay and of a widget's debug bounds.
inline int SelectionBlend = 2;
inline platform::Color SelectionColor{0, 0, 0.5f, 0.5f};
// The layout editor's outline of the selected widget.
inline int GuiSelectionBlend = 2;
inline platform::Color GuiSelectionColor{0, 0.5f, 0, 0.5f};
// The layout editor's status bar.
inline int EditorBarBlend = 2;
inline platform::Color EditorBarColor{0, 0.5f, 0, 0.5f};
inline platform::Color EditorTextColor{0, 1, 0, 0.5f};

// The unit's initialiser: sets every value above to its starting value.
void InitDebugToolsUnit();

}  // namespace kestrum::framework::debugtools

namespace kestrum::framework {
using namespace debugtools;
}
