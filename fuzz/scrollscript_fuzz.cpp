// The scroll-box content script, run into a box of a layer that is then
// updated.
#include <memory>
#include <string>

#include "fuzzsupport.h"
#include "kestrum-gui/guilayer.h"
#include "kestrum-gui/guiscrollbox.h"

namespace gui = kestrum::gui;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::Start();
    const std::string path =
        fuzzsupport::WriteFile("content.txt", std::string_view(reinterpret_cast<const char*>(data), size));
    gui::GuiLayer layer(platform::Vec2i{1136, 640});
    const auto box = std::make_shared<gui::GuiScrollBox>();
    box->Width(338);
    box->Height(430);
    box->LoadScript(path);
    return 0;
}
