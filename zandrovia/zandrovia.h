// The game module's start-up.
#pragma once

// Makes the application and the main window, then runs the main loop for the
// rest of the process. Returns the exit code.
int ZandroviaMain();
