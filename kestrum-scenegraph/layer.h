// Layer: one plane of a scene. Its objects are filed in a grid of cells
// (2048 × 2048 layer units by default, 3 × 3 cells at creation, grown to the
// right and downward; negative positions fall into the first row or column),
// so that each camera only visits the cells around its view: once per camera
// and frame a culling pass lists the enabled objects of the cells from two
// cells before to three cells after the view on each axis, floating objects
// last, and only those are updated and drawn.
//
// The grid has at most MaxCells columns and rows: with the default cell size
// positions from 0 to about half a million units are filed exactly, and
// anything further out shares the last column or row, which a camera looking
// out there visits. A stray position (a scene file's x=1e9) thus costs no
// more memory than one at the edge of the world.
//
// A layer also carries its drawing parameters (offset, parallax, tint,
// ambient light for a lighting pass, visibility), an optional draw-order hook
// and its own TaskManager, which only tags the objects its pass updates.
//
// The cell lists own the objects. A layer that goes away clears the
// back-references of the objects still filed in it. Layers are shared: make
// them with Layer::New or std::make_shared before giving them a scene.
#pragma once

#include <memory>
#include <string>

#include "kestrum-framework/arrays.h"
#include "kestrum-framework/taskmanager.h"
#include "kestrum-scenegraph/layerobject.h"
#include "kestrum-scenegraph/objectlist.h"
#include "platform/canvas.h"
#include "platform/types.h"

namespace kestrum::scenegraph {

class Camera;
class Scene;

// Draw-order hook: may reorder the freshly culled draw list in place.
class ISorter {
public:
    virtual ~ISorter() = default;
    virtual void Sort(ObjectList& list) = 0;
};

// What a lookup by name finds in a layer or scene: the layer itself or an
// object (at most one of the two is set).
struct FoundObject {
    std::shared_ptr<scenegraph::Layer> Layer;
    std::shared_ptr<LayerObject> Object;
    explicit operator bool() const { return Layer || Object; }
};

class Layer : public std::enable_shared_from_this<Layer> {
public:
    using Grid = framework::Array2D<std::unique_ptr<ObjectList>>;

    Layer();
    virtual ~Layer();
    Layer(const Layer&) = delete;
    Layer& operator=(const Layer&) = delete;

    // A new layer appended to the scene's layer list (drawn above the others).
    static std::shared_ptr<Layer> New(scenegraph::Scene* scene = nullptr);

    // (0, 0, 0, 0) = off; otherwise the objects are drawn in a lighting pass.
    platform::Color AmbientLight{0, 0, 0, 0};
    // Tint applied by LayerObject::Brightness; (0, 0, 0, 0) = none.
    platform::Color Color{0, 0, 0, 0};
    // The most columns, and the most rows, the grid grows to.
    static constexpr int MaxCells = 256;

    // Extra cells visited around a camera's view, per axis.
    platform::Vec2i CullMargin{2, 2};
    bool DrawFlags = false;
    bool DrawSelected = true;
    bool Enabled = true;
    float Height = 0;
    std::string Identifier;
    platform::Vec2f Offset{0, 0};
    platform::Vec2f Parallax{1, 1};
    std::string Name;
    std::shared_ptr<ISorter> Sorter;
    // Tag: the layer's pass updates only objects whose manager is this one.
    std::shared_ptr<framework::TaskManager> TaskManager;
    bool Tattooed = false;
    int Type = 0;
    bool Visible = true;
    float Width = 0;
    // Working lists, refilled by every culling pass.
    ObjectList FloatingList;
    ObjectList DrawList;
    ObjectList UpdateList;

    // Leaves the scene unless tattooed; the objects stay filed in the layer.
    virtual void Remove();
    // The layer itself when its Name matches, else the first object of that
    // name in grid order.
    virtual FoundObject GetObject(const std::string& name);
    virtual void DrawOverlay(platform::Canvas&) {}
    virtual void DrawForeground(platform::Canvas&) {}
    virtual void DrawBackground(platform::Canvas&) {}

    // Leaves the old scene's list and joins the new one at the end.
    void Scene(scenegraph::Scene* scene);
    scenegraph::Scene* Scene() const { return Scene_; }
    // Joins the scene's list at index (clamped into the list).
    void Insert(scenegraph::Scene* scene, int index);
    platform::Window* View() const;

    float X() const { return Offset.x; }
    void X(float x) { Offset.x = x; }
    float Y() const { return Offset.y; }
    void Y(float y) { Offset.y = y; }
    float ParallaxX() const { return Parallax.x; }
    void ParallaxX(float x) { Parallax.x = x; }
    float ParallaxY() const { return Parallax.y; }
    void ParallaxY(float y) { Parallax.y = y; }
    // Centres a Width × Height area in the view; nothing without a view.
    void Center();

    // Sets the cell size and re-files every object; a size with a component
    // below 1 is ignored.
    void TileSize(platform::Vec2i size);
    platform::Vec2i TileSize() const { return CellSize_; }
    int HorizontalTiles() const { return Grid_.Columns(); }
    int VerticalTiles() const { return Grid_.Rows(); }
    const Grid& Cells() const { return Grid_; }

    // With units, the cell for the position (x, y); without, the list at
    // column x, row y (null when there is none).
    ObjectList* GetLayerObjects(int x, int y, bool units);
    ObjectList* GetLayerObjects(platform::Vec2i point, bool units) { return GetLayerObjects(point.x, point.y, units); }

    // Every object whose Enabled and Visible equal the arguments, in grid order.
    ObjectList GetAllLayerObjects(bool enabled, bool visible) const;
    int CountLayerObjects() const;
    // Moves every enabled, visible object through its position setters.
    void Scroll(float dx, float dy);
    // Moves every enabled, visible, ungrouped object whose Groupify names a
    // group of this layer into that group.
    void Groupify();
    // Discard on every object of the grid.
    void Clear();
    // Prints the cells holding more than one object.
    void ShowTilemapCounts() const;

    bool MouseDown(int button) const;
    bool MouseHit(int button) const;
    bool MouseReleased(int button) const;
    // The mouse position of the scene's view taken through the camera into
    // this layer's space; (0, 0) without a scene.
    platform::Vec2f GetMouseLocation(Camera* camera) const;

    // The topmost object of the cell at (x, y) whose Enabled and Visible
    // equal the arguments and that holds the window point (x, y) through the
    // camera; null when none.
    std::shared_ptr<LayerObject> GetLayerObject(Camera* camera, int x, int y, bool enabled, bool visible);
    std::shared_ptr<LayerObject> GetLayerObject(Camera* camera, platform::Vec2i point) {
        return GetLayerObject(camera, point.x, point.y, true, true);
    }

private:
    // The cell list for the position (x, y) in layer units (negative
    // coordinates count as 0, those beyond the bound fall into the last
    // column or row), growing the grid and making the list as needed.
    ObjectList* Expand_(int x, int y);
    // The culling pass: the enabled objects of the cells around the rectangle
    // (x, y, w, h) in layer units, column by column, floating ones last.
    void CullLayerObjects_(ObjectList& list, int x, int y, int w, int h);
    // The passes the cameras drive.
    void UpdateObjects_(Camera* camera);
    void DrawObjects_(platform::Canvas& canvas, Camera* camera);
    void Draw_(platform::Canvas& canvas, Camera* camera);
    template <typename F>
    void ForEachObject_(F&& f) const;
    void CullRect_(Camera* camera, int& x, int& y, int& w, int& h) const;
    // Every object of the grid, any state, in grid order.
    ObjectList GetAllObjects() const;

    Grid Grid_;
    scenegraph::Scene* Scene_ = nullptr;
    platform::Vec2i CellSize_{2048, 2048};

    // The scene and its cameras drive the passes; an object files itself in
    // the cell of its position; the tests reach the culling pass.
    friend class scenegraph::Scene;
    friend class Camera;
    friend class LayerObject;
    friend struct LayerTestAccess;
};

}  // namespace kestrum::scenegraph
