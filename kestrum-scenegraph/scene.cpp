#include "kestrum-scenegraph/scene.h"

#include "kestrum-scenegraph/camera.h"
#include "kestrum-scenegraph/collisionmonitor.h"

namespace kestrum::scenegraph {

namespace {

// The first entry named name; null for an empty name or none.
template <typename T>
std::shared_ptr<T> Named(const platform::Stack<std::shared_ptr<T>>& list, const std::string& name) {
    if (name.empty()) return nullptr;
    for (const auto& entry : list) {
        if (entry->Name == name) return entry;
    }
    return nullptr;
}

}  // namespace

Scene::Scene(platform::Window* view)
    : TaskManager(std::make_shared<framework::TaskManager>()), View(view) {}

Scene::~Scene() {
    // Layers and cameras kept alive elsewhere must not point at a scene that is gone.
    for (auto& layer : Layers) layer->Scene_ = nullptr;
    for (auto& camera : Cameras) camera->Scene_ = nullptr;
}

void Scene::Update() {
    if (!Enabled) return;
    InputDevice.Update();
    for (int c = 0; c < Cameras.Length(); ++c) {
        std::shared_ptr<Camera> camera = Cameras[c];
        if (!camera->Enabled) continue;
        for (int l = 0; l < Layers.Length(); ++l) {
            std::shared_ptr<Layer> layer = Layers[l];
            if (layer->Enabled) layer->UpdateObjects_(camera.get());
        }
    }
    TaskManager->Update(FrameNumber);
    if (!framework::TasksHalted()) {
        if (CollisionMonitor) {
            auto monitor = CollisionMonitor;
            monitor->Update();
        }
        FrameNumber += 1;
        Time += 20.0f;
    }
}

void Scene::Draw(platform::Canvas& canvas) {
    if (!Enabled || FrameNumber == 0) return;
    const int blend = canvas.BlendMode();
    const platform::Color color = canvas.Color();
    const platform::FontPtr font = canvas.Font();
    canvas.PushMatrix();
    for (int c = 0; c < Cameras.Length(); ++c) {
        std::shared_ptr<Camera> camera = Cameras[c];
        if (camera->Enabled && camera->Visible) camera->Draw(canvas);
    }
    canvas.PopMatrix();
    canvas.BlendMode(blend);
    canvas.Color(color);
    canvas.Font(font);
}

FoundObject Scene::GetObject(const std::string& name) {
    for (int l = 0; l < Layers.Length(); ++l) {
        FoundObject found = Layers[l]->GetObject(name);
        if (found) return found;
    }
    return {};
}

std::shared_ptr<Layer> Scene::GetLayer(int index) const { return Layers.Get(index); }

std::shared_ptr<Layer> Scene::GetLayer(const std::string& name) const { return Named(Layers, name); }

std::shared_ptr<Camera> Scene::GetCamera(int index) const { return Cameras.Get(index); }

std::shared_ptr<Camera> Scene::GetCamera(const std::string& name) const { return Named(Cameras, name); }

namespace {

bool ButtonFlag(const std::array<bool, 4>& flags, int button) {
    return button >= 1 && button <= 3 && flags[static_cast<std::size_t>(button)];
}

}  // namespace

bool Scene::MouseDown(int button) const { return ButtonFlag(InputDevice.Down, button); }
bool Scene::MouseHit(int button) const { return ButtonFlag(InputDevice.Hit, button); }
bool Scene::MouseReleased(int button) const { return ButtonFlag(InputDevice.Released, button); }

void Scene::ShowTilemapCounts() const {
    for (const auto& layer : Layers) layer->ShowTilemapCounts();
}

void Scene::ClearLayers() {
    for (int l = 0; l < Layers.Length(); ++l) {
        std::shared_ptr<Layer> layer = Layers[l];
        layer->Clear();
    }
}

void Scene::Groupify() {
    for (int l = 0; l < Layers.Length(); ++l) {
        std::shared_ptr<Layer> layer = Layers[l];
        layer->Groupify();
    }
}

}  // namespace kestrum::scenegraph
