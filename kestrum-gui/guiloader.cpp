#include "kestrum-gui/guiloader.h"

#include "kestrum-framework/assetpath.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kestrum::gui {

GuiLoader::GuiLoader(const std::string& path, GuiLayer& layer) {
    Load(path);
    Build(layer);
}

std::shared_ptr<GuiButton> GuiLoader::NewButton() { return std::make_shared<GuiButton>(); }

void GuiLoader::Load(const std::string& path) {
    const std::string resolved = framework::ResolvePath(platform::Replace(path, "\\", "/"), "asset::");
    std::string text = platform::LoadString(platform::RealPath(resolved));
    // Files saved with "\r\n" line ends split at their empty lines like "\n" files.
    text = platform::Trim(platform::Replace(text, "\r\n", "\n"));
    Blocks.clear();
    for (const std::string& part : platform::Split(text, "\n\n")) {
        auto block = std::make_shared<framework::Config>();
        block->Parse(part);
        Blocks.push_back(block);
        OnConfig(*block);
    }
}

void GuiLoader::Build(GuiLayer& layer) {
    for (const auto& block : Blocks) {
        block->Cursor = 0;
        const std::string name = block->ReadString("name", "");
        if (name.empty()) continue;
        if (auto widget = layer.GetObject(name)) widget->ApplyConfig(*block);
    }
}

}  // namespace kestrum::gui
