// AppInstance: SDL, the GL context, the audio device and the main loop.
#include "platform/app.h"

#include <SDL.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/audio.h"
#include "platform/error.h"
#include "platform/gl.h"
#include "platform/renderer.h"
#include "platform/text.h"

namespace platform {

namespace {

AppInstance* instance = nullptr;

// Touch fingers by SDL finger id, in the slots 0 to 4 the touch device offers.
std::array<SDL_FingerID, TouchDevice::MaxFingers> fingerIds{};
std::array<bool, TouchDevice::MaxFingers> fingerUsed{};

int FingerSlot(SDL_FingerID id, bool claim) {
    for (int k = 0; k < TouchDevice::MaxFingers; ++k) {
        if (fingerUsed[k] && fingerIds[k] == id) return k;
    }
    if (!claim) return -1;
    for (int k = 0; k < TouchDevice::MaxFingers; ++k) {
        if (!fingerUsed[k]) {
            fingerUsed[k] = true;
            fingerIds[k] = id;
            return k;
        }
    }
    return -1;
}

// Printable keys (and Backspace, Tab, Enter, Escape, Delete) keep their
// character; every other key is its scancode + 128.
int KeyCode(const SDL_Keysym& keysym) {
    if (keysym.sym > 0 && keysym.sym < 128) return keysym.sym;
    const int code = static_cast<int>(keysym.scancode) + 128;
    return code < Key::Max ? code : 0;
}

// Nanoseconds of the monotonic clock that paces frames.
std::int64_t PacingNow() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// While a channel streams, a loop waiting for events wakes at least this
// often (in milliseconds) to top up its buffers, well within what they hold.
constexpr int kStreamWakeMs = 50;

int Modifiers(Uint16 mod) {
    int result = 0;
    if (mod & KMOD_LSHIFT) result |= Modifier::LeftShift;
    if (mod & KMOD_RSHIFT) result |= Modifier::RightShift;
    if (mod & KMOD_LCTRL) result |= Modifier::LeftControl;
    if (mod & KMOD_RCTRL) result |= Modifier::RightControl;
    if (mod & KMOD_LALT) result |= Modifier::LeftAlt;
    if (mod & KMOD_RALT) result |= Modifier::RightAlt;
    if (mod & KMOD_LGUI) result |= Modifier::LeftGui;
    if (mod & KMOD_RGUI) result |= Modifier::RightGui;
    return result;
}

}  // namespace

AppInstance::AppInstance() {
    if (instance) RuntimeError("An application object exists already");
    // A closed window reaches the window's handler; SDL_QUIT then only comes from signals.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        RuntimeError(std::string("Could not start the video system: ") + SDL_GetError());
    }
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 3);
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_CORE);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
    // Nothing is depth-tested or stencilled: no such buffers to allocate and clear.
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    hiddenWindow_ = SDL_CreateWindow("", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (hiddenWindow_ == nullptr) RuntimeError(std::string("Could not create a window: ") + SDL_GetError());
    glContext_ = SDL_GL_CreateContext(static_cast<SDL_Window*>(hiddenWindow_));
    if (glContext_ == nullptr) {
        RuntimeError(std::string("Could not create an OpenGL 3.3 context: ") + SDL_GetError());
    }
    const char* missing = "";
    if (!gl::Load(&missing)) RuntimeError(std::string("OpenGL function missing: ") + missing);
    instance = this;
}

AppInstance::~AppInstance() {
    Renderer::FlushPending();
    Renderer::ContextLost();
    gl::ContextLost();
    AudioDevice::Instance().Close();
    SDL_GL_DeleteContext(static_cast<SDL_GLContext>(glContext_));
    SDL_DestroyWindow(static_cast<SDL_Window*>(hiddenWindow_));
    SDL_Quit();
    if (instance == this) instance = nullptr;
}

AppInstance* AppInstance::Instance() { return instance; }

void AppInstance::Run() {
    terminated_ = false;
    while (!terminated_) Step(true);
}

void AppInstance::Step(bool wait) {
    // Only a terminate in this pass ends it: one caught earlier by a test's
    // hook must not stop later passes.
    const int terminations = terminateCount_;
    const auto ended = [&] { return terminateCount_ != terminations; };
    if (framePresented_ && !audioOpened_) {
        // Opening the device can take a while (a sound server to reach), so
        // the window shows its first frame before. Nothing sounds earlier.
        audioOpened_ = true;
        AudioDevice::Instance().Open();
    }
    SDL_Event event;
    // A minimised window draws nothing, so a pending frame must not keep the loop spinning.
    const bool drawable = window_ && !window_->Minimized();
    if (wait && !(renderRequested_ && drawable)) {
        const bool got = AudioDevice::Instance().Streaming() ? SDL_WaitEventTimeout(&event, kStreamWakeMs) != 0
                                                             : SDL_WaitEvent(&event) != 0;
        if (got) DispatchEvent(&event);
    }
    while (!ended() && SDL_PollEvent(&event)) DispatchEvent(&event);
    if (ended()) return;
    AudioDevice::Instance().Update();
    if (renderRequested_ && window_ && !window_->Minimized()) {
        renderRequested_ = false;
        RenderFrame();
    }
}

void AppInstance::RenderFrame() {
    MakeContextCurrent();
    Canvas& canvas = window_->GetCanvas();
    canvas.ResetDrawCalls();
    canvas.ClearMatrix();
    canvas.Viewport(window_->Frame());
    canvas.Scissor({});
    canvas.Clear(window_->ClearColor());
    window_->OnRender(canvas);
    // The frame has read its input: a button change kept for it comes through.
    Mouse().FrameDone();
    if (window_ == nullptr) return;
    canvas.Flush();
    SDL_GL_SwapWindow(static_cast<SDL_Window*>(window_->SdlWindow()));
    const std::int64_t pause = pacing_ ? pacer_.FramePresented(PacingNow()) : 0;
    if (pause > 0) std::this_thread::sleep_for(std::chrono::nanoseconds(pause));
    framePresented_ = true;
}

void AppInstance::FramePacing(bool on) {
    pacing_ = on;
    pacer_.Reset();
}

void AppInstance::Terminate() {
    terminated_ = true;
    ++terminateCount_;
    if (terminateHook_) {
        terminateHook_();
        return;
    }
    std::exit(0);
}

float AppInstance::DesktopDpi() const {
    float dpi = 0;
    if (SDL_GetDisplayDPI(0, &dpi, nullptr, nullptr) != 0 || !(dpi > 0)) return 96;
    return dpi;
}

void AppInstance::AttachWindow(Window* window) {
    if (window_ == nullptr) window_ = window;
    MakeContextCurrent();
    renderRequested_ = true;
}

void AppInstance::DetachWindow(Window* window) {
    if (window_ == window) window_ = nullptr;
    MakeContextCurrent();
}

void AppInstance::MakeContextCurrent() {
    void* target = window_ ? window_->SdlWindow() : hiddenWindow_;
    SDL_GL_MakeCurrent(static_cast<SDL_Window*>(target), static_cast<SDL_GLContext>(glContext_));
}

void AppInstance::DispatchEvent(const void* sdlEvent) {
    const SDL_Event& e = *static_cast<const SDL_Event*>(sdlEvent);
    switch (e.type) {
        case SDL_QUIT: {
            if (!window_) {
                Terminate();
                break;
            }
            WindowEvent event{WindowEvent::Close};
            window_->OnWindowEvent(event);
            break;
        }
        case SDL_WINDOWEVENT: {
            if (!window_) break;
            WindowEvent event;
            switch (e.window.event) {
                case SDL_WINDOWEVENT_CLOSE: event.type = WindowEvent::Close; break;
                case SDL_WINDOWEVENT_MOVED: event.type = WindowEvent::Moved; break;
                case SDL_WINDOWEVENT_RESIZED: event.type = WindowEvent::Resized; break;
                case SDL_WINDOWEVENT_FOCUS_GAINED: event.type = WindowEvent::GainedFocus; break;
                case SDL_WINDOWEVENT_FOCUS_LOST: event.type = WindowEvent::LostFocus; break;
                case SDL_WINDOWEVENT_MINIMIZED:
                    event.type = WindowEvent::Minimized;
                    window_->SetMinimized(true);
                    break;
                case SDL_WINDOWEVENT_RESTORED:
                    event.type = WindowEvent::Restored;
                    window_->SetMinimized(false);
                    // Rendering stopped while minimised; the next frame starts it again.
                    RequestRender();
                    break;
                case SDL_WINDOWEVENT_EXPOSED:
                    RequestRender();
                    return;
                default:
                    return;
            }
            window_->OnWindowEvent(event);
            break;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const int key = KeyCode(e.key.keysym);
            const int modifiers = Modifiers(e.key.keysym.mod);
            const bool down = e.type == SDL_KEYDOWN;
            Keyboard().SetModifiers(modifiers);
            if (key && !(down && e.key.repeat)) Keyboard().SetKey(key, down);
            if (!window_ || !key) break;
            KeyEvent event;
            event.type = !down ? KeyEvent::KeyUp : e.key.repeat ? KeyEvent::KeyRepeat : KeyEvent::KeyDown;
            event.key = key;
            event.modifiers = modifiers;
            window_->OnKeyEvent(event);
            break;
        }
        case SDL_TEXTINPUT: {
            if (!window_) break;
            // One event per character.
            const int terminations = terminateCount_;
            for (char32_t code : ToUtf32(e.text.text)) {
                KeyEvent event;
                event.type = KeyEvent::KeyChar;
                event.key = static_cast<int>(code);
                event.modifiers = Keyboard().Modifiers();
                event.text = FromChar(code);
                window_->OnKeyEvent(event);
                if (window_ == nullptr || terminateCount_ != terminations) break;
            }
            break;
        }
        case SDL_MOUSEMOTION: {
            Mouse().SetLocation({e.motion.x, e.motion.y});
            if (!window_) break;
            MouseEvent event;
            event.type = MouseEvent::Move;
            event.location = {e.motion.x, e.motion.y};
            event.modifiers = Keyboard().Modifiers();
            window_->OnMouseEvent(event);
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const bool down = e.type == SDL_MOUSEBUTTONDOWN;
            Mouse().SetLocation({e.button.x, e.button.y});
            // SDL numbers left, middle, right as 1, 2, 3 like we do.
            const int button = e.button.button;
            if (button >= 1 && button <= 3) Mouse().SetButton(button, down);
            if (!window_) break;
            MouseEvent event;
            event.type = down ? MouseEvent::ButtonDown : MouseEvent::ButtonUp;
            event.button = button;
            event.location = {e.button.x, e.button.y};
            event.modifiers = Keyboard().Modifiers();
            window_->OnMouseEvent(event);
            break;
        }
        case SDL_MOUSEWHEEL: {
            if (!window_) break;
            MouseEvent event;
            event.type = MouseEvent::Wheel;
            event.location = Mouse().Location();
            event.wheel = {e.wheel.x, e.wheel.y};
            event.modifiers = Keyboard().Modifiers();
            window_->OnMouseEvent(event);
            break;
        }
        case SDL_FINGERDOWN:
        case SDL_FINGERUP:
        case SDL_FINGERMOTION: {
            const int slot = FingerSlot(e.tfinger.fingerId, e.type == SDL_FINGERDOWN);
            if (slot < 0) break;
            const int width = window_ ? window_->Width() : 0, height = window_ ? window_->Height() : 0;
            const Vec2i location{static_cast<int>(e.tfinger.x * width), static_cast<int>(e.tfinger.y * height)};
            const bool down = e.type != SDL_FINGERUP;
            Touch().SetFinger(slot, down, location);
            if (!down) fingerUsed[slot] = false;
            break;
        }
        default:
            break;
    }
}

}  // namespace platform
