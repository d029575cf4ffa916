// kestrum-framework: the game framework core.
//
// Offers the task clock and task managers, screens and the screen manager
// that drives each frame, the loader screen, the mouse input device, the
// message list, the Config key=value store, the content cache, draw data and
// drawing utilities, geometric tests, object pools and array and string
// utilities. Depends only on the platform layer.
//
// Every name is reachable as kestrum::framework::Name; each unit also keeps
// its own namespace (kestrum::framework::taskmanager, ::config, ...).
//
// InitFrameworkModule() must run once at start-up, before any task or screen
// exists; later calls return at once.
#pragma once

#include "kestrum-framework/arrays.h"
#include "kestrum-framework/assetpath.h"
#include "kestrum-framework/axissign.h"
#include "kestrum-framework/base64.h"
#include "kestrum-framework/bitmapfont.h"
#include "kestrum-framework/config.h"
#include "kestrum-framework/contentmanager.h"
#include "kestrum-framework/cursor.h"
#include "kestrum-framework/debugtools.h"
#include "kestrum-framework/deltatimer.h"
#include "kestrum-framework/drawdata.h"
#include "kestrum-framework/font.h"
#include "kestrum-framework/gfx.h"
#include "kestrum-framework/highscoremanager.h"
#include "kestrum-framework/input.h"
#include "kestrum-framework/loaderscreen.h"
#include "kestrum-framework/math.h"
#include "kestrum-framework/message.h"
#include "kestrum-framework/objectpool.h"
#include "kestrum-framework/pathfinder.h"
#include "kestrum-framework/screenmanager.h"
#include "kestrum-framework/strings.h"
#include "kestrum-framework/taskmanager.h"
#include "kestrum-framework/texturepacker.h"
#include "kestrum-framework/utilities.h"

namespace kestrum::framework {

// The module's one-time initialiser: gives every unit's module globals their
// starting values in a fixed order. Later calls return at once.
void InitFrameworkModule();

}  // namespace kestrum::framework
