// Object lists of the scene graph: cell lists, group members, the layers'
// working lists and the collision lists are Stacks of shared layer objects.
// The helpers here remove an object by identity and convert positions to
// grid integers without undefined behaviour.
#pragma once

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

#include "platform/image.h"
#include "platform/stack.h"

namespace kestrum::scenegraph {

class LayerObject;

using LayerObjectPtr = std::shared_ptr<LayerObject>;
using ObjectList = platform::Stack<LayerObjectPtr>;

// A frame array shared between objects: the sprite constructors, the
// emitter and the Image setters hand the array itself around, so a write
// through one holder is seen by all of them.
using ImageArray = std::shared_ptr<std::vector<platform::ImagePtr>>;

// Removes every occurrence of the object; returns how many were removed.
template <typename T, typename U>
int RemoveEach(platform::Stack<std::shared_ptr<T>>& list, const U* object) {
    auto& items = list.Data();
    const auto before = items.size();
    std::erase_if(items, [object](const std::shared_ptr<T>& item) { return item.get() == object; });
    return static_cast<int>(before - items.size());
}

// Truncation toward zero, clamped to the Int range; NaN gives 0. Positions
// far outside the world must not overflow the conversion.
inline int TruncToInt(double value) {
    if (!(value == value)) return 0;
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    if (value <= lo) return std::numeric_limits<int>::min();
    if (value >= hi) return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

// Non-negative modulo, so wrapped frame numbers never index out of range.
inline int WrapIndex(int index, int count) {
    if (count <= 0) return 0;
    const int r = index % count;
    return r < 0 ? r + count : r;
}

}  // namespace kestrum::scenegraph
