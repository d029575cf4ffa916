// The framework module's initialiser.
#include "kestrum-framework/framework.h"

namespace kestrum::framework {

namespace {
bool moduleInitialised = false;
}

void InitFrameworkModule() {
    if (moduleInitialised) return;
    moduleInitialised = true;

    // The task clock first: tasks made by later initialisers read it.
    InitTaskManagerUnit();
    InitUtilitiesUnit();
    InitMathUnit();
    InitDebugToolsUnit();
    InitMessageUnit();
    InitBase64Unit();
    InitPathfinderUnit();

    // Content caches: NullContent, then Content (the content manager unit's
    // initialiser makes both, in this order). Units that need module globals
    // of their own add their initialiser calls below this line.
    InitContentManagerUnit();
}

}  // namespace kestrum::framework
