// Emitter: a particle effect read from a particle file, one EmitterCache per
// block. Set turns an entry into a concrete particle by drawing each of its
// ranges from the shared, never seeded generator in a fixed order (24 draws
// per particle), so the same play gives the same effect in every run. Play
// makes new particles and places them on a layer.
//
// Particle file: blank-line separated blocks of key=value lines. A number
// value is one number or a range "low,high"; an absent key is 0, except
// "handleX" and "handleY" (0.5). "blendMode" is a blend-mode name and
// "imagePath" a ","-separated list of image paths. A missing or empty file
// gives one entry of defaults, which emits nothing; a malformed number reads
// as its leading number or 0; an image that fails to load is a null frame.
// A count of particles beyond MaxParticles reads as MaxParticles, and one
// that is not a number or infinite as 0, so a damaged file cannot make one
// Play run for ever.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kestrum-framework/config.h"
#include "kestrum-framework/contentmanager.h"
#include "kestrum-scenegraph/objectlist.h"
#include "platform/types.h"

namespace kestrum::scenegraph {

class Layer;
class Particle;

// The values of one particle-file block. Each range is two Floats (low,
// high); a default-constructed entry has empty ranges, which read as 0.
struct EmitterCache {
    using Range = std::vector<float>;
    Range AccelerationX, AccelerationY, Alpha, Angle, Delay;
    int BlendMode = 2;
    Range Blue, DragX, DragY, Frame, Gravity, Green, HandleX, HandleY;
    ImageArray Images;
    Range Particles, Red, Scale, Spin, TargetAlpha, TargetBlue, TargetGreen, TargetRed, TargetScale, TimeToLive,
        VelocityX, VelocityY;
};

class Emitter {
public:
    using ContentManagerPtr = std::shared_ptr<framework::contentmanager::ContentManager>;

    Emitter() = default;
    explicit Emitter(const std::string& path);
    virtual ~Emitter() = default;

    // One entry per block in file order; empty until a file is loaded.
    std::vector<EmitterCache> Caches;
    std::vector<std::shared_ptr<framework::Config>> Configs;

    // The cache through which the images load; the shared Content when none
    // is set. Set it before Load.
    void ContentManager(ContentManagerPtr manager) { ContentManager_ = std::move(manager); }
    ContentManagerPtr ContentManager() const;

    // Reads the particle file and replaces Caches and Configs.
    void Load(const std::string& path);
    // Called once per block after it is parsed, before its keys are read.
    virtual void OnConfig(const std::shared_ptr<framework::Config>&) {}

    // Initialises the particle from the entry; size scales acceleration,
    // scale, target scale and velocity. Does not place or enable it.
    static void Set(const EmitterCache& cache, const std::shared_ptr<Particle>& particle, float size);
    // Emits every entry's particles at (x, y) on the layer; nothing while the
    // task clock is halted or without a layer.
    void Play(Layer* layer, float x, float y, float size, float z, bool floating);
    void Play(Layer* layer, platform::Vec2f location, float size, float z, bool floating) {
        Play(layer, location.x, location.y, size, z, floating);
    }

    // A one-element range's value, else a uniform draw in [low, high); an
    // empty range is 0 and draws nothing.
    static float PickInRange(const std::vector<float>& range);

    // The most particles one entry emits in one Play.
    static constexpr int MaxParticles = 1000;
    // PickInRange of the entry's Particles, bounded to MaxParticles; NaN and
    // infinities give 0. The emitters draw their count through this.
    static float PickParticleCount(const EmitterCache& cache);

private:
    // The two-element range of a split value.
    static std::vector<float> ToFloatData_(const std::vector<std::string>& values);

    ContentManagerPtr ContentManager_;
};

}  // namespace kestrum::scenegraph
