// Scene files: every block kind, atlas and tile-set blocks included, built
// into a scene that is then updated.
#include <memory>
#include <string>

#include "fuzzsupport.h"
#include "kestrum-framework/contentmanager.h"
#include "kestrum-scenegraph/sceneloader.h"
#include "kestrum-scenegraph/scenegraph.h"

namespace fw = kestrum::framework;
namespace sg = kestrum::scenegraph;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::Start();
    // A cache of this input only: names from earlier inputs would pile up.
    sg::SceneLoaderContent = std::make_shared<fw::ContentManager>();
    // A scene's atlas blocks read "atlas.txt" beside it: the text after a
    // line "#atlas", else two frames.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t marker = text.find("\n#atlas\n");
    fuzzsupport::WriteFile("atlas.txt", marker == std::string_view::npos ? "red:0:0:8:8\ngreen:8:0:8:8\n"
                                                                         : text.substr(marker + 8));
    fuzzsupport::WriteFile("props.txt", "speed=4\nkind=boss");
    const std::string path = fuzzsupport::WriteFile("scene.txt", text.substr(0, marker));
    sg::Scene scene(nullptr);
    sg::SceneLoader loader(path, &scene);
    loader.ToString();
    scene.Update();
    return 0;
}
