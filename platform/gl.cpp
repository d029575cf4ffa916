// Loading of the OpenGL entry points through SDL.
#include "platform/gl.h"

#include <SDL.h>

namespace platform::gl {

#define ZANDROVIA_GL_DEFINE(type, name) type name = nullptr;
ZANDROVIA_GL_FUNCTIONS(ZANDROVIA_GL_DEFINE)
#undef ZANDROVIA_GL_DEFINE

namespace {
bool available = false;
unsigned generation = 0;
}

bool Load(const char** missing) {
    bool ok = true;
#define ZANDROVIA_GL_LOAD(type, name)                                                 \
    name = reinterpret_cast<type>(SDL_GL_GetProcAddress("gl" #name));                 \
    if (name == nullptr && ok) {                                                      \
        ok = false;                                                                   \
        if (missing) *missing = "gl" #name;                                           \
    }
    ZANDROVIA_GL_FUNCTIONS(ZANDROVIA_GL_LOAD)
#undef ZANDROVIA_GL_LOAD
    available = ok;
    ++generation;
    return ok;
}

bool Available() { return available; }

unsigned Generation() { return generation; }

void ContextLost() { available = false; }

}  // namespace platform::gl
