// Particle files: read into emitter entries, then played onto a layer of a
// scene that is updated for a few frames.
#include <memory>
#include <string>

#include "fuzzsupport.h"
#include "kestrum-scenegraph/scenegraph.h"

namespace sg = kestrum::scenegraph;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::Start();
    const std::string path =
        fuzzsupport::WriteFile("effect.txt", std::string_view(reinterpret_cast<const char*>(data), size));
    sg::Emitter emitter(path);
    sg::Scene scene(nullptr);
    const auto layer = sg::Layer::New(&scene);
    emitter.Play(layer.get(), 100, 100, 1.5f, 0, false);
    emitter.Play(layer.get(), {-50, 20}, 0.5f, 1, true);
    for (int frame = 0; frame < 3; ++frame) scene.Update();
    return 0;
}
