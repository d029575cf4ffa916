// The canvas's frame: 32 × 32 alpha-blended sprites in a 1136 × 640 frame.
//
//   CanvasSprites     N sprites of one texture into a render target, each
//                     frame ended by glFinish so the GPU's work is counted
//   MinimalGlSprites  the same quads from one static buffer in one draw call
//                     of a minimal hand-written GL loop: the floor
//   Batches           500 sprites as a game draws them, by texture order:
//                     one texture (one batch); two textures alternating
//                     (every sprite its own batch); twenty textures
//                     interleaved (the same, over more textures); with
//                     linear filtering and mipmaps (what the game loads) or
//                     nearest; presented by a swap into a window as the game
//                     does, or by glFinish on a render target. Goal: a frame
//                     of 500 batches costs under twice the one batch.
//
// Run: SDL_VIDEODRIVER=offscreen ./bench-canvas (or under an X display with SDL_VIDEODRIVER=x11)
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/app.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "platform/gl.h"
#include "support/benchsupport.h"

namespace {

constexpr int width = 1136;
constexpr int height = 640;
constexpr int sprite = 32;

platform::AppInstance& App() {
    static auto* app = new platform::AppInstance();
    return *app;
}

// A disc; variants differ in their blue.
std::shared_ptr<platform::Pixmap> SpritePixmap(int variant = 0) {
    auto pixmap = std::make_shared<platform::Pixmap>(sprite, sprite);
    for (int y = 0; y < sprite; ++y) {
        for (int x = 0; x < sprite; ++x) {
            const float dx = x - 15.5f, dy = y - 15.5f;
            const float alpha = dx * dx + dy * dy < 16 * 16 ? 0.75f : 0.0f;
            pixmap->SetPixel(x, y, {x / 31.0f, y / 31.0f, 0.5f + (variant % 20) / 40.0f, alpha});
        }
    }
    return pixmap;
}

std::vector<platform::Vec2f> Positions(int count) {
    platform::ResetRnd();
    std::vector<platform::Vec2f> positions;
    for (int k = 0; k < count; ++k) {
        positions.push_back({float(platform::Rnd(0, width - sprite)), float(platform::Rnd(0, height - sprite))});
    }
    return positions;
}

void CanvasSprites(benchmark::State& state) {
    App();
    const int count = static_cast<int>(state.range(0));
    const auto positions = Positions(count);
    platform::Image image(SpritePixmap(), platform::TextureFlags::Filter);
    auto target = std::make_shared<platform::Image>(width, height, 0);
    platform::Canvas canvas(target);
    int drawCalls = 0;
    for (auto _ : state) {
        canvas.ResetDrawCalls();
        canvas.Clear(platform::Color::Black());
        for (const auto& p : positions) canvas.DrawImage(image, p.x, p.y);
        canvas.Flush();
        platform::gl::Finish();
        drawCalls = canvas.DrawCalls();
    }
    state.counters["draw_calls"] = drawCalls;
}

// The baseline: one program, one static vertex buffer, one draw call.
void MinimalGlSprites(benchmark::State& state) {
    namespace gl = platform::gl;
    App();
    const int count = static_cast<int>(state.range(0));
    const auto positions = Positions(count);
    struct V {
        float x, y, u, v;
    };
    std::vector<V> vertices;
    for (const auto& p : positions) {
        const float x0 = p.x / width * 2 - 1, y0 = p.y / height * 2 - 1;
        const float x1 = (p.x + sprite) / width * 2 - 1, y1 = (p.y + sprite) / height * 2 - 1;
        const V quad[6] = {{x0, y0, 0, 0}, {x1, y0, 1, 0}, {x1, y1, 1, 1}, {x1, y1, 1, 1}, {x0, y1, 0, 1}, {x0, y0, 0, 0}};
        vertices.insert(vertices.end(), quad, quad + 6);
    }
    const char* vs = "#version 330 core\nlayout(location=0) in vec2 p; layout(location=1) in vec2 t; out vec2 uv;"
                     "void main(){ uv = t; gl_Position = vec4(p, 0, 1); }";
    const char* fs = "#version 330 core\nin vec2 uv; uniform sampler2D image; out vec4 color;"
                     "void main(){ color = texture(image, uv); }";
    const GLuint program = gl::CreateProgram();
    for (auto [type, source] : {std::pair{GLenum(GL_VERTEX_SHADER), vs}, {GLenum(GL_FRAGMENT_SHADER), fs}}) {
        const GLuint shader = gl::CreateShader(type);
        gl::ShaderSource(shader, 1, &source, nullptr);
        gl::CompileShader(shader);
        gl::AttachShader(program, shader);
        gl::DeleteShader(shader);
    }
    gl::LinkProgram(program);

    // The same premultiplied sprite.
    auto pixmap = SpritePixmap();
    std::vector<std::uint8_t> pixels(pixmap->Data(), pixmap->Data() + sprite * sprite * 4);
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        for (int c = 0; c < 3; ++c) pixels[i + c] = static_cast<std::uint8_t>(pixels[i + c] * pixels[i + 3] / 255);
    }
    GLuint texture = 0, colour = 0, framebuffer = 0, vao = 0, vbo = 0;
    gl::GenTextures(1, &texture);
    gl::BindTexture(GL_TEXTURE_2D, texture);
    gl::TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    gl::TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gl::TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, sprite, sprite, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    gl::GenTextures(1, &colour);
    gl::BindTexture(GL_TEXTURE_2D, colour);
    gl::TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    gl::GenFramebuffers(1, &framebuffer);
    gl::BindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    gl::FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour, 0);
    gl::GenVertexArrays(1, &vao);
    gl::BindVertexArray(vao);
    gl::GenBuffers(1, &vbo);
    gl::BindBuffer(GL_ARRAY_BUFFER, vbo);
    gl::BufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices.size() * sizeof(V)), vertices.data(), GL_STATIC_DRAW);
    gl::VertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(V), nullptr);
    gl::VertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(V), reinterpret_cast<void*>(2 * sizeof(float)));
    gl::EnableVertexAttribArray(0);
    gl::EnableVertexAttribArray(1);
    for (auto _ : state) {
        gl::BindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        gl::Viewport(0, 0, width, height);
        gl::Disable(GL_SCISSOR_TEST);
        gl::ClearColor(0, 0, 0, 1);
        gl::Clear(GL_COLOR_BUFFER_BIT);
        gl::Enable(GL_BLEND);
        gl::BlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        gl::UseProgram(program);
        gl::BindVertexArray(vao);
        gl::ActiveTexture(GL_TEXTURE0);
        gl::BindTexture(GL_TEXTURE_2D, texture);
        gl::DrawArrays(GL_TRIANGLES, 0, GLsizei(vertices.size()));
        gl::Finish();
    }
    state.counters["draw_calls"] = 1;
    gl::BindVertexArray(0);
    gl::DeleteBuffers(1, &vbo);
    gl::DeleteVertexArrays(1, &vao);
    gl::DeleteFramebuffers(1, &framebuffer);
    gl::DeleteTextures(1, &colour);
    gl::DeleteTextures(1, &texture);
    gl::DeleteProgram(program);
}

// Batches/<texture order>/<linear>/<swap>: texture order 0 one texture, 1 two
// alternating, 2 twenty interleaved.
void Batches(benchmark::State& state) {
    constexpr int count = 500;
    const int order = static_cast<int>(state.range(0));
    const int flags = state.range(1) ? platform::TextureFlags::FilterMipmap : 0;
    const bool swap = state.range(2) != 0;
    App();
    const auto positions = Positions(count);
    const int textures = order == 0 ? 1 : order == 1 ? 2 : 20;
    std::vector<std::unique_ptr<platform::Image>> images;
    for (int k = 0; k < textures; ++k) images.push_back(std::make_unique<platform::Image>(SpritePixmap(k), flags));

    std::unique_ptr<platform::Window> window;
    std::shared_ptr<platform::Image> target;
    std::unique_ptr<platform::Canvas> targetCanvas;
    if (swap) {
        window = std::make_unique<platform::Window>("bench-canvas", platform::Recti{0, 0, width, height}, 0);
        // The frame's own cost: no wait for a display's vertical sync.
        window->SwapInterval(false);
    } else {
        target = std::make_shared<platform::Image>(width, height, 0);
        targetCanvas = std::make_unique<platform::Canvas>(target);
    }
    platform::Canvas& canvas = swap ? window->GetCanvas() : *targetCanvas;
    int drawCalls = 0;
    for (auto _ : state) {
        canvas.ResetDrawCalls();
        canvas.Clear(platform::Color::Black());
        for (int k = 0; k < count; ++k) {
            canvas.DrawImage(*images[static_cast<std::size_t>(k % textures)], positions[static_cast<std::size_t>(k)].x,
                             positions[static_cast<std::size_t>(k)].y);
        }
        canvas.Flush();
        if (swap) SDL_GL_SwapWindow(static_cast<SDL_Window*>(window->SdlWindow()));
        else platform::gl::Finish();
        drawCalls = canvas.DrawCalls();
    }
    state.counters["draw_calls"] = drawCalls;
    state.SetLabel(std::string(order == 0 ? "one texture" : order == 1 ? "two alternating" : "twenty interleaved") +
                   (flags ? ", linear" : ", nearest") + (swap ? ", swap" : ", glFinish"));
}

BENCHMARK(Batches)
    ->ArgsProduct({{0, 1, 2}, {1, 0}, {1, 0}})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(CanvasSprites)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond)->Repetitions(7)
    ->ReportAggregatesOnly(true);
BENCHMARK(MinimalGlSprites)->Arg(2000)->Arg(10000)->Unit(benchmark::kMillisecond)->Repetitions(7)
    ->ReportAggregatesOnly(true);

}  // namespace

int main(int argc, char** argv) {
    benchsupport::SetUpHeadless();
    return benchsupport::RunBenchmarks(argc, argv);
}
