#include "kestrum-framework/debugtools.h"

namespace kestrum::framework::debugtools {

void InitDebugToolsUnit() {
    DebugPalette = {platform::Color{0.5f, 0.5f, 0.5f, 1}, platform::Color{1, 0, 0, 1}, platform::Color{0, 1, 0, 1},
                    platform::Color{0, 0, 1, 1},          platform::Color{1, 1, 0, 1}, platform::Color{0, 1, 1, 1},
                    platform::Color{1, 0.5f, 0, 1},       platform::Color{1, 0, 1, 1}};
    SelectionMode = 1;
    SelectionBlend = 2;
    SelectionColor = {0, 0, 0.5f, 0.5f};
    GuiSelectionBlend = 2;
    GuiSelectionColor = {0, 0.5f, 0, 0.5f};
    EditorBarBlend = 2;
    EditorBarColor = {0, 0.5f, 0, 0.5f};
    EditorTextColor = {0, 1, 0, 0.5f};
}

}  // namespace kestrum::framework::debugtools
