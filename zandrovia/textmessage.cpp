// Zandrovia: a centred text, or a sequence of texts, shown for a while.
#include "zandrovia/textmessage.h"

#include "kestrum-framework/taskmanager.h"
#include "kestrum-scenegraph/scene.h"
#include "zandrovia/globals.h"

using kestrum::framework::TaskTime;
using kestrum::scenegraph::LayerLabel;

TextMessageData::TextMessageData(platform::FontPtr font, std::string text, int duration)
    : Text(std::move(text)), Font(std::move(font)), Duration(duration) {}

std::shared_ptr<TextMessage> TextMessage::New(kestrum::scenegraph::Layer* layer,
                                              std::vector<std::shared_ptr<TextMessageData>> data, int x, int y,
                                              int shadow, int delay) {
    auto message = std::make_shared<TextMessage>();
    message->Data = std::move(data);
    message->Layer(layer);
    if (GameScene) message->TaskManager(GameScene->TaskManager);
    message->X(static_cast<float>(x));
    message->Y(static_cast<float>(y));
    const std::shared_ptr<TextMessageData> first = message->Data.empty() ? nullptr : message->Data[0];
    message->Shadow = std::make_shared<LayerLabel>();
    if (shadow != 0) {
        message->Shadow->Group(message.get());
        message->Shadow->Color = {0, 0, 0, 1};
        if (first) {
            message->Shadow->Font = first->Font;
            message->Shadow->Text = first->Text;
        }
        message->Shadow->X(message->Shadow->X() + static_cast<float>(shadow));
        message->Shadow->Y(message->Shadow->Y() + static_cast<float>(shadow));
    }
    message->Main = std::make_shared<LayerLabel>();
    message->Main->Group(message.get());
    if (first) {
        message->Main->Font = first->Font;
        message->Main->Text = first->Text;
    }
    message->Time = TaskTime() + delay;
    return message;
}

std::shared_ptr<TextMessage> TextMessage::New(kestrum::scenegraph::Layer* layer, platform::FontPtr font,
                                              std::string text, int x, int y, int shadow, int duration, int delay) {
    std::vector<std::shared_ptr<TextMessageData>> data{
        std::make_shared<TextMessageData>(std::move(font), std::move(text), duration)};
    return New(layer, std::move(data), x, y, shadow, delay);
}

bool TextMessage::DurationPassed() const {
    if (Index < 0 || Index >= static_cast<int>(Data.size())) return true;
    return TaskTime() > Time + Data[static_cast<std::size_t>(Index)]->Duration;
}

void TextMessage::OnUpdate() {
    // A message without entries has nothing to show.
    if (Index < 0 || Index >= static_cast<int>(Data.size())) {
        Remove();
        return;
    }
    const TextMessageData& entry = *Data[static_cast<std::size_t>(Index)];
    Shadow->Font = entry.Font;
    Shadow->Text = entry.Text;
    if (!DurationPassed()) return;
    Alpha(Alpha() - 0.05f);
    if (Alpha() >= 0) return;
    Index += 1;
    if (Index < static_cast<int>(Data.size())) {
        const TextMessageData& next = *Data[static_cast<std::size_t>(Index)];
        Main->Font = next.Font;
        Main->Text = next.Text;
        Time = TaskTime() + 500;
        Alpha(1);
    } else {
        Remove();
    }
}

void TextMessage::Draw(platform::Canvas& canvas) {
    if (TaskTime() > Time) LayerGroup::Draw(canvas);
}
