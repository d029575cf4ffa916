// GuiLoader: reads a layout file and applies each block to the widget of
// that name in a layer.
//
// The file is blank-line separated blocks of key=value lines ("name",
// "enabled", "x", "y", "z"); keys are matched in any case and values lose
// their double quotes. Line ends may be "\n" or "\r\n". A line holding only
// blanks does not separate blocks. A missing file, a block without a name
// and a name that matches no widget change nothing.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kestrum-framework/config.h"
#include "kestrum-gui/guiimage.h"
#include "kestrum-gui/guilayer.h"

namespace kestrum::gui {

class GuiLoader {
public:
    GuiLoader() = default;
    // Load(path), then Build(layer).
    GuiLoader(const std::string& path, GuiLayer& layer);
    virtual ~GuiLoader() = default;

    // One store per block of the last file loaded, in file order.
    std::vector<std::shared_ptr<framework::Config>> Blocks;

    // Hook for a derived loader, called for each block right after it is read.
    virtual void OnConfig(framework::Config&) {}
    // A new button with an empty image set and caption, in no layer or group.
    virtual std::shared_ptr<GuiButton> NewButton();
    virtual void Load(const std::string& path);
    // Applies every block to the first widget of its name in the layer.
    void Build(GuiLayer& layer);
};

}  // namespace kestrum::gui
