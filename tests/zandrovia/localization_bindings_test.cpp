// Localization bindings: callbacks bound to keys follow language switches,
// overrides and explicit re-localizations; LocString keeps its text and
// unbinds itself when it goes.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/files.h"
#include "support/testsupport.h"
#include "zandrovia/localization.h"
#include "zandrovia/locstring.h"

using namespace morvane::locale;

namespace {

const char* const kFile = R"({"default": "en", "format": "json", "langs": ["en", "de"],
  "en": {"yes": "Yes", "no": "No"}, "de": {"yes": "Ja", "no": "Nein"}})";

// Records every text it receives.
struct Recorder {
    std::vector<std::string> texts;
    void Take(const std::string& text) { texts.push_back(text); }
};

std::vector<std::string> freeTexts;
void FreeCallback(const std::string& text) { freeTexts.push_back(text); }

class Bindings : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string dir = testsupport::TempDir();
        platform::SaveString(kFile, dir + "t.json");
        loc.Load(dir + "t.json", "en");
        loc.onChanged = [this] { ++changes; };
        freeTexts.clear();
    }
    void TearDown() override { Localization::ValuesProviders.clear(); }

    Localization loc{"en"};
    int changes = 0;
};

}  // namespace

TEST_F(Bindings, BindCallsAtOnceAndKeepsOneEntryPerCallback) {
    Recorder a;
    loc.Bind("yes", LocCallback(&a, &Recorder::Take));
    loc.Bind("yes", LocCallback(&a, &Recorder::Take));
    loc.Bind("yes", LocCallback(FreeCallback));
    EXPECT_EQ(a.texts, (std::vector<std::string>{"Yes", "Yes"}));
    ASSERT_EQ(loc.bindings["yes"].size(), 2u);
    loc.ReLocalizeKey("yes");
    EXPECT_EQ(a.texts.size(), 3u);
    EXPECT_EQ(freeTexts, (std::vector<std::string>{"Yes", "Yes"}));

    // A lambda equals only its own copies.
    int calls = 0;
    const LocCallback lambda([&calls](const std::string&) { ++calls; });
    loc.Bind("no", lambda);
    loc.Bind("no", lambda);
    loc.Bind("no", LocCallback([&calls](const std::string&) { ++calls; }));
    EXPECT_EQ(loc.bindings["no"].size(), 2u);

    // A missing key binds its fallback text.
    Recorder missing;
    loc.Bind("nothing", LocCallback(&missing, &Recorder::Take));
    EXPECT_EQ(missing.texts, std::vector<std::string>{"$$nothing$$"});
}

TEST_F(Bindings, UnBindRemovesFromTheFirstKeyInKeyOrderOnly) {
    Recorder a;
    const LocCallback callback(&a, &Recorder::Take);
    loc.Bind("yes", callback);
    loc.Bind("no", callback);
    loc.UnBind(callback);
    // "no" comes before "yes": it loses the callback and keeps its (empty) list.
    EXPECT_EQ(loc.bindings.count("no"), 1u);
    EXPECT_TRUE(loc.bindings["no"].empty());
    EXPECT_EQ(loc.bindings["yes"].size(), 1u);
    a.texts.clear();
    loc.ReLocalizeAll();
    EXPECT_EQ(a.texts, std::vector<std::string>{"Yes"});
}

TEST_F(Bindings, LanguageSwitchReLocalizesEveryBindingAndCallsOnChanged) {
    Recorder yes, no;
    loc.Bind("yes", LocCallback(&yes, &Recorder::Take));
    loc.Bind("no", LocCallback(&no, &Recorder::Take));
    loc.SetLang("en", false);
    EXPECT_EQ(yes.texts.size(), 1u);
    EXPECT_EQ(changes, 0);
    loc.SetLang("de", false);
    EXPECT_EQ(yes.texts.back(), "Ja");
    EXPECT_EQ(no.texts.back(), "Nein");
    EXPECT_EQ(changes, 1);
    loc.SetLang("de", true);
    EXPECT_EQ(yes.texts.size(), 3u);
    EXPECT_EQ(changes, 2);
    // An empty language is the default one; a language the file lacks falls back.
    loc.SetLang("", false);
    EXPECT_EQ(yes.texts.back(), "Yes");
    loc.SetLang("fr", false);
    EXPECT_EQ(yes.texts.back(), "$$yes$$");
}

TEST_F(Bindings, OverridesAnswerForTheirLanguageOnly) {
    Recorder yes;
    loc.Bind("yes", LocCallback(&yes, &Recorder::Take));
    // Another language's override re-localizes with the unchanged text.
    loc.AddOverrided("de", "yes", "Jawohl", true);
    EXPECT_EQ(yes.texts.back(), "Yes");
    EXPECT_EQ(yes.texts.size(), 2u);
    loc.AddOverrided("en", "yes", "Yep", false);
    EXPECT_EQ(yes.texts.size(), 2u);
    EXPECT_EQ(loc["yes"], "Yep");
    loc.AddOverrided("en", "yes", "Yeah", true);
    EXPECT_EQ(yes.texts.back(), "Yeah");
    loc.SetLang("de", false);
    EXPECT_EQ(yes.texts.back(), "Jawohl");
    // A removed override stays in bound texts until the next re-localization.
    loc.RemoveOverrided("de", "yes");
    EXPECT_EQ(yes.texts.back(), "Jawohl");
    loc.ReLocalizeAll();
    EXPECT_EQ(yes.texts.back(), "Ja");
}

TEST_F(Bindings, ProvidersAnswerFirstInTheOrderTheyWereRegistered) {
    Localization::RegisterValuesProvider([](const std::string& key, bool& found) {
        found = key == "no";
        return std::string("first");
    });
    Localization::RegisterValuesProvider([](const std::string&, bool& found) {
        found = true;
        return std::string("second");
    });
    loc.AddOverrided("en", "yes", "Yep", false);
    EXPECT_EQ(loc["no"], "first");
    EXPECT_EQ(loc["yes"], "second");
    Recorder yes;
    loc.Bind("yes", LocCallback(&yes, &Recorder::Take));
    EXPECT_EQ(yes.texts, std::vector<std::string>{"second"});
}

// A callback may unbind and bind others during a re-localization. One it
// unbinds (say, of a string it destroys) is not called again by the pass;
// one it binds got the current text from Bind and is not called again by the
// pass either; the others are called in their order.
TEST_F(Bindings, ReLocalizationSkipsCallbacksUnboundOrBoundDuringIt) {
    std::vector<std::string> log;
    const auto logger = [&log](const std::string& name) {
        return LocCallback([&log, name](const std::string& text) { log.push_back(name + " " + text); });
    };
    const LocCallback dropped = logger("dropped"), kept = logger("kept");
    const LocCallback addedHere = logger("added here"), addedLater = logger("added later");
    const LocCallback dropper([&](const std::string& text) {
        log.push_back("dropper " + text);
        if (text != "Ja") return;
        loc.UnBind(dropped);
        loc.Bind("yes", addedHere);
    });
    // "no" comes first in key order: it binds to the key the pass visits next.
    const LocCallback binder([&](const std::string& text) {
        log.push_back("binder " + text);
        if (text == "Nein") loc.Bind("yes", addedLater);
    });
    loc.Bind("yes", dropper);
    loc.Bind("yes", dropped);
    loc.Bind("yes", kept);
    loc.Bind("no", binder);
    log.clear();
    loc.SetLang("de", false);
    EXPECT_EQ(log,
              (std::vector<std::string>{"binder Nein", "added later Ja", "dropper Ja", "added here Ja", "kept Ja"}));
    // The next pass calls the new bindings in their turn.
    log.clear();
    loc.SetLang("en", false);
    EXPECT_EQ(log,
              (std::vector<std::string>{"binder No", "dropper Yes", "kept Yes", "added later Yes", "added here Yes"}));
    log.clear();
    loc.ReLocalizeKey("yes");
    EXPECT_EQ(log, (std::vector<std::string>{"dropper Yes", "kept Yes", "added later Yes", "added here Yes"}));
}

TEST(LocString, FollowsItsKeyAndUnbindsWhenItGoes) {
    InitLocalizationModule();
    const std::string dir = testsupport::TempDir();
    platform::SaveString(kFile, dir + "t.json");
    LocInstance->Load(dir + "t.json", "en");
    {
        LocString yes("yes");
        LocString missing("missing_key");
        EXPECT_EQ(yes.text, "Yes");
        EXPECT_EQ(static_cast<const std::string&>(missing), "$$missing_key$$");
        LocInstance->SetLang("de", false);
        EXPECT_EQ(yes.text, "Ja");
        EXPECT_EQ(LocInstance->bindings["yes"].size(), 1u);
    }
    EXPECT_TRUE(LocInstance->bindings["yes"].empty());
    // Nothing is left to call into the freed strings.
    LocInstance->SetLang("en", false);
}

// A string destroyed by another binding's callback during a language switch
// is not called after its destruction.
TEST(LocString, AStringDestroyedDuringALanguageSwitchIsNotCalled) {
    InitLocalizationModule();
    const std::string dir = testsupport::TempDir();
    platform::SaveString(kFile, dir + "t.json");
    LocInstance->Load(dir + "t.json", "en");
    std::unique_ptr<LocString> doomed;
    const LocCallback destroyer([&doomed](const std::string& text) {
        if (text == "Ja") doomed.reset();
    });
    LocInstance->Bind("yes", destroyer);
    doomed = std::make_unique<LocString>("yes");
    LocString kept("yes");
    LocInstance->SetLang("de", false);
    EXPECT_FALSE(doomed);
    EXPECT_EQ(kept.text, "Ja");
    LocInstance->UnBind(destroyer);
    LocInstance->SetLang("en", false);
    EXPECT_EQ(kept.text, "Yes");
}
