// Path finder. Depends on the platform's value types only.
#include "kestrum-framework/pathfinder.h"

namespace kestrum::framework::pathfinder {

int PathOpen = 0;
int PathWall = -1;

void InitPathfinderUnit() {
    PathOpen = 0;
    PathWall = -1;
}

Pathfinder::Grid2D Pathfinder::Init_(int width, int height) {
    if (width <= 0 || height <= 0) return {};
    return Grid2D(static_cast<std::size_t>(width), std::vector<Data>(static_cast<std::size_t>(height)));
}

bool Pathfinder::Inside(platform::Vec2i cell) const {
    return cell.x >= 0 && cell.y >= 0 && cell.x < GridSize.x && cell.y < GridSize.y;
}

void Pathfinder::Setup(const Map& map, platform::Vec2i start, platform::Vec2i target) {
    Start = start;
    Target = target;
    Path.clear();
    const int width = static_cast<int>(map.size());
    const int height = width > 0 ? static_cast<int>(map[0].size()) : 0;
    GridSize = height > 0 ? platform::Vec2i(width, height) : platform::Vec2i(0, 0);
    Grid = Init_(GridSize.x, GridSize.y);
    for (int x = 0; x < GridSize.x; ++x) {
        const auto& column = map[static_cast<std::size_t>(x)];
        for (int y = 0; y < GridSize.y; ++y) {
            const bool open = static_cast<std::size_t>(y) < column.size() && column[static_cast<std::size_t>(y)] == 0;
            Grid[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)].Distance = open ? PathOpen : PathWall;
        }
    }
    if (Inside(start)) Grid[static_cast<std::size_t>(start.x)][static_cast<std::size_t>(start.y)].Distance = 1;
}

bool Pathfinder::FindPath() {
    if (GridSize.x <= 0 || !Inside(Start) || !Inside(Target)) {
        Reset_();
        return false;
    }
    for (int wave = 1;; ++wave) {
        bool any = false;
        for (auto& column : Grid) {
            for (auto& cell : column) {
                if (cell.Distance == wave) {
                    cell.Wave = 1;
                    any = true;
                }
            }
        }
        if (!any) {
            Reset_();
            return false;
        }
        if (Grid[static_cast<std::size_t>(Target.x)][static_cast<std::size_t>(Target.y)].Wave == 1) {
            TracePath_();
            return true;
        }
        for (int x = 0; x < GridSize.x; ++x) {
            for (int y = 0; y < GridSize.y; ++y) {
                Data& cell = Grid[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)];
                if (cell.Wave == 1) {
                    Spread_(x, y, wave + 1);
                    cell.Wave = 2;
                }
            }
        }
    }
}

void Pathfinder::Spread_(int x, int y, int value) {
    auto reach = [&](int nx, int ny) {
        Data& cell = Grid[static_cast<std::size_t>(nx)][static_cast<std::size_t>(ny)];
        if (cell.Distance == PathOpen) cell.Distance = value;
    };
    if (y > 0) reach(x, y - 1);
    if (x + 1 < GridSize.x) reach(x + 1, y);
    if (y + 1 < GridSize.y) reach(x, y + 1);
    if (x > 0) reach(x - 1, y);
}

void Pathfinder::TracePath_() {
    auto distance = [&](int x, int y) {
        return Grid[static_cast<std::size_t>(x)][static_cast<std::size_t>(y)].Distance;
    };
    const int count = distance(Target.x, Target.y);
    Path.assign(static_cast<std::size_t>(count), std::string());
    int x = Target.x;
    int y = Target.y;
    for (int i = count; i >= 2; --i) {
        std::string& move = Path[static_cast<std::size_t>(i - 2)];
        // The neighbour one wave earlier; the move leads from it to (x, y).
        if (y > 0 && distance(x, y - 1) + 1 == i) {
            move = "D";
            --y;
        } else if (x + 1 < GridSize.x && distance(x + 1, y) + 1 == i) {
            move = "L";
            ++x;
        } else if (y + 1 < GridSize.y && distance(x, y + 1) + 1 == i) {
            move = "U";
            ++y;
        } else if (x > 0 && distance(x - 1, y) + 1 == i) {
            move = "R";
            --x;
        }
    }
}

void Pathfinder::Reset_() {
    for (auto& column : Grid) {
        for (auto& cell : column) {
            cell.Distance = PathOpen;
            cell.Wave = 0;
        }
    }
    Path.clear();
}

int Pathfinder::Length() const { return Path.empty() ? -1 : static_cast<int>(Path.size()) - 1; }

std::string Pathfinder::GetPathString() const {
    std::string text;
    for (const auto& move : Path) text += move;
    return text;
}

}  // namespace kestrum::framework::pathfinder
