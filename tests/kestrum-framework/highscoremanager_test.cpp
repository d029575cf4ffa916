#include "kestrum-framework/highscoremanager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using kestrum::framework::HighScoreManager;

namespace {

std::vector<int> Scores(const HighScoreManager& list) {
    std::vector<int> scores;
    for (const auto& entry : list.Entries) scores.push_back(entry->Score);
    return scores;
}

}  // namespace

TEST(HighScoreManagerTest, KeepsBestFirstAndPrints) {
    HighScoreManager list;
    EXPECT_EQ(list.ToString(), "");
    list.Add("ann", 5);
    list.Add("bob", 9);
    list.Add("cid", 7);
    EXPECT_EQ(Scores(list), (std::vector<int>{9, 7, 5}));
    EXPECT_EQ(list.ToString(), "1 - 9 - bob\n2 - 7 - cid\n3 - 5 - ann");
    EXPECT_EQ(list.Highest()->Name, "bob");
    EXPECT_EQ(list.Lowest()->Name, "ann");
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(HighScoreManagerTest, CutsToCapacityDroppingNewcomersThatDoNotBeatTheLowest) {
    HighScoreManager list;
    for (int i = 1; i <= 10; ++i) list.Add("p" + std::to_string(i), i * 10);
    EXPECT_TRUE(list.Qualifies(10));   // equal to the lowest still qualifies...
    list.Add("tie", 10);               // ...but sorts after the older 10 and is cut
    EXPECT_EQ(list.Count(), 10);
    EXPECT_EQ(list.Get(9)->Name, "p1");
    list.Add("low", 5);
    EXPECT_EQ(list.Get(9)->Name, "p1");
    EXPECT_FALSE(list.Qualifies(9));
    list.Add("top", 1000);
    EXPECT_EQ(list.Get(0)->Name, "top");
    EXPECT_EQ(list.Get(9)->Name, "p2");
    EXPECT_EQ(list.Count(), 10);

    // Equal scores keep their order of arrival.
    HighScoreManager ties;
    ties.Add("first", 3);
    ties.Add("second", 3);
    ties.Add("better", 4);
    EXPECT_EQ(ties.ToString(), "1 - 4 - better\n2 - 3 - first\n3 - 3 - second");
}

TEST(HighScoreManagerTest, FillsUpWithZeros) {
    HighScoreManager list;
    list.Fill("nobody");
    EXPECT_EQ(list.Count(), 10);
    EXPECT_EQ(Scores(list), std::vector<int>(10, 0));

    HighScoreManager partial;
    partial.Add("a", 50);
    partial.Add("b", 20);
    partial.Fill("-");
    EXPECT_EQ(partial.Count(), 10);
    EXPECT_EQ(partial.Get(0)->Name, "a");
    EXPECT_EQ(partial.Get(1)->Name, "b");
    EXPECT_EQ(partial.Get(2)->Score, 0);
}

TEST(HighScoreManagerTest, EmptyAndOutOfRangeGiveBlankEntries) {
    HighScoreManager list;
    for (const auto& entry : {list.Highest(), list.Lowest(), list.Get(0), list.Get(-1)}) {
        ASSERT_NE(entry, nullptr);
        EXPECT_EQ(entry->Name, "");
        EXPECT_EQ(entry->Score, 0);
    }
    EXPECT_TRUE(list.Qualifies(0));
    EXPECT_FALSE(list.Qualifies(-1));
    list.Add("x", 3);
    EXPECT_EQ(list.Get(1)->Name, "");
    EXPECT_EQ(list.Get(0)->Name, "x");
}
