// Module start-up, grid lookups, identifier checks, sprite synchronisation
// and split screens.
#include "kestrum-scenegraph/scenegraph.h"

#include "kestrum-framework/framework.h"
#include "kestrum-framework/utilities.h"
#include "platform/text.h"

namespace kestrum::scenegraph {

std::shared_ptr<framework::contentmanager::ContentManager> SceneLoaderContent;
std::shared_ptr<framework::contentmanager::ContentManager> VirtualTilesetContent;

void InitScenegraphModule() {
    static bool initialised = false;
    if (initialised) return;
    initialised = true;
    framework::InitFrameworkModule();
    SceneLoaderContent = std::make_shared<framework::contentmanager::ContentManager>();
    VirtualTilesetContent = std::make_shared<framework::contentmanager::ContentManager>();
}

// --- Neighbour lookups ------------------------------------------------------

std::shared_ptr<LayerObject> LayerObject::GetLayerObject(scenegraph::Layer* layer, int dx, int dy) {
    if (layer == nullptr) return nullptr;
    const int tx = std::max(TruncToInt(static_cast<double>(X()) + dx), 0);
    const int ty = std::max(TruncToInt(static_cast<double>(Y()) + dy), 0);
    ObjectList* cell = layer->Expand_(tx, ty);
    for (int i = cell->Length() - 1; i >= 0; --i) {
        const LayerObjectPtr& object = (*cell)[i];
        if (object.get() != this && object->Enabled() && object->Visible) return object;
    }
    return nullptr;
}

namespace {

template <typename Match>
LayerObjectPtr FindNeighbour(LayerObject& self, const std::vector<Layer*>& layers, const std::vector<int>& dx,
                             const std::vector<int>& dy, Match match) {
    for (Layer* layer : layers) {
        for (int x : dx) {
            for (int y : dy) {
                LayerObjectPtr object = self.GetLayerObject(layer, x, y);
                if (object && object->Enabled() && object->Visible && match(*object)) return object;
            }
        }
    }
    return nullptr;
}

}  // namespace

std::shared_ptr<LayerObject> LayerObject::GetLayerObject(const std::vector<scenegraph::Layer*>& layers,
                                                         const std::vector<int>& dx, const std::vector<int>& dy,
                                                         const std::vector<std::string>& identifiers) {
    return FindNeighbour(*this, layers, dx, dy, [&](const LayerObject& o) {
        return framework::Contains(o.Identifier, identifiers);
    });
}

std::shared_ptr<LayerObject> LayerObject::GetLayerObject(const std::vector<scenegraph::Layer*>& layers,
                                                         const std::vector<int>& dx, const std::vector<int>& dy,
                                                         const std::vector<int>& identifiers) {
    return FindNeighbour(*this, layers, dx, dy, [&](const LayerObject& o) {
        return framework::Contains(platform::ToInt(o.Identifier), identifiers);
    });
}

// --- Identifiers and synchronisation ----------------------------------------

namespace {

framework::TaskManager* SceneTasks(const LayerObject& object) {
    const Layer* layer = object.Layer();
    if (layer == nullptr || layer->Scene() == nullptr) return nullptr;
    return layer->Scene()->TaskManager.get();
}

}  // namespace

bool LayerObject::UniqueIdentifier() const {
    const framework::TaskManager* tasks = SceneTasks(*this);
    if (tasks == nullptr) return true;
    for (const auto& task : tasks->Tasks) {
        if (task->Identifier == Identifier) return false;
    }
    return true;
}

std::shared_ptr<LayerSprite> LayerObject::GetSyncronizer() const {
    const framework::TaskManager* tasks = SceneTasks(*this);
    if (tasks == nullptr) return nullptr;
    for (const auto& task : tasks->Tasks) {
        if (task->Identifier == Identifier) return std::dynamic_pointer_cast<LayerSprite>(task);
    }
    return nullptr;
}

namespace {

bool Animated(const LayerSprite& sprite) {
    return !sprite.FrameTimes.empty() && static_cast<int>(sprite.FrameTimes.size()) == sprite.Frames();
}

// Every animated sprite of the scene's layers, in layer and grid order.
std::vector<std::shared_ptr<LayerSprite>> AnimatedSprites(Scene& scene) {
    std::vector<std::shared_ptr<LayerSprite>> sprites;
    for (const auto& layer : scene.Layers) {
        const Layer::Grid& grid = layer->Cells();
        for (int column = 0; column < grid.Columns(); ++column) {
            for (int row = 0; row < grid.Rows(); ++row) {
                const ObjectList* cell = grid(column, row).get();
                if (cell == nullptr) continue;
                for (const auto& object : *cell) {
                    auto sprite = std::dynamic_pointer_cast<LayerSprite>(object);
                    if (sprite && Animated(*sprite)) sprites.push_back(sprite);
                }
            }
        }
    }
    return sprites;
}

}  // namespace

void Synchronize(Scene* scene) {
    if (scene == nullptr) return;
    const auto sprites = AnimatedSprites(*scene);
    for (const auto& sprite : sprites) {
        if (sprite->TaskManager() == nullptr || sprite->Synchronizer) continue;
        if (sprite->UniqueIdentifier()) sprite->TaskManager(scene->TaskManager);
    }
    for (const auto& sprite : sprites) {
        if (sprite->Synchronizer || sprite->TaskManager() == scene->TaskManager) continue;
        sprite->Synchronizer = sprite->GetSyncronizer();
    }
}

// --- Split screens ----------------------------------------------------------

void SplitScreenTopBottom(Camera* top, Camera* bottom, platform::Vec2i size) {
    const int h1 = TruncToInt(size.y * 0.5 - 1);
    const int h2 = TruncToInt(size.y * 0.5 + 1);
    if (top != nullptr) top->Viewport({0, 0, size.x, h1});
    if (bottom != nullptr) bottom->Viewport({0, h2, size.x, size.y});
}

void SplitScreenLeftRight(Camera* left, Camera* right, platform::Vec2i size) {
    const int w1 = TruncToInt(size.x * 0.5 - 1);
    const int w2 = TruncToInt(size.x * 0.5 + 1);
    if (left != nullptr) left->Viewport({0, 0, w1, size.y});
    if (right != nullptr) right->Viewport({w2, 0, size.x, size.y});
}

}  // namespace kestrum::scenegraph
