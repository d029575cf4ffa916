#include "kestrum-scenegraph/emitter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "kestrum-framework/assetpath.h"
#include "kestrum-framework/strings.h"
#include "kestrum-framework/taskmanager.h"
#include "kestrum-framework/utilities.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/particle.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/text.h"

namespace kestrum::scenegraph {

Emitter::Emitter(const std::string& path) { Load(path); }

Emitter::ContentManagerPtr Emitter::ContentManager() const {
    return ContentManager_ ? ContentManager_ : framework::Content;
}

std::vector<float> Emitter::ToFloatData_(const std::vector<std::string>& values) {
    const float low = values.empty() ? 0.0f : platform::ToFloat(values[0]);
    const float high = values.size() >= 2 ? platform::ToFloat(values[1]) : low;
    return {low, high};
}

float Emitter::PickInRange(const std::vector<float>& range) {
    if (range.empty()) return 0;
    if (range.size() == 1) return range[0];
    return static_cast<float>(platform::Rnd(range[0], range[1]));
}

float Emitter::PickParticleCount(const EmitterCache& cache) {
    const float count = PickInRange(cache.Particles);
    if (!std::isfinite(count)) return 0;
    return std::min(count, static_cast<float>(MaxParticles));
}

void Emitter::Load(const std::string& path) {
    std::string text = platform::LoadString(framework::ResolvePath(path, "asset::"));
    text = platform::Trim(platform::Replace(text, "\n\r", "\n"));
    const std::vector<std::string> blocks = platform::Split(text, "\n\n");
    const std::size_t count = blocks.empty() ? 1 : blocks.size();
    Caches.assign(count, EmitterCache{});
    Configs.assign(count, nullptr);
    const ContentManagerPtr content = ContentManager();
    for (std::size_t b = 0; b < count; ++b) {
        auto config = std::make_shared<framework::Config>();
        Configs[b] = config;
        config->Parse(b < blocks.size() ? blocks[b] : std::string());
        OnConfig(config);
        EmitterCache& cache = Caches[b];
        auto range = [&config](const char* key, const char* absent = "") {
            return ToFloatData_(platform::Split(config->ReadString(key, absent), ","));
        };
        // Read in alphabetical order of key: the search resumes at the last hit.
        cache.AccelerationX = range("accelerationX");
        cache.AccelerationY = range("accelerationY");
        cache.Alpha = range("alpha");
        cache.Angle = range("angle");
        cache.BlendMode = framework::BlendModeFromName(config->ReadString("blendMode", ""));
        cache.Blue = range("blue");
        cache.Delay = range("delay");
        cache.DragX = range("dragX");
        cache.DragY = range("dragY");
        cache.Frame = range("frame");
        cache.Gravity = range("gravity");
        cache.Green = range("green");
        cache.HandleX = range("handleX", "0.5");
        cache.HandleY = range("handleY", "0.5");
        const std::string imagePath = config->ReadString("imagePath", "");
        cache.Particles = range("particles");
        cache.Red = range("red");
        cache.Scale = range("scale");
        cache.Spin = range("spin");
        cache.TargetAlpha = range("targetAlpha");
        cache.TargetBlue = range("targetBlue");
        cache.TargetGreen = range("targetGreen");
        cache.TargetRed = range("targetRed");
        cache.TargetScale = range("targetScale");
        cache.TimeToLive = range("timeToLive");
        cache.VelocityX = range("velocityX");
        cache.VelocityY = range("velocityY");
        std::vector<std::string> paths;
        if (!imagePath.empty()) paths = platform::Split(imagePath, ",");
        cache.Images = std::make_shared<std::vector<platform::ImagePtr>>(paths.size());
        for (std::size_t k = 0; k < paths.size(); ++k) {
            // A failed load leaves a null frame, drawn as the placeholder.
            if (content) (*cache.Images)[k] = content->GetImage(paths[k], nullptr, 12);
        }
    }
}

void Emitter::Set(const EmitterCache& cache, const std::shared_ptr<Particle>& particle, float size) {
    if (!particle) return;
    Particle& p = *particle;
    p.Images(cache.Images);
    p.Acceleration.x = PickInRange(cache.AccelerationX) * size;
    p.Acceleration.y = PickInRange(cache.AccelerationY) * size;
    p.BlendMode = cache.BlendMode;
    p.Color.r = PickInRange(cache.Red);
    p.Color.g = PickInRange(cache.Green);
    p.Color.b = PickInRange(cache.Blue);
    p.Color.a = PickInRange(cache.Alpha);
    p.Delay = TruncToInt(PickInRange(cache.Delay));
    p.Frame = PickInRange(cache.Frame);
    p.Drag.x = PickInRange(cache.DragX);
    p.Drag.y = PickInRange(cache.DragY);
    p.Gravity = PickInRange(cache.Gravity);
    p.Handle.x = PickInRange(cache.HandleX);
    p.Handle.y = PickInRange(cache.HandleY);
    p.Spin = PickInRange(cache.Spin);
    p.TargetColor.r = PickInRange(cache.TargetRed);
    p.TargetColor.g = PickInRange(cache.TargetGreen);
    p.TargetColor.b = PickInRange(cache.TargetBlue);
    p.TargetColor.a = PickInRange(cache.TargetAlpha);
    p.TimeToLive = PickInRange(cache.TimeToLive);
    const float angle = PickInRange(cache.Angle) / 360.0f * 2.0f * std::numbers::pi_v<float>;
    const float scale = PickInRange(cache.Scale) * size;
    const float target = PickInRange(cache.TargetScale) * size;
    p.Rotation = angle;
    p.Scale = {scale, scale};
    p.TargetScale = {target, target};
    p.Velocity.x = PickInRange(cache.VelocityX) * std::cos(angle) * size;
    p.Velocity.y = PickInRange(cache.VelocityY) * std::sin(angle) * size;
}

void Emitter::Play(Layer* layer, float x, float y, float size, float z, bool floating) {
    if (framework::TasksFrozen() || framework::TasksPaused()) return;
    if (layer == nullptr) return;
    for (const EmitterCache& cache : Caches) {
        int count = 0;
        while (true) {
            const float n = PickParticleCount(cache);
            if (!(n > static_cast<float>(count))) break;
            auto particle = std::make_shared<Particle>();
            particle->Layer(layer);
            particle->TaskManager(layer->TaskManager);
            particle->Location({x, y});
            particle->Z = z;
            particle->Floating = floating;
            Set(cache, particle, size);
            ++count;
        }
    }
}

}  // namespace kestrum::scenegraph
