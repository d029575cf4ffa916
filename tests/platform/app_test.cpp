// The main loop driven pass by pass with events pushed into SDL's queue.
#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/app.h"
#include "platform/audio.h"
#include "support/testsupport.h"

namespace {

using platform::AppInstance;
using platform::Color;

class RecordingWindow : public platform::Window {
public:
    RecordingWindow() : Window("Loop test", {0, 0, 64, 32}, platform::WindowFlags::Center) {
        ClearColor({0, 0, 1, 1});
    }
    void OnRender(platform::Canvas& canvas) override {
        ++renders;
        leftHeld.push_back(platform::Mouse().ButtonDown(1));
        if (requestAgain) AppInstance::Instance()->RequestRender();
        if (drawProbe) {
            canvas.Color({1, 0, 0, 1});
            canvas.DrawRect(0, 0, 4, 4);
            canvas.Color({1, 1, 1, 1});
            probe = canvas.CopyPixmap({0, 0, Width(), Height()});
        }
    }
    void OnKeyEvent(platform::KeyEvent& event) override { keys.push_back(event); }
    void OnMouseEvent(platform::MouseEvent& event) override { mice.push_back(event); }
    void OnWindowEvent(platform::WindowEvent& event) override {
        windowEvents.push_back(event.type);
        Window::OnWindowEvent(event);
    }

    int renders = 0;
    // Whether each frame saw the left button held.
    std::vector<bool> leftHeld;
    bool requestAgain = false;
    bool drawProbe = false;
    std::shared_ptr<platform::Pixmap> probe;
    std::vector<platform::KeyEvent> keys;
    std::vector<platform::MouseEvent> mice;
    std::vector<int> windowEvents;
};

class AppLoop : public ::testing::Test {
protected:
    void SetUp() override {
        app = &testsupport::App();
        app->SetTerminateHook([this] { ++terminations; });
        app->ResetTerminated();
        window = std::make_unique<RecordingWindow>();
        // Let the events of opening the window pass, then start counting.
        for (int k = 0; k < 3; ++k) app->Step();
        window->renders = 0;
        window->leftHeld.clear();
        window->keys.clear();
        window->mice.clear();
        window->windowEvents.clear();
    }
    void TearDown() override {
        window.reset();
        app->SetTerminateHook([] {});
        app->ResetTerminated();
    }
    void PushWindowEvent(Uint8 type) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = type;
        event.window.windowID = SDL_GetWindowID(static_cast<SDL_Window*>(window->SdlWindow()));
        SDL_PushEvent(&event);
    }
    void PushButton(Uint32 type, Uint8 button) {
        SDL_Event event{};
        event.type = type;
        event.button.button = button;
        SDL_PushEvent(&event);
    }
    void PushKey(Uint32 type, SDL_Keycode sym, SDL_Scancode scancode, Uint16 mod, bool repeat = false) {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.sym = sym;
        event.key.keysym.scancode = scancode;
        event.key.keysym.mod = mod;
        event.key.repeat = repeat;
        SDL_PushEvent(&event);
    }

    AppInstance* app = nullptr;
    std::unique_ptr<RecordingWindow> window;
    int terminations = 0;
};

TEST_F(AppLoop, RendersOncePerRequestedFrame) {
    EXPECT_EQ(app->MainWindow(), window.get());
    app->Step();
    EXPECT_EQ(window->renders, 0);
    app->RequestRender();
    app->Step(true);  // a requested frame never waits for events
    EXPECT_EQ(window->renders, 1);
    app->Step();
    EXPECT_EQ(window->renders, 1);
    // A render handler that asks for the next frame gets exactly one per pass.
    window->requestAgain = true;
    app->RequestRender();
    for (int k = 0; k < 3; ++k) app->Step(true);
    EXPECT_EQ(window->renders, 4);
}

TEST_F(AppLoop, FrameIsClearedAndDrawnTopDown) {
    window->drawProbe = true;
    app->RequestRender();
    app->Step();
    ASSERT_TRUE(window->probe);
    ASSERT_EQ(window->probe->Width(), 64);
    EXPECT_TRUE(testsupport::Near(window->probe->GetPixelARGB(0, 0), Color(1, 0, 0)))
        << testsupport::Describe(window->probe->GetPixelARGB(0, 0));
    EXPECT_TRUE(testsupport::Near(window->probe->GetPixelARGB(3, 3), Color(1, 0, 0)));
    EXPECT_TRUE(testsupport::Near(window->probe->GetPixelARGB(4, 4), Color(0, 0, 1)));
    EXPECT_TRUE(testsupport::Near(window->probe->GetPixelARGB(63, 31), Color(0, 0, 1)));
    EXPECT_EQ(window->GetCanvas().DrawCalls(), 1);
}

TEST_F(AppLoop, MinimisedWindowDrawsNothingAndResumesOnRestore) {
    PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    app->RequestRender();
    app->Step();
    EXPECT_TRUE(window->Minimized());
    EXPECT_EQ(window->renders, 0);
    app->Step();
    EXPECT_EQ(window->renders, 0);

    PushWindowEvent(SDL_WINDOWEVENT_RESTORED);
    app->Step();
    EXPECT_FALSE(window->Minimized());
    EXPECT_EQ(window->renders, 1);
    EXPECT_EQ(window->windowEvents, (std::vector<int>{22, 23}));

    // Restoring asks for a frame even when none was pending.
    PushWindowEvent(SDL_WINDOWEVENT_MINIMIZED);
    app->Step();
    PushWindowEvent(SDL_WINDOWEVENT_RESTORED);
    app->Step();
    EXPECT_EQ(window->renders, 2);
}

TEST_F(AppLoop, CloseReachesTheWindowWhichTerminates) {
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    app->Step();
    EXPECT_EQ(window->windowEvents, (std::vector<int>{21, 20, 16}));
    EXPECT_EQ(terminations, 1);
    EXPECT_TRUE(app->Terminated());
}

TEST_F(AppLoop, TerminateEndsThePassAtOnce) {
    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    app->RequestRender();
    app->Step();
    EXPECT_EQ(window->windowEvents, std::vector<int>{16});
    EXPECT_EQ(window->renders, 0);
    // Caught by the hook, the terminate ended that pass only: the loop goes on.
    app->Step();
    EXPECT_EQ(window->windowEvents, (std::vector<int>{16, 21}));
    EXPECT_EQ(window->renders, 1);
}

TEST_F(AppLoop, KeyEventsCarryCodesModifiersAndText) {
    PushKey(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, KMOD_LSHIFT | KMOD_CAPS | KMOD_NUM);
    PushKey(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, KMOD_LSHIFT, true);
    PushKey(SDL_KEYDOWN, SDLK_HOME, SDL_SCANCODE_HOME, KMOD_RCTRL | KMOD_LALT);
    PushKey(SDL_KEYDOWN, SDLK_F1, SDL_SCANCODE_F1, KMOD_RGUI);
    PushKey(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_NONE);
    PushKey(SDL_KEYUP, SDLK_a, SDL_SCANCODE_A, KMOD_NONE);
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    SDL_strlcpy(text.text.text, "\xc3\xa4" "b", sizeof text.text.text);  // "äb"
    SDL_PushEvent(&text);
    app->Step();

    struct Expected {
        int type, key, modifiers;
        std::string text;
    };
    const Expected expected[] = {
        {platform::KeyEvent::KeyDown, 'a', platform::Modifier::LeftShift, ""},
        {platform::KeyEvent::KeyRepeat, 'a', platform::Modifier::LeftShift, ""},
        {platform::KeyEvent::KeyDown, platform::Key::Home,
         platform::Modifier::RightControl | platform::Modifier::LeftAlt, ""},
        {platform::KeyEvent::KeyDown, platform::Key::F1, platform::Modifier::RightGui, ""},
        {platform::KeyEvent::KeyDown, platform::Key::Enter, 0, ""},
        {platform::KeyEvent::KeyUp, 'a', 0, ""},
        {platform::KeyEvent::KeyChar, 0xe4, 0, "\xc3\xa4"},
        {platform::KeyEvent::KeyChar, 'b', 0, "b"},
    };
    ASSERT_EQ(window->keys.size(), std::size(expected));
    for (std::size_t k = 0; k < std::size(expected); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(window->keys[k].type, expected[k].type);
        EXPECT_EQ(window->keys[k].key, expected[k].key);
        EXPECT_EQ(window->keys[k].modifiers, expected[k].modifiers);
        EXPECT_EQ(window->keys[k].text, expected[k].text);
    }
    EXPECT_FALSE(platform::Keyboard().KeyDown('a'));
    EXPECT_TRUE(platform::Keyboard().KeyDown(platform::Key::Home));
    PushKey(SDL_KEYUP, SDLK_HOME, SDL_SCANCODE_HOME, KMOD_NONE);
    PushKey(SDL_KEYUP, SDLK_F1, SDL_SCANCODE_F1, KMOD_NONE);
    PushKey(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_NONE);
    app->Step();
    EXPECT_FALSE(platform::Keyboard().KeyDown(platform::Key::Home));
}

TEST_F(AppLoop, MouseAndTouchEventsFeedTheDevices) {
    // Frames run in every pass, as the game's do.
    window->requestAgain = true;
    app->RequestRender();
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = 20;
    event.motion.y = 7;
    SDL_PushEvent(&event);
    event = {};
    event.type = SDL_MOUSEBUTTONDOWN;
    event.button.button = SDL_BUTTON_RIGHT;
    event.button.x = 21;
    event.button.y = 8;
    SDL_PushEvent(&event);
    app->Step();
    ASSERT_EQ(window->mice.size(), 2u);
    EXPECT_EQ(window->mice[0].type, platform::MouseEvent::Move);
    EXPECT_EQ(window->mice[1].type, platform::MouseEvent::ButtonDown);
    EXPECT_EQ(window->mice[1].button, 3);
    EXPECT_EQ(window->mice[1].location, platform::Vec2i(21, 8));
    EXPECT_EQ(window->MouseLocation(), platform::Vec2i(21, 8));
    EXPECT_TRUE(platform::Mouse().ButtonDown(3));
    EXPECT_FALSE(platform::Mouse().ButtonDown(1));

    event = {};
    event.type = SDL_MOUSEBUTTONUP;
    event.button.button = SDL_BUTTON_RIGHT;
    SDL_PushEvent(&event);
    event = {};
    event.type = SDL_FINGERDOWN;
    event.tfinger.fingerId = 77;
    event.tfinger.x = 0.5f;
    event.tfinger.y = 0.25f;
    SDL_PushEvent(&event);
    app->Step();
    EXPECT_FALSE(platform::Mouse().ButtonDown(3));
    EXPECT_TRUE(platform::Touch().FingerDown(0));
    EXPECT_EQ(platform::Touch().FingerLocation(0), platform::Vec2i(32, 8));
    event.type = SDL_FINGERUP;
    SDL_PushEvent(&event);
    app->Step();
    EXPECT_FALSE(platform::Touch().FingerDown(0));
}

// A touchpad's tap: the press and the release come in the same pass.
TEST_F(AppLoop, APressReleasedBeforeAnyFrameSawItIsHeldForOneFrame) {
    platform::Mouse().Reset();
    window->requestAgain = true;
    app->RequestRender();
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT);
    app->Step();
    app->Step();
    app->Step();
    EXPECT_EQ(window->leftHeld, (std::vector<bool>{true, false, false}));
    EXPECT_TRUE(platform::Mouse().ButtonPressed(1));
    EXPECT_TRUE(platform::Mouse().ButtonReleased(1));
    // Both window events came as they were sent.
    ASSERT_EQ(window->mice.size(), 2u);
    EXPECT_EQ(window->mice[0].type, platform::MouseEvent::ButtonDown);
    EXPECT_EQ(window->mice[1].type, platform::MouseEvent::ButtonUp);

    // A press that a frame saw is released at once.
    PushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
    app->Step();
    PushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT);
    app->Step();
    EXPECT_EQ(window->leftHeld, (std::vector<bool>{true, false, false, true, false}));
    platform::Mouse().Reset();
}

TEST_F(AppLoop, WindowTitleAndSize) {
    EXPECT_EQ(window->Size(), platform::Vec2i(64, 32));
    EXPECT_EQ(window->OnMeasure(), platform::Vec2i(64, 32));
    window->Title("Renamed");
    EXPECT_STREQ(SDL_GetWindowTitle(static_cast<SDL_Window*>(window->SdlWindow())), "Renamed");
    EXPECT_GT(app->DesktopDpi(), 0);
}

}  // namespace

namespace {

TEST(AppDeathTest, MisuseOfTheApplicationIsFatal) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The message goes to standard output and the exit code is -1.
    EXPECT_EXIT(platform::Window("No application", {0, 0, 8, 8}, 0), ::testing::ExitedWithCode(testsupport::kExitMinusOne), "");
    EXPECT_EXIT(
        {
            platform::AppInstance first;
            platform::AppInstance second;
        },
        ::testing::ExitedWithCode(testsupport::kExitMinusOne), "");
}

}  // namespace

// The window's first frame does not wait for the audio device: it opens in
// the next pass of the loop.
TEST(AppAudio, TheAudioDeviceOpensAfterTheFirstFrame) {
    AppInstance& app = testsupport::App();
    if (platform::AudioDevice::Instance().Available()) GTEST_SKIP() << "needs a process of its own";
    {
        RecordingWindow window;
        app.Step();  // a new window asks for its first frame
        EXPECT_EQ(window.renders, 1);
        EXPECT_FALSE(platform::AudioDevice::Instance().Available());
        app.Step();
        EXPECT_TRUE(platform::AudioDevice::Instance().Available());
    }
    platform::AudioDevice::Instance().Close();
}

// Streamed music is topped up by the loop itself, on every pass, and a loop
// with nothing to draw still wakes up in time to do it.
TEST(AppAudio, EveryPassOfTheLoopTopsUpStreamingSounds) {
    // A device that mixes only when the test asks, opened before the
    // application object would open the default one.
    if (!platform::AudioDevice::Instance().OpenLoopback(22050)) GTEST_SKIP() << "needs a process of its own";
    AppInstance& app = testsupport::App();
    const char* data = std::getenv("ZANDROVIA_TEST_DATA");
    const auto music =
        platform::Sound::Load(std::string(data ? data : "tests/data") + "/sine.ogg", platform::Sound::Streamed);
    ASSERT_TRUE(music);
    const auto channel = music->Play(true);
    // 0.6 s of sound in pieces of 50 ms with one pass of the loop before
    // each: more than the stream decodes ahead, yet no piece is silent. With
    // no window and no events, each pass waits only until the stream needs
    // its next refill.
    std::vector<float> piece(1102 * 2);
    for (int k = 0; k < 12; ++k) {
        app.Step(true);
        platform::AudioDevice::Instance().RenderLoopback(piece.data(), 1102);
        float loudest = 0;
        for (float s : piece) loudest = std::max(loudest, std::abs(s));
        ASSERT_GT(loudest, 0.1f) << "piece " << k;
    }
    channel->Stop();
    platform::AudioDevice::Instance().Close();
}
