// Zandrovia: the draw order of the shot and effect layers.
#include "zandrovia/batchsorter.h"

#include <algorithm>

#include "kestrum-scenegraph/layersprite.h"

namespace {

struct Key {
    int blend;
    const void* texture;
    bool operator<(const Key& o) const { return blend != o.blend ? blend < o.blend : texture < o.texture; }
};

Key KeyOf(const kestrum::scenegraph::LayerObject& object) {
    const void* texture = nullptr;
    if (const auto* sprite = dynamic_cast<const kestrum::scenegraph::LayerSprite*>(&object)) {
        if (const platform::ImagePtr image = sprite->Image()) texture = image->GetTexture().get();
    }
    return {object.BlendMode, texture};
}

}  // namespace

void BatchSorter::Sort(kestrum::scenegraph::ObjectList& list) {
    auto& items = list.Data();
    const auto floating =
        std::find_if(items.begin(), items.end(), [](const kestrum::scenegraph::LayerObjectPtr& o) { return o->Floating; });
    std::stable_sort(items.begin(), floating,
                     [](const kestrum::scenegraph::LayerObjectPtr& a, const kestrum::scenegraph::LayerObjectPtr& b) {
                         return KeyOf(*a) < KeyOf(*b);
                     });
}
