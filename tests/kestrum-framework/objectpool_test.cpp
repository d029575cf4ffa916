#include "kestrum-framework/objectpool.h"

#include <memory>
#include <vector>

#include <gtest/gtest.h>

namespace fw = kestrum::framework;

namespace {

struct Shot {
    int id = 0;
};

fw::ObjectPool<Shot> PoolOf(int count, std::vector<std::shared_ptr<Shot>>* shots = nullptr) {
    fw::ObjectPool<Shot> pool;
    for (int i = 0; i < count; ++i) {
        auto shot = std::make_shared<Shot>(Shot{i});
        if (shots) shots->push_back(shot);
        pool.Add(shot);
    }
    return pool;
}

}  // namespace

TEST(ObjectPool, GrowsToTwiceTheCountPlusTen) {
    fw::ObjectPool<Shot> pool;
    EXPECT_EQ(pool.Acquire(), nullptr);
    EXPECT_EQ(pool.Cursor, 0);
    std::vector<std::size_t> lengths;
    for (int i = 0; i < 71; ++i) {
        EXPECT_EQ(pool.Add(std::make_shared<Shot>()), i);
        if (lengths.empty() || lengths.back() != pool.Items.size()) lengths.push_back(pool.Items.size());
        EXPECT_EQ(pool.Used.size(), pool.Items.size());
    }
    EXPECT_EQ(lengths, (std::vector<std::size_t>{10, 30, 70, 150}));
    EXPECT_EQ(pool.Count, 71);
    EXPECT_EQ(pool.Items[71], nullptr) << "spare capacity holds null";
}

TEST(ObjectPool, AcquireHandsOutInRotation) {
    auto pool = PoolOf(3);
    EXPECT_EQ(pool.Acquire()->id, 0);
    EXPECT_EQ(pool.Acquire()->id, 1);
    EXPECT_EQ(pool.Acquire()->id, 2);
    EXPECT_EQ(pool.Cursor, 0);
    EXPECT_EQ(pool.Acquire(), nullptr) << "every slot in use";
    EXPECT_EQ(pool.Cursor, 0);
    pool.Release(1);
    pool.Release(1);  // releasing a free slot changes nothing
    EXPECT_EQ(pool.Acquire()->id, 1);
    EXPECT_EQ(pool.Cursor, 2);

    auto second = PoolOf(3);
    second.Acquire();  // slot 0 used, cursor 1
    second.Cursor = 0;
    EXPECT_EQ(second.Acquire()->id, 1);
    EXPECT_EQ(second.Cursor, 2);
    EXPECT_EQ(second.Acquire()->id, 2);
    EXPECT_EQ(second.Acquire(), nullptr);
}

TEST(ObjectPool, ReleaseByItemAllAndOutOfRangeIndexes) {
    std::vector<std::shared_ptr<Shot>> shots;
    auto pool = PoolOf(3, &shots);
    for (int i = 0; i < 3; ++i) pool.Acquire();
    EXPECT_FALSE(pool.ReleaseItem(std::make_shared<Shot>()));
    EXPECT_EQ(pool.Used, (std::vector<bool>{true, true, true, false, false, false, false, false, false, false}));
    EXPECT_TRUE(pool.ReleaseItem(shots[2]));
    EXPECT_FALSE(pool.Used[2]);

    // Indexes outside the objects are ignored, never undefined behaviour.
    pool.Release(-1);
    pool.Release(3);
    pool.Release(1000);
    EXPECT_EQ(pool.Item(-1), nullptr);
    EXPECT_EQ(pool.Item(3), nullptr);
    EXPECT_EQ(pool.Item(1), shots[1]);

    pool.Cursor = 1;
    pool.ReleaseAll();
    EXPECT_EQ(pool.Cursor, 1);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(pool.Used[static_cast<std::size_t>(i)]);
}

TEST(ObjectPool, ClearKeepsCapacityAndStartsTheCursorOver) {
    auto pool = PoolOf(12);
    for (int i = 0; i < 9; ++i) pool.Acquire();
    EXPECT_EQ(pool.Cursor, 9);
    pool.Clear();
    EXPECT_EQ(pool.Count, 0);
    EXPECT_EQ(pool.Acquire(), nullptr);
    EXPECT_EQ(pool.Add(std::make_shared<Shot>(Shot{40})), 0);
    EXPECT_EQ(pool.Items.size(), 30u) << "no growth below the old capacity";
    auto refilled = pool.Acquire();
    ASSERT_NE(refilled, nullptr);
    EXPECT_EQ(refilled->id, 40);

    // A cursor left past the count (set by hand here) wraps to the start.
    pool.Release(0);
    pool.Cursor = 20;
    ASSERT_NE(pool.Acquire(), nullptr);
    EXPECT_EQ(pool.Cursor, 0);
}
