// Helpers for the scene-graph tests: a clock the test controls, module
// start-up, a sized layer object that records its hooks, and solid images.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "kestrum-scenegraph/scenegraph.h"
#include "platform/image.h"
#include "support/fakeclock.h"

namespace sgtest {

namespace sg = kestrum::scenegraph;

// Starts the scene-graph module; a base of FakeClock so it runs before the
// clock is installed.
struct ScenegraphStarted {
    ScenegraphStarted() { sg::InitScenegraphModule(); }
};

// The shared test clock, with the scene-graph module started first.
struct FakeClock : private ScenegraphStarted, public testsupport::FakeClock {
    explicit FakeClock(std::int64_t start = 0) : testsupport::FakeClock(start) {}
};

// A layer object with a size that counts its updates and records the hooks
// called on it, in order, into a shared log.
class Probe : public sg::LayerObject {
public:
    explicit Probe(std::string name = "", float w = 10, float h = 10, std::vector<std::string>* log = nullptr)
        : log_(log) {
        Name = std::move(name);
        Width(w);
        Height(h);
    }

    int updates = 0;

    void OnUpdate() override {
        ++updates;
        if (log_) log_->push_back("update " + Name);
    }
    void OnCollision(const std::shared_ptr<sg::LayerObject>& other) override {
        if (log_) log_->push_back("hit " + Name + "-" + other->Name);
        if (onCollision) onCollision(other);
    }
    bool CollisionMethod(const std::shared_ptr<sg::LayerObject>& other) override {
        if (log_) log_->push_back("test " + Name + "-" + other->Name);
        return sg::LayerObject::CollisionMethod(other);
    }
    void OnOutro(const std::shared_ptr<sg::LayerObject>& other) override {
        if (log_) log_->push_back("outro " + Name + "-" + (other ? other->Name : std::string("null")));
    }
    void Remove() override {
        if (log_) log_->push_back("remove " + Name);
        sg::LayerObject::Remove();
    }

    std::function<void(const std::shared_ptr<sg::LayerObject>&)> onCollision;

private:
    std::vector<std::string>* log_;
};

// A probe filed on the layer at (x, y) and tagged with the layer's task
// manager, so the layer's pass updates it.
inline std::shared_ptr<Probe> MakeProbe(sg::Layer* layer, float x, float y, std::string name = "",
                                        std::vector<std::string>* log = nullptr) {
    auto probe = std::make_shared<Probe>(std::move(name), 10, 10, log);
    probe->Layer(layer);
    probe->Location({x, y});
    if (layer) probe->TaskManager(layer->TaskManager);
    return probe;
}

// A width × height image of one colour (measurable without GL).
inline platform::ImagePtr SolidImage(int width, int height, platform::Color color) {
    auto pixmap = std::make_shared<platform::Pixmap>(width, height);
    pixmap->Clear(color);
    return std::make_shared<platform::Image>(pixmap);
}

inline sg::ImageArray Frames(std::vector<platform::ImagePtr> images) {
    return std::make_shared<std::vector<platform::ImagePtr>>(std::move(images));
}

}  // namespace sgtest
