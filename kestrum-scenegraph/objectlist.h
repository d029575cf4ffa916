// Object lists of the scene graph: cell lists, group members, the layers'
// working lists and the collision lists are Stacks of shared layer objects.
// The helpers here remove an object by identity, wrap frame indices and set or
// pick a frame array's images.
#pragma once

#include <memory>
#include <vector>

#include "kestrum-framework/arrays.h"
#include "kestrum-framework/math.h"
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

using framework::TruncToInt;

// Non-negative modulo, so wrapped frame numbers never index out of range.
inline int WrapIndex(int index, int count) {
    if (count <= 0) return 0;
    const int r = index % count;
    return r < 0 ? r + count : r;
}

// Sets an image array to one image. An array that already holds one is
// written in place, so every holder of it shows the new image; any other is
// replaced by a one-element copy.
inline void SetSingleImage(ImageArray& images, const platform::ImagePtr& image) {
    if (images && images->size() == 1) {
        (*images)[0] = image;
        return;
    }
    auto one = std::make_shared<std::vector<platform::ImagePtr>>(
        framework::ResizeArray(images ? *images : std::vector<platform::ImagePtr>{}, 1));
    (*one)[0] = image;
    images = std::move(one);
}

// The image at Round(frame) wrapped into the array; null without images.
inline platform::ImagePtr FrameImage(const ImageArray& images, float frame) {
    if (!images || images->empty()) return nullptr;
    const int index = WrapIndex(framework::Round(frame), static_cast<int>(images->size()));
    return (*images)[static_cast<std::size_t>(index)];
}

}  // namespace kestrum::scenegraph
