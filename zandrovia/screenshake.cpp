// Zandrovia: a short, decaying jolt of a camera.
#include "zandrovia/screenshake.h"

#include "kestrum-scenegraph/camera.h"
#include "kestrum-scenegraph/layer.h"
#include "kestrum-scenegraph/layerobject.h"
#include "platform/clock.h"

namespace {

// What read gives with the camera standing at position; the camera is put
// back afterwards, so neither the picture nor the shake notices.
template <typename Read>
auto WithCameraAt(kestrum::scenegraph::Camera& camera, platform::Vec2f position, Read read) {
    const platform::Vec2f saved = camera.Position;
    camera.Position = position;
    const auto result = read();
    camera.Position = saved;
    return result;
}

}  // namespace

ScreenShake::ScreenShake(std::shared_ptr<kestrum::scenegraph::Camera> target) : Target(std::move(target)) {
    if (Target) shown_ = Target->Position;
}

void ScreenShake::Shake(int magnitude, float decay) {
    if (Active) return;
    if (Target) {
        OrigX = Target->X();
        OrigY = Target->Y();
    }
    Magnitude = static_cast<float>(magnitude);
    Decay = decay;
    Active = true;
}

void ScreenShake::Update() {
    if (Target) shown_ = Target->Position;
    if (!Active) return;
    const float old = Magnitude;
    Magnitude = old * Decay;
    const float x = Magnitude / 2 - static_cast<float>(platform::Rnd(old)) + OrigX;
    const float y = Magnitude / 2 - static_cast<float>(platform::Rnd(old)) + OrigY;
    if (Target) {
        Target->X(x);
        Target->Y(y);
    }
    if (static_cast<int>(Magnitude) == 0) {
        if (Target) {
            Target->X(OrigX);
            Target->Y(OrigY);
        }
        Active = false;
    }
}

platform::Vec2f ScreenShake::RestPosition() const {
    if (Active) return {OrigX, OrigY};
    return Target ? Target->Position : platform::Vec2f{0, 0};
}

platform::Vec2f ScreenShake::SteadyMouseLocation(kestrum::scenegraph::Layer* layer) const {
    if (!Target) return {0, 0};
    return WithCameraAt(*Target, RestPosition(), [&] { return Target->GetMouseLocation(layer); });
}

bool ScreenShake::PointOnShownFrame(kestrum::scenegraph::LayerObject& object, platform::Vec2f point) const {
    if (!Target) return false;
    return WithCameraAt(*Target, shown_, [&] { return object.PointInside(Target.get(), point.x, point.y); });
}
