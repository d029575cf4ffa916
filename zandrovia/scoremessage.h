// Zandrovia: a floating label for points won and pick-up names.
//
// A ScoreMessage rises half a unit per update from where something happened;
// once its duration in milliseconds of the task clock has passed it fades by
// 0.05 per update and removes itself when its alpha drops below 0 (20 fading
// updates). It is a task of the scene's task manager (GameScene), so it
// stands still while the task clock is halted. The creator sets its colour.
//
// Depends on kestrum-scenegraph (LayerLabel, Scene) and the game's globals.
#pragma once

#include <memory>
#include <string>

#include "kestrum-scenegraph/layerlabel.h"
#include "platform/types.h"

class ScoreMessage : public kestrum::scenegraph::LayerLabel {
public:
    // Motion per update; only the y component is applied.
    platform::Vec2f Velocity{0, -0.5f};
    // Milliseconds before the fade starts, counted from StartTime (the task
    // clock at construction).
    int Duration = 0;

    ScoreMessage() = default;
    // A message on the layer at (x, y), showing the text in the font.
    static std::shared_ptr<ScoreMessage> New(kestrum::scenegraph::Layer* layer, platform::FontPtr font,
                                             std::string text, int x, int y, int duration);

    // Whether the duration has passed.
    bool DurationPassed() const;
    void OnUpdate() override;
};
