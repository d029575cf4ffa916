// Window: an SDL window sharing the application's GL context, with its canvas.
#include <SDL.h>

#include <algorithm>
#include <string>

#include "platform/app.h"
#include "platform/error.h"

namespace platform {

Window::Window(const std::string& title, Recti rect, int flags)
    : title_(title), width_(std::max(rect.Width(), 1)), height_(std::max(rect.Height(), 1)) {
    AppInstance* app = AppInstance::Instance();
    if (app == nullptr) RuntimeError("Cannot open a window without an application object");
    const int x = (flags & WindowFlags::CenterX) ? SDL_WINDOWPOS_CENTERED : rect.min.x;
    const int y = (flags & WindowFlags::CenterY) ? SDL_WINDOWPOS_CENTERED : rect.min.y;
    Uint32 sdlFlags = SDL_WINDOW_OPENGL;
    sdlFlags |= (flags & WindowFlags::Resizable) ? SDL_WINDOW_RESIZABLE : 0;
    sdlFlags |= (flags & WindowFlags::Hidden) ? SDL_WINDOW_HIDDEN : SDL_WINDOW_SHOWN;
    SDL_Window* window = SDL_CreateWindow(title.c_str(), x, y, width_, height_, sdlFlags);
    if (window == nullptr) RuntimeError(std::string("Could not create a window: ") + SDL_GetError());
    sdlWindow_ = window;
    if (SDL_GL_MakeCurrent(window, static_cast<SDL_GLContext>(app->GlContext())) != 0) {
        RuntimeError(std::string("Could not use the OpenGL context in the window: ") + SDL_GetError());
    }
    SwapInterval(true);
    canvas_ = std::make_unique<Canvas>(width_, height_);
    app->AttachWindow(this);
}

Window::~Window() {
    AppInstance* app = AppInstance::Instance();
    canvas_.reset();
    if (app) app->DetachWindow(this);
    SDL_DestroyWindow(static_cast<SDL_Window*>(sdlWindow_));
}

void Window::OnRender(Canvas&) {}
void Window::OnKeyEvent(KeyEvent&) {}
void Window::OnMouseEvent(MouseEvent&) {}

void Window::OnWindowEvent(WindowEvent& event) {
    if (event.type == WindowEvent::Close && AppInstance::Instance()) AppInstance::Instance()->Terminate();
}

Vec2i Window::OnMeasure() { return Size(); }

void Window::Title(const std::string& title) {
    title_ = title;
    SDL_SetWindowTitle(static_cast<SDL_Window*>(sdlWindow_), title_.c_str());
}

void Window::SwapInterval(bool vsync) {
    vsync_ = vsync;
    // Adaptive sync first (a late frame is shown at once instead of waiting a
    // whole refresh), then plain. Not every driver can sync; the application's
    // frame pacer holds the rate either way.
    if (!vsync) SDL_GL_SetSwapInterval(0);
    else if (SDL_GL_SetSwapInterval(-1) != 0) SDL_GL_SetSwapInterval(1);
}

Vec2i Window::MouseLocation() const { return Mouse().Location(); }

}  // namespace platform
