// Renderer: the batched quad renderer behind every canvas (internal).
//
// A canvas appends quads together with the state they need (texture, shader,
// blend mode, target, viewport, scissor). Quads with the same state collect in
// one batch; a different state, a full batch, a clear or a read-back flushes
// the batch as one draw call. Only one renderer holds unsent quads at a time:
// before one appends, another's batch is sent, so drawing order across
// canvases (a render target drawn, then used) is kept.
//
// Quads go through one GL program (texture × premultiplied vertex colour),
// one vertex array and one vertex buffer, written as a ring so a flush uploads
// only its own batch and never waits for earlier draws, with a fixed quad index buffer;
// lights over normal-mapped images use a second program that shades by the
// normal buffer. Triangles are quads whose last two corners coincide.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/image.h"
#include "platform/types.h"

namespace platform {

struct Vertex {
    float x, y;
    float u, v;
    std::uint8_t r, g, b, a;  // premultiplied
};

// Blend modes beyond the public ones, used by the lighting pass.
namespace InternalBlend {
// Multiplies the colour of the destination by the source, keeping its alpha.
constexpr int MultiplyKeepAlpha = 100;
}  // namespace InternalBlend

// Where drawing goes: a texture through its framebuffer, or the default
// framebuffer (texture null) of the given size.
struct DrawTarget {
    Texture* texture = nullptr;
    int width = 0;
    int height = 0;
    bool operator==(const DrawTarget&) const = default;
};

struct BatchState {
    Texture* texture = nullptr;
    int blend = 0;
    DrawTarget target;
    Recti viewport;      // in target pixels, y from the top
    bool scissor = false;
    Recti scissorRect;   // in target pixels, y from the top
    // A light shaded by a normal buffer of the target's size (null: plain
    // sprite), with the light's centre in target pixels and its height.
    Texture* normals = nullptr;
    Vec2f lightCentre;
    float lightDepth = 0;
    bool operator==(const BatchState&) const = default;
};

class Renderer {
public:
    static constexpr int MaxQuads = 16384;

    Renderer() = default;
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Room for count (1 to MaxQuads) quads of four vertices each, in the batch
    // of this state; flushes first when the state differs or the batch is full.
    // texture keeps the texture alive until the batch is sent.
    Vertex* Reserve(const BatchState& state, const std::shared_ptr<Texture>& texture, int count);
    void Flush();
    // Clears the part of the target inside the viewport and the scissor to a straight colour.
    void Clear(const BatchState& state, Color color);
    // Reads target pixels (rect in target pixels, y from the top) into a straight-alpha pixmap.
    std::shared_ptr<Pixmap> ReadPixels(const DrawTarget& target, Recti rect);

    int DrawCalls() const { return drawCalls_; }
    void ResetDrawCalls() { drawCalls_ = 0; }
    int PendingQuads() const { return static_cast<int>(vertices_.size() / 4); }

    // Sends the batch of whichever renderer holds unsent quads.
    static void FlushPending();
    // Forgets the shared GL objects when their context is destroyed.
    static void ContextLost();

private:
    // Binds the target, viewport, scissor and blend mode of the state.
    static void Apply(const BatchState& state);

    BatchState state_;
    std::shared_ptr<Texture> texture_;
    std::vector<Vertex> vertices_;
    int drawCalls_ = 0;
};

}  // namespace platform
