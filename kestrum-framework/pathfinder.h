// Path finder: a shortest 4-connected path between two cells of a grid with
// blocked cells, found by a breadth-first wavefront. Every open cell gets the
// number of the wave that reaches it (the start is wave 1), and the path is
// traced back from the target along falling wave numbers, preferring the
// neighbour above, then right, below and left. The result is a list of
// one-letter moves "U", "D", "L" and "R" from the start to the target.
//
// A start or target outside the grid never reads outside it: the search
// simply finds no path.
#pragma once

#include <string>
#include <vector>

#include "platform/types.h"

namespace kestrum::framework::pathfinder {

// Cell values of Data::Distance besides the wave numbers (1 and up).
extern int PathOpen;  // 0: open, not reached yet
extern int PathWall;  // -1: blocked

// One grid cell.
struct Data {
    int Distance = 0;  // PathWall, PathOpen or the wave that reached it
    int Wave = 0;      // 0 idle, 1 in the current wave, 2 already expanded
};

class Pathfinder {
public:
    using Grid2D = std::vector<std::vector<Data>>;  // [x][y]
    // A map is indexed [x][y]: non-zero cells are blocked. Columns shorter
    // than the first one are treated as blocked where they have no cell.
    using Map = std::vector<std::vector<int>>;

    Pathfinder() = default;

    void Setup(const Map& map, platform::Vec2i start, platform::Vec2i target);
    // True when the target was reached; Path then holds the moves.
    bool FindPath();
    // Moves of the last path found, or -1 when there is none.
    int Length() const;
    // The moves joined without separators; "" when there is none.
    std::string GetPathString() const;

    int Width() const { return GridSize.x; }
    int Height() const { return GridSize.y; }
    platform::Vec2i Size() const { return GridSize; }

    Grid2D Grid;
    platform::Vec2i Target;
    // The moves in walking order plus one last entry that is not part of the path.
    std::vector<std::string> Path;
    platform::Vec2i GridSize;
    platform::Vec2i Start;

private:
    static Grid2D Init_(int width, int height);
    void Spread_(int x, int y, int value);
    void TracePath_();
    void Reset_();
    bool Inside(platform::Vec2i cell) const;
};

// Sets PathOpen and PathWall; called by the framework's module initialiser.
void InitPathfinderUnit();

}  // namespace kestrum::framework::pathfinder

namespace kestrum::framework {
using namespace pathfinder;
}
