// Zandrovia: global functions of play shared by the actors and the screen.
//
// CountAttackers tells whether a level is cleared, GameOn whether play is
// really running, Nuke is the effect of the NUKE pick-up and InitBackground
// builds a level's backdrop and the ground strip soil. The helpers below
// them answer the questions every actor asks: where the ground is, how big
// the play area is, how to play a sound effect, and how an enemy ends.
//
// Depends on kestrum-scenegraph and the game's globals and actors.
#pragma once

#include <string>

#include "kestrum-scenegraph/layer.h"
#include "platform/audio.h"

// The enemies in any cell of the layer that keep a level open: attackers,
// saucers, spiders and tanks whether enabled (in play) or not (waiting for
// their start), and rockets once launched (enabled).
int CountAttackers(const kestrum::scenegraph::Layer* layer);
// Play is running: the play state, a ship left, and the level banner set
// and faded out completely.
bool GameOn();
// The NUKE pick-up: a deep explosion sound, the laser off, every enabled,
// visible attacker, launcher, rocket, tank and enemy shot of GameLayer
// removed without explosion or points, and a white flash.
void Nuke();
// Builds the backdrop of a level in BackgroundLayer (gas, planet, rocks,
// haze) and the ground strip soil in FrontLayer, then moves each image
// series on to its next image.
void InitBackground();
// The last n characters of the text (a negative start counts from the end).
std::string Right(const std::string& text, int n);

// Calls f with every object filed in any cell of the layer, column by
// column, each cell in its own order (the scan order of the targeting). f
// must not file objects in or out of the layer.
template <typename F>
void ForEachObject(const kestrum::scenegraph::Layer* layer, F&& f) {
    if (layer == nullptr) return;
    const auto& cells = layer->Cells();
    for (int column = 0; column < cells.Columns(); ++column) {
        for (int row = 0; row < cells.Rows(); ++row) {
            const kestrum::scenegraph::ObjectList* cell = cells(column, row).get();
            if (cell == nullptr) continue;
            for (const auto& object : *cell) f(object);
        }
    }
}

// The ground line of play: the top edge of soil. Without soil (before the
// first level) there is no ground: +infinity.
float GroundLine();
// The height of soil; 0 without soil.
float SoilHeight();
// The virtual size of GameCamera: the play area (0 without a camera).
float ViewWidth();
float ViewHeight();
// Plays a sound effect once, at the rate and volume, while the sound switch
// is on. A sound that failed to load (null) plays nothing. Returns the
// channel, or null when nothing plays.
platform::ChannelPtr PlaySfx(const platform::SoundPtr& sound, float rate = 1.0f, float volume = 1.0f);

// The end of an enemy, destroyed or crashed, at (x, y): an ExplosionEmitter
// effect of the size under the budget of live particles of the kind (limit
// -1: none), a burst of that many trail particles while TrailsEnabled, and
// Explosion1Sound at the rate.
void Explode(float x, float y, float size, int limit, int kind, int trails, float rate = 1.0f);
// The label of a destroyed enemy: its points followed by "+", green, in
// FrontLayer at (x, y) truncated, TextFont at size 28, for 1000 ms.
void ShowPoints(int points, float x, float y);
