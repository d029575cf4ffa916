// The GUI layout loader, applied to a layer holding widgets by the names a
// layout file uses.
#include <memory>
#include <string>

#include "fuzzsupport.h"
#include "kestrum-gui/guigroup.h"
#include "kestrum-gui/guilayer.h"
#include "kestrum-gui/guiloader.h"
#include "kestrum-gui/guiwidgets.h"

namespace gui = kestrum::gui;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::Start();
    const std::string path =
        fuzzsupport::WriteFile("skin.txt", std::string_view(reinterpret_cast<const char*>(data), size));
    gui::GuiLayer layer(platform::Vec2i{1136, 640});
    const auto dialog = gui::GuiGroup::New(&layer);
    dialog->Name = "dialog";
    for (const char* name : {"sound", "music", "pause", "window", "yes"}) {
        const auto widget = gui::GuiRectangle::New(&layer, 10, 10);
        widget->Name = name;
    }
    const auto member = gui::GuiRectangle::New(dialog, 5, 5);
    member->Name = "no";
    gui::GuiLoader loader(path, layer);
    layer.Update();
    return 0;
}
