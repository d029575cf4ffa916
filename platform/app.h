// The application object and the window.
//
// AppInstance owns SDL, the GL context and the audio device (opened in the
// pass after the first frame is on screen) and runs the main loop: each pass waits for events unless a frame was requested, updates the
// keyboard and mouse, dispatches the events, tops up the streaming sounds,
// and when a frame is wanted clears the window, calls its render handler
// (where the screens also run their update), ends the frame on the mouse
// (MouseDevice::FrameDone) and swaps with vertical sync. After the swap a
// FramePacer holds the loop to at most 60 frames per second, so a display
// without vertical sync (or a faster one) does not speed the game up; a
// 60 Hz display's swap needs no wait.
//
// With SDL_VIDEODRIVER=offscreen everything runs with no display (Mesa's
// software renderer through EGL).
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "platform/canvas.h"
#include "platform/framepacer.h"
#include "platform/input.h"
#include "platform/types.h"

namespace platform {

class Window;

class AppInstance {
public:
    // Initialises SDL and opens a GL 3.3 core context (on a hidden window
    // until a real one exists). Fails with RuntimeError when no GL context can
    // be made. The audio device is opened in the pass after the first frame.
    AppInstance();
    ~AppInstance();
    AppInstance(const AppInstance&) = delete;
    AppInstance& operator=(const AppInstance&) = delete;

    static AppInstance* Instance();

    // Runs the main loop until Terminate.
    void Run();
    // One pass of the main loop; wait blocks for an event when no frame is
    // requested. A terminate during the pass (caught by a hook) ends the pass.
    void Step(bool wait = false);
    // Whether the loop holds itself to 60 frames per second (on by default).
    // Benchmarks turn it off to time the frames' own work.
    void FramePacing(bool on);
    bool FramePacing() const { return pacing_; }
    // Asks for one more frame.
    void RequestRender() { renderRequested_ = true; }
    bool RenderRequested() const { return renderRequested_; }
    // Ends the program at once (exit code 0). Tests may install a hook instead.
    void Terminate();
    void SetTerminateHook(std::function<void()> hook) { terminateHook_ = std::move(hook); }
    bool Terminated() const { return terminated_; }
    // Lets the loop run again after a terminate that the hook caught (for tests).
    void ResetTerminated() { terminated_ = false; }

    // The display's dots per inch (96 when unknown).
    float DesktopDpi() const;

    Window* MainWindow() const { return window_; }

    // Internal: windows register themselves.
    void AttachWindow(Window* window);
    void DetachWindow(Window* window);
    void* GlContext() const { return glContext_; }
    void MakeContextCurrent();

private:
    void DispatchEvent(const void* sdlEvent);
    void RenderFrame();

    void* hiddenWindow_ = nullptr;
    void* glContext_ = nullptr;
    Window* window_ = nullptr;
    bool renderRequested_ = true;
    bool terminated_ = false;
    bool pacing_ = true;
    bool framePresented_ = false;
    bool audioOpened_ = false;
    int terminateCount_ = 0;
    std::function<void()> terminateHook_;
    FramePacer pacer_;
};

namespace WindowFlags {
constexpr int CenterX = 1;
constexpr int CenterY = 2;
constexpr int Center = CenterX | CenterY;
constexpr int Resizable = 4;
constexpr int Hidden = 8;
}  // namespace WindowFlags

// The window, which is also the view the scene and the GUI draw into. Derived
// classes override the handlers.
class Window {
public:
    Window(const std::string& title, Recti rect, int flags);
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    virtual void OnRender(Canvas& canvas);
    virtual void OnKeyEvent(KeyEvent& event);
    virtual void OnMouseEvent(MouseEvent& event);
    // The default ends the program on a close request.
    virtual void OnWindowEvent(WindowEvent& event);
    virtual Vec2i OnMeasure();

    const std::string& Title() const { return title_; }
    void Title(const std::string& title);
    platform::Color ClearColor() const { return clearColor_; }
    void ClearColor(platform::Color color) { clearColor_ = color; }
    bool SwapInterval() const { return vsync_; }
    void SwapInterval(bool vsync);
    bool Minimized() const { return minimized_; }
    // (0, 0, width, height).
    Recti Frame() const { return {0, 0, width_, height_}; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    Vec2i Size() const { return {width_, height_}; }
    // The mouse position in window coordinates.
    Vec2i MouseLocation() const;
    Canvas& GetCanvas() { return *canvas_; }

    // Internal: called by the application.
    void SetMinimized(bool minimized) { minimized_ = minimized; }
    void* SdlWindow() const { return sdlWindow_; }

private:
    std::string title_;
    int width_ = 0;
    int height_ = 0;
    platform::Color clearColor_{0, 0, 0, 1};
    bool vsync_ = true;
    bool minimized_ = false;
    void* sdlWindow_ = nullptr;
    std::unique_ptr<Canvas> canvas_;
};

}  // namespace platform
