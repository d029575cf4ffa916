// Shader: the named shader identities. The GL programs behind them belong to
// the renderer, which makes them per context.
#include <array>

#include "platform/image.h"

namespace platform {

Shader* Shader::GetShader(std::string_view name, std::string_view /*defines*/) {
    static std::array<Shader, 4> shaders{Shader("sprite"), Shader("font"), Shader("light"), Shader("bump")};
    for (Shader& shader : shaders) {
        if (shader.Name() == name) return &shader;
    }
    return nullptr;
}

}  // namespace platform
