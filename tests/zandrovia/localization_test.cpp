// Localization: lookup order and fallback, the JSON and INI loaders, the
// single-file and folder forms and the load errors.
#include "zandrovia/localization.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/files.h"
#include "platform/text.h"
#include "support/testsupport.h"

using namespace morvane::locale;

namespace {

std::string Write(const std::string& dir, const std::string& name, const std::string& text) {
    platform::SaveString(text, dir + name);
    return dir + name;
}

const char* const kTwoLangs = R"({
  "default": "de", "format": "whatever", "langs": ["en", "de"],
  "en": {"yes": "Yes", "multi": "one\ntwo", "twelve": 12, "half": 0.5, "flag": true, "none": null,
         "nested": {"a": 1}, "list": [1, 2]},
  "de": {"yes": "Ja"},
  "fr": {"yes": "Oui"}
})";

}  // namespace

TEST(Localization, LookupTakesProvidersThenOverridesThenTableThenFallback) {
    Localization loc("en");
    const std::string dir = testsupport::TempDir();
    loc.Load(Write(dir, "t.json", kTwoLangs), "en");

    EXPECT_EQ(loc["yes"], "Yes");
    // A missing key falls back and the fallback is kept in the table.
    EXPECT_EQ(loc["tut_missing"], "$$tut_missing$$");
    EXPECT_EQ(loc.dict->count("tut_missing"), 1u);
    EXPECT_EQ((*loc.data)["en"]->count("tut_missing"), 1u);
    EXPECT_EQ(loc["tut_missing"], "$$tut_missing$$");

    // Overrides answer only for the current language.
    loc.overrides["de"] = std::make_shared<Table>(Table{{"yes", "Jawohl"}});
    EXPECT_EQ(loc["yes"], "Yes");
    loc.overrides["en"] = std::make_shared<Table>(Table{{"yes", "Yep"}});
    EXPECT_EQ(loc["yes"], "Yep");

    // Providers come first, but only when they set the found flag.
    Localization::ValuesProviders.push_back([](const std::string&, bool& found) {
        found = false;
        return std::string("ignored");
    });
    Localization::ValuesProviders.push_back([](const std::string& key, bool& found) {
        found = key == "yes";
        return std::string("provided");
    });
    EXPECT_EQ(loc["yes"], "provided");
    EXPECT_EQ(loc["multi"], "one\ntwo");
    Localization::ValuesProviders.clear();
}

TEST(Localization, JsonSingleFileLoadsListedLanguagesAndValuesAsText) {
    Localization loc("en");
    const std::string dir = testsupport::TempDir();
    loc.Load(Write(dir, "t.json", kTwoLangs), "");

    // An empty language selects the object's default, not the file's.
    EXPECT_EQ(loc.lang, "en");
    EXPECT_EQ(loc.defaultLang, "de");
    EXPECT_EQ(loc.format, "json");
    EXPECT_TRUE(loc.singleFile);
    EXPECT_EQ(loc.langs, (std::vector<std::string>{"en", "de"}));
    ASSERT_TRUE(loc.data);
    EXPECT_EQ(loc.data->size(), 2u);
    EXPECT_EQ(loc.data->count("fr"), 0u);

    const struct {
        const char* key;
        const char* text;
    } cases[] = {{"multi", "one\ntwo"}, {"twelve", "12"}, {"half", "0.5"}, {"flag", "true"},
                 {"none", "null"},      {"nested", ""},   {"list", ""}};
    for (const auto& c : cases) EXPECT_EQ(loc[c.key], c.text) << c.key;
}

TEST(Localization, ListedLanguageWithoutMemberHasNoTableAndFallsBack) {
    // Each load that leaves the game without texts says so in one line.
    const std::string dir = testsupport::TempDir();
    testing::internal::CaptureStdout();
    Localization loc("en");
    const std::string path = Write(dir, "t.json", R"({"default": "en", "langs": ["en", "it"], "en": {"yes": "Yes"}})");
    loc.Load(path, "it");
    EXPECT_EQ(loc.data->count("it"), 0u);
    EXPECT_EQ(loc["yes"], "$$yes$$");
    loc.Load(path, "en");  // the table is there: nothing to say

    // Neither a file nor a folder: nothing loads, lookups fall back.
    Localization none("en");
    none.Load(dir + "missing.json", "en");
    EXPECT_TRUE(none.singleFile);
    EXPECT_EQ(none["yes"], "$$yes$$");

    // A file that is not JSON gives no tables rather than a crash.
    Localization garbled("en");
    garbled.Load(Write(dir, "bad.json", "{\"langs\": [\"en\"], \"en\": {"), "en");
    EXPECT_EQ(garbled["yes"], "$$yes$$");
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Localization file has no texts for it: " + path + "\nLocalization file not found: " + dir +
                  "missing.json\nLocalization file not readable: " + dir + "bad.json\n");
}

TEST(Localization, GameTranslationFileHasBothLanguages) {
    Localization loc("en");
    loc.Load("asset::translation.json", "de");
    EXPECT_EQ(loc["yes"], "Ja");
    EXPECT_EQ(loc.defaultLang, "en");
    for (const char* key : {"lvl_cleared", "end_youmadeit", "end_thankyou", "tut_ship", "tut_switch",
                            "tut_enemiesnum", "tut_enemieshere", "tut_takecare", "enter_name", "enter_mail",
                            "howtoplay", "introduction", "halloffame", "reset_game", "yes", "no"}) {
        EXPECT_NE(loc[key], std::string("$$") + key + "$$") << key;
    }
}

TEST(Localization, IniSingleFileSectionsAndPairs) {
    const std::string dir = testsupport::TempDir();
    const std::string path = Write(dir, "t.ini",
                                   "ignored=before any section\r\n"
                                   "[info]\r\n"
                                   "default = de\n"
                                   "langs=en, de\n"
                                   "\n"
                                   "  [en]  \r"
                                   "greeting = Hello\\nthere\n"
                                   "pair = first=second\n"
                                   "no pair line\n"
                                   "greeting = Hi\n"
                                   "[de\n"
                                   "yes=Ja\n");
    IniLocLoader loader;
    const TablesPtr data = loader.LoadAll(path);
    EXPECT_EQ(loader.format, "ini");
    EXPECT_EQ(loader.defaultLang, "de");
    // The codes are not trimmed: the second begins with a blank.
    EXPECT_EQ(loader.langs, (std::vector<std::string>{"en", " de"}));
    ASSERT_TRUE(data->count("en"));
    const Table& en = *(*data)["en"];
    EXPECT_EQ(en.at("greeting"), "Hi");
    EXPECT_EQ(en.at("pair"), "first");
    EXPECT_EQ(en.count("no pair line"), 0u);
    // A section line without its closing bracket loses the last character.
    EXPECT_EQ(data->count("d"), 1u);
    EXPECT_EQ(data->count("info"), 1u);

    Localization loc("en");
    loc.Load(path, "en");
    EXPECT_EQ(loc.format, "ini");
    EXPECT_EQ(loc["greeting"], "Hi");
    Localization escaped("en");
    escaped.Load(Write(dir, "e.ini", "[en]\ntext=a\\nb\n"), "en");
    EXPECT_EQ(escaped["text"], "a\nb");
}

TEST(Localization, FolderFormReadsInfoAndTheLanguageFile) {
    const std::string dir = testsupport::TempDir();
    Write(dir, "info.json", R"({"default": "en", "format": "json", "langs": ["en", "de"]})");
    Write(dir, "de.json", R"({"de": {"yes": "Ja"}})");
    Write(dir, "en.json", R"({"en": {"yes": "Yes"}})");
    Localization loc("en");
    // Without the trailing slash the folder still reaches "de.json".
    loc.Load(dir.substr(0, dir.size() - 1), "de");
    EXPECT_FALSE(loc.singleFile);
    EXPECT_EQ(loc.format, "json");
    EXPECT_EQ(loc["yes"], "Ja");
    EXPECT_FALSE(loc.data);

    const std::string ini = testsupport::TempDir();
    Write(ini, "info.json", R"({"default": "en", "format": "ini", "langs": ["en"]})");
    Localization empty("en");
    // A missing INI language file is an empty table, not an error.
    empty.Load(ini, "en");
    EXPECT_EQ(empty["yes"], "$$yes$$");
}

// Load errors print on standard output and end with exit code -1; the
// child sends its standard output to standard error so the message can be matched.
TEST(LocalizationDeathTest, LoadErrorsEndTheProcessWithTheirMessage) {
    const std::string dir = testsupport::TempDir();
    const std::string noExtension = Write(dir, "translation", "{}");
    const std::string noInfo = testsupport::TempDir();
    const std::string noData = testsupport::TempDir();
    Write(noData, "info.json", R"({"default": "en", "format": "json", "langs": ["en"]})");
    const std::string oddFormat = testsupport::TempDir();
    Write(oddFormat, "info.json", R"({"format": "xml"})");

    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {noExtension, "Unsupported format - '' !"},
        // Where death tests run in a new process (Windows), that process runs
        // the test again and makes temporary folders of other names: the
        // message names the folder's info.json, whichever folder it is.
        // (Windows' death tests know only gtest's simple regular expressions.)
        {noInfo, "Can't load localization config from .*zandrovia-test-.*info\\.json!"},
        {noData, "Can't load localization data for en lang!"},
        {oddFormat, "Unsupported format - 'xml' !"},
    };
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                dup2(2, 1);
                Localization loc("en");
                loc.Load(c.path, "en");
            },
            testing::ExitedWithCode(testsupport::kExitMinusOne), c.message)
            << c.path;
    }
}

TEST(Localization, KeysOrderByUtf16CodeUnitsThenLength) {
    // U+FF21 (fullwidth A) sorts after U+1F600 in UTF-8 bytes but before it in UTF-16.
    const std::vector<std::string> texts = {"", "a", "ab", "b", "B", "\xc3\xa4", "a\xc3\xa4", "\xef\xbc\xa1",
                                            "\xf0\x9f\x98\x80", "x\xef\xbc\xa1", "x\xf0\x9f\x98\x80"};
    const TextLess less;
    for (const std::string& a : texts) {
        for (const std::string& b : texts) {
            EXPECT_EQ(less(a, b), platform::Compare(a, b) < 0) << a << " / " << b;
        }
    }
    EXPECT_TRUE(less("\xf0\x9f\x98\x80", "\xef\xbc\xa1"));
}

TEST(Localization, FormatOfPath) {
    EXPECT_EQ(FormatOf("asset::translation.json"), "json");
    EXPECT_EQ(FormatOf("dir.v2/file"), "");
    EXPECT_EQ(FormatOf("file"), "");
    EXPECT_EQ(FormatOf("a/b.ini"), "ini");
}

TEST(Localization, LocalizeUsesTheModuleInstance) {
    InitLocalizationModule();
    ASSERT_TRUE(LocInstance);
    LocInstance->Load("asset::translation.json", "en");
    EXPECT_EQ(Localize("yes"), "Yes");
    EXPECT_EQ(Localize("nope"), "$$nope$$");
}
