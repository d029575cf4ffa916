// Small helpers of the enemies' tests: shots in flight and what a layer holds.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kestrum-framework/objectpool.h"
#include "kestrum-scenegraph/layer.h"
#include "zandrovia/objectkind.h"
#include "zandrovia/scoremessage.h"

namespace enemytesting {

// The pool's objects in flight (enabled).
template <typename T>
int InFlight(const kestrum::framework::ObjectPool<T>& pool) {
    int count = 0;
    for (int i = 0; i < pool.Count; ++i) count += pool.Item(i)->Enabled();
    return count;
}

// The enabled objects of a kind in the layer.
inline std::vector<kestrum::scenegraph::LayerObjectPtr> OfKind(const kestrum::scenegraph::Layer& layer,
                                                               ObjectKind kind) {
    std::vector<kestrum::scenegraph::LayerObjectPtr> found;
    for (const auto& object : layer.GetAllLayerObjects(true, true)) {
        if (KindOf(object.get()) == kind) found.push_back(object);
    }
    return found;
}

// The texts of the score labels in the layer, in grid order.
inline std::vector<std::string> Labels(const kestrum::scenegraph::Layer& layer) {
    std::vector<std::string> texts;
    for (const auto& object : layer.GetAllLayerObjects(true, true)) {
        if (const auto* label = dynamic_cast<const ScoreMessage*>(object.get())) texts.push_back(label->Text);
    }
    return texts;
}

}  // namespace enemytesting
