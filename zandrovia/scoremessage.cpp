// Zandrovia: a floating label for points won and pick-up names.
#include "zandrovia/scoremessage.h"

#include "kestrum-framework/taskmanager.h"
#include "kestrum-scenegraph/scene.h"
#include "zandrovia/globals.h"

using kestrum::framework::TaskTime;

std::shared_ptr<ScoreMessage> ScoreMessage::New(kestrum::scenegraph::Layer* layer, platform::FontPtr font,
                                                std::string text, int x, int y, int duration) {
    auto message = std::make_shared<ScoreMessage>();
    message->Layer(layer);
    if (GameScene) message->TaskManager(GameScene->TaskManager);
    message->X(static_cast<float>(x));
    message->Y(static_cast<float>(y));
    message->Font = std::move(font);
    message->Text = std::move(text);
    message->StartTime = TaskTime();
    message->Duration = duration;
    return message;
}

bool ScoreMessage::DurationPassed() const { return TaskTime() > StartTime + Duration; }

void ScoreMessage::OnUpdate() {
    if (DurationPassed()) {
        Alpha(Alpha() - 0.05f);
        if (Alpha() < 0) Remove();
    }
    Y(Y() + Velocity.y);
}
