// The preferences file: read as a start-up reads it, saved with a new level
// as the game saves it, and read again: the saved level must come back and
// the tutorial flag must stay as it was.
#include <cstdlib>
#include <memory>
#include <string>

#include "fuzzsupport.h"
#include "kestrum-framework/config.h"
#include "zandrovia/constants.h"
#include "zandrovia/globals.h"
#include "zandrovia/levels.h"

namespace fw = kestrum::framework;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::Start();
    // The preferences live in the home folder: USERPROFILE comes first on
    // every system.
#ifdef _WIN32
    static const bool home = [] { return _putenv_s("USERPROFILE", fuzzsupport::ScratchDir().c_str()) == 0; }();
#else
    static const bool home = [] {
        return setenv("USERPROFILE", fuzzsupport::ScratchDir().c_str(), 1) == 0 &&
               setenv("HOME", fuzzsupport::ScratchDir().c_str(), 1) == 0;
    }();
#endif
    if (!home) fuzzsupport::Fail("cannot set HOME");
    fuzzsupport::Input input(data, size);
    const int level = input.Int(0, LevelCount - 1);
    fuzzsupport::WriteFile(".zandrovia.pref.dat", input.Rest());

    Prefs = std::make_shared<fw::Config>();
    Prefs->Parse(LoadPrefsText());
    PrefsLevelIndex(*Prefs);
    const bool seen = PrefsInstructionsSeen(*Prefs);

    levelIndex = level;
    SaveState();
    fw::Config saved;
    saved.Parse(LoadPrefsText());
    if (PrefsLevelIndex(saved) != level) {
        fuzzsupport::Fail("saved level " + std::to_string(level) + " read back as " +
                          std::to_string(PrefsLevelIndex(saved)));
    }
    if (PrefsInstructionsSeen(saved) != seen) fuzzsupport::Fail("the tutorial flag changed in a save");
    Prefs.reset();
    return 0;
}
