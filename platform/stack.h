// Stack<T>: the ordered growable list used for object lists all over the
// system: append at the end, index access, and removal of every occurrence of
// a value while the others keep their order.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

namespace platform {

template <typename T>
class Stack {
public:
    using iterator = typename std::vector<T>::iterator;
    using const_iterator = typename std::vector<T>::const_iterator;

    int Length() const { return static_cast<int>(items_.size()); }
    bool Empty() const { return items_.empty(); }
    void Add(const T& value) { items_.push_back(value); }
    void Push(const T& value) { items_.push_back(value); }
    T Pop() { T v = items_.back(); items_.pop_back(); return v; }
    T& Top() { return items_.back(); }
    void Insert(int index, const T& value) { items_.insert(items_.begin() + index, value); }
    void Erase(int index) { items_.erase(items_.begin() + index); }
    void Clear() { items_.clear(); }
    void Reserve(int n) { items_.reserve(static_cast<std::size_t>(n)); }

    // Removes every occurrence of value; returns how many were removed.
    int RemoveEach(const T& value) {
        auto end = std::remove(items_.begin(), items_.end(), value);
        int removed = static_cast<int>(items_.end() - end);
        items_.erase(end, items_.end());
        return removed;
    }
    // Removes the first occurrence; returns whether one was found.
    bool Remove(const T& value) {
        auto it = std::find(items_.begin(), items_.end(), value);
        if (it == items_.end()) return false;
        items_.erase(it);
        return true;
    }
    int FindIndex(const T& value) const {
        auto it = std::find(items_.begin(), items_.end(), value);
        return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
    }
    bool Contains(const T& value) const { return FindIndex(value) >= 0; }

    T& operator[](int index) { return items_[static_cast<std::size_t>(index)]; }
    const T& operator[](int index) const { return items_[static_cast<std::size_t>(index)]; }
    // Bounds-checked read: the default value for an index out of range.
    T Get(int index) const { return index >= 0 && index < Length() ? items_[static_cast<std::size_t>(index)] : T{}; }

    iterator begin() { return items_.begin(); }
    iterator end() { return items_.end(); }
    const_iterator begin() const { return items_.begin(); }
    const_iterator end() const { return items_.end(); }

    std::vector<T>& Data() { return items_; }
    const std::vector<T>& Data() const { return items_; }

private:
    std::vector<T> items_;
};

}  // namespace platform
