// Zandrovia: the pause menu's scrolling box of how-to-play text, hall of
// fame and credits.
#include "zandrovia/creditbox.h"

#include <cstdio>
#include <vector>

#include "kestrum-framework/contentmanager.h"
#include "kestrum-framework/font.h"
#include "kestrum-framework/gfx.h"
#include "kestrum-gui/gui.h"
#include "kestrum-gui/guiimage.h"
#include "kestrum-gui/guilabel.h"
#include "platform/text.h"
#include "zandrovia/constants.h"
#include "zandrovia/globals.h"
#include "zandrovia/localization.h"
#include "zandrovia/scoreservice.h"

namespace {

constexpr int kTitleSize = 16;
constexpr int kTextSize = 21;

platform::Color TitleBlue() { return kestrum::framework::ColorFromBytes(60, 154, 238, 255); }

const platform::Color kWhite{1, 1, 1, 1};

std::shared_ptr<platform::Font> BoxFont(int size) {
    return kestrum::gui::GuiContent->GetFont(TitleFont, static_cast<float>(size));
}

// The credit rows: text, size and the step below the row.
struct CreditRow {
    const char* text;
    int size;
    float step;
};

const CreditRow kCreditsBeforeLogo[] = {
    {"CODE", kTitleSize, 18.5f},
    {"MARA VELLINGHAUS", kTextSize, 18.5f},
    {"OSKAR DRUMMELT", kTextSize, 37},
    {"GAME ART", kTitleSize, 18.5f},
    {"LIV ANDERSKOG", kTextSize, 37},
    {"MUSIC", kTitleSize, 18.5f},
    {"TECHNO SONAVISTA", kTextSize, 18.5f},
    {"WWW.SONAVISTA.EXAMPLE", kTextSize, 37},
    {"PRODUCER", kTitleSize, 18.5f},
    {"JORIS PELLWANGER", kTextSize, 37},
};

const CreditRow kCreditsAfterLogo[] = {
    {"A KORVELLO GAME", kTextSize, 18.5f},
    {"WWW.KORVELLO.EXAMPLE", kTextSize, 0},
};

void PrintLine(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

}  // namespace

CreditBox::CreditBox(int width, int height) : GuiScrollBox(width, height) {}

std::shared_ptr<CreditBox> CreditBox::New(const std::shared_ptr<kestrum::gui::GuiGroup>& parent, int width,
                                          int height) {
    auto box = std::make_shared<CreditBox>(width, height);
    box->Group(parent);
    return box;
}

void CreditBox::OnUpdate() {
    ScrollY += 0.5f;
    if (ScrollY > GetContentHeight()) ScrollY = -Height();
}

std::shared_ptr<kestrum::gui::GuiLabel> CreditBox::AddLabel_(const std::string& text, int size,
                                                             platform::Color color, float y) {
    auto self = std::static_pointer_cast<kestrum::gui::GuiGroup>(Self());
    auto label = kestrum::gui::GuiLabel::New(self, BoxFont(size), text);
    label->Color = color;
    label->X(Width() * 0.5f);
    label->Y(y);
    return label;
}

int CreditBox::HowToPlay_(int titleSize, platform::Color color, int textSize, int y, int gap) {
    AddLabel_(morvane::locale::Localize("howtoplay"), titleSize, color, static_cast<float>(y));
    int textY = y + gap;
    const auto font = BoxFont(textSize);
    // Wrapped as it is shown: capitals are wider than the text as written.
    const std::vector<std::string> lines = kestrum::framework::FitText(
        font, platform::ToUpper(morvane::locale::Localize("introduction")), static_cast<int>(Width() - 24));
    for (const std::string& line : lines) {
        auto label = AddLabel_(line, textSize, kWhite, static_cast<float>(textY));
        textY += static_cast<int>(label->Height());
    }
    return textY + gap;
}

void CreditBox::Init_() {
    const std::vector<std::shared_ptr<kestrum::gui::GuiObject>> rows = Members.Data();
    for (const auto& row : rows) row->Remove();
    if (DebugPrints) {
        PrintLine(std::string("manualPaused: => ") + (manualPaused ? "True" : "False"));
        PrintLine("gameState: => " + std::to_string(gameState));
        PrintLine(std::string("HALL_OF_FAME_ENABLED: => ") + (HALL_OF_FAME_ENABLED ? "True" : "False"));
    }

    float y = 8;
    bool howToPlayShown = false;
    if (manualPaused && gameState < STATE_GAME_OVER) {
        y = static_cast<float>(HowToPlay_(kTitleSize, TitleBlue(), kTextSize, 8, 18));
        howToPlayShown = true;
    }

    if (HALL_OF_FAME_ENABLED && !HiscoreData.empty()) {
        AddLabel_(morvane::locale::Localize("halloffame"), kTitleSize, TitleBlue(), y);
        float rowY = y + 18.5f;
        const std::optional<std::vector<std::string>> entries = GetHiscoresFromData(HiscoreData);
        if (entries) {
            const float column = 1.1f * BoxFont(kTextSize)->TextWidth("10.");
            int rank = 0;
            for (const std::string& entry : *entries) {
                ++rank;
                const std::vector<std::string> parts = platform::Split(platform::ToUpper(entry), ":");
                // A skipped entry keeps its rank: the next one does not take it.
                if (parts.size() < 2 || parts[0].empty() || parts[1].empty()) continue;
                auto number = AddLabel_(std::to_string(rank) + ".", kTextSize, kWhite, rowY);
                number->HandleX(0);
                number->X(column + 8 - number->Width());
                auto name = AddLabel_(parts[1], kTextSize, kWhite, rowY);
                name->HandleX(0);
                name->X(column + 8);
                auto score = AddLabel_(parts[0], kTextSize, kWhite, rowY);
                score->HandleX(0);
                score->X(Width() - 8 - score->Width());
                rowY += score->Height();
            }
            y = rowY + 37;
        } else {
            y += 18.5f + 37;
        }
        HiscoreData.clear();
    }

    if (!howToPlayShown) y = static_cast<float>(HowToPlay_(kTitleSize, TitleBlue(), kTextSize, static_cast<int>(y), 18));

    for (const CreditRow& row : kCreditsBeforeLogo) {
        AddLabel_(row.text, row.size, row.size == kTitleSize ? TitleBlue() : kWhite, y);
        y += row.step;
    }
    if (auto logo = kestrum::framework::Content->GetImage("gui/korvello.png")) {
        const auto height = static_cast<float>(logo->Height());
        y += height * 0.5f;
        auto image = kestrum::gui::GuiImage::New(std::static_pointer_cast<kestrum::gui::GuiGroup>(Self()), logo);
        image->X(Width() * 0.5f);
        image->Y(y);
        y += height * 1.5f;
    }
    for (const CreditRow& row : kCreditsAfterLogo) {
        AddLabel_(row.text, row.size, kWhite, y);
        y += row.step;
    }

    ScrollY = -Height();
    if (DebugPrints) PrintLine("ENDE von init()");
}
