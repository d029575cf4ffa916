// The sound scheduler: plays at their times on new channels with the
// entry's settings, silent use-up while the volume is 0, and the halts of
// the task clock. Sound runs through OpenAL Soft's null output.
#include "zandrovia/soundscheduler.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/audio.h"
#include "support/fakeclock.h"
#include "support/testsupport.h"

namespace {

// Ten seconds of silence: long enough to stay playing through a test.
platform::SoundPtr Silence() {
    return std::make_shared<platform::Sound>(std::vector<std::int16_t>(80000), 1, 8000);
}

// Runs the scheduler at 60 frames a second up to the time end; returns the
// task-clock times of the updates that started a play.
std::vector<int> RunUntil(SoundScheduler& scheduler, testsupport::FakeClock& clock, int end, float volume = 1.0f) {
    std::vector<int> plays;
    int frame = 0;
    const std::int64_t start = clock.now;
    while (clock.now - start < end) {
        ++frame;
        clock.now = start + frame * 1000 / 60;
        const platform::Channel* before = scheduler.LastChannel().get();
        scheduler.Update(volume, true);
        if (scheduler.LastChannel().get() != before) plays.push_back(static_cast<int>(clock.now - start));
    }
    return plays;
}

}  // namespace

TEST(SoundScheduler, TheBossWarningPlaysFiveTimesAndExpiresAnIntervalLater) {
    testsupport::App();
    testsupport::FakeClock clock(0);
    SoundScheduler scheduler;
    scheduler.Add(Silence(), 0, 1.0f, 1.0f, 0.0f, 4, 1250);
    const std::vector<int> plays = RunUntil(scheduler, clock, 6240);
    // Each play in the first update after the interval counted from the play before.
    EXPECT_EQ(plays, (std::vector<int>{16, 1283, 2550, 3816, 5083}));
    EXPECT_EQ(scheduler.Pending(), 1);
    RunUntil(scheduler, clock, 1300);
    EXPECT_EQ(scheduler.Pending(), 0);
}

TEST(SoundScheduler, WithTheSoundOffTheEntryExpiresOnTimeWithoutPlaying) {
    testsupport::App();
    testsupport::FakeClock clock(0);
    SoundScheduler scheduler;
    scheduler.Add(Silence(), 0, 1.0f, 1.0f, 0.0f, 4, 1250);
    EXPECT_TRUE(RunUntil(scheduler, clock, 6400, 0.0f).empty());
    EXPECT_EQ(scheduler.Pending(), 0);
    EXPECT_FALSE(scheduler.LastChannel());
}

TEST(SoundScheduler, EachPlayGetsANewChannelWithVolumeRateAndPan) {
    testsupport::App();
    // The application opens its device only after its first frame; the channels must really play here.
    ASSERT_TRUE(platform::AudioDevice::Instance().Open());
    testsupport::FakeClock clock(100);
    SoundScheduler scheduler;
    const platform::SoundPtr sound = Silence();
    scheduler.Add(sound, 50, 0.5f, 0.25f, 0.5f, 1, 100);
    clock.now = 151;
    scheduler.Update(0.8f, true);
    const platform::ChannelPtr first = scheduler.LastChannel();
    ASSERT_TRUE(first);
    EXPECT_FLOAT_EQ(first->Volume(), 0.4f);
    EXPECT_FLOAT_EQ(first->Rate(), 0.25f);
    EXPECT_FLOAT_EQ(first->Pan(), 0.5f);
    clock.now = 252;
    scheduler.Update(1.0f, true);
    ASSERT_NE(scheduler.LastChannel(), first);
    EXPECT_FLOAT_EQ(scheduler.LastChannel()->Volume(), 0.5f);
    // The entry's channels play side by side and hold the sound.
    EXPECT_GE(sound.use_count(), 3);
}

TEST(SoundScheduler, HaltsNegativeRepeatsNullSoundsAndClear) {
    testsupport::App();
    testsupport::FakeClock clock(0);
    SoundScheduler scheduler;
    scheduler.Add(Silence(), 100, 1, 1, 0, 0, 0);
    clock.now = 50;
    kestrum::framework::SetTasksPaused(true);
    clock.now = 10000;
    scheduler.Update(1, true);
    EXPECT_FALSE(scheduler.LastChannel());
    kestrum::framework::SetTasksPaused(false);
    kestrum::framework::SetTasksFrozen(true);
    scheduler.Update(1, false);
    EXPECT_FALSE(scheduler.LastChannel());
    kestrum::framework::SetTasksFrozen(false);
    clock.now = 10051;  // the task clock is at 101
    scheduler.Update(1, true);
    EXPECT_TRUE(scheduler.LastChannel());

    // Paused with pausable False plays; a negative repeat count never plays.
    SoundScheduler other;
    other.Add(Silence(), 0, 1, 1, 0, -1, 500);
    other.Add(nullptr, 0, 1, 1, 0, 4, 500);
    EXPECT_EQ(other.Pending(), 1);
    clock.now += 10;
    other.Update(1, false);
    EXPECT_FALSE(other.LastChannel());
    EXPECT_EQ(other.Pending(), 0);

    other.Add(Silence(), 0, 1, 1, 0, 3, 500);
    other.Clear();
    EXPECT_EQ(other.Pending(), 0);
    clock.now += 10;
    other.Update(1, true);
    EXPECT_FALSE(other.LastChannel());
}
