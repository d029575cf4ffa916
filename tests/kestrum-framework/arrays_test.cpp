#include "kestrum-framework/arrays.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/clock.h"
#include "platform/files.h"
#include "support/testsupport.h"

namespace fw = kestrum::framework;

TEST(ResizeArray, KeepsTheCommonPartAndFillsWithEmptyValues) {
    std::vector<int> five{1, 2, 3, 4, 5};
    const int* storage = five.data();
    five = fw::ResizeArray(std::move(five), 5);
    EXPECT_EQ(five.data(), storage) << "an unchanged length keeps the very same array";
    EXPECT_EQ(fw::ResizeArray(five, 8), (std::vector<int>{1, 2, 3, 4, 5, 0, 0, 0}));
    EXPECT_EQ(fw::ResizeArray(five, 3), (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(fw::ResizeArray(five, 0).empty());
    EXPECT_TRUE(fw::ResizeArray(five, -2).empty());
    EXPECT_EQ(five.size(), 5u) << "the argument is left as it was";

    EXPECT_EQ(fw::ResizeArray(std::vector<bool>{true}, 3), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(fw::ResizeArray(std::vector<std::string>{"a"}, 2), (std::vector<std::string>{"a", ""}));
    auto objects = fw::ResizeArray(std::vector<std::shared_ptr<int>>{std::make_shared<int>(1)}, 2);
    EXPECT_EQ(*objects[0], 1);
    EXPECT_EQ(objects[1], nullptr);
}

TEST(ExpandArray, GrowsToAtLeastTheSizeAndKeepsElementsInPlace) {
    fw::Array2D<int> grid(3, 2);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) grid(c, r) = 10 * c + r + 1;

    auto taller = fw::ExpandArray(grid, 2, 4);
    EXPECT_EQ(taller.Columns(), 3);
    EXPECT_EQ(taller.Rows(), 4);
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 3; ++c) EXPECT_EQ(taller(c, r), r < 2 ? 10 * c + r + 1 : 0) << c << "," << r;

    const int* storage = grid.Data();
    grid = fw::ExpandArray(std::move(grid), 1, 1);
    EXPECT_EQ(grid.Data(), storage) << "a grid that is large enough comes back as it is";

    EXPECT_TRUE(fw::ExpandArray(fw::Array2D<int>(), 5, 0).Empty());
    EXPECT_TRUE(fw::ExpandArray(fw::Array2D<int>(), 0, 0).Empty());
    auto fresh = fw::ExpandArray(fw::Array2D<std::string>(), 2, 3);
    EXPECT_EQ(fresh.Columns(), 2);
    EXPECT_EQ(fresh.Rows(), 3);
    EXPECT_EQ(fresh(1, 2), "");
    EXPECT_EQ(fresh.Get(5, 5), "") << "a checked read outside gives the empty value";
}

TEST(Arrays, SplitInTwo) {
    struct Case {
        const char* text;
        const char* key;
        const char* value;
    };
    const Case cases[] = {
        {"key=value", "key", "value"}, {"a=b=c", "a", "b=c"}, {"key=", "key", ""},
        {"=value", "", ""},            {"plain", "", ""},     {"", "", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fw::SplitInTwo(c.text, "="), (std::vector<std::string>{c.key, c.value})) << c.text;
    }
}

TEST(Arrays, NumberConversions) {
    EXPECT_EQ(fw::ToInt({"12", " 7", "x", ""}), (std::vector<int>{12, 7, 0, 0}));
    EXPECT_EQ(fw::ToFloat({"1.5", "2"}), (std::vector<float>{1.5f, 2.0f}));
    EXPECT_EQ(fw::ArrayToString(std::vector<int>{1, 2, 3}), "1,2,3");
    EXPECT_EQ(fw::ArrayToString(std::vector<float>{0.5f, 2}), "0.5,2");
    EXPECT_EQ(fw::ArrayToString(std::vector<int>{}), "");
}

TEST(Arrays, LoadIntArray) {
    const std::string dir = testsupport::TempDir();
    ASSERT_TRUE(platform::SaveString("4,5,,6", dir + "ints.txt"));
    ASSERT_TRUE(platform::SaveString("1,2\n3,4", dir + "lines.txt"));
    EXPECT_EQ(fw::LoadIntArray(dir + "ints.txt"), (std::vector<int>{4, 5, 0, 6}));
    EXPECT_EQ(fw::LoadIntArray(dir + "lines.txt"), (std::vector<int>{1, 2, 4}));
    EXPECT_TRUE(fw::LoadIntArray(dir + "missing.txt").empty());
}

TEST(Arrays, ShuffleArrayIsAPermutationAndLeavesTheInput) {
    platform::ResetRnd();
    const std::vector<std::string> input{"a", "b", "", "c", ""};
    auto shuffled = fw::ShuffleArray(input);
    EXPECT_EQ(input, (std::vector<std::string>{"a", "b", "", "c", ""}));
    auto sortedOut = shuffled;
    auto sortedIn = input;
    std::sort(sortedOut.begin(), sortedOut.end());
    std::sort(sortedIn.begin(), sortedIn.end());
    EXPECT_EQ(sortedOut, sortedIn);
    EXPECT_TRUE(fw::ShuffleArray({}).empty());

    platform::ResetRnd();
    EXPECT_EQ(fw::ShuffleArray(input), shuffled) << "the unseeded generator repeats the order";
}
