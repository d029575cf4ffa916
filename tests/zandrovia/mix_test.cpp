// The mix a player hears: a busy wave level played by the autopilot with
// the music on. No sample of the mix may reach full scale, where a sound
// card clips it.
//
// The mix is rendered on OpenAL Soft's loopback device in step with the
// frames, 1/60 s of sound after each: a sound starts at the first sample of
// the frame that played it, run after run, so the test sees the same mix
// every time. (A driver that mixes in real time, such as the wave-file
// driver, starts sounds wherever its thread happens to be; on a loaded
// machine it falls behind and starts those of several frames at one sample.)
// OpenAL Soft's output limiter is off, as it is for the float output of
// many systems: it would hide an overloaded mix by turning the whole of it
// down for a moment.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "kestrum-framework/config.h"
#include "platform/app.h"
#include "platform/audio.h"
#include "platform/files.h"
#include "support/testsupport.h"
#include "zandrovia/driver/autopilot.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/globals.h"
#include "zandrovia/zandrovia.h"

namespace {

using gamedriver::Autopilot;
using gamedriver::GameDriver;

constexpr int kRate = 44100;
constexpr int kFramesPerStep = kRate / 60;

}  // namespace

TEST(Mix, ABusyLevelWithTheMusicStaysUnderFullScale) {
    // OpenAL Soft reads its configuration once, and the device must be open
    // before the program starts (it then plays into this one).
    if (platform::AppInstance::Instance()) GTEST_SKIP() << "needs a process of its own";
    const std::string dir = testsupport::TempDir();
    ASSERT_TRUE(platform::SaveString("[general]\noutput-limiter = false\n", dir + "alsoft.conf"));
    testsupport::SetEnv("ALSOFT_CONF", dir + "alsoft.conf");
    ASSERT_TRUE(platform::AudioDevice::Instance().OpenLoopback(kRate));

    GameDriver game;
    // Only the sound is wanted: a frame in a hundred is drawn.
    game.DrawEvery = 100;
    Autopilot pilot(game, {.levelFrames = 100000, .bossFrames = 100000, .levelsPerGame = 100, .menuFrames = 0});
    game.Reset();
    Prefs->Clear();
    Prefs->Parse("instructions1=True\nlevelIndex=10");
    GameScreen->OnStart();
    ASSERT_TRUE(MusicChannel && MusicChannel->Playing());

    // 50 s of level 10: waves, tanks, launchers and the spider, with the
    // squadron's shots and the explosions.
    std::vector<float> mix(kFramesPerStep * 2);
    long fullScale = 0;
    float peak = 0;
    for (int step = 0; step < 60 * 50; ++step) {
        pilot.Step();
        platform::AudioDevice::Instance().RenderLoopback(mix.data(), kFramesPerStep);
        for (const float sample : mix) {
            fullScale += std::abs(sample) >= 1.0f;
            peak = std::max(peak, std::abs(sample));
        }
    }
    platform::AudioDevice::Instance().Close();
    std::printf("mix: %ld samples at full scale, peak %.4f, score %d, %d ships\n", fullScale, peak, Score,
                ShipsAlive);
    EXPECT_GT(Score, 0) << "the level was played";
    EXPECT_EQ(fullScale, 0) << "peak " << peak;
}
