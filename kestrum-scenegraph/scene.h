// Scene: the root of the scene graph. It holds the layers (in drawing order)
// and the cameras through which they are seen, an input device polled once
// per update, a task manager for scene-wide tasks and, when the game
// attaches one, a collision monitor. It keeps the scene clock (+20 ms per
// update while the task clock runs), which sprite animation reads, and the
// frame number that stamps the objects updated in the current frame, so an
// object seen by several cameras is updated once.
//
// Layers and cameras join the lists through their own Scene setters. A scene
// that goes away clears the back-references of its layers and cameras.
#pragma once

#include <memory>
#include <string>

#include "kestrum-framework/input.h"
#include "kestrum-framework/taskmanager.h"
#include "kestrum-scenegraph/layer.h"
#include "platform/app.h"
#include "platform/canvas.h"
#include "platform/stack.h"

namespace kestrum::scenegraph {

class Camera;
class CollisionMonitor;

class Scene {
public:
    // A scene for the view (the window); no camera and no layer yet.
    explicit Scene(platform::Window* view);
    virtual ~Scene();
    Scene(const Scene&) = delete;
    Scene& operator=(const Scene&) = delete;

    // Run by Update while the task clock runs; null skips the pass.
    std::shared_ptr<scenegraph::CollisionMonitor> CollisionMonitor;
    // Lets layer objects draw their flags overlay (with their layer's switch).
    bool DrawFlags = false;
    // Update and Draw do nothing while false.
    bool Enabled = true;
    float Height = 0;
    framework::InputDevice InputDevice;
    platform::Stack<std::shared_ptr<Layer>> Layers;
    std::string Name;
    std::shared_ptr<framework::TaskManager> TaskManager;
    platform::Window* View = nullptr;
    float Width = 0;
    // Scene clock in milliseconds.
    float Time = 0;
    platform::Stack<std::shared_ptr<Camera>> Cameras;
    // Updates that ran while the task clock was running; the stamp of the
    // current frame.
    int FrameNumber = 0;

    // Polls the input device, updates the objects of every enabled layer
    // around every enabled camera's view, runs the task manager and, unless
    // the task clock is halted, the collision pass; then advances the clock.
    void Update();
    // Draws every enabled, visible camera; nothing before the first update.
    // The canvas's matrix, blend mode, colour and font are as they were.
    void Draw(platform::Canvas& canvas);
    // The first layer (by its own name) or object of that name.
    virtual FoundObject GetObject(const std::string& name);
    // Null for an index outside the list or an unknown or empty name.
    std::shared_ptr<Layer> GetLayer(int index) const;
    std::shared_ptr<Layer> GetLayer(const std::string& name) const;
    std::shared_ptr<Camera> GetCamera(int index) const;
    std::shared_ptr<Camera> GetCamera(const std::string& name) const;
    // Mouse-button flags of the input device as polled by the current update.
    bool MouseDown(int button) const;
    bool MouseHit(int button) const;
    bool MouseReleased(int button) const;
    void ShowTilemapCounts() const;
    void ClearLayers();
    void Groupify();
};

}  // namespace kestrum::scenegraph
