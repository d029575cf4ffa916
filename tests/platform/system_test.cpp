#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

#include <chrono>
#include <clocale>
#include <filesystem>
#include <cstdlib>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/system.h"
#include "platform/text.h"
#include "support/testsupport.h"

using namespace platform;

namespace {

using testsupport::ScopedEnv;

#ifdef _WIN32
constexpr const char* kExe = ".exe";
constexpr char kPathSeparator = ';';
#else
constexpr const char* kExe = "";
constexpr char kPathSeparator = ':';
#endif

// A copy of the test program under another name (which decides what it does).
std::string CopyTestProgram(const std::string& dir, const std::string& name) {
    const std::string copy = dir + name + kExe;
    std::filesystem::copy_file(testsupport::TestProgram(), copy);
    return copy;
}

#ifndef _WIN32
// The processes whose parent is this one (zombies included).
int ChildCount() {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string stat = LoadString(entry.path().string() + "/stat");
        const std::size_t close = stat.rfind(')');
        if (close == std::string::npos) continue;
        // After the name: " state ppid ...".
        const std::vector<std::string> fields = Split(stat.substr(close + 2), " ");
        if (fields.size() > 1 && ToInt(fields[1]) == getpid()) ++count;
    }
    return count;
}
#endif

// How a Windows program's C runtime splits its command line into arguments
// (after the program name): blanks and tabs outside quotes separate; 2n
// backslashes and a quote give n backslashes and open or close quotes, 2n + 1
// backslashes and a quote give n backslashes and a literal quote; other
// backslashes are literal.
std::vector<std::string> SplitLikeTheCRuntime(std::string_view line) {
    std::vector<std::string> args;
    std::size_t i = 0;
    for (;;) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i == line.size()) return args;
        std::string arg;
        bool quoted = false;
        for (; i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t')); ++i) {
            std::size_t backslashes = 0;
            while (i < line.size() && line[i] == '\\') ++backslashes, ++i;
            if (i < line.size() && line[i] == '"') {
                arg.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) arg += '"';
                else quoted = !quoted;
            } else {
                arg.append(backslashes, '\\');
                if (i == line.size()) break;
                if (!quoted && (line[i] == ' ' || line[i] == '\t')) break;
                arg += line[i];
            }
        }
        args.push_back(arg);
    }
}

}  // namespace

// Windows programs get one command line: each argument must come out of the
// program's C runtime as it went in.
TEST(CommandLine, QuotesArgumentsForTheCRuntime) {
    const struct {
        const char* arg;
        const char* quoted;
    } cases[] = {
        {"plain", "plain"},
        {"", "\"\""},
        {"with blank", "\"with blank\""},
        {"tab\there", "\"tab\there\""},
        {"line\nbreak", "\"line\nbreak\""},
        {"say \"hi\"", "\"say \\\"hi\\\"\""},
        {"\"", "\"\\\"\""},
        {"back\\slash", "back\\slash"},                         // no quote follows: literal
        {"C:\\Program Files\\", "\"C:\\Program Files\\\\\""},  // doubled before the closing quote
        {"a\\\"b", "\"a\\\\\\\"b\""},                           // backslash then quote: 2n + 1
        {"a\\\\\"b c", "\"a\\\\\\\\\\\"b c\""},
        {"tail\\\\", "tail\\\\"},                             // nothing to protect without quotes
        {"--post-data={\"name\":\"A B\"}", "\"--post-data={\\\"name\\\":\\\"A B\\\"}\""},
        {"%PATH% ^ & | < >", "\"%PATH% ^ & | < >\""},
        {"\xC3\xA4\xE2\x82\xAC", "\xC3\xA4\xE2\x82\xAC"},
    };
    std::vector<std::string> all;
    for (const auto& c : cases) {
        EXPECT_EQ(QuoteArgument(c.arg), c.quoted) << c.arg;
        EXPECT_EQ(SplitLikeTheCRuntime(QuoteArgument(c.arg)), std::vector<std::string>{c.arg}) << c.arg;
        all.push_back(c.arg);
    }
    // A whole line: the program name (quoted for its blank, never escaped), then every argument.
    const std::string line = CommandLine("C:\\Program Files\\wget.exe", all);
    ASSERT_TRUE(StartsWith(line, "\"C:\\Program Files\\wget.exe\" ")) << line;
    EXPECT_EQ(SplitLikeTheCRuntime(line.substr(line.find("\" ") + 2)), all);
    EXPECT_EQ(CommandLine("wget.exe", {}), "wget.exe");
}

// Every argument must reach the child exactly as given: the test program
// echoes each one followed by a NUL byte, so the output splits back into the
// arguments.
TEST(RunProgram, ArgumentsArriveByteForByte) {
    const std::string dir = testsupport::TempDir();
    const std::string output = dir + "out.bin";
    const std::vector<std::string> args = {
        "with space",   "\"double\" 'single'", "$(touch " + dir + "pwned)", "`touch " + dir + "pwned`",
        "a & b",        "a | b",               "a; b",                      "line1\nline2",
        "",             "*",                   "~",                         "back\\slash",
        "$HOME",        "-n",                  "\xC3\xA4\xE2\x82\xAC",      "> " + dir + "redirected",
        "%PATH%",       "a ^& b",              "trail\\",                   "\\\"quoted\\\"",
        "\t",           "C:\\Program Files\\",
    };
    std::vector<std::string> command = {"args"};
    command.insert(command.end(), args.begin(), args.end());
    ASSERT_EQ(RunProgram(testsupport::TestProgram(), command, output), 0);

    std::vector<std::string> received = Split(LoadString(output), std::string_view("\0", 1));
    ASSERT_FALSE(received.empty());
    EXPECT_EQ(received.back(), "");  // after the last NUL
    received.pop_back();
    EXPECT_EQ(received, args);
    EXPECT_EQ(GetFileType(dir + "pwned"), FileType::None);
    EXPECT_EQ(GetFileType(dir + "redirected"), FileType::None);
}

TEST(RunProgram, ExitCodesComeBack) {
    const std::string dir = testsupport::TempDir();
    const std::string program = testsupport::TestProgram();
    EXPECT_EQ(RunProgram(program, {"exit", "0"}), 0);
    EXPECT_EQ(RunProgram(program, {"exit", "1"}), 1);
    EXPECT_EQ(RunProgram(program, {"exit", "42"}), 42);
    {
        const std::string bin = testsupport::TempDir();
        CopyTestProgram(bin, "tool");
        ScopedEnv path("PATH", bin.substr(0, bin.size() - 1) + kPathSeparator + testsupport::GetEnv("PATH").value_or(""));
        EXPECT_EQ(RunProgram("tool", {}), 7) << "programs without a folder are looked up on PATH";
    }
    // Cannot start: -1, never a code that looks like the program's own.
    EXPECT_EQ(RunProgram("/nonexistent/program", {}), -1);
    EXPECT_EQ(RunProgram("zandrovia-no-such-program", {}), -1);
    EXPECT_EQ(RunProgram("", {}), -1);
    EXPECT_EQ(RunProgram(dir, {}), -1) << "a folder is not a program";
    EXPECT_EQ(RunProgram(program, {"exit", "0"}, dir + "no/such/folder/out.txt"), -1);
}

TEST(RunProgram, ProgramsResolveThroughAssetPaths) {
    const std::string dir = testsupport::TempDir();
    CopyTestProgram(dir, "tool");
    SetAssetsDir(dir);
    EXPECT_EQ(RunProgram("asset::tool", {}), 7);
    SetAssetsDir("");
}

#ifdef _WIN32
// Without LC_ALL, LC_MESSAGES and LANG the locale comes from the system: the
// C runtime's name for it, else the user's locale name; never "C".
TEST(LocaleName, WithoutVariablesTheUsersLocale) {
    ScopedEnv all("LC_ALL", std::nullopt);
    ScopedEnv messages("LC_MESSAGES", std::nullopt);
    ScopedEnv lang("LANG", std::nullopt);
    const std::string name = LocaleName();
    EXPECT_FALSE(name.empty());
    EXPECT_NE(name, "C");
    {
        ScopedEnv set("LANG", "de_DE.UTF-8");
        EXPECT_EQ(LocaleName(), "de_DE.UTF-8") << "the variables come first";
    }
    std::setlocale(LC_ALL, "C");
}

// The shell runs programs and opens files by their path as readily as it
// opens web pages: only texts with a scheme reach it.
TEST(OpenUrl, RefusesWhatIsNoUrl) {
    for (const char* text : {"", "--help", "C:\\Windows\\notepad.exe", "C:/x.exe", "notepad", "\\\\server\\share",
                             "1http://x", ":x"}) {
        EXPECT_FALSE(OpenUrl(text)) << text;
    }
}
#else
TEST(OpenUrl, HandsTheUrlToTheOpenerWithoutWaiting) {
    const std::string dir = testsupport::TempDir();
    const std::string opener = dir + "xdg-open";
    // A stand-in opener that records its one argument and then lingers, as a
    // browser would; OpenUrl must come back before it ends.
    ASSERT_TRUE(SaveString("#!/bin/sh\nprintf '%s' \"$1\" > \"" + dir + "url.tmp\"\nmv \"" + dir + "url.tmp\" \"" +
                               dir + "url\"\nsleep 1\n",
                           opener));
    ASSERT_EQ(chmod(opener.c_str(), 0755), 0);
    ScopedEnv path("PATH", dir.substr(0, dir.size() - 1) + ":/usr/bin:/bin");

    const std::string url = "https://example.invalid/a?b=1&c=$(id);d";
    const auto threads = [] {
        int count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) ++count;
        return count;
    };
    const int threadsBefore = threads();
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(OpenUrl(url));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << "OpenUrl waited for the opener";
    // The opener, still running, is no child of ours to wait for, and no
    // thread was started to wait for it.
    EXPECT_EQ(ChildCount(), 0);
    EXPECT_EQ(threads(), threadsBefore);
    // Wait for the opener's output (a file, not a time, decides the outcome).
    for (int i = 0; i < 1000 && GetFileType(dir + "url") != FileType::File; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(LoadString(dir + "url"), url);
    // Once the opener has ended it is reaped, not left behind as a zombie.
    for (int i = 0; i < 1000 && ChildCount() > 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(ChildCount(), 0);

    EXPECT_FALSE(OpenUrl("")) << "nothing to open";
    EXPECT_FALSE(OpenUrl("--help")) << "an option in disguise";
}

TEST(OpenUrl, FailsWhenThereIsNoOpener) {
    const std::string dir = testsupport::TempDir();
    ScopedEnv path("PATH", dir);
    EXPECT_FALSE(OpenUrl("https://example.invalid/"));
}

TEST(LocaleName, FallsBackOnTheEnvironmentAndKeepsNumbersInC) {
    ScopedEnv all("LC_ALL", std::nullopt);
    ScopedEnv messages("LC_MESSAGES", std::nullopt);
    {
        // A locale that is not installed: the C library gives "C" or nothing,
        // and the name comes from the environment.
        ScopedEnv lang("LANG", "xx_YY.UTF-8");
        EXPECT_EQ(LocaleName(), "xx_YY.UTF-8");
    }
    {
        ScopedEnv lang("LANG", "de_DE.UTF-8");
        EXPECT_NE(LocaleName().find("de_DE"), std::string::npos);
        EXPECT_STREQ(std::localeconv()->decimal_point, ".");
    }
    {
        ScopedEnv lang("LANG", std::nullopt);
        EXPECT_EQ(LocaleName(), "C");
    }
    std::setlocale(LC_ALL, "C");
}

TEST(RuntimeErrorDeathTest, PrintsOnStandardOutputAndExitsWithMinusOne) {
    // Standard output is sent to standard error so the death test can see it.
    EXPECT_EXIT(
        {
            dup2(STDERR_FILENO, STDOUT_FILENO);
            RuntimeError("No OpenGL context");
        },
        testing::ExitedWithCode(testsupport::kExitMinusOne), "No OpenGL context");
}
#endif
