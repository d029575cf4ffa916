// ObjectPool<T>: a fixed set of reusable objects, filled once and handed out
// in rotation, so that play allocates nothing for short-lived things (shots,
// particles). The pool only tracks which slots are in use; it never enables,
// places or removes an object.
//
// Depends on arrays.h.
#pragma once

#include <memory>
#include <vector>

#include "kestrum-framework/arrays.h"

namespace kestrum::framework::objectpool {

template <typename T>
class ObjectPool {
public:
    // The pooled objects in the order they were added; slots at Count and
    // beyond are spare capacity holding null.
    std::vector<std::shared_ptr<T>> Items;
    // The slot where the next Acquire starts searching.
    int Cursor = 0;
    // True while the object of that slot is handed out; as long as Items.
    std::vector<bool> Used;
    // Number of objects added.
    int Count = 0;

    // Appends the object as a free slot and returns its index. Full arrays
    // grow to twice the count plus 10 (10, 30, 70, 150, ...).
    int Add(std::shared_ptr<T> item) {
        if (Count >= static_cast<int>(Items.size())) {
            const int length = 2 * Count + 10;
            Items = arrays::ResizeArray(std::move(Items), length);
            Used = arrays::ResizeArray(std::move(Used), length);
        }
        Items[static_cast<std::size_t>(Count)] = std::move(item);
        Used[static_cast<std::size_t>(Count)] = false;
        return Count++;
    }

    // The next free object from the cursor on, circularly, now marked used;
    // null when the pool is empty or every slot is in use.
    std::shared_ptr<T> Acquire() {
        if (Count <= 0) return nullptr;
        // A cursor left beyond the objects (after Clear and a shorter refill) starts over.
        if (Cursor < 0 || Cursor >= Count) Cursor = 0;
        for (int probed = 0; probed < Count; ++probed) {
            const auto slot = static_cast<std::size_t>(Cursor);
            Cursor = Cursor + 1 < Count ? Cursor + 1 : 0;
            if (!Used[slot]) {
                Used[slot] = true;
                return Items[slot];
            }
        }
        return nullptr;
    }

    // The object of a slot; null for an index outside 0 to Count - 1.
    std::shared_ptr<T> Item(int index) const {
        return InRange(index) ? Items[static_cast<std::size_t>(index)] : nullptr;
    }

    // Frees a slot; an index outside 0 to Count - 1 is ignored.
    void Release(int index) {
        if (InRange(index)) Used[static_cast<std::size_t>(index)] = false;
    }

    // Frees the slot holding that very object; false when it is not pooled.
    bool ReleaseItem(const std::shared_ptr<T>& item) {
        for (int i = 0; i < Count; ++i) {
            if (Items[static_cast<std::size_t>(i)] == item) {
                Used[static_cast<std::size_t>(i)] = false;
                return true;
            }
        }
        return false;
    }

    // Frees every slot; the cursor stays.
    void ReleaseAll() {
        for (int i = 0; i < Count; ++i) Used[static_cast<std::size_t>(i)] = false;
    }

    // Empties the pool, keeping its capacity; the cursor starts over.
    void Clear() {
        for (int i = 0; i < Count; ++i) {
            Items[static_cast<std::size_t>(i)] = nullptr;
            Used[static_cast<std::size_t>(i)] = false;
        }
        Count = 0;
        Cursor = 0;
    }

private:
    bool InRange(int index) const { return index >= 0 && index < Count; }
};

}  // namespace kestrum::framework::objectpool

namespace kestrum::framework {
using namespace objectpool;
}
