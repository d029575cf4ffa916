// Start-up: language choice, number padding, the globals' start values, the
// order of the start-up steps and the loader's run into the Game screen.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <string>

#include "kestrum-framework/config.h"
#include "platform/app.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/text.h"
#include "support/testsupport.h"
#include "zandrovia/constants.h"
#include "zandrovia/globals.h"
#include "zandrovia/levels.h"
#include "zandrovia/loader.h"
#include "zandrovia/localization.h"
#include "zandrovia/player.h"
#include "zandrovia/pooledemitter.h"
#include "zandrovia/pooledparticle.h"
#include "zandrovia/zandrovia.h"

namespace {

using testsupport::ScopedEnv;

// A save of the preferences that a kill stopped before its rename left this
// temporary file (of a process that no longer runs) in the home folder.
constexpr const char* kKilledSave = ".zandrovia.pref.dat.tmp-999999999";

// Runs the program's start-up once per process, from a home folder holding
// a preferences file and a killed save's leftover, and with a German locale
// in the environment. Returns that home folder.
std::string StartOnce() {
    static std::string home;
    if (!home.empty()) return home;
    testsupport::App();
    home = testsupport::TempDir();
    platform::SaveString("levelIndex=7\ninstructions1=True", home + ".zandrovia.pref.dat");
    platform::SaveString("levelIndex=", home + kKilledSave);
    ScopedEnv homeVar("HOME", home.c_str());
    ScopedEnv profile("USERPROFILE", std::nullopt);
    ScopedEnv all("LC_ALL", "de_DE.UTF-8");
    StartGame();
    std::setlocale(LC_ALL, "C");
    return home;
}

}  // namespace

TEST(StartUp, LanguageFromLocaleName) {
    const struct {
        const char* locale;
        const char* language;
    } cases[] = {
        {"German_Germany.1252", "de"},
        {"German_Switzerland.1252", "de"},
        {"de_DE.UTF-8", "de"},
        {"de-DE", "de"},
        {"de-DE.utf8", "de"},
        {"de-AT", "en"},
        {"en-US", "en"},
        {"de-de", "en"},
        {"LC_CTYPE=de_DE.UTF-8;LC_NUMERIC=C;LC_TIME=en_US.UTF-8", "de"},
        {"LC_CTYPE=en_US.UTF-8;LC_NUMERIC=C", "en"},
        {"en_US.UTF-8", "en"},
        {"English_United States.1252", "en"},
        {"de_AT.UTF-8", "en"},
        {"german", "en"},
        {"C", "en"},
        {"", "en"},
    };
    for (const auto& c : cases) EXPECT_EQ(LanguageForLocale(c.locale, "en"), c.language) << c.locale;
}

TEST(StartUp, DetectLanguageReadsTheEnvironment) {
    InitGameModule();
    const std::string savedLanguage = Language;
    {
        ScopedEnv all("LC_ALL", "de_DE.UTF-8");
        Language = "en";
        EXPECT_EQ(DetectLanguage(), "de");
        EXPECT_NE(SystemLocale.find("de_DE"), std::string::npos);
    }
    {
        ScopedEnv all("LC_ALL", "en_US.UTF-8");
        Language = "en";
        EXPECT_EQ(DetectLanguage(), "en");
    }
    std::setlocale(LC_ALL, "C");
    Language = savedLanguage;
}

TEST(StartUp, ZeroPad) {
    const struct {
        int value;
        int digits;
        const char* text;
    } cases[] = {{1234, 8, "00001234"}, {123456789, 8, "23456789"}, {7, 12, "000000007"},
                 {1000000000, 8, ""},   {-5, 8, "000000-5"},        {42, 0, "42"},
                 {0, 3, "000"},         {999999999, 9, "999999999"}};
    for (const auto& c : cases) EXPECT_EQ(ZeroPad(c.value, c.digits), c.text) << c.value << " " << c.digits;
}

TEST(StartUp, GlobalsAndConstantsAfterModuleStart) {
    InitGameModule();
    EXPECT_EQ(gameState, 0);
    EXPECT_EQ(GuiMode, 0);
    EXPECT_FLOAT_EQ(Fade, 1.0f);
    EXPECT_FLOAT_EQ(Flash, 0.0f);
    for (int counter : {StateTimer, levelIndex, Score, ShipsAlive, WeaponLevel, TrackerAmmo, LaserAmmo,
                        TanksDestroyed, AttackersLeft}) {
        EXPECT_EQ(counter, 0);
    }
    for (int variant : {GasVariant, PlanetVariant, SoilVariant, RocksVariant}) EXPECT_EQ(variant, 1);
    EXPECT_EQ(VERSION, "125");
    EXPECT_FALSE(DebugPrints);
    EXPECT_FALSE(CheatKeys);
    EXPECT_TRUE(HALL_OF_FAME_ENABLED);
    EXPECT_NE(ScoreServiceUrl.find("https://"), std::string::npos);
    EXPECT_TRUE(platform::EndsWith(ScoreServiceUrl, "/game/index.php"));
    EXPECT_EQ(ParticleTotal, 256);
    EXPECT_EQ(ParticleTotal, BulletDustBudget[0] + TankDustBudget[0] + RocketSmokeBudget[0] + ImpactBudget[0] +
                                 ExplosionBudget[0]);
    EXPECT_EQ(ExplosionBudget, (BudgetPair{32, 5}));
    EXPECT_EQ(ImpactBudget, (BudgetPair{128, 4}));
    ASSERT_EQ(TurretMuzzleOffsets.size(), 36u);
    EXPECT_EQ(TurretMuzzleOffsets[0], (platform::Vec2i{44, 2}));
    EXPECT_EQ(TurretMuzzleOffsets[16], (platform::Vec2i{2, -22}));
    EXPECT_EQ(TurretMuzzleOffsets[17], (platform::Vec2i{0, -23}));
    EXPECT_EQ(TurretMuzzleOffsets[18], (platform::Vec2i{-3, -21}));
    EXPECT_EQ(TurretMuzzleOffsets[35], (platform::Vec2i{-45, 5}));
    EXPECT_EQ(STATE_LEVEL_UP, 1);
    EXPECT_EQ(STATE_NEW_GAME, 10);
    EXPECT_EQ(STATE_COMPLETED, 100);
    EXPECT_EQ(STATE_GAME_OVER, 1000);
    EXPECT_EQ(PREFS_KEY_INSTRUCTIONS, "instructions1");
    EXPECT_EQ(PlayerFireDelay, 6);
    EXPECT_EQ(PlayerTrackerDelay, 30);
    EXPECT_EQ(ManSpinSign, 1);
    EXPECT_EQ(LevelCount, 21);
    EXPECT_EQ(ParticlePool.Count, 0);
    ASSERT_TRUE(morvane::locale::LocInstance);
}

TEST(StartUp, StepsRunInOrderAndTheLoaderComesFirst) {
    StartOnce();
    ASSERT_TRUE(Prefs);
    EXPECT_EQ(Prefs->ReadInt("levelIndex", 0), 7);
    EXPECT_EQ(Language, "de");
    EXPECT_NE(SystemLocale.find("de_DE"), std::string::npos);
    EXPECT_EQ(morvane::locale::LocInstance->lang, "de");
    EXPECT_EQ(morvane::locale::Localize("yes"), "Ja");

    ASSERT_TRUE(AppWindow);
    EXPECT_EQ(AppWindow->Title(), "Zandrovia");
    EXPECT_EQ(AppWindow->Width(), 1136);
    EXPECT_EQ(AppWindow->Height(), 640);
    EXPECT_EQ(AppWindow->ClearColor(), (platform::Color{0, 0, 0, 1}));
    ASSERT_TRUE(GameScreen);
    ASSERT_NE(AppWindow->LoaderScreen(), nullptr);
    // Game is made first, but the Loader, made after it, is current.
    EXPECT_EQ(AppWindow->CurrentScreen(), AppWindow->LoaderScreen());
    EXPECT_EQ(AppWindow->LoaderScreen()->NextScreen(), GameScreen.get());
}

TEST(StartUp, RemovesWhatKilledSavesLeftBeforeTheFirstSave) {
    const std::string home = StartOnce();
    EXPECT_EQ(platform::GetFileType(home + kKilledSave), platform::FileType::None);
    EXPECT_EQ(platform::LoadString(home + ".zandrovia.pref.dat"), "levelIndex=7\ninstructions1=True");
}

TEST(StartUp, LoaderRunsOneStepPerFrameAndHandsOverToGame) {
    StartOnce();
    Loader* loader = AppWindow->LoaderScreen();
    ASSERT_EQ(AppWindow->CurrentScreen(), loader);
    platform::AppInstance& app = testsupport::App();

    testing::internal::CaptureStdout();
    int frame = 0;
    auto step = [&] {
        ++frame;
        app.RequestRender();
        app.Step();
    };
    step();
    EXPECT_EQ(loader->Steps, 61);
    EXPECT_EQ(loader->Loaded, 0);
    step();
    EXPECT_EQ(loader->Loaded, 0);
    while (frame < 63) {
        step();
        ASSERT_EQ(loader->Loaded, frame - 2) << "frame " << frame;
        if (frame < 63) {
            ASSERT_EQ(AppWindow->CurrentScreen(), loader) << "frame " << frame;
        }
    }
    // The frame of the last step hands over; Game runs from the next one.
    EXPECT_EQ(AppWindow->CurrentScreen(), GameScreen.get());
    step();
    EXPECT_EQ(AppWindow->CurrentScreen(), GameScreen.get());
    EXPECT_TRUE(GameScreen->Started);
    EXPECT_FALSE(GameScreen->RunOncePending);
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(output.find("Image not found"), std::string::npos) << output;

    // Everything is loaded.
    for (const platform::SoundPtr& sound : {Music, BonusSound, Explosion1Sound, Explosion2Sound, ImpactSound,
                                            Laser1Sound, Laser2Sound, PickupSound, Shoot1Sound, Shoot2Sound,
                                            WarningSound, WhooshSound}) {
        EXPECT_TRUE(sound);
    }
    for (const platform::SoundPtr& voice : Voices) EXPECT_TRUE(voice);
    for (const auto& emitter : {ExplosionEmitter, SmokeEmitter, DustEmitter}) {
        ASSERT_TRUE(emitter);
        EXPECT_FALSE(emitter->Caches.empty());
    }
    for (const platform::ImagePtr& image :
         {PlayerBulletImage, PurpleBulletImage, TankBulletImage, SpiderBulletImage, SparkBlueImage, SparkPurpleImage,
          SparkRedImage, LaserGreenImage, LaserRedImage, ShieldImage, FootImage}) {
        ASSERT_TRUE(image);
        EXPECT_EQ(image->Handle(), (platform::Vec2f{0.5f, 0.5f}));
    }
    const struct {
        const ImageArray& frames;
        const ImageArray* ghosts;
        int count;
    } animations[] = {
        {PlayerFrames, &PlayerGhostFrames, 16},     {CargoFrames, &CargoGhostFrames, 20},
        {HunterFrames, &HunterGhostFrames, 21},     {SawcerFrames, &SawcerGhostFrames, 25},
        {SaucerFrames, &SaucerGhostFrames, 26},     {LauncherFrames, &LauncherGhostFrames, 18},
        {RocketFrames, &RocketGhostFrames, 16},     {TankTopFrames, &TankTopGhostFrames, 36},
        {TankWheelFrames, &TankWheelGhostFrames, 24}, {CrusherFrames, nullptr, 50},
        {SpiderFrames, &SpiderGhostFrames, 66},     {ManFrames, nullptr, 32},
        {PowerUpPickupFrames, nullptr, 20},         {TrackerPickupFrames, nullptr, 20},
        {NukePickupFrames, nullptr, 20},            {ShieldPickupFrames, nullptr, 20},
        {LaserPickupFrames, nullptr, 20},
    };
    for (const auto& a : animations) {
        ASSERT_TRUE(a.frames);
        ASSERT_EQ(static_cast<int>(a.frames->size()), a.count);
        for (const auto& image : *a.frames) EXPECT_TRUE(image);
        if (!a.ghosts) continue;
        ASSERT_TRUE(*a.ghosts);
        ASSERT_EQ(static_cast<int>((*a.ghosts)->size()), a.count);
    }
    // The kinds the game layer draws among each other share one texture, so
    // they draw in one batch; the two bosses keep a texture per frame.
    const platform::Texture* fleet = PlayerFrames->front()->GetTexture().get();
    EXPECT_EQ(ShieldImage->GetTexture().get(), fleet);
    EXPECT_EQ(FootImage->GetTexture().get(), fleet);
    for (const auto& a : animations) {
        const bool boss = &a.frames == &SpiderFrames || &a.frames == &SaucerFrames;
        for (const ImageArray* set : {&a.frames, a.ghosts}) {
            if (!set) continue;
            for (const auto& image : **set) {
                ASSERT_TRUE(image);
                if (boss) {
                    EXPECT_EQ(image->Rect(), (platform::Recti{0, 0, image->GetTexture()->Width(),
                                                              image->GetTexture()->Height()}));
                } else {
                    EXPECT_EQ(image->GetTexture().get(), fleet) << a.count << " frames";
                }
            }
        }
    }

    // A ghost frame is opaque white exactly where its frame is not transparent.
    const platform::Image& source = *(*CargoFrames)[3];
    const platform::Image& ghost = *(*CargoGhostFrames)[3];
    ASSERT_TRUE(source.GetTexture()->GetPixmap() && ghost.GetTexture()->GetPixmap());
    ASSERT_EQ(source.Rect().Size(), ghost.Rect().Size());
    const auto pixel = [](const platform::Image& image, int x, int y) {
        return image.GetTexture()->GetPixmap()->GetPixelARGB(image.Rect().min.x + x, image.Rect().min.y + y);
    };
    int opaque = 0;
    int coloured = 0;  // the flash copy is made from the frame's pixels, which must keep their colours
    for (int y = 0; y < source.Height(); ++y) {
        for (int x = 0; x < source.Width(); ++x) {
            const bool covered = (pixel(source, x, y) >> 24) != 0;
            opaque += covered;
            coloured += covered && pixel(source, x, y) != 0xFFFFFFFFu;
            if (covered) {
                ASSERT_EQ(pixel(ghost, x, y), 0xFFFFFFFFu) << x << "," << y;
            } else {
                ASSERT_EQ(pixel(ghost, x, y) >> 24, 0u) << x << "," << y;
            }
        }
    }
    EXPECT_GT(opaque, 0);
    EXPECT_GT(coloured, 0);
}

TEST(StartUp, EscapeOnTheLoaderEndsTheProgramWithoutSaving) {
    StartOnce();
    const std::string home = testsupport::TempDir();
    ScopedEnv homeVar("HOME", home.c_str());
    kestrum::framework::Screen* current = AppWindow->CurrentScreen();
    platform::AppInstance& app = testsupport::App();
    bool terminated = false;
    app.SetTerminateHook([&] { terminated = true; });
    {
        Loader splash;
        splash.OnUpdate();
        EXPECT_FALSE(terminated);
        platform::Keyboard().SetKey(platform::Key::Escape, true);
        splash.OnUpdate();
        platform::Keyboard().SetKey(platform::Key::Escape, false);
    }
    app.SetTerminateHook({});
    app.ResetTerminated();
    if (current) current->Set();
    EXPECT_TRUE(terminated);
    EXPECT_EQ(platform::GetFileType(home + ".zandrovia.pref.dat"), platform::FileType::None);
}

TEST(StartUp, LoaderCountsItsStepsWithAndWithoutDiagnostics) {
    StartOnce();
    kestrum::framework::Screen* current = AppWindow->CurrentScreen();
    for (const auto& [debug, steps] : {std::pair{false, 61}, std::pair{true, 69}}) {
        DebugPrints = debug;
        Loader counter;
        // The first run of the script only counts.
        counter.OnLoad();
        EXPECT_EQ(counter.Steps, steps) << debug;
        EXPECT_EQ(counter.Loaded, 0);
    }
    DebugPrints = false;
    if (current) current->Set();
}
