// The name and e-mail keyboards, typed on with the pointer: the keys' names
// and sizes, the length limits, back, clear, ok and skip, the post of the
// score, the hint and the blinking cursor, and the texts read from and
// written to the preferences.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "shelltest.h"

namespace {

using shelltest::ShellTest;

class Keyboards : public ShellTest {
protected:
    // Types the keys (their names, trimmed) on the keyboard of the current mode.
    void Type(const std::vector<std::string>& keys) {
        for (const std::string& key : keys) Click(KeyName(key));
    }
    std::string KeyName(const std::string& key) {
        static const char* const padded[] = {" space ", " . ", " - ", " back ", " skip ", " ok ", " clear ", " @ ", " _ "};
        // The name keyboard's "CLEAR" has no blanks.
        if (key == "clear" && GuiMode == GUI_MODE_NAME) return key;
        for (const char* name : padded) {
            if (platform::Trim(name) == key) return name;
        }
        return key;
    }
    std::vector<std::string> Posts() {
        std::vector<std::string> posts = platform::Split(platform::LoadString(home + "posts.log"), "\n");
        posts.pop_back();
        return posts;
    }
    std::shared_ptr<platform::Pixmap> Drawn(Keyboard::Display& display) {
        testsupport::Target target = testsupport::MakeTarget(1136, 160);
        display.Draw(*target.canvas);
        target.canvas->Flush();
        return target.canvas->CopyPixmap({0, 0, 1136, 160});
    }
    // The brightest red and green of the display's pixels.
    platform::Vec2f BrightestRedAndGreen(Keyboard::Display& display) {
        auto pixels = Drawn(display);
        platform::Vec2f most{0, 0};
        for (int y = 0; y < 160; ++y) {
            for (int x = 0; x < 1136; ++x) {
                const platform::Color c = pixels->GetPixel(x, y);
                most = {std::max(most.x, c.r), std::max(most.y, c.g)};
            }
        }
        return most;
    }
    // The rightmost column holding a drawn pixel of the display.
    int RightEdge(Keyboard::Display& display) {
        auto pixels = Drawn(display);
        for (int x = 1135; x >= 0; --x) {
            for (int y = 0; y < 160; ++y) {
                if (pixels->GetPixel(x, y).g > 0.2f) return x;
            }
        }
        return -1;
    }
};

class KeyboardsWithSavedNames : public Keyboards {
protected:
    KeyboardsWithSavedNames() { prefsText = "levelIndex=4\nplayer=ZED\nemail=Z@Q.ORG"; }
};

}  // namespace

TEST_F(Keyboards, KeysAreNamedByTheirLayoutTextAndNeverSmallerThanTheirImages) {
    auto keyboard = NameEntry;
    ASSERT_EQ(keyboard->Members.Length(), 4);
    const std::vector<int> keysPerRow = {10, 9, 7, 7};
    float width = 0;
    for (int r = 0; r < 4; ++r) {
        auto row = std::dynamic_pointer_cast<kestrum::gui::GuiGroup>(keyboard->Members[r]);
        ASSERT_TRUE(row);
        EXPECT_EQ(row->Members.Length(), keysPerRow[static_cast<std::size_t>(r)]);
        EXPECT_FLOAT_EQ(row->Y(), static_cast<float>(r * 72));
        EXPECT_FLOAT_EQ(row->X(), keyboard->Width() / 2);
        EXPECT_EQ(row->Handle, (platform::Vec2f{0.5f, 0}));
        width = std::max(width, row->Width());
        float x = 0;
        for (const auto& member : row->Members) {
            auto key = std::dynamic_pointer_cast<Keyboard::Key>(member);
            ASSERT_TRUE(key);
            EXPECT_GE(key->Width(), 64);
            EXPECT_GE(key->Height(), 64);
            EXPECT_GE(key->Width(), key->Caption.Width() + 32);
            EXPECT_FLOAT_EQ(key->X(), x);
            x += static_cast<float>(static_cast<int>(key->Width() + 8));
            EXPECT_EQ(key->Images.Borders, std::vector<int>{16});
            EXPECT_TRUE(key->Images.DrawData(kestrum::gui::GuiState::Down, 0)->Image);
        }
    }
    // Extents are taken in whole units.
    EXPECT_NEAR(keyboard->Width(), width, 1);
    auto q = std::dynamic_pointer_cast<Keyboard::Key>(keyboard->GetObject("q"));
    ASSERT_TRUE(q);
    EXPECT_EQ(q->Text(), "Q");
    EXPECT_FLOAT_EQ(q->Width(), 64);
    auto space = std::dynamic_pointer_cast<Keyboard::Key>(keyboard->GetObject(" space "));
    ASSERT_TRUE(space);
    EXPECT_EQ(space->Text(), " SPACE ");
    EXPECT_FLOAT_EQ(space->Width(), space->Caption.Width() + 32);
    EXPECT_TRUE(keyboard->GetObject("clear"));
    EXPECT_TRUE(EmailEntry->GetObject(" clear "));
    EXPECT_TRUE(EmailEntry->GetObject(" @ "));
    EXPECT_FALSE(EmailEntry->GetObject(" space "));
}

TEST_F(Keyboards, NameIsTypedUpToTwelveCharactersAndEditedWithBackAndClear) {
    GuiMode = GUI_MODE_NAME;
    EmailDisplay->Text("KEPT@X");
    Type({"back", "q", "space", ".", "-"});
    EXPECT_EQ(NameDisplay->Text(), "Q .-");
    Type({"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"});
    EXPECT_EQ(NameDisplay->Text(), "Q .-ABCDEFGH");
    EXPECT_EQ(NameDisplay->Length(), MaxNameLength);
    Type({"back", "space", "space"});
    EXPECT_EQ(NameDisplay->Text(), "Q .-ABCDEFG ");
    Type({"clear"});
    EXPECT_EQ(NameDisplay->Text(), "");
    EXPECT_EQ(EmailDisplay->Text(), "");
    Type({"back"});
    EXPECT_EQ(NameDisplay->Text(), "");
    // Ok and skip never type.
    Type({"z"});
    NameEntry->OnKeyHit("ok");
    NameEntry->OnKeyHit("skip");
    EXPECT_EQ(NameDisplay->Text(), "Z");
}

TEST_F(Keyboards, EmailTakesTwentyFourCharactersAndClearKeepsTheName) {
    GuiMode = GUI_MODE_EMAIL;
    NameDisplay->Text("ANNA");
    Type({"a", "@", "b", ".", "c", "_", "d", "-"});
    EXPECT_EQ(EmailDisplay->Text(), "A@B.C_D-");
    for (int i = 0; i < 20; ++i) Type({"x"});
    EXPECT_EQ(EmailDisplay->Length(), MaxEmailLength);
    Type({"back"});
    EXPECT_EQ(EmailDisplay->Length(), MaxEmailLength - 1);
    Type({"clear"});
    EXPECT_EQ(EmailDisplay->Text(), "");
    EXPECT_EQ(NameDisplay->Text(), "ANNA");
}

TEST_F(Keyboards, NameOkNeedsANameAndSkipGoesToGameOver) {
    gameState = STATE_GAME_OVER + 1;
    GuiMode = GUI_MODE_NAME;
    NameDisplay->Text("");
    Type({"ok"});
    EXPECT_EQ(GuiMode, GUI_MODE_NAME);
    Type({"space", "ok"});
    EXPECT_EQ(GuiMode, GUI_MODE_EMAIL);
    EXPECT_EQ(gameState, STATE_GAME_OVER + 1);

    GuiMode = GUI_MODE_NAME;
    Type({"skip"});
    EXPECT_EQ(GuiMode, GUI_MODE_PLAY);
    EXPECT_EQ(gameState, STATE_GAME_OVER + 2);
    EXPECT_EQ(DownloaderRuns(), 0);
}

TEST_F(Keyboards, EmailOkPostsTheScoreWhenThereIsOneAndANameAndTheSwitchIsOn) {
    const struct {
        int score;
        const char* name;
        bool enabled;
        bool posts;
    } cases[] = {{6000, "ANNA", true, true},   {1, "A", true, true},      {0, "ANNA", true, false},
                 {6000, "", true, false},      {6000, "ANNA", false, false}};
    SystemLocale = "de_DE.UTF-8";
    levelIndex = 6;
    for (const auto& c : cases) {
        std::filesystem::remove(home + "posts.log");
        Score = c.score;
        HALL_OF_FAME_ENABLED = c.enabled;
        NameDisplay->Text(c.name);
        EmailDisplay->Text("");
        gameState = STATE_GAME_OVER + 1;
        GuiMode = GUI_MODE_EMAIL;
        Type({"ok"});
        EXPECT_EQ(GuiMode, GUI_MODE_PLAY);
        EXPECT_EQ(gameState, STATE_GAME_OVER + 2);
        const std::vector<std::string> posts = platform::TryLoadString(home + "posts.log") ? Posts() : std::vector<std::string>{};
        ASSERT_EQ(posts.size(), c.posts ? 1u : 0u) << c.score << " " << c.name << " " << c.enabled;
        if (!c.posts) continue;
        // An empty e-mail is posted too.
        EXPECT_EQ(posts[0], ScoreRecord(c.score, c.name, "", 6, "125", "de_DE.UTF-8"));
    }
}

TEST_F(KeyboardsWithSavedNames, TextsComeFromThePreferencesAndGoBackToThem) {
    EXPECT_EQ(NameDisplay->Text(), "ZED");
    EXPECT_EQ(EmailDisplay->Text(), "Z@Q.ORG");
    GuiMode = GUI_MODE_NAME;
    Type({"back", "n"});
    GuiMode = GUI_MODE_EMAIL;
    Type({"clear"});
    levelIndex = 4;
    SaveState();
    kestrum::framework::Config saved;
    saved.Parse(platform::LoadString(home + ".zandrovia.pref.dat"));
    EXPECT_EQ(saved.ReadString("player", "?"), "ZEN");
    // An emptied e-mail is saved empty, not left at its old value.
    EXPECT_TRUE(saved.HasKey("email"));
    EXPECT_EQ(saved.ReadString("email", "?"), "");
    EXPECT_EQ(saved.ReadInt("levelIndex", 0), 4);
}

TEST_F(KeyboardsWithSavedNames, ALongerSavedNameIsShownWholeAndTakesNoMore) {
    NameDisplay->Text("ABCDEFGHIJKLMNOP");
    GuiMode = GUI_MODE_NAME;
    Type({"x"});
    EXPECT_EQ(NameDisplay->Text(), "ABCDEFGHIJKLMNOP");
    Type({"back", "back", "back", "back", "back"});
    Type({"x"});
    EXPECT_EQ(NameDisplay->Text(), "ABCDEFGHIJKX");
}

TEST_F(Keyboards, EmptyTextShowsTheHintAndTheCursorBlinksEveryTwentyOneDraws) {
    // The hint: half-transparent light green, no cursor.
    NameDisplay->Text("");
    EXPECT_GT(RightEdge(*NameDisplay), 568);
    const platform::Vec2f hint = BrightestRedAndGreen(*NameDisplay);
    EXPECT_NEAR(hint.x, 0.25f, 0.05f);
    EXPECT_NEAR(hint.y, 0.5f, 0.05f);
    EXPECT_EQ(NameDisplay->Text(), "");
    // A typed letter is drawn in the display's own green instead.
    NameDisplay->Text("Q");
    const platform::Vec2f text = BrightestRedAndGreen(*NameDisplay);
    EXPECT_LT(text.x, 0.05f);
    EXPECT_GT(text.y, 0.95f);

    // The cursor shows for 21 draws, then hides for 21.
    auto display = std::make_shared<Keyboard::Display>(MaxNameLength, "enter_name");
    display->Font(NameDisplay->Font());
    display->Text("AB");
    std::vector<std::string> cursors;
    testsupport::Target target = testsupport::MakeTarget(64, 64);
    for (int draw = 0; draw < 43; ++draw) {
        cursors.push_back(display->CursorText);
        display->Draw(*target.canvas);
    }
    for (int draw = 0; draw < 21; ++draw) EXPECT_EQ(cursors[static_cast<std::size_t>(draw)], "_") << draw;
    for (int draw = 21; draw < 42; ++draw) EXPECT_EQ(cursors[static_cast<std::size_t>(draw)], "") << draw;
    EXPECT_EQ(cursors[42], "_");
    EXPECT_EQ(display->Text(), "AB");
}

TEST_F(Keyboards, CursorIsDrawnOnlyWhileThereIsRoomForMore) {
    const struct {
        const char* text;
        bool cursor;
    } cases[] = {{"ABCDEFGHIJK", true}, {"ABCDEFGHIJKL", false}};
    for (const auto& c : cases) {
        NameDisplay->Text(c.text);
        NameDisplay->CursorText = "_";
        const int shown = RightEdge(*NameDisplay);
        NameDisplay->CursorText = "";
        const int hidden = RightEdge(*NameDisplay);
        EXPECT_EQ(shown > hidden, c.cursor) << c.text << " " << shown << " " << hidden;
    }
}
