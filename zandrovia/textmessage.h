// Zandrovia: a centred text, or a sequence of texts, shown for a while.
//
// A TextMessage shows its entries one after the other, centred on its
// position: each entry appears at its time (the start delay for the first,
// 500 ms after the previous one faded for the others), stays fully visible
// for its duration, fades by 0.05 per update, and after the last one the
// message removes itself. A non-zero shadow offset adds a black copy of the
// text that many units right of and below it. Times are milliseconds of the
// task clock; the message is a task of the scene's task manager (GameScene).
// Level banners, tutorial hints, "GAME OVER" and the end-of-game texts are
// TextMessages; creators may change an entry's Duration after construction.
//
// Depends on kestrum-scenegraph (LayerGroup, LayerLabel, Scene) and the game's globals.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "kestrum-scenegraph/layergroup.h"
#include "kestrum-scenegraph/layerlabel.h"
#include "platform/font.h"

// One entry of a TextMessage.
class TextMessageData {
public:
    TextMessageData(platform::FontPtr font, std::string text, int duration);

    std::string Text;
    platform::FontPtr Font;
    // Milliseconds the entry stays fully shown.
    int Duration = 0;
};

class TextMessage : public kestrum::scenegraph::LayerGroup {
public:
    // The entries, shown in order.
    std::vector<std::shared_ptr<TextMessageData>> Data;
    // The entry being shown.
    int Index = 0;
    // The drop shadow; a member of the group only with a shadow offset.
    std::shared_ptr<kestrum::scenegraph::LayerLabel> Shadow;
    // The text, always a member of the group.
    std::shared_ptr<kestrum::scenegraph::LayerLabel> Main;
    // The task-clock time from which the current entry is shown.
    int Time = 0;

    TextMessage() = default;
    // A message of several entries on the layer at (x, y).
    static std::shared_ptr<TextMessage> New(kestrum::scenegraph::Layer* layer,
                                            std::vector<std::shared_ptr<TextMessageData>> data, int x, int y,
                                            int shadow, int delay);
    // A message of one entry.
    static std::shared_ptr<TextMessage> New(kestrum::scenegraph::Layer* layer, platform::FontPtr font,
                                            std::string text, int x, int y, int shadow, int duration, int delay);

    // Whether the current entry's time and duration have passed.
    bool DurationPassed() const;
    void OnUpdate() override;
    // Draws the labels only once the current entry's time has come.
    void Draw(platform::Canvas& canvas) override;
};
