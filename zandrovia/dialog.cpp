// Zandrovia: a modal window with centred lines of text and two buttons.
#include "zandrovia/dialog.h"

#include <vector>

#include "kestrum-framework/contentmanager.h"
#include "kestrum-gui/gui.h"
#include "kestrum-gui/guilabel.h"
#include "kestrum-gui/guilayer.h"
#include "platform/text.h"
#include "zandrovia/constants.h"
#include "zandrovia/globals.h"
#include "zandrovia/localization.h"

namespace {

std::shared_ptr<kestrum::gui::GuiButton> AddButton(const std::shared_ptr<Dialog>& dialog,
                                                   const std::shared_ptr<platform::Image>& image,
                                                   const std::shared_ptr<platform::Font>& font,
                                                   const std::string& text) {
    auto button = std::make_shared<kestrum::gui::GuiButton>();
    button->Group(dialog);
    button->Images.DrawData(kestrum::gui::GuiState::Normal, 0)->Image = image;
    button->Font(font);
    button->Text(text);
    button->Caption.OffsetY(-2);
    button->Pausable = false;
    return button;
}

}  // namespace

std::shared_ptr<Dialog> Dialog::New(kestrum::gui::GuiLayer* layer, const std::shared_ptr<platform::Image>& window,
                                    const std::shared_ptr<platform::Image>& buttonImage,
                                    const std::shared_ptr<platform::Font>& font, const std::string& text,
                                    std::array<int, 2> margins, const std::string& leftText,
                                    const std::string& rightText, int gap) {
    auto dialog = std::make_shared<Dialog>();
    kestrum::gui::CreateGroup(dialog, window);
    dialog->AllowedStates = {kestrum::gui::GuiState::Normal};
    dialog->Layer(layer);
    if (layer) {
        dialog->X(static_cast<float>(layer->VirtualWidth()) * 0.5f);
        dialog->Y(static_cast<float>(layer->VirtualHeight()) * 0.5f);
    }

    const float width = dialog->Width();
    const float height = dialog->Height();
    int y = margins[0];
    for (const std::string& line : platform::Split(text, "\n")) {
        auto label = kestrum::gui::GuiLabel::New(dialog, font, line);
        label->Handle = {0, 0};
        label->X(width * 0.5f - label->Width() * 0.5f);
        label->Y(static_cast<float>(y));
        y += static_cast<int>(label->Height());
    }

    const float halfGap = static_cast<float>(gap) * 0.5f;
    dialog->LeftButton = AddButton(dialog, buttonImage, font, leftText);
    const float leftWidth = dialog->LeftButton->Width();
    const float buttonY = height - dialog->LeftButton->Height() * 0.5f - static_cast<float>(margins[1]);
    dialog->LeftButton->X(width * 0.5f - leftWidth * 0.5f - halfGap);
    dialog->LeftButton->Y(buttonY);
    dialog->RightButton = AddButton(dialog, buttonImage, font, rightText);
    dialog->RightButton->X(width * 0.5f + leftWidth * 0.5f + halfGap);
    dialog->RightButton->Y(buttonY);
    return dialog;
}

void OpenResetDialog() {
    const std::shared_ptr<kestrum::gui::GuiLayer>& root = GuiRoots[GUI_MODE_PAUSE];
    if (!root) return;
    using morvane::locale::Localize;
    auto dialog = Dialog::New(root.get(), kestrum::framework::Content->GetImage("gui/dialog_window.png"),
                              kestrum::framework::Content->GetImage("gui/dialog_button.png"),
                              kestrum::gui::GuiContent->GetFont(TitleFont, 32), Localize("reset_game"), {48, 48},
                              Localize("yes"), Localize("no"), 16);
    const platform::Color held{0, 0, 0, 0.5f};
    const std::pair<kestrum::gui::GuiButton*, platform::Color> captions[] = {
        {dialog->LeftButton.get(), {1, 0, 0, 1}}, {dialog->RightButton.get(), {1, 1, 1, 1}}};
    for (const auto& [button, colour] : captions) {
        button->AllowedStates = {kestrum::gui::GuiState::Normal, kestrum::gui::GuiState::Down};
        button->Caption.DrawData(kestrum::gui::GuiState::Normal, 0)->Color = colour;
        button->Caption.DrawData(kestrum::gui::GuiState::Down, 0)->Color = held;
    }
    root->Modal = dialog;
}

void PollResetDialog() {
    const std::shared_ptr<kestrum::gui::GuiLayer>& root = GuiRoots[GUI_MODE_PAUSE];
    if (!root) return;
    const auto dialog = std::dynamic_pointer_cast<Dialog>(root->Modal);
    if (!dialog) return;
    if (dialog->LeftButton && dialog->LeftButton->Released) {
        levelIndex = 1;
        SaveState();
        if (auto close = root->GetObject("close")) close->Enabled(true);
        GuiMode = GUI_MODE_PLAY;
        gameState = STATE_NEW_GAME;
    } else if (!(dialog->RightButton && dialog->RightButton->Released)) {
        return;
    }
    dialog->Remove();
    root->Modal = nullptr;
}
