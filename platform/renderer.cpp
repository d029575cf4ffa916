// The batched quad renderer: GL program, buffers and the flush.
#include "platform/renderer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/gl.h"

namespace platform {

namespace {

const char* const vertexSource = R"(#version 330 core
layout(location = 0) in vec2 position;
layout(location = 1) in vec2 uv;
layout(location = 2) in vec4 color;
uniform vec4 transform;
out vec2 fragUv;
out vec4 fragColor;
void main() {
    gl_Position = vec4(position * transform.xy + transform.zw, 0.0, 1.0);
    fragUv = uv;
    fragColor = color;
}
)";

const char* const fragmentSource = R"(#version 330 core
in vec2 fragUv;
in vec4 fragColor;
uniform sampler2D image;
out vec4 outColor;
void main() {
    outColor = texture(image, fragUv) * fragColor;
}
)";

// A light over the normal buffer: pixels without a normal (alpha 0) take the
// light whole; others take it by the cosine between their normal and the
// direction to the light. Buffer pixels and gl_FragCoord agree because render
// targets are drawn with y running up in GL terms. Normal maps point y up
// (green), the screen's y runs down, hence the flipped y.
const char* const litFragmentSource = R"(#version 330 core
in vec2 fragUv;
in vec4 fragColor;
uniform sampler2D image;
uniform sampler2D normals;
uniform vec3 light;
out vec4 outColor;
void main() {
    vec4 color = texture(image, fragUv) * fragColor;
    vec4 normal = texelFetch(normals, ivec2(gl_FragCoord.xy), 0);
    float factor = 1.0;
    if (normal.a > 0.0) {
        vec3 n = normal.rgb / normal.a * 2.0 - 1.0;
        n.y = -n.y;
        vec3 toLight = vec3(light.xy - gl_FragCoord.xy, light.z);
        factor = max(dot(normalize(n), normalize(toLight)), 0.0);
    }
    outColor = color * factor;
}
)";

// GL objects shared by every renderer, made on the first flush.
struct Resources {
    bool ready = false;
    unsigned generation = 0;
    GLuint program = 0;
    GLint transform = -1;
    GLuint litProgram = 0;
    GLint litTransform = -1;
    GLint litLight = -1;
    GLuint vao = 0;
    GLuint vbo = 0;
    GLuint ebo = 0;
    // Vertices written to the vertex buffer since it was last orphaned.
    std::size_t ringUsed = 0;
};

// The vertex buffer is a ring: each batch is written after the previous one
// without waiting for draws that still read the earlier part, and only when
// the ring is full is it orphaned (the driver keeps the old storage for the
// draws in flight). It holds one batch of the largest size.
constexpr std::size_t kRingVertices = static_cast<std::size_t>(Renderer::MaxQuads) * 4;

Resources resources;
Renderer* pending = nullptr;

GLuint Compile(GLenum type, const char* source) {
    const GLuint shader = gl::CreateShader(type);
    gl::ShaderSource(shader, 1, &source, nullptr);
    gl::CompileShader(shader);
    GLint ok = 0;
    gl::GetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        gl::GetShaderInfoLog(shader, sizeof log, nullptr, log);
        std::printf("Shader compile failed: %s\n", log);
    }
    return shader;
}

GLuint Link(const char* fragment) {
    const GLuint vs = Compile(GL_VERTEX_SHADER, vertexSource);
    const GLuint fs = Compile(GL_FRAGMENT_SHADER, fragment);
    const GLuint program = gl::CreateProgram();
    gl::AttachShader(program, vs);
    gl::AttachShader(program, fs);
    gl::LinkProgram(program);
    gl::DeleteShader(vs);
    gl::DeleteShader(fs);
    GLint ok = 0;
    gl::GetProgramiv(program, GL_LINK_STATUS, &ok);
    if (!ok) {
        char log[1024] = {};
        gl::GetProgramInfoLog(program, sizeof log, nullptr, log);
        std::printf("Shader link failed: %s\n", log);
    }
    gl::UseProgram(program);
    gl::Uniform1i(gl::GetUniformLocation(program, "image"), 0);
    return program;
}

bool EnsureResources() {
    if (!gl::Available()) return false;
    if (resources.ready && resources.generation == gl::Generation()) return true;
    resources = Resources{};
    resources.generation = gl::Generation();
    resources.program = Link(fragmentSource);
    resources.transform = gl::GetUniformLocation(resources.program, "transform");

    gl::GenVertexArrays(1, &resources.vao);
    gl::BindVertexArray(resources.vao);
    gl::GenBuffers(1, &resources.vbo);
    gl::BindBuffer(GL_ARRAY_BUFFER, resources.vbo);
    gl::BufferData(GL_ARRAY_BUFFER, sizeof(Vertex) * kRingVertices, nullptr, GL_STREAM_DRAW);
    gl::VertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, x)));
    gl::VertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(Vertex), reinterpret_cast<void*>(offsetof(Vertex, u)));
    gl::VertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(Vertex),
                            reinterpret_cast<void*>(offsetof(Vertex, r)));
    gl::EnableVertexAttribArray(0);
    gl::EnableVertexAttribArray(1);
    gl::EnableVertexAttribArray(2);

    // Four vertices per quad, so MaxQuads * 4 - 1 must fit an unsigned short.
    static_assert(Renderer::MaxQuads * 4 - 1 <= 0xffff);
    std::vector<GLushort> indices(static_cast<std::size_t>(Renderer::MaxQuads) * 6);
    for (int q = 0; q < Renderer::MaxQuads; ++q) {
        const GLushort base = static_cast<GLushort>(q * 4);
        const GLushort quad[6] = {base, GLushort(base + 1), GLushort(base + 2),
                                  GLushort(base + 2), GLushort(base + 3), base};
        std::copy(quad, quad + 6, indices.begin() + q * 6);
    }
    gl::GenBuffers(1, &resources.ebo);
    gl::BindBuffer(GL_ELEMENT_ARRAY_BUFFER, resources.ebo);
    gl::BufferData(GL_ELEMENT_ARRAY_BUFFER, static_cast<GLsizeiptr>(indices.size() * sizeof(GLushort)),
                   indices.data(), GL_STATIC_DRAW);
    resources.ready = true;
    return true;
}

// Writes the vertices into the ring (bound as the array buffer) and returns
// the index of the first; a batch is never larger than the ring.
std::size_t Upload(const std::vector<Vertex>& vertices) {
    if (resources.ringUsed + vertices.size() > kRingVertices) {
        gl::BufferData(GL_ARRAY_BUFFER, sizeof(Vertex) * kRingVertices, nullptr, GL_STREAM_DRAW);
        resources.ringUsed = 0;
    }
    const std::size_t first = resources.ringUsed;
    const auto offset = static_cast<GLintptr>(first * sizeof(Vertex));
    const auto size = static_cast<GLsizeiptr>(vertices.size() * sizeof(Vertex));
    bool written = false;
    // Unsynchronised: no draw in flight reads this part of the ring.
    if (void* mapped = gl::MapBufferRange(GL_ARRAY_BUFFER, offset, size,
                                          GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT | GL_MAP_UNSYNCHRONIZED_BIT)) {
        std::memcpy(mapped, vertices.data(), static_cast<std::size_t>(size));
        // False when the buffer's contents were lost while mapped.
        written = gl::UnmapBuffer(GL_ARRAY_BUFFER) == GL_TRUE;
    }
    if (!written) gl::BufferSubData(GL_ARRAY_BUFFER, offset, size, vertices.data());
    resources.ringUsed += vertices.size();
    return first;
}

// The program of lights over normal buffers, made on first use: most frames
// never light anything, and every program costs start-up time.
GLuint LitProgram() {
    if (resources.litProgram == 0) {
        resources.litProgram = Link(litFragmentSource);
        resources.litTransform = gl::GetUniformLocation(resources.litProgram, "transform");
        resources.litLight = gl::GetUniformLocation(resources.litProgram, "light");
        gl::Uniform1i(gl::GetUniformLocation(resources.litProgram, "normals"), 1);
    }
    return resources.litProgram;
}

// GL rows count from the bottom of the default framebuffer; render targets
// are drawn upside down in GL terms so that their texture rows run from the
// top like those of a loaded image.
int GlY(const DrawTarget& target, const Recti& rect) {
    return target.texture ? rect.min.y : target.height - rect.max.y;
}

Recti Intersect(const Recti& a, const Recti& b) {
    Recti r{std::max(a.min.x, b.min.x), std::max(a.min.y, b.min.y), std::min(a.max.x, b.max.x),
            std::min(a.max.y, b.max.y)};
    if (r.Empty()) return {r.min.x, r.min.y, r.min.x, r.min.y};
    return r;
}

// Binds the target's framebuffer; false when it cannot be drawn into.
bool BindTarget(const DrawTarget& target) {
    GLuint framebuffer = 0;
    if (target.texture) {
        framebuffer = target.texture->GlFramebuffer();
        if (framebuffer == 0) return false;
    }
    gl::BindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    return true;
}

}  // namespace

Renderer::~Renderer() {
    Flush();
    if (pending == this) pending = nullptr;
}

void Renderer::FlushPending() {
    if (pending) pending->Flush();
}

void Renderer::ContextLost() { resources = Resources{}; }

Vertex* Renderer::Reserve(const BatchState& state, const std::shared_ptr<Texture>& texture, int count) {
    count = std::clamp(count, 1, MaxQuads);
    if (pending && pending != this) pending->Flush();
    if (!vertices_.empty() && (!(state == state_) || PendingQuads() + count > MaxQuads)) Flush();
    if (vertices_.empty()) {
        state_ = state;
        texture_ = texture;
        vertices_.reserve(1024);
    }
    pending = this;
    const std::size_t first = vertices_.size();
    vertices_.resize(first + static_cast<std::size_t>(count) * 4);
    return &vertices_[first];
}

void Renderer::Apply(const BatchState& state) {
    const Recti& vp = state.viewport;
    gl::Viewport(vp.min.x, GlY(state.target, vp), vp.Width(), vp.Height());
    if (state.scissor) {
        const Recti clip = Intersect(state.scissorRect, vp);
        gl::Enable(GL_SCISSOR_TEST);
        gl::Scissor(clip.min.x, GlY(state.target, clip), clip.Width(), clip.Height());
    } else {
        gl::Disable(GL_SCISSOR_TEST);
    }
    switch (state.blend) {
        case 1:
            gl::Disable(GL_BLEND);
            break;
        case 3:
            gl::Enable(GL_BLEND);
            gl::BlendFunc(GL_ONE, GL_ONE);
            break;
        case 4:
            gl::Enable(GL_BLEND);
            gl::BlendFunc(GL_DST_COLOR, GL_ONE_MINUS_SRC_ALPHA);
            break;
        case InternalBlend::MultiplyKeepAlpha:
            gl::Enable(GL_BLEND);
            gl::BlendFuncSeparate(GL_DST_COLOR, GL_ZERO, GL_ZERO, GL_ONE);
            break;
        default:
            gl::Enable(GL_BLEND);
            gl::BlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
            break;
    }
}

void Renderer::Flush() {
    if (pending == this) pending = nullptr;
    if (vertices_.empty()) return;
    const int quads = PendingQuads();
    if (EnsureResources() && !state_.viewport.Empty() && BindTarget(state_.target)) {
        Apply(state_);
        GLint transform = resources.transform;
        if (state_.normals) {
            gl::ActiveTexture(GL_TEXTURE1);
            gl::BindTexture(GL_TEXTURE_2D, state_.normals->GlTexture());
            gl::UseProgram(LitProgram());
            gl::Uniform3f(resources.litLight, state_.lightCentre.x, state_.lightCentre.y, state_.lightDepth);
            transform = resources.litTransform;
        } else {
            gl::UseProgram(resources.program);
        }
        gl::ActiveTexture(GL_TEXTURE0);
        gl::BindTexture(GL_TEXTURE_2D, texture_ ? texture_->GlTexture() : 0);
        const float w = static_cast<float>(state_.viewport.Width());
        const float h = static_cast<float>(state_.viewport.Height());
        if (state_.target.texture) {
            gl::Uniform4f(transform, 2 / w, 2 / h, -1, -1);
        } else {
            gl::Uniform4f(transform, 2 / w, -2 / h, -1, 1);
        }
        gl::BindVertexArray(resources.vao);
        gl::BindBuffer(GL_ARRAY_BUFFER, resources.vbo);
        const std::size_t first = Upload(vertices_);
        gl::DrawElementsBaseVertex(GL_TRIANGLES, quads * 6, GL_UNSIGNED_SHORT, nullptr, static_cast<GLint>(first));
        ++drawCalls_;
        if (state_.target.texture) state_.target.texture->Modified();
    }
    vertices_.clear();
    texture_.reset();
}

void Renderer::Clear(const BatchState& state, Color color) {
    FlushPending();
    if (!gl::Available() || state.viewport.Empty() || !BindTarget(state.target)) return;
    const Recti clip = state.scissor ? Intersect(state.scissorRect, state.viewport) : state.viewport;
    gl::Enable(GL_SCISSOR_TEST);
    gl::Scissor(clip.min.x, GlY(state.target, clip), clip.Width(), clip.Height());
    const float a = std::clamp(color.a, 0.0f, 1.0f);
    gl::ClearColor(std::clamp(color.r, 0.0f, 1.0f) * a, std::clamp(color.g, 0.0f, 1.0f) * a,
                   std::clamp(color.b, 0.0f, 1.0f) * a, a);
    gl::Clear(GL_COLOR_BUFFER_BIT);
    gl::Disable(GL_SCISSOR_TEST);
    if (state.target.texture) state.target.texture->Modified();
}

std::shared_ptr<Pixmap> Renderer::ReadPixels(const DrawTarget& target, Recti rect) {
    // The pixmap has the size asked for; parts outside the target stay transparent.
    auto pixmap = std::make_shared<Pixmap>(rect.Width(), rect.Height());
    const Recti inside = Intersect(rect, {0, 0, target.width, target.height});
    FlushPending();
    if (inside.Empty() || !gl::Available() || !BindTarget(target)) return pixmap;
    Pixmap read(inside.Width(), inside.Height());
    gl::PixelStorei(GL_PACK_ALIGNMENT, 4);
    gl::ReadPixels(inside.min.x, GlY(target, inside), inside.Width(), inside.Height(), GL_RGBA, GL_UNSIGNED_BYTE,
                   read.Data());
    const std::size_t row = static_cast<std::size_t>(inside.Width()) * 4;
    for (int y = 0; y < inside.Height(); ++y) {
        // The default framebuffer's rows come bottom first.
        const int from = target.texture ? y : inside.Height() - 1 - y;
        const std::uint8_t* source = read.Data() + static_cast<std::size_t>(from) * row;
        std::uint8_t* p = pixmap->Data() + (static_cast<std::size_t>(inside.min.y - rect.min.y + y) * rect.Width() +
                                            static_cast<std::size_t>(inside.min.x - rect.min.x)) * 4;
        for (std::size_t i = 0; i < row; i += 4) {
            // Premultiplied on the GPU, straight in the pixmap.
            const unsigned a = source[i + 3];
            for (int c = 0; c < 3; ++c) {
                p[i + c] = (a == 0 || a == 255) ? source[i + c]
                                                : static_cast<std::uint8_t>(std::min(255u, (source[i + c] * 255u + a / 2) / a));
            }
            p[i + 3] = static_cast<std::uint8_t>(a);
        }
    }
    return pixmap;
}

}  // namespace platform
