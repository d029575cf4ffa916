#include "kestrum-scenegraph/layer.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "kestrum-scenegraph/camera.h"
#include "kestrum-scenegraph/layergroup.h"
#include "kestrum-scenegraph/scene.h"

namespace kestrum::scenegraph {

using platform::Vec2f;

Layer::Layer()
    : TaskManager(std::make_shared<framework::TaskManager>()), Grid_(3, 3) {}

Layer::~Layer() {
    // Objects kept alive elsewhere must not point at a layer that is gone.
    for (int column = 0; column < Grid_.Columns(); ++column) {
        for (int row = 0; row < Grid_.Rows(); ++row) {
            ObjectList* cell = Grid_(column, row).get();
            if (cell == nullptr) continue;
            for (auto& object : *cell) {
                object->Layer_ = nullptr;
                object->Cell_ = nullptr;
            }
        }
    }
}

std::shared_ptr<Layer> Layer::New(scenegraph::Scene* scene) {
    auto layer = std::make_shared<Layer>();
    layer->Scene(scene);
    return layer;
}

// --- Scene membership -------------------------------------------------------

void Layer::Remove() {
    if (Tattooed) return;
    if (Scene_ != nullptr) Scene(nullptr);
}

void Layer::Scene(scenegraph::Scene* scene) {
    auto self = shared_from_this();
    if (Scene_ != nullptr) RemoveEach(Scene_->Layers, this);
    Scene_ = scene;
    if (scene != nullptr) scene->Layers.Add(self);
}

void Layer::Insert(scenegraph::Scene* scene, int index) {
    auto self = shared_from_this();
    if (Scene_ != nullptr) RemoveEach(Scene_->Layers, this);
    Scene_ = scene;
    if (scene != nullptr) scene->Layers.Insert(std::clamp(index, 0, scene->Layers.Length()), self);
}

platform::Window* Layer::View() const { return Scene_ != nullptr ? Scene_->View : nullptr; }

void Layer::Center() {
    const platform::Window* view = View();
    if (view == nullptr) return;
    Offset = {static_cast<float>(view->Width() / 2) - Width * 0.5f,
              static_cast<float>(view->Height() / 2) - Height * 0.5f};
}

FoundObject Layer::GetObject(const std::string& name) {
    if (Name == name) return {shared_from_this(), nullptr};
    std::shared_ptr<LayerObject> found;
    ForEachObject_([&](const LayerObjectPtr& object) {
        if (!found) found = object->GetObject(name);
    });
    return {nullptr, found};
}

// --- The grid ---------------------------------------------------------------

template <typename F>
void Layer::ForEachObject_(F&& f) const {
    for (int column = 0; column < Grid_.Columns(); ++column) {
        for (int row = 0; row < Grid_.Rows(); ++row) {
            const ObjectList* cell = Grid_(column, row).get();
            if (cell == nullptr) continue;
            for (const auto& object : *cell) f(object);
        }
    }
}

namespace {

// The column (or row) of a coordinate: negative coordinates fall into the
// first, those beyond the grid's bound into the last.
int CellOf(int units, int cellSize) { return std::min(std::max(units, 0) / cellSize, Layer::MaxCells - 1); }

}  // namespace

ObjectList* Layer::Expand_(int x, int y) {
    const int column = CellOf(x, CellSize_.x);
    const int row = CellOf(y, CellSize_.y);
    Grid_ = framework::ExpandArray(std::move(Grid_), column + 1, row + 1);
    auto& cell = Grid_(column, row);
    if (!cell) cell = std::make_unique<ObjectList>();
    return cell.get();
}

ObjectList* Layer::GetLayerObjects(int x, int y, bool units) {
    ObjectList* cell = Expand_(x, y);
    if (units) return cell;
    return Grid_.InRange(x, y) ? Grid_(x, y).get() : nullptr;
}

void Layer::TileSize(platform::Vec2i size) {
    if (size.x < 1 || size.y < 1) return;
    CellSize_ = size;
    // A snapshot, so that every object is visited once even when it moves
    // into a cell that the walk has not reached yet.
    ObjectList all = GetAllObjects();
    for (auto& object : all) object->UpdateLocation_();
}

ObjectList Layer::GetAllObjects() const {
    ObjectList list;
    ForEachObject_([&](const LayerObjectPtr& object) { list.Add(object); });
    return list;
}

void Layer::CullLayerObjects_(ObjectList& list, int x, int y, int w, int h) {
    list.Clear();
    if (Grid_.Columns() == 0 || Grid_.Rows() == 0) return;
    // The range of cells visited on one axis, [first, end), in 64 bits so
    // that far views and wide margins cannot overflow. A margin of 0 still
    // visits one cell on each side beyond the view. A view beyond the grid's
    // bound looks at its last cells, where the objects out there are filed.
    const auto range = [](int position, int extent, int cell, int margin, std::int64_t& first, std::int64_t& end) {
        const std::int64_t at = position / cell;
        first = std::min<std::int64_t>(at, MaxCells - 1) - (margin == 0 ? 1 : margin);
        end = at + extent / cell + (margin == 0 ? 2 : 2 * std::int64_t{margin});
    };
    std::int64_t firstColumn, endColumn, firstRow, endRow;
    range(x, w, CellSize_.x, CullMargin.x, firstColumn, endColumn);
    range(y, h, CellSize_.y, CullMargin.y, firstRow, endRow);
    if (endColumn >= 0 && endRow >= 0) {
        const auto bounded = [](std::int64_t end) {
            return static_cast<int>(std::min<std::int64_t>(end + 1, MaxCells));
        };
        Grid_ = framework::ExpandArray(std::move(Grid_), bounded(endColumn), bounded(endRow));
    }
    firstColumn = std::max<std::int64_t>(firstColumn, 0);
    firstRow = std::max<std::int64_t>(firstRow, 0);
    endColumn = std::min<std::int64_t>(endColumn, Grid_.Columns());
    endRow = std::min<std::int64_t>(endRow, Grid_.Rows());
    FloatingList.Clear();
    for (int column = static_cast<int>(firstColumn); column < endColumn; ++column) {
        for (int row = static_cast<int>(firstRow); row < endRow; ++row) {
            const ObjectList* cell = Grid_(column, row).get();
            if (cell == nullptr) continue;
            for (const auto& object : *cell) {
                if (!object->Enabled()) continue;
                (object->Floating ? FloatingList : list).Add(object);
            }
        }
    }
    for (const auto& object : FloatingList) list.Add(object);
}

ObjectList Layer::GetAllLayerObjects(bool enabled, bool visible) const {
    ObjectList list;
    ForEachObject_([&](const LayerObjectPtr& object) {
        if (object->Enabled() == enabled && object->Visible == visible) list.Add(object);
    });
    return list;
}

int Layer::CountLayerObjects() const {
    int count = 0;
    ForEachObject_([&](const LayerObjectPtr&) { ++count; });
    return count;
}

void Layer::Scroll(float dx, float dy) {
    for (auto& object : GetAllLayerObjects(true, true)) {
        object->X(object->X() + dx);
        object->Y(object->Y() + dy);
    }
}

void Layer::Groupify() {
    for (auto& object : GetAllLayerObjects(true, true)) {
        if (object->Group() != nullptr || object->Groupify().empty()) continue;
        FoundObject found = GetObject(object->Groupify());
        auto group = std::dynamic_pointer_cast<LayerGroup>(found.Object);
        if (group && group != object) object->Group(group.get());
    }
}

void Layer::Clear() {
    for (auto& object : GetAllObjects()) object->Discard();
}

void Layer::ShowTilemapCounts() const {
    bool problems = false;
    for (int column = 0; column < Grid_.Columns(); ++column) {
        for (int row = 0; row < Grid_.Rows(); ++row) {
            const ObjectList* cell = Grid_(column, row).get();
            if (cell == nullptr || cell->Length() <= 1) continue;
            problems = true;
            std::printf("Layer '%s' has %d objects at %d,%d\n", Name.c_str(), cell->Length(), column, row);
        }
    }
    if (!problems) std::printf("No problems detected on layer '%s'\n", Name.c_str());
    std::fflush(stdout);
}

// --- Mouse ------------------------------------------------------------------

namespace {

bool ButtonFlag(const std::array<bool, 4>& flags, int button) {
    return button >= 1 && button <= 3 && flags[static_cast<std::size_t>(button)];
}

}  // namespace

bool Layer::MouseDown(int button) const {
    return Scene_ != nullptr && ButtonFlag(Scene_->InputDevice.Down, button);
}

bool Layer::MouseHit(int button) const {
    return Scene_ != nullptr && ButtonFlag(Scene_->InputDevice.Hit, button);
}

bool Layer::MouseReleased(int button) const {
    return Scene_ != nullptr && ButtonFlag(Scene_->InputDevice.Released, button);
}

Vec2f Layer::GetMouseLocation(Camera* camera) const {
    const platform::Window* view = View();
    if (camera == nullptr || view == nullptr) return {};
    const platform::Vec2i mouse = view->MouseLocation();
    const Vec2f shifted{static_cast<float>(mouse.x + TruncToInt(camera->CenterOffset.x)),
                        static_cast<float>(mouse.y + TruncToInt(camera->CenterOffset.y))};
    Vec2f result;
    return camera->WindowToLayer_(this, shifted, result) ? result : Vec2f{};
}

std::shared_ptr<LayerObject> Layer::GetLayerObject(Camera* camera, int x, int y, bool enabled, bool visible) {
    ObjectList* cell = Expand_(x, y);
    for (int i = cell->Length() - 1; i >= 0; --i) {
        if (i >= cell->Length()) continue;
        LayerObjectPtr object = (*cell)[i];
        if (object->Enabled() != enabled || object->Visible != visible) continue;
        if (object->PointInside(camera, Vec2f{static_cast<float>(x), static_cast<float>(y)})) return object;
    }
    return nullptr;
}

// --- The camera passes ------------------------------------------------------

void Layer::CullRect_(Camera* camera, int& x, int& y, int& w, int& h) const {
    x = TruncToInt(camera->Position.x * Parallax.x);
    y = TruncToInt(camera->Position.y * Parallax.y);
    w = h = 0;
    if (camera->Zoom == 0 || camera->Scale.x == 0 || camera->Scale.y == 0) return;
    const platform::Recti viewport = camera->Viewport();
    w = TruncToInt(TruncToInt(viewport.Width() / camera->Zoom) / camera->Scale.x);
    h = TruncToInt(TruncToInt(viewport.Height() / camera->Zoom) / camera->Scale.y);
}

void Layer::UpdateObjects_(Camera* camera) {
    if (camera == nullptr || Scene_ == nullptr) return;
    int x, y, w, h;
    CullRect_(camera, x, y, w, h);
    CullLayerObjects_(UpdateList, x, y, w, h);
    const int stamp = Scene_->FrameNumber;
    const bool paused = framework::TasksPaused();
    for (int i = 0; i < UpdateList.Length(); ++i) {
        if (framework::TasksFrozen()) continue;
        LayerObjectPtr object = UpdateList[i];
        if (!object->ManagedBy(TaskManager)) continue;
        if (object->UpdateStamp == stamp) continue;
        if (!object->Enabled()) continue;
        if (object->Pausable && paused) continue;
        object->OnUpdate();
        object->UpdateStamp = stamp;
    }
}

void Layer::DrawObjects_(platform::Canvas& canvas, Camera* camera) {
    if (camera == nullptr) return;
    int x, y, w, h;
    CullRect_(camera, x, y, w, h);
    CullLayerObjects_(DrawList, x, y, w, h);
    if (Sorter) Sorter->Sort(DrawList);
    const bool lit = !AmbientLight.AllZero();
    if (lit) {
        canvas.AmbientLight(AmbientLight);
        canvas.BeginLighting();
    }
    for (int i = 0; i < DrawList.Length(); ++i) {
        LayerObjectPtr object = DrawList[i];
        if (object->Visible) object->Draw(canvas);
    }
    if (lit) canvas.EndLighting();
}

void Layer::Draw_(platform::Canvas& canvas, Camera* camera) {
    if (camera == nullptr) return;
    canvas.PushMatrix();
    canvas.Translate(-camera->Position.x * Parallax.x, -camera->Position.y * Parallax.y);
    canvas.Translate(Offset.x, Offset.y);
    DrawBackground(canvas);
    DrawObjects_(canvas, camera);
    DrawOverlay(canvas);
    DrawForeground(canvas);
    canvas.PopMatrix();
}

}  // namespace kestrum::scenegraph
