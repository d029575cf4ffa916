#include <gtest/gtest.h>

#include <string>

#include "platform/json.h"

using namespace platform;

namespace {

TEST(Json, ParsesValidTextAndReportsMalformedText) {
    const auto json = ParseJson(R"({"default":"en","langs":["de","en"],"de":{"hi":"Gr\u00fc\u00dfe"}})");
    ASSERT_TRUE(json.has_value());
    EXPECT_EQ((*json)["default"], "en");
    EXPECT_EQ((*json)["langs"].size(), 2u);
    EXPECT_EQ((*json)["de"]["hi"].get<std::string>(), "Gr\xC3\xBC\xC3\x9F" "e");

    for (const char* bad : {"", "{", "{\"a\":}", "[1,2,,]", "{} trailing"}) {
        std::string error;
        EXPECT_FALSE(ParseJson(bad, &error).has_value()) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
    EXPECT_FALSE(ParseJson("nul").has_value());
}

}  // namespace
