// Array utilities: every growable table of the system grows through
// ResizeArray (one-dimensional) or ExpandArray (two-dimensional grids), plus
// small conversions between text arrays and number arrays.
//
// Arrays are std::vector; an empty vector is the empty (or missing) array.
// New elements hold the element type's empty value: null, "", false or 0.
//
// Depends on platform/text.h, platform/files.h and platform/clock.h (Rnd).
#pragma once

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace kestrum::framework::arrays {

// A two-dimensional array addressed by (column, row). Its size is fixed at
// creation; ExpandArray makes a larger one.
template <typename T>
class Array2D {
public:
    Array2D() = default;
    Array2D(int columns, int rows) {
        if (columns > 0 && rows > 0) {
            columns_ = columns;
            rows_ = rows;
            cells_.resize(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows));
        }
    }

    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    bool Empty() const { return cells_.empty(); }
    bool InRange(int column, int row) const { return column >= 0 && column < columns_ && row >= 0 && row < rows_; }

    // Unchecked access; the cell must lie inside the grid.
    T& operator()(int column, int row) { return cells_[Index(column, row)]; }
    const T& operator()(int column, int row) const { return cells_[Index(column, row)]; }
    // Checked read: the empty value for a cell outside the grid.
    T Get(int column, int row) const { return InRange(column, row) ? cells_[Index(column, row)] : T{}; }

    // The same grid object as the argument of ExpandArray when nothing had to grow.
    const T* Data() const { return cells_.data(); }

private:
    std::size_t Index(int column, int row) const {
        return static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) + static_cast<std::size_t>(column);
    }

    int columns_ = 0;
    int rows_ = 0;
    std::vector<T> cells_;
};

// The array at the given length: the common part kept, a grown tail empty.
// An unchanged length hands back the same storage (pass the array with
// std::move to avoid any copy: a = ResizeArray(std::move(a), n)). A negative
// length counts as 0.
template <typename T>
std::vector<T> ResizeArray(std::vector<T> array, int length) {
    const std::size_t n = length > 0 ? static_cast<std::size_t>(length) : 0;
    if (array.size() != n) array.resize(n);
    return array;
}

// The grid grown to at least columns × rows, every element kept at its
// (column, row); it never shrinks. A grid that is already large enough comes
// back unchanged, and a size with no cells gives an empty grid.
template <typename T>
Array2D<T> ExpandArray(Array2D<T> grid, int columns, int rows) {
    if (!grid.Empty() && grid.Columns() >= columns && grid.Rows() >= rows) return grid;
    const int newColumns = std::max(grid.Columns(), columns);
    const int newRows = std::max(grid.Rows(), rows);
    if (newColumns <= 0 || newRows <= 0) return Array2D<T>();
    Array2D<T> result(newColumns, newRows);
    for (int row = 0; row < grid.Rows(); ++row) {
        for (int column = 0; column < grid.Columns(); ++column) {
            result(column, row) = std::move(grid(column, row));
        }
    }
    return result;
}

// Each text through the platform's ToFloat / ToInt (leading number, 0 when none).
std::vector<float> ToFloat(const std::vector<std::string>& strings);
std::vector<int> ToInt(const std::vector<std::string>& strings);

// The values joined by "," with no spaces: Floats as "%.9g", Ints as "%d".
std::string ArrayToString(const std::vector<float>& values);
std::string ArrayToString(const std::vector<int>& values);

// Always two texts: the part before the first occurrence of a one-character
// separator and the part after it. Two empty texts when the separator is
// missing or the text begins with it.
std::vector<std::string> SplitInTwo(const std::string& text, const std::string& separator);

// A new array holding the same texts in an order drawn from the shared random generator.
std::vector<std::string> ShuffleArray(const std::vector<std::string>& strings);

// The comma-separated integers of a text file; empty for a missing or empty file.
std::vector<int> LoadIntArray(const std::string& path);

}  // namespace kestrum::framework::arrays

namespace kestrum::framework {
using namespace arrays;
}
