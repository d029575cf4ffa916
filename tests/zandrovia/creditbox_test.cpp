// The credits and hall-of-fame box: the order of its parts for each way the
// menu opens, the hall-of-fame rows (ranks, skipped entries, upper case,
// columns), the wrapped how-to-play text, the logo and the endless scroll.
#include "zandrovia/creditbox.h"

#include <gtest/gtest.h>

#include "kestrum-framework/gfx.h"
#include "kestrum-gui/guiimage.h"
#include "kestrum-gui/guilabel.h"
#include "shelltest.h"

// Befriended by CreditBox: reaches its rebuild.
struct CreditBoxTestAccess {
    static void Init(CreditBox& box) { box.Init_(); }
};

class CreditBoxTest : public shelltest::ShellTest {
protected:
    void Init() { CreditBoxTestAccess::Init(*Credits); }

    std::vector<std::shared_ptr<kestrum::gui::GuiLabel>> Labels() const {
        std::vector<std::shared_ptr<kestrum::gui::GuiLabel>> labels;
        for (const auto& member : Credits->Members) {
            if (auto label = std::dynamic_pointer_cast<kestrum::gui::GuiLabel>(member)) labels.push_back(label);
        }
        return labels;
    }
    std::shared_ptr<kestrum::gui::GuiLabel> Label(const std::string& text) const {
        for (const auto& label : Labels()) {
            if (label->Text() == text) return label;
        }
        return nullptr;
    }
    // The Y of the label with the text; -1 when there is none.
    float YOf(const std::string& text) const {
        auto label = Label(text);
        return label ? label->Y() : -1;
    }
};

TEST_F(CreditBoxTest, PartsComeInTheOrderOfHowTheMenuOpened) {
    const struct {
        bool manualPaused;
        int state;
        bool enabled;
        bool data;
        const char* order;  // h: how to play, f: hall of fame, c: credits
    } cases[] = {
        {true, 0, true, true, "hfc"},      // the pause button during play
        {true, 1002, true, true, "fhc"},   // the pause button during "GAME OVER"
        {false, 0, true, true, "fhc"},     // the end of a game
        {true, 0, true, false, "hc"},      // nothing downloaded
        {false, 0, false, true, "hc"},     // the hall of fame switched off
        {true, 5, true, true, "hfc"},      // during a level change
    };
    for (const auto& c : cases) {
        manualPaused = c.manualPaused;
        gameState = c.state;
        HALL_OF_FAME_ENABLED = c.enabled;
        Credits->HiscoreData = c.data ? shelltest::kHallOfFame : "";
        Init();
        std::vector<std::pair<float, char>> parts = {{YOf("HOW TO PLAY"), 'h'},
                                                     {YOf("HALL OF FAME"), 'f'},
                                                     {YOf("CODE"), 'c'}};
        std::sort(parts.begin(), parts.end());
        std::string order;
        for (const auto& [y, part] : parts) {
            if (y >= 0) order += part;
        }
        EXPECT_EQ(order, c.order) << c.manualPaused << " " << c.state << " " << c.enabled << " " << c.data;
        // A download is used up once shown.
        if (c.enabled) {
            EXPECT_EQ(Credits->HiscoreData, "");
        }
        EXPECT_FLOAT_EQ(Credits->ScrollY, -430);
    }
}

TEST_F(CreditBoxTest, HallOfFameRowsKeepTheirRanksAndStandInColumns) {
    manualPaused = false;
    Credits->HiscoreData = shelltest::kHallOfFame;
    Init();
    // "9000:bob" is upper-cased, ":NOBODY" is skipped with its rank, "700:CAROL:X" shows two parts.
    ASSERT_TRUE(Label("1.") && Label("2.") && Label("4."));
    EXPECT_FALSE(Label("3."));
    EXPECT_FALSE(Label("NOBODY"));
    const float column = 1.1f * Label("1.")->Font()->TextWidth("10.");
    const float title = YOf("HALL OF FAME");
    EXPECT_FLOAT_EQ(title, 8);
    const struct {
        const char* rank;
        const char* name;
        const char* score;
        int row;
    } rows[] = {{"1.", "ALICE", "12000", 0}, {"2.", "BOB", "9000", 1}, {"4.", "CAROL", "700", 2}};
    const float rowHeight = Label("12000")->Height();
    for (const auto& r : rows) {
        auto rank = Label(r.rank);
        auto name = Label(r.name);
        auto score = Label(r.score);
        ASSERT_TRUE(rank && name && score) << r.name;
        const float y = title + 18.5f + rowHeight * static_cast<float>(r.row);
        EXPECT_FLOAT_EQ(rank->Y(), y);
        EXPECT_FLOAT_EQ(name->Y(), y);
        EXPECT_FLOAT_EQ(score->Y(), y);
        EXPECT_FLOAT_EQ(rank->HandleX(), 0);
        EXPECT_FLOAT_EQ(rank->X() + rank->Width(), column + 8);
        EXPECT_FLOAT_EQ(name->X(), column + 8);
        EXPECT_FLOAT_EQ(score->X() + score->Width(), 338 - 8);
        EXPECT_FLOAT_EQ(score->Font()->Size(), 21);
    }
    // The how-to-play text follows 37 below the last row.
    EXPECT_FLOAT_EQ(YOf("HOW TO PLAY"), static_cast<float>(static_cast<int>(title + 18.5f + 3 * rowHeight + 37)));
    EXPECT_EQ(Label("HALL OF FAME")->Color, kestrum::framework::ColorFromBytes(60, 154, 238, 255));
    EXPECT_FLOAT_EQ(Label("HALL OF FAME")->Font()->Size(), 16);
}

TEST_F(CreditBoxTest, ARejectedReplyLeavesTheTitleAlone) {
    manualPaused = false;
    Credits->HiscoreData = "<html>not a hall of fame</html>";
    Init();
    EXPECT_FLOAT_EQ(YOf("HALL OF FAME"), 8);
    EXPECT_FALSE(Label("1."));
    EXPECT_FLOAT_EQ(YOf("HOW TO PLAY"), static_cast<float>(static_cast<int>(8 + 18.5f + 37)));
}

TEST_F(CreditBoxTest, HowToPlayIsWrappedToTheBoxAndUpperCased) {
    manualPaused = true;
    Init();
    const std::string intro = platform::ToUpper(morvane::locale::Localize("introduction"));
    std::string joined;
    int lines = 0;
    for (const auto& label : Labels()) {
        const float y = label->Y();
        if (y <= YOf("HOW TO PLAY") || y >= YOf("CODE")) continue;
        ++lines;
        EXPECT_LT(label->Width(), 338 - 24) << label->Text();
        EXPECT_EQ(label->Text(), platform::ToUpper(label->Text()));
        joined += (joined.empty() ? "" : " ") + label->Text();
        EXPECT_FLOAT_EQ(label->X(), 169);
    }
    EXPECT_GT(lines, 3);
    EXPECT_EQ(joined, intro);
}

TEST_F(CreditBoxTest, CreditsEndWithTheLogoAndThePublisher) {
    Init();
    std::shared_ptr<kestrum::gui::GuiImage> logo;
    for (const auto& member : Credits->Members) {
        if (auto image = std::dynamic_pointer_cast<kestrum::gui::GuiImage>(member)) logo = image;
    }
    ASSERT_TRUE(logo);
    EXPECT_FLOAT_EQ(logo->X(), 169);
    const auto titles = {"CODE", "GAME ART", "MUSIC", "PRODUCER"};
    float previous = 0;
    for (const char* title : titles) {
        EXPECT_GT(YOf(title), previous) << title;
        previous = YOf(title);
    }
    EXPECT_GT(logo->Y(), previous);
    auto last = Labels().back();
    EXPECT_FLOAT_EQ(last->Y(), logo->Y() + 1.5f * 96 + 18.5f);
}

TEST_F(CreditBoxTest, ColumnScrollsUpAndStartsAgainFromBelow) {
    Init();
    EXPECT_FLOAT_EQ(Credits->ScrollY, -430);
    Credits->OnUpdate();
    Credits->OnUpdate();
    EXPECT_FLOAT_EQ(Credits->ScrollY, -429);
    const float height = Credits->GetContentHeight();
    Credits->ScrollY = height - 0.25f;
    Credits->OnUpdate();
    EXPECT_FLOAT_EQ(Credits->ScrollY, -430);
    // A new rebuild starts the column from below again.
    Credits->ScrollY = 100;
    Init();
    EXPECT_FLOAT_EQ(Credits->ScrollY, -430);
}
