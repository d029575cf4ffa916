// LayerObject: the base of everything placed in a scene (sprites, labels,
// groups, lines, particles and every actor of the game).
//
// An object is in one of three placements: free, filed in one cell of a
// layer's grid (by its own position), or a member of a group. The Layer and
// Group setters keep this: each leaves the other placement first, and every
// position setter re-files the object in its layer's grid.
//
// Ownership: a layer's cell lists, a group's member list, the collision lists
// and task managers hold objects through std::shared_ptr. The object's
// back-references (layer, cell, group, monitors) are raw pointers that the
// owners clear when they go away, so no cycle keeps anything alive. An
// object must itself be owned by a std::shared_ptr before it is placed
// (placing one that is not throws std::bad_weak_ptr).
//
// Hooks: OnUpdate, OnCollision and OnOutro may remove any object, this one
// included, from its layer, group or collision list; the passes that call
// them walk by index and tolerate it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kestrum-framework/config.h"
#include "kestrum-framework/taskmanager.h"
#include "kestrum-scenegraph/objectlist.h"
#include "platform/app.h"
#include "platform/canvas.h"
#include "platform/types.h"

namespace kestrum::scenegraph {

class Camera;
class CollisionMonitor;
class Layer;
class LayerGroup;
class LayerSprite;
class Scene;
class ScoreSystem;

class LayerObject : public framework::Task {
public:
    LayerObject();
    ~LayerObject() override = default;

    // Plain fields, read and written directly.
    int BlendMode = 2;
    platform::Color Color{1, 1, 1, 1};
    // Debug flag number of the flags overlay: -1 none, 0..7 a palette colour.
    int Flags = -1;
    // Floating objects are listed after all others by the culling pass.
    bool Floating = false;
    std::shared_ptr<framework::Config> GlobalProperties;
    // Anchor as a fraction of the size: (0, 0) top-left, (0.5, 0.5) centre.
    platform::Vec2f Handle{0.5f, 0.5f};
    std::shared_ptr<framework::Config> SourceConfig;
    std::shared_ptr<framework::Config> Properties;
    // Radians, positive turns clockwise on the screen.
    float Rotation = 0;
    platform::Vec2f Scale{1, 1};
    // Credited with kills made by this object; never paired with it as a
    // collision reader.
    std::shared_ptr<LayerObject> Owner;
    // Null: the object takes part in no score exchange.
    std::shared_ptr<scenegraph::ScoreSystem> ScoreSystem;
    bool Selected = false;
    // A tattooed object ignores Remove and Discard.
    bool Tattooed = false;
    bool Visible = true;
    // Depth value from scene files; nothing in the scene graph reads it.
    float Z = 0;

    virtual void Y(float y);
    virtual float Y() const { return Location_.y; }
    virtual void X(float x);
    virtual float X() const { return Location_.x; }
    virtual void Width(float width) { Width_ = width; }
    virtual float Width() const { return Width_; }
    // Leaves the task manager, the layer, the group and both collision lists,
    // then disables the object. Nothing for a tattooed object.
    virtual void Remove();
    // Called by a scene loader after it has built and placed the object.
    virtual void Ready() {}
    // Whether the window point, seen through the camera, lies inside the
    // object's rotated box (edges included). False without a layer.
    virtual bool PointInside(Camera* camera, float x, float y);
    bool PointInside(Camera* camera, platform::Vec2f point) { return PointInside(camera, point.x, point.y); }
    // Called by the score resolver on a destroyed object with its destroyer.
    virtual void OnOutro(const std::shared_ptr<LayerObject>& other);
    // Called by the collision monitor on a reader with the writer it touches.
    virtual void OnCollision(const std::shared_ptr<LayerObject>& other);
    // Layer::Clear calls it on every object; the base does what Remove does.
    virtual void Discard();
    virtual void Location(platform::Vec2f location);
    virtual platform::Vec2f Location() const { return {X(), Y()}; }
    // Leaves the current cell and the group, then files the object in the
    // layer (null: free). Setting the same layer again moves the object to
    // the end of its cell list, in front of the others of its cell.
    virtual void Layer(scenegraph::Layer* layer);
    void Layer(const std::shared_ptr<scenegraph::Layer>& layer) { Layer(layer.get()); }
    // The own layer, or for a group member the layer of its outermost group.
    virtual scenegraph::Layer* Layer() const;
    virtual void Height(float height) { Height_ = height; }
    virtual float Height() const { return Height_; }
    // This object when its Name equals the name (case-sensitive), else null.
    virtual std::shared_ptr<LayerObject> GetObject(const std::string& name);
    // The base draws only the debug overlays.
    virtual void Draw(platform::Canvas& canvas);
    // Default: the axis-aligned boxes (scaled sizes truncated), centred on
    // the positions, overlap; touching boxes do not.
    virtual bool CollisionMethod(const std::shared_ptr<LayerObject>& other);

    float Alpha() const { return Color.a; }
    void Alpha(float alpha) { Color.a = alpha; }
    float ScaleX() const { return Scale.x; }
    void ScaleX(float x) { Scale.x = x; }
    float ScaleY() const { return Scale.y; }
    void ScaleY(float y) { Scale.y = y; }
    float HandleX() const { return Handle.x; }
    void HandleX(float x) { Handle.x = x; }
    float HandleY() const { return Handle.y; }
    void HandleY(float y) { Handle.y = y; }
    float ScaledWidth() const { return Width() * Scale.x; }
    float ScaledHeight() const { return Height() * Scale.y; }

    // Leaves the layer grid and the old group, then joins the group's member
    // list at the end (null: free).
    void Group(LayerGroup* group);
    void Group(const std::shared_ptr<LayerGroup>& group);
    LayerGroup* Group() const { return Group_; }
    // Enclosing groups, innermost first; empty when in no group.
    std::vector<LayerGroup*> Groups() const;
    LayerGroup* RootGroup() const;
    void Groupify(const std::string& name) { Groupify_ = name; }
    const std::string& Groupify() const { return Groupify_; }

    // Registration with the collision monitor of the scene of the object's
    // own layer; needs the object to be filed in a layer first.
    void CollisionWrite(bool on);
    bool CollisionWrite() const { return WriterMonitor_ != nullptr; }
    void CollisionRead(bool on);
    bool CollisionRead() const { return ReaderMonitor_ != nullptr; }
    CollisionMonitor* ReaderMonitor() const { return ReaderMonitor_; }
    CollisionMonitor* WriterMonitor() const { return WriterMonitor_; }

    // The hit resolver between this object and other: each loses the other's
    // energy (an object in no layer deals none, an invulnerable record takes
    // none); whichever falls below 1 gets OnOutro and Remove, its points
    // credited to the destroyer's owner, or to the destroyer.
    void ApplyScoreSystem(const std::shared_ptr<LayerObject>& other);

    // World values through the enclosing groups (recomputed on every call
    // for a group member).
    float WorldX();
    float WorldY();
    float WorldRotation();
    float WorldScaleX();
    float WorldScaleY();
    float WorldWidth();
    float WorldHeight();

    // The view of the scene of the object's own layer; null without one.
    platform::Window* View() const;
    // The colour tinted by the enclosing groups and the layer's colour.
    platform::Color Brightness(platform::Color color) const;

    // Corners of the unscaled box, turned about the position by Rotation.
    platform::Vec2f TopLeft() const;
    platform::Vec2f TopRight() const;
    platform::Vec2f BottomLeft() const;
    platform::Vec2f BottomRight() const;

    // Mouse-button flags of the scene's input device (1 left, 2 middle, 3
    // right); false without a layer in a scene. The camera forms also ask
    // whether the pointer lies inside the object.
    bool MouseDown(int button) const;
    bool MouseHit(int button) const;
    bool MouseReleased(int button) const;
    bool MouseDown(Camera* camera, int button);
    bool MouseHit(Camera* camera, int button);
    bool MouseReleased(Camera* camera, int button);
    bool MouseOver(Camera* camera);
    // The mouse position taken through the camera into the object's layer;
    // (0, 0) without a layer.
    platform::Vec2f GetMouseLocation(Camera* camera) const;

    // Neighbour lookups through a layer's grid: the topmost enabled, visible
    // object other than this one in the cell holding (X + dx, Y + dy).
    std::shared_ptr<LayerObject> GetLayerObject(scenegraph::Layer* layer, int dx, int dy);
    std::shared_ptr<LayerObject> GetLayerObject(scenegraph::Layer* layer, platform::Vec2i offset) {
        return GetLayerObject(layer, offset.x, offset.y);
    }
    std::shared_ptr<LayerObject> GetLayerObject(int dx, int dy) { return GetLayerObject(Layer(), dx, dy); }
    std::shared_ptr<LayerObject> GetLayerObject(platform::Vec2i offset) { return GetLayerObject(Layer(), offset); }
    std::shared_ptr<LayerObject> GetLayerObject(const std::vector<scenegraph::Layer*>& layers,
                                                const std::vector<int>& dx, const std::vector<int>& dy,
                                                const std::vector<std::string>& identifiers);
    std::shared_ptr<LayerObject> GetLayerObject(const std::vector<scenegraph::Layer*>& layers,
                                                const std::vector<int>& dx, const std::vector<int>& dy,
                                                const std::vector<int>& identifiers);

    // Whether no task of the scene's task manager has this identifier. An
    // object on no layer in a scene has no rival and answers True.
    bool UniqueIdentifier() const;
    // The first task of the scene's task manager with this identifier when
    // it is a sprite; null otherwise.
    std::shared_ptr<LayerSprite> GetSyncronizer() const;

    // The grid cell that holds the object (null when not filed).
    ObjectList* Cell() const { return Cell_; }

protected:
    // This object as a shared reference; null when nothing owns it.
    std::shared_ptr<LayerObject> Self_() { return std::static_pointer_cast<LayerObject>(weak_from_this().lock()); }
    // Debug overlay drawn by Draw for a selected object.
    void DrawSelected_(platform::Canvas& canvas);

    // The position and size the accessors read; derived shapes set them.
    float Height_ = 0;
    platform::Vec2f Location_{0, 0};
    float Width_ = 0;

private:
    // Re-files the object in its layer's grid by its own position; nothing
    // without a layer. The size plays no part.
    virtual void UpdateLocation_();
    void UpdateWorldData_();
    void DrawFlags_(platform::Canvas& canvas);
    bool MouseFlag_(int which, int button) const;
    void Register_(bool on, bool reader);

    // Back-references and placement state; the owners keep them in step.
    ObjectList* Cell_ = nullptr;
    CollisionMonitor* ReaderMonitor_ = nullptr;
    CollisionMonitor* WriterMonitor_ = nullptr;
    LayerGroup* Group_ = nullptr;
    std::string Groupify_;
    scenegraph::Layer* Layer_ = nullptr;
    platform::Vec2f WorldLocation_{0, 0};
    float WorldRotation_ = 0;
    platform::Vec2f WorldScale_{0, 0};
    float WorldWidth_ = 0;
    float WorldHeight_ = 0;

    // The owners of the back-references clear them when they go away, and
    // the layer files its objects and re-files them when its cells change.
    friend class CollisionMonitor;
    friend class scenegraph::Layer;
    friend class LayerGroup;
    friend std::shared_ptr<LayerObject> CopyLayerObject(const std::shared_ptr<LayerObject>& source,
                                                        const std::shared_ptr<LayerObject>& target);
};

// Copies the task part, then BlendMode, Color, GlobalProperties, Handle,
// Height, SourceConfig, Location, Rotation, Scale, Selected, Tattooed,
// Visible, Width and Z as values and shared references, and a copy of the
// Properties lines. Returns target; null (copying nothing) when either is
// null. The target's placement (layer, cell, group) is left as it was: a
// copied back-reference would name a cell that does not hold the target.
std::shared_ptr<LayerObject> CopyLayerObject(const std::shared_ptr<LayerObject>& source,
                                             const std::shared_ptr<LayerObject>& target);

}  // namespace kestrum::scenegraph
