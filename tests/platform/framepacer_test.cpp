// The frame limiter's deadline arithmetic, driven by made-up times: frames
// that take a given time, presented by a swap that returns at once or waits
// for a display's refresh.
#include "platform/framepacer.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

using platform::FramePacer;

namespace {

constexpr std::int64_t kMs = 1'000'000;
constexpr std::int64_t kPeriod = FramePacer::DefaultPeriod;

struct Timeline {
    std::vector<std::int64_t> starts;  // when each frame began
    std::vector<std::int64_t> waits;   // what the pacer asked for after each
};

// Runs frames back to back from time 0 for the given time: frame k takes
// work(k); its swap returns when present(done) says; the loop then waits
// what the pacer asks.
Timeline Simulate(std::int64_t duration, const std::function<std::int64_t(int)>& work,
             const std::function<std::int64_t(std::int64_t)>& present = [](std::int64_t done) { return done; }) {
    FramePacer pacer;
    Timeline run;
    std::int64_t now = 0;
    for (int k = 0; now < duration; ++k) {
        run.starts.push_back(now);
        const std::int64_t presented = present(now + work(k));
        const std::int64_t wait = pacer.FramePresented(presented);
        EXPECT_GE(wait, 0);
        run.waits.push_back(wait);
        now = presented + wait;
    }
    return run;
}

// A display refreshing every period from time 0: the swap waits for the next refresh.
std::function<std::int64_t(std::int64_t)> Display(std::int64_t period) {
    return [period](std::int64_t done) { return (done / period + 1) * period; };
}

int FramesIn(const Timeline& run, std::int64_t from, std::int64_t to) {
    int count = 0;
    for (std::int64_t start : run.starts) count += start >= from && start < to;
    return count;
}

}  // namespace

TEST(FramePacer, QuickFramesStartOnDeadlinesASixtiethOfASecondApart) {
    const Timeline run = Simulate(10 * FramePacer::Second, [](int) { return 2 * kMs; });
    // Nothing is known of when the first frame began: the second follows it at once.
    EXPECT_EQ(run.waits[0], 0);
    for (std::size_t k = 2; k < run.starts.size(); ++k) {
        ASSERT_EQ(run.starts[k] - run.starts[k - 1], kPeriod) << "frame " << k;
        ASSERT_EQ(run.waits[k - 1], kPeriod - 2 * kMs) << "frame " << k;
    }
    EXPECT_EQ(FramesIn(run, FramePacer::Second, 9 * FramePacer::Second), 8 * 60);
}

TEST(FramePacer, ASlowFrameIsCaughtUpByTheFramesAfterIt) {
    // Frame 30 takes one and a half periods; the rest take 3 ms.
    const Timeline run = Simulate(3 * FramePacer::Second, [](int k) { return k == 30 ? kPeriod * 3 / 2 : 3 * kMs; });
    EXPECT_EQ(run.waits[30], 0) << "the frame after a late one begins at once";
    // The next frame starts early enough to get back onto the grid.
    EXPECT_EQ(run.starts[32] - run.starts[30], 2 * kPeriod);
    for (std::size_t k = 33; k < run.starts.size(); ++k) ASSERT_EQ(run.starts[k] - run.starts[k - 1], kPeriod) << k;
    // Still 60 frames in every second.
    EXPECT_EQ(FramesIn(run, 100 * kMs, 1100 * kMs), 60);
    EXPECT_EQ(FramesIn(run, 1100 * kMs, 2100 * kMs), 60);
}

TEST(FramePacer, AfterALongStallTheDeadlinesStartAfreshInsteadOfBursting) {
    // Frame 10 stalls for a second (loading, a blocking download).
    const Timeline run = Simulate(3 * FramePacer::Second, [](int k) { return k == 10 ? FramePacer::Second : 1 * kMs; });
    EXPECT_EQ(run.waits[10], 0);
    // Every frame after the stall is a whole period after the one before: no burst to make up for it.
    for (std::size_t k = 12; k < run.starts.size(); ++k) ASSERT_EQ(run.starts[k] - run.starts[k - 1], kPeriod) << k;
}

TEST(FramePacer, ASwapThatWaitsForASixtyHertzDisplayNeedsNoWait) {
    // Displays of exactly 60 Hz and a little off it either way.
    for (const std::int64_t refresh : {kPeriod, FramePacer::Second * 1001 / 60000, FramePacer::Second * 1000 / 60060}) {
        const Timeline run = Simulate(20 * FramePacer::Second, [](int) { return 4 * kMs; }, Display(refresh));
        for (std::size_t k = 0; k < run.waits.size(); ++k) ASSERT_EQ(run.waits[k], 0) << refresh << " frame " << k;
        // One frame per refresh: none is skipped.
        for (std::size_t k = 2; k < run.starts.size(); ++k) {
            ASSERT_EQ(run.starts[k] - run.starts[k - 1], refresh) << refresh << " frame " << k;
        }
    }
}

TEST(FramePacer, AFasterDisplayIsHeldToSixtyFramesASecond) {
    for (const std::int64_t refresh : {FramePacer::Second / 120, FramePacer::Second / 144, FramePacer::Second / 75}) {
        const Timeline run = Simulate(11 * FramePacer::Second, [](int) { return 2 * kMs; }, Display(refresh));
        const int frames = FramesIn(run, FramePacer::Second, 11 * FramePacer::Second);
        EXPECT_GE(frames, 590) << refresh;
        EXPECT_LE(frames, 600) << refresh;
    }
}

TEST(FramePacer, ResetForgetsTheDeadlines) {
    FramePacer pacer;
    EXPECT_EQ(pacer.FramePresented(0), 0);
    EXPECT_EQ(pacer.FramePresented(2 * kMs), kPeriod - 2 * kMs);
    pacer.Reset();
    EXPECT_EQ(pacer.FramePresented(100 * kMs), 0) << "the deadlines start from the first frame after the reset";
    EXPECT_EQ(pacer.FramePresented(101 * kMs), kPeriod - 1 * kMs);
    EXPECT_EQ(FramePacer(0).Period(), 1) << "a period is never zero";
}
