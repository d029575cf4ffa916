// The score service client: the reply parser, the score record, the
// downloader's arguments (through a stand-in downloader that records them)
// and whole runs of the real wget against a local score service started by
// each test: posts arrive byte for byte, the hall of fame arrives in the
// service's order, and every kind of failure ends within its bound with no
// temporary file left behind.
#include "zandrovia/scoreservice.h"

#include <gtest/gtest.h>
#ifndef _WIN32
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"
#include "support/testsupport.h"
#include "zandrovia/constants.h"
#include "zandrovia/creditbox.h"
#include "zandrovia/globals.h"
#include "zandrovia/zandrovia.h"
#ifndef _WIN32
#include "localscoreservice.h"
#endif

namespace {

#ifndef _WIN32
using testsupport::LocalScoreService;
#endif
using testsupport::ScopedEnv;
using Entries = std::optional<std::vector<std::string>>;

// --- Helpers -------------------------------------------------------------------

// The names of the files in a folder that the fetch's temporary file would have.
std::vector<std::string> TemporaryFiles(const std::string& dir) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (platform::StartsWith(name, ".zandrovia.out")) found.push_back(name);
    }
    return found;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines = platform::Split(text, "\n");
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    return lines;
}

#ifdef _WIN32
constexpr const char* kDownloader = "wget.exe";
constexpr const char* kNullDevice = "NUL";
constexpr char kPathSeparator = ';';
// The program's name as the started program sees it: Windows takes a name
// with backslashes.
std::string AsStarted(std::string path) {
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}
#else
constexpr const char* kDownloader = "wget";
constexpr const char* kNullDevice = "/dev/null";
constexpr char kPathSeparator = ':';
std::string AsStarted(std::string path) { return path; }
#endif

// A stand-in for wget in the folder (the test program under wget's name): it
// writes its own path and each argument on a line of FAKE_WGET_LOG and
// copies FAKE_WGET_REPLY into the file that --output-document names.
void WriteFakeWget(const std::string& dir) {
    std::filesystem::copy_file(testsupport::TestProgram(), dir + kDownloader);
}

std::string PathWith(const std::string& dir) {
    return dir + kPathSeparator + testsupport::GetEnv("PATH").value_or("");
}

// The state every run of the client reads, put back afterwards: a home
// folder of its own, the hall-of-fame switch on, short bounds, a credits box.
class ScoreServiceTest : public ::testing::Test {
protected:
    void SetUp() override {
        testsupport::App();
        InitGameModule();
        home = testsupport::TempDir();
        homeVar.emplace("HOME", home);
        profileVar.emplace("USERPROFILE", std::nullopt);
        savedBounds = ScoreServiceBounds;
        ScoreServiceBounds.TimeoutSeconds = 2;
        ScoreServiceBounds.KillAfterMs = 5000;
        savedSwitch = HALL_OF_FAME_ENABLED;
        HALL_OF_FAME_ENABLED = true;
        Credits = std::make_shared<CreditBox>(338, 430);
    }
    void TearDown() override {
        Credits = nullptr;
        HALL_OF_FAME_ENABLED = savedSwitch;
        ScoreServiceBounds = savedBounds;
    }

    // FetchHiscores, returning what it printed.
    std::string Fetch(const std::string& url) {
        testing::internal::CaptureStdout();
        FetchHiscores(url);
        return testing::internal::GetCapturedStdout();
    }

    std::string home;
    std::optional<ScopedEnv> homeVar;
    std::optional<ScopedEnv> profileVar;
    ScoreServiceLimits savedBounds;
    bool savedSwitch = true;
};

#ifndef _WIN32
// A loopback address where nothing listens.
std::string RefusingUrl() {
    const int s = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    ::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &size);
    const int port = ntohs(address.sin_port);
    ::close(s);
    return "http://127.0.0.1:" + std::to_string(port) + "/game/index.php";
}
#endif

const std::vector<std::string> kHostileNames = {
    "ANNA MARIA",          "O'BRIEN \"THE ACE\"", "BACK\\SLASH\\", "$(touch PWNED)", "`touch PWNED`",
    "A & B; touch PWNED",  "PIPE | >OUT <IN",     "%PATH% ^X",     "ZOË ÄÖÜ ß 東京",    "TAB\tNEW\nLINE",
    "--output-document=x", "",
};

}  // namespace

// --- The reply parser --------------------------------------------------------------

TEST(GetHiscoresFromData, TableOfReplies) {
    const struct {
        const char* reply;
        Entries entries;
    } cases[] = {
        {R"({"success":true,"debugmsg":"GET ok","scores":[{"12000":"ALICE"},{"9000":"BOB"}]})",
         std::vector<std::string>{"12000:ALICE", "9000:BOB"}},
        // Plain strings in the list read the same.
        {R"({"success":true,"debugmsg":"GET","scores":["5:X","4:Y"]})", std::vector<std::string>{"5:X", "4:Y"}},
        // An empty list is one empty entry, which has no ":".
        {R"({"success":true,"debugmsg":"GET ok","scores":[]})", std::nullopt},
        // One entry without ":" spoils the whole list.
        {R"({"success":true,"debugmsg":"GET ok","scores":[{"12000":"ALICE"},"junk"]})", std::nullopt},
        // Without "]" the list runs to the end, less the last character.
        {R"({"success":true,"debugmsg":"GET ok","scores":[{"1":"A"},{"2":"BC"})",
         std::vector<std::string>{"1:A", "2:B"}},
        // The patterns must be there exactly.
        {R"({"success":false,"debugmsg":"GET ok","scores":[{"1":"A"}]})", std::nullopt},
        {R"({"success": true,"debugmsg":"GET ok","scores":[{"1":"A"}]})", std::nullopt},
        {R"({"success":true,"debugmsg":"POST ok","scores":[{"1":"A"}]})", std::nullopt},
        {R"({"success":true,"scores":[{"1":"A"}]})", std::nullopt},
        {"", std::nullopt},
        {"<html>this is not the hall of fame</html>", std::nullopt},
        // Empty parts stay entries of their own; the box skips them.
        {R"({"success":true,"debugmsg":"GET ok","scores":["1::A",":B"]})", std::vector<std::string>{"1::A", ":B"}},
        // A "]" before the "[" leaves nothing, one empty entry.
        {R"(] {"success":true,"debugmsg":"GET ok","scores":[{"1":"A"}]})", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(GetHiscoresFromData(c.reply), c.entries) << c.reply;
}

// --- The record -------------------------------------------------------------------

TEST(ScoreRecord, HasTheFourMembersInOrderWithoutBlanks) {
    EXPECT_EQ(ScoreRecord(1234, "ANNA", "", 3, "125", "de_DE.UTF-8"),
              R"({"score":1234,"name":"ANNA","email":"","psc":"lvl3v125lde_DE.UTF-8"})");
    EXPECT_EQ(ScoreRecord(7, "A B", "A@B.C", 20, "125", "English_United States.1252"),
              R"({"score":7,"name":"A B","email":"A@B.C","psc":"lvl20v125lEnglish_United States.1252"})");
}

TEST(ScoreRecord, AnyNameGivesValidJsonThatReadsBackTheSame) {
    for (const std::string& name : kHostileNames) {
        const std::string record = ScoreRecord(5001, name, name + "@X", 4, "125", "de_DE.UTF-8");
        const auto json = nlohmann::json::parse(record, nullptr, false);
        ASSERT_FALSE(json.is_discarded()) << record;
        EXPECT_EQ(json["score"], 5001);
        EXPECT_EQ(json["name"], name);
        EXPECT_EQ(json["email"], name + "@X");
        EXPECT_EQ(json["psc"], "lvl4v125lde_DE.UTF-8");
    }
    // Bytes that are not UTF-8 (a hand-edited preferences file) still give valid JSON.
    const std::string record = ScoreRecord(1, std::string("BAD\xff\xfe"), "", 1, "125", "C");
    const auto json = nlohmann::json::parse(record, nullptr, false);
    ASSERT_FALSE(json.is_discarded()) << record;
    EXPECT_EQ(json["name"], "BAD\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(ScoreServiceUrl, EnvironmentVariableReplacesTheAddress) {
    {
        ScopedEnv url(ScoreServiceUrlVariable, "http://127.0.0.1:9/game/index.php");
        EXPECT_EQ(ScoreServiceUrlFromEnvironment("https://x/game/index.php"), "http://127.0.0.1:9/game/index.php");
    }
    {
        ScopedEnv url(ScoreServiceUrlVariable, "");
        EXPECT_EQ(ScoreServiceUrlFromEnvironment("https://x/game/index.php"), "https://x/game/index.php");
    }
    ScopedEnv url(ScoreServiceUrlVariable, std::nullopt);
    EXPECT_EQ(ScoreServiceUrlFromEnvironment("https://x/game/index.php"), "https://x/game/index.php");
}

// --- The downloader's arguments, through a stand-in ----------------------------------

TEST_F(ScoreServiceTest, PostAndFetchPassTheirArgumentsUnchangedToTheAssetsDownloader) {
    // An assets folder whose path holds a blank, with a downloader in it.
    const std::string assets = testsupport::TempDir() + "assets with blank/";
    std::filesystem::create_directories(assets);
    WriteFakeWget(assets);
    const std::string savedAssets = platform::AssetsDir();
    platform::SetAssetsDir(assets);
    const std::string log = home + "wget.log";
    const std::string reply = home + "reply.json";
    platform::SaveString(R"({"success":true,"debugmsg":"GET ok","scores":[{"3":"C"}]})", reply);
    ScopedEnv logVar("FAKE_WGET_LOG", log);
    ScopedEnv replyVar("FAKE_WGET_REPLY", reply);

    EXPECT_EQ(WgetPath(), assets + kDownloader);
    const std::string url = "https://scores.example/game/index.php";
    for (const std::string& name : kHostileNames) {
        const std::string record = ScoreRecord(6000, name, "E@X", 2, "125", "de_DE.UTF-8");
        testing::internal::CaptureStdout();
        PostScore(url, record);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        const std::vector<std::string> expected = {AsStarted(assets + kDownloader),
                                                   "--quiet",
                                                   "--timeout=2",
                                                   "--tries=1",
                                                   "--post-data=" + record,
                                                   "--header=Content-Type: application/json",
                                                   std::string("--output-document=") + kNullDevice,
                                                   "--",
                                                   url};
        EXPECT_EQ(platform::Join(Lines(platform::LoadString(log)), "\n"), platform::Join(expected, "\n")) << name;
    }
    // Nothing in any name was run as a command.
    EXPECT_FALSE(std::filesystem::exists(home + "PWNED"));
    EXPECT_FALSE(std::filesystem::exists("PWNED"));

    EXPECT_EQ(Fetch(url), "highscore loaded into credits\n");
    const std::vector<std::string> args = Lines(platform::LoadString(log));
    ASSERT_EQ(args.size(), 7u);
    EXPECT_EQ(std::vector<std::string>(args.begin(), args.begin() + 4),
              (std::vector<std::string>{AsStarted(assets + kDownloader), "--quiet", "--timeout=2", "--tries=1"}));
    EXPECT_TRUE(platform::StartsWith(args[4], "--output-document=" + home + ".zandrovia.out.")) << args[4];
    EXPECT_TRUE(platform::EndsWith(args[4], ".tmp")) << args[4];
    EXPECT_EQ(args[5], "--");
    EXPECT_EQ(args[6], url);
    EXPECT_EQ(Credits->HiscoreData, platform::LoadString(reply));
    EXPECT_TRUE(TemporaryFiles(home).empty());

    platform::SetAssetsDir(savedAssets);
    EXPECT_EQ(WgetPath(), kDownloader);
}

TEST_F(ScoreServiceTest, FetchWithoutCreditBoxOrWithTheSwitchOff) {
    const std::string bin = testsupport::TempDir();
    WriteFakeWget(bin);
    const std::string log = home + "wget.log";
    const std::string reply = home + "reply.json";
    platform::SaveString(R"({"success":true,"debugmsg":"GET ok","scores":[{"3":"C"}]})", reply);
    ScopedEnv path("PATH", PathWith(bin));
    ScopedEnv logVar("FAKE_WGET_LOG", log);
    ScopedEnv replyVar("FAKE_WGET_REPLY", reply);

    // Without a box the download still runs and its file is still deleted.
    Credits = nullptr;
    EXPECT_EQ(Fetch("http://x/game/index.php"), "Did NOT load highscore, creditbox not loaded\n");
    EXPECT_TRUE(std::filesystem::exists(log));
    EXPECT_TRUE(TemporaryFiles(home).empty());

    // With the switch off nothing runs and the box gets no hall of fame.
    std::filesystem::remove(log);
    Credits = std::make_shared<CreditBox>(338, 430);
    Credits->HiscoreData = "stale";
    HALL_OF_FAME_ENABLED = false;
    EXPECT_EQ(Fetch("http://x/game/index.php"), "Did NOT load highscore, the hall of fame is switched off\n");
    EXPECT_FALSE(std::filesystem::exists(log));
    EXPECT_EQ(Credits->HiscoreData, "");
}

// --- The real downloader against a local service -------------------------------------
// (Linux: the service is a Python program, and the downloader the system's wget.)
#ifndef _WIN32

TEST_F(ScoreServiceTest, PostsArriveByteForByteAndTheHallOfFameInTheServicesOrder) {
    LocalScoreService service("normal", R"([[7000,"SEEDED"]])");
    std::vector<std::string> sent;
    int score = 9000;
    for (const std::string& name : kHostileNames) {
        if (name.empty()) continue;
        sent.push_back(ScoreRecord(score, name, "MAIL@X.Y", 5, "125", "de_DE.UTF-8"));
        testing::internal::CaptureStdout();
        PostScore(service.Url(), sent.back());
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
        score -= 100;
    }
    const std::vector<std::string> posts = service.Posts();
    ASSERT_EQ(posts.size(), sent.size());
    for (std::size_t i = 0; i < sent.size(); ++i) EXPECT_EQ(posts[i], sent[i]);
    EXPECT_FALSE(std::filesystem::exists(home + "PWNED"));
    EXPECT_FALSE(std::filesystem::exists("PWNED"));

    EXPECT_EQ(Fetch(service.Url()), "highscore loaded into credits\n");
    EXPECT_TRUE(TemporaryFiles(home).empty());
    const Entries entries = GetHiscoresFromData(Credits->HiscoreData);
    ASSERT_TRUE(entries) << Credits->HiscoreData;
    // Best first, at most ten: nine of the posts (8800 ... 8200 below 9000), then the seed is cut.
    ASSERT_EQ(entries->size(), 10u);
    EXPECT_EQ((*entries)[0], "9000:ANNA MARIA");
    EXPECT_EQ((*entries)[1], "8900:O'BRIEN \\THE ACE\\");
    EXPECT_EQ((*entries)[8], "8200:ZOË ÄÖÜ ß 東京");
}

TEST_F(ScoreServiceTest, EveryFailureEndsWithinItsBoundAndLeavesNoFile) {
    const struct {
        const char* what;
        const char* mode;  // null: nothing listens
        int timeoutSeconds;
        int killAfterMs;
        const char* printed;
        bool keepsText;
    } cases[] = {
        {"refused", nullptr, 2, 5000, "Did NOT load highscore, no reply from the score service\n", false},
        {"error status", "error", 2, 5000, "Did NOT load highscore, no reply from the score service\n", false},
        {"stalled past the time-out", "stall", 1, 5000, "Did NOT load highscore, no reply from the score service\n",
         false},
        {"stalled past the hard limit", "stall", 30, 700,
         "Did NOT load highscore, the score service did not answer in time\n", false},
        {"10 MB reply", "huge", 2, 5000, "Did NOT load highscore, the reply was too long\n", false},
        {"not JSON", "garbage", 2, 5000, "Did NOT load highscore, the reply is not a hall of fame\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::optional<LocalScoreService> service;
        if (c.mode) service.emplace(c.mode);
        ScoreServiceBounds.TimeoutSeconds = c.timeoutSeconds;
        ScoreServiceBounds.KillAfterMs = c.killAfterMs;
        Credits->HiscoreData = "stale";
        const auto start = std::chrono::steady_clock::now();
        const std::string printed = Fetch(service ? service->Url() : RefusingUrl());
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(printed, c.printed);
        // Generous: the bound is what matters, not the speed.
        EXPECT_LT(elapsed, std::chrono::milliseconds(c.killAfterMs) + std::chrono::seconds(3));
        EXPECT_EQ(Credits->HiscoreData.empty(), !c.keepsText);
        EXPECT_FALSE(GetHiscoresFromData(Credits->HiscoreData));
        EXPECT_TRUE(TemporaryFiles(home).empty());

        // A post to the same service fails the same way, within the same bound.
        const auto postStart = std::chrono::steady_clock::now();
        testing::internal::CaptureStdout();
        PostScore(service ? service->Url() : RefusingUrl(), ScoreRecord(6000, "A", "", 1, "125", "C"));
        testing::internal::GetCapturedStdout();
        EXPECT_LT(std::chrono::steady_clock::now() - postStart,
                  std::chrono::milliseconds(c.killAfterMs) + std::chrono::seconds(3));
    }
}

#endif

#ifdef _WIN32
// A copy of the game may come without wget.exe: that is said once, in one
// line, and every later post and fetch goes on quietly without a hall of fame.
TEST_F(ScoreServiceTest, MissingDownloaderIsReportedOnce) {
    ScopedEnv path("PATH", testsupport::TempDir());
    const std::string once = "No hall of fame: the downloader wget.exe could not be started\n";
    std::string printed;
    for (int round = 0; round < 3; ++round) {
        Credits->HiscoreData = "stale";
        printed += Fetch("http://127.0.0.1:9/game/index.php");
        EXPECT_EQ(Credits->HiscoreData, "");
        EXPECT_TRUE(TemporaryFiles(home).empty());
        testing::internal::CaptureStdout();
        PostScore("http://127.0.0.1:9/game/index.php", "{}");
        printed += testing::internal::GetCapturedStdout();
    }
    EXPECT_EQ(printed, once);
}
#else
TEST_F(ScoreServiceTest, MissingDownloaderIsAFailureNotACrash) {
    ScopedEnv path("PATH", testsupport::TempDir());
    Credits->HiscoreData = "stale";
    EXPECT_EQ(Fetch("http://127.0.0.1:9/game/index.php"),
              "Did NOT load highscore, the downloader could not be started\n");
    EXPECT_EQ(Credits->HiscoreData, "");
    EXPECT_TRUE(TemporaryFiles(home).empty());
    testing::internal::CaptureStdout();
    PostScore("http://127.0.0.1:9/game/index.php", "{}");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Did NOT post score, the downloader could not be started\n");
}
#endif
