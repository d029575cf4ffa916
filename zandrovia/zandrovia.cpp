// The game module's start-up: the application object, the main window and the loop.
#include "zandrovia/zandrovia.h"

#include "platform/app.h"

int ZandroviaMain() {
    platform::AppInstance app;
    platform::Window window("Zandrovia", {0, 0, 1136, 640}, platform::WindowFlags::Center);
    window.ClearColor(platform::Color::Black());
    app.Run();
    return 0;
}
