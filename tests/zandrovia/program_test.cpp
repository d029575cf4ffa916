// The whole program, started as a player would start it: the real Zandrovia
// executable runs offscreen with an empty home folder, shows the loader's
// splash with a growing progress bar, reaches the Game screen with the
// tutorial and ends cleanly. Its frames are read from the folder named by
// ZANDROVIA_FRAME_DUMP.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/files.h"
#include "platform/image.h"
#include "platform/system.h"
#include "platform/text.h"
#include "support/testsupport.h"

namespace {

constexpr int kWidth = 1136;
constexpr int kBarLeft = kWidth / 4;    // the bar is half the window wide, centred
constexpr int kBarWidth = kWidth / 2;
constexpr int kSteps = 61;

bool IsBar(std::uint32_t argb) {
    const int r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
    return g > 220 && r < 40 && b < 40;
}

// How far the bright bar reaches along row 16 from the bar's left end.
int BarLength(const platform::Pixmap& strip) {
    int length = 0;
    while (length < kBarWidth && IsBar(strip.GetPixelARGB(kBarLeft + length, 16))) ++length;
    return length;
}

std::string Name(const char* prefix, int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "%s%03d.png", prefix, frame);
    return name;
}

}  // namespace

TEST(Program, StartsShowsTheLoaderAndReachesTheGameScreen) {
#ifdef _WIN32
    const std::string program = platform::AppDir() + "../Zandrovia.exe";
#else
    const std::string program = platform::AppDir() + "../Zandrovia";
#endif
    ASSERT_EQ(platform::GetFileType(program), platform::FileType::File)
        << "build the Zandrovia target first: " << program;
    const std::string home = testsupport::TempDir();
    const std::string frames = testsupport::TempDir();
    int code = -1;
    {
        testsupport::ScopedEnv homeVar("HOME", home);
        testsupport::ScopedEnv profile("USERPROFILE", std::nullopt);
        testsupport::ScopedEnv dump("ZANDROVIA_FRAME_DUMP", frames);
        code = platform::RunProgram(program, {}, frames + "stdout.txt");
    }
    ASSERT_EQ(code, 0);

    // Every asset is found, and without the diagnostic switch nothing is printed.
    const std::string output = platform::LoadString(frames + "stdout.txt");
    EXPECT_FALSE(platform::Contains(output, "Image not found")) << output;
    EXPECT_EQ(output, "");

    // Frames 1 and 2 count and arm the steps, 3 to 63 run one step each;
    // Game is current from frame 64 and the program ends after frame 65.
    std::string expected;
    for (int frame = 1; frame <= 63; ++frame) expected += std::to_string(frame) + " loader\n";
    expected += "64 game\n65 game\n";
    EXPECT_EQ(platform::LoadString(frames + "screens.txt"), expected);

    // The splash fills the window.
    const auto splash = platform::Pixmap::Load("asset::loader.jpg");
    const auto first = platform::Pixmap::Load(frames + "frame001.png");
    ASSERT_TRUE(splash && first);
    ASSERT_EQ(first->Width(), kWidth);
    for (const auto& [x, y] : {std::pair{568, 320}, std::pair{200, 500}, std::pair{1000, 100}, std::pair{40, 600}}) {
        EXPECT_TRUE(testsupport::Near(first->GetPixelARGB(x, y), splash->GetPixel(x, y), 12))
            << x << "," << y << " " << testsupport::Describe(first->GetPixelARGB(x, y));
    }

    // The bar grows by one step per frame, from nothing to the whole width,
    // over its dark green background.
    int previous = 0;
    for (int frame = 1; frame <= 63; ++frame) {
        const auto strip = platform::Pixmap::Load(frames + Name("top", frame));
        ASSERT_TRUE(strip) << frame;
        const int done = frame < 3 ? 0 : frame - 2;
        const int length = BarLength(*strip);
        EXPECT_NEAR(length, done * kBarWidth / kSteps, 2) << "frame " << frame;
        EXPECT_GE(length, previous) << "frame " << frame;
        previous = length;
        if (done < kSteps) {
            EXPECT_TRUE(testsupport::Near(strip->GetPixelARGB(kBarLeft + kBarWidth - 3, 16), {0, 0.5f, 0, 1}, 6))
                << "frame " << frame << " " << testsupport::Describe(strip->GetPixelARGB(kBarLeft + kBarWidth - 3, 16));
        }
    }
    EXPECT_GE(previous, kBarWidth - 2);

    // Without preferences the Game screen starts the tutorial: its backdrop
    // and ground, and its white title across the middle.
    const auto game = platform::Pixmap::Load(frames + "frame065.png");
    ASSERT_TRUE(game);
    int white = 0;
    for (int x = 200; x < 940; ++x) white += testsupport::Near(game->GetPixelARGB(x, 330), {1, 1, 1, 1}, 16);
    EXPECT_GT(white, 100);
    EXPECT_FALSE(testsupport::Near(game->GetPixelARGB(10, 630), {0, 0, 0, 1}, 16));

    // Nothing in the run saved the preferences.
    EXPECT_EQ(platform::GetFileType(home + ".zandrovia.pref.dat"), platform::FileType::None);
}
