#include "kestrum-framework/pathfinder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using kestrum::framework::Pathfinder;

namespace {

// A map from rows of text ('#' blocked), turned into the [x][y] layout.
Pathfinder::Map MapOf(const std::vector<std::string>& rows) {
    Pathfinder::Map map(rows.empty() ? 0 : rows[0].size(), std::vector<int>(rows.size()));
    for (std::size_t y = 0; y < rows.size(); ++y) {
        for (std::size_t x = 0; x < rows[y].size(); ++x) map[x][y] = rows[y][x] == '#' ? 1 : 0;
    }
    return map;
}

}  // namespace

TEST(PathfinderTest, FindsShortestPaths) {
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        platform::Vec2i start, target;
        std::string path;
    };
    const Case cases[] = {
        {"open grid prefers up, right, down, left when tracing back", {"...", "...", "..."}, {0, 0}, {2, 2}, "RRDD"},
        {"start equals target", {"...", "...", "..."}, {1, 1}, {1, 1}, ""},
        {"reverse direction", {"...", "...", "..."}, {2, 2}, {0, 0}, "UULL"},
        {"single corridor",
         {".#...",
          ".#.#.",
          "...#."},
         {0, 0}, {4, 2}, "DDRRUURRDD"},
        {"maze with a long way round",
         {"......",
          ".####.",
          ".#..#.",
          ".#.##.",
          ".#....",
          ".#####"},
         {0, 0}, {2, 2}, "RRRRRDDDDLLLUU"},
    };
    for (const auto& c : cases) {
        Pathfinder finder;
        finder.Setup(MapOf(c.rows), c.start, c.target);
        ASSERT_TRUE(finder.FindPath()) << c.name;
        EXPECT_EQ(finder.GetPathString(), c.path) << c.name;
        EXPECT_EQ(finder.Length(), static_cast<int>(c.path.size())) << c.name;
    }
}

TEST(PathfinderTest, ReportsNoPath) {
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        platform::Vec2i start, target;
    };
    const Case cases[] = {
        {"target blocked", {"...", ".#.", "..."}, {0, 0}, {1, 1}},
        {"target walled off", {"..#.", "..#.", "..#."}, {0, 0}, {3, 1}},
        {"empty map", {}, {0, 0}, {0, 0}},
        {"start outside the map", {"...", "..."}, {-1, 0}, {2, 1}},
        {"target outside the map", {"...", "..."}, {0, 0}, {3, 1}},
        {"target below the map", {"...", "..."}, {0, 0}, {0, 2}},
    };
    for (const auto& c : cases) {
        Pathfinder finder;
        finder.Setup(MapOf(c.rows), c.start, c.target);
        EXPECT_FALSE(finder.FindPath()) << c.name;
        EXPECT_EQ(finder.Length(), -1) << c.name;
        EXPECT_EQ(finder.GetPathString(), "") << c.name;
    }
}

TEST(PathfinderTest, KeepsWaveNumbersAfterSuccessAndClearsAfterFailure) {
    Pathfinder finder;
    finder.Setup(MapOf({"..", "#."}), {0, 0}, {1, 1});
    EXPECT_EQ(finder.Size(), platform::Vec2i(2, 2));
    ASSERT_TRUE(finder.FindPath());
    EXPECT_EQ(finder.Grid[1][1].Distance, 3);
    EXPECT_EQ(finder.Grid[0][1].Distance, kestrum::framework::PathWall);

    finder.Setup(MapOf({".#", "#."}), {0, 0}, {1, 1});
    EXPECT_FALSE(finder.FindPath());
    EXPECT_EQ(finder.Grid[1][0].Distance, kestrum::framework::PathOpen);  // the walls are gone
    EXPECT_FALSE(finder.FindPath());  // nothing of wave 1 is left
}

TEST(PathfinderTest, NotSetUpFindsNothing) {
    Pathfinder finder;
    EXPECT_FALSE(finder.FindPath());
    EXPECT_EQ(finder.Width(), 0);
    EXPECT_EQ(finder.Height(), 0);
}
