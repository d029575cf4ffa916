// Zandrovia: the client of the hall-of-fame web service.
#include "zandrovia/scoreservice.h"

#ifdef _WIN32
#include "platform/winapi.h"
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <thread>

#include "platform/files.h"
#include "platform/text.h"
#include "zandrovia/constants.h"
#include "zandrovia/creditbox.h"
#include "zandrovia/globals.h"

#ifndef _WIN32
extern char** environ;
#endif

ScoreServiceLimits ScoreServiceBounds;

namespace {

void PrintLine(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

// How one run of the downloader ended.
struct RunOutcome {
    bool Started = false;
    // Killed because it ran past the hard limit.
    bool TimedOut = false;
    // Killed because the watched file grew past the reply limit.
    bool TooLong = false;
    // The exit code when it ended by itself, else -1.
    int ExitCode = -1;
};

#ifdef _WIN32
// The downloader's name on Windows.
constexpr const char* kDownloader = "wget.exe";
// The device that swallows what is written to it.
constexpr const char* kNullDevice = "NUL";

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA info{};
    if (!::GetFileAttributesExW(platform::win::Wide(path).c_str(), GetFileExInfoStandard, &info)) return 0;
    return (static_cast<long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
}

// Runs argv (argv[0] searched for as the system does unless it names a
// folder) with no command interpreter, its input from the null device, and
// waits at most ScoreServiceBounds.KillAfterMs. With watchPath set, the child
// is also ended as soon as that file grows past the reply limit.
RunOutcome RunBounded(const std::vector<std::string>& argv, const std::string& watchPath) {
    RunOutcome outcome;
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const HANDLE input =
        ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    const HANDLE process = platform::win::StartProcess(
        argv.front(), std::vector<std::string>(argv.begin() + 1, argv.end()),
        input == INVALID_HANDLE_VALUE ? nullptr : input, nullptr);
    if (input != INVALID_HANDLE_VALUE) ::CloseHandle(input);
    if (process == nullptr) return outcome;
    outcome.Started = true;

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(ScoreServiceBounds.KillAfterMs);
    const auto limit = static_cast<long long>(ScoreServiceBounds.ReplyLimit);
    for (;;) {
        if (const std::optional<int> code = platform::win::WaitProcess(process, 5)) {
            outcome.ExitCode = *code;
            break;
        }
        if (!watchPath.empty() && FileSize(watchPath) > limit) {
            platform::win::KillProcess(process);
            outcome.TooLong = true;
            break;
        }
        if (Clock::now() >= deadline) {
            platform::win::KillProcess(process);
            outcome.TimedOut = true;
            break;
        }
    }
    ::CloseHandle(process);
    return outcome;
}

// An empty file of a new name in the home folder (never an existing file),
// deleted with the object.
class TemporaryFile {
public:
    TemporaryFile() {
        static std::mt19937_64 random{std::random_device{}() ^
                                      static_cast<std::uint64_t>(Clock::now().time_since_epoch().count())};
        const char* letters = "abcdefghijklmnopqrstuvwxyz0123456789";
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string name = platform::HomeDir() + ".zandrovia.out.";
            for (int i = 0; i < 6; ++i) name += letters[random() % 36];
            name += ".tmp";
            const HANDLE file = ::CreateFileW(platform::win::Wide(name).c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                ::CloseHandle(file);
                path_ = name;
                return;
            }
            if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS) return;
        }
    }
    ~TemporaryFile() {
        if (!path_.empty()) ::DeleteFileW(platform::win::Wide(path_).c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& Path() const { return path_; }

private:
    using Clock = std::chrono::steady_clock;
    std::string path_;
};

std::filesystem::path DiskPath(const std::string& path) { return std::filesystem::path(platform::win::Wide(path)); }

// Said once per run of the game: the downloader is not shipped with every copy.
void ReportMissingDownloader() {
    static bool reported = false;
    if (reported) return;
    reported = true;
    PrintLine(std::string("No hall of fame: the downloader ") + kDownloader + " could not be started");
}
#else
constexpr const char* kDownloader = "wget";
constexpr const char* kNullDevice = "/dev/null";

long long FileSize(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : 0;
}

void KillAndReap(pid_t pid) {
    ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
}

// Runs argv (argv[0] looked up on PATH unless it holds a "/") with no shell,
// its input from /dev/null, and waits at most ScoreServiceBounds.KillAfterMs.
// With watchPath set, the child is also killed as soon as that file grows
// past the reply limit.
RunOutcome RunBounded(const std::vector<std::string>& argv, const std::string& watchPath) {
    RunOutcome outcome;
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    if (posix_spawn_file_actions_init(&actions) != 0) return outcome;
    if (posix_spawnattr_init(&attributes) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return outcome;
    }
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    // The child starts with default signal handling and nothing blocked,
    // whatever the game's threads have set up.
    sigset_t all;
    sigset_t none;
    sigfillset(&all);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);

    pid_t pid = -1;
    const int result = posix_spawnp(&pid, args[0], &actions, &attributes, args.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0) return outcome;
    outcome.Started = true;

    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(ScoreServiceBounds.KillAfterMs);
    const auto limit = static_cast<long long>(ScoreServiceBounds.ReplyLimit);
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            if (WIFEXITED(status)) outcome.ExitCode = WEXITSTATUS(status);
            return outcome;
        }
        if (done < 0 && errno != EINTR) return outcome;
        if (!watchPath.empty() && FileSize(watchPath) > limit) {
            KillAndReap(pid);
            outcome.TooLong = true;
            return outcome;
        }
        if (Clock::now() >= deadline) {
            KillAndReap(pid);
            outcome.TimedOut = true;
            return outcome;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

// An empty file of a new name in the home folder, made by mkstemps (so it
// never opens an existing file or follows a link), deleted with the object.
class TemporaryFile {
public:
    TemporaryFile() {
        std::string pattern = platform::HomeDir() + ".zandrovia.out.XXXXXX.tmp";
        const int fd = ::mkstemps(pattern.data(), 4);
        if (fd < 0) return;
        ::close(fd);
        path_ = pattern;
    }
    ~TemporaryFile() {
        if (!path_.empty()) ::unlink(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

std::filesystem::path DiskPath(const std::string& path) { return std::filesystem::path(path); }
#endif

// The file's text when it holds at most limit bytes; nullopt when it is longer.
std::optional<std::string> ReadAtMost(const std::string& path, std::size_t limit) {
    std::ifstream in(DiskPath(path), std::ios::binary);
    if (!in) return std::string();
    std::string text(limit + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    const auto count = static_cast<std::size_t>(in.gcount());
    if (count > limit) return std::nullopt;
    text.resize(count);
    return text;
}

std::vector<std::string> WithProgram(std::vector<std::string> args) {
    args.insert(args.begin(), WgetPath());
    return args;
}

// The options both requests share: quiet, bounded, one try.
std::vector<std::string> CommonOptions() {
    return {"--quiet", "--timeout=" + std::to_string(ScoreServiceBounds.TimeoutSeconds), "--tries=1"};
}

}  // namespace

std::string ScoreServiceUrlFromEnvironment(const std::string& fallback) {
    const char* value = std::getenv(ScoreServiceUrlVariable);
    return value != nullptr && *value != '\0' ? std::string(value) : fallback;
}

std::string WgetPath() {
    const std::string bundled = platform::AssetsDir() + kDownloader;
#ifdef _WIN32
    const DWORD attributes = ::GetFileAttributesW(platform::win::Wide(bundled).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return bundled;
#else
    struct stat info {};
    if (::stat(bundled.c_str(), &info) == 0 && S_ISREG(info.st_mode) && ::access(bundled.c_str(), X_OK) == 0) {
        return bundled;
    }
#endif
    return kDownloader;
}

std::string ScoreRecord(int score, const std::string& name, const std::string& email, int level,
                        const std::string& version, const std::string& locale) {
    nlohmann::ordered_json record;
    record["score"] = score;
    record["name"] = name;
    record["email"] = email;
    record["psc"] = "lvl" + std::to_string(level) + "v" + version + "l" + locale;
    return record.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

std::vector<std::string> PostArguments(const std::string& url, const std::string& json) {
    std::vector<std::string> args = CommonOptions();
    args.push_back("--post-data=" + json);
    args.push_back("--header=Content-Type: application/json");
    args.push_back(std::string("--output-document=") + kNullDevice);
    // Whatever the address looks like, it is never read as an option.
    args.push_back("--");
    args.push_back(url);
    return args;
}

std::vector<std::string> FetchArguments(const std::string& url, const std::string& outputPath) {
    std::vector<std::string> args = CommonOptions();
    args.push_back("--output-document=" + outputPath);
    args.push_back("--");
    args.push_back(url);
    return args;
}

void PostScore(const std::string& url, const std::string& json) {
    const RunOutcome run = RunBounded(WithProgram(PostArguments(url, json)), "");
#ifdef _WIN32
    if (!run.Started) ReportMissingDownloader();
#else
    if (!run.Started) PrintLine("Did NOT post score, the downloader could not be started");
#endif
    else if (run.TimedOut) PrintLine("Did NOT post score, the score service did not answer in time");
    else if (run.ExitCode != 0) PrintLine("Did NOT post score, the downloader failed");
}

void FetchHiscores(const std::string& url) {
    std::string reply;
    std::string failure;
    if (!HALL_OF_FAME_ENABLED) {
        failure = "the hall of fame is switched off";
    } else {
        const TemporaryFile file;
        if (file.Path().empty()) {
            failure = "no temporary file in the home folder";
        } else {
            const RunOutcome run = RunBounded(WithProgram(FetchArguments(url, file.Path())), file.Path());
            if (!run.Started) {
#ifdef _WIN32
                ReportMissingDownloader();
                if (Credits) Credits->HiscoreData.clear();
                return;
#else
                failure = "the downloader could not be started";
#endif
            } else if (run.TimedOut) {
                failure = "the score service did not answer in time";
            } else if (run.TooLong) {
                failure = "the reply was too long";
            } else if (std::optional<std::string> text = ReadAtMost(file.Path(), ScoreServiceBounds.ReplyLimit)) {
                reply = std::move(*text);
                if (reply.empty()) failure = "no reply from the score service";
                // The box still gets the text: it shows the title alone for it.
                else if (!GetHiscoresFromData(reply)) failure = "the reply is not a hall of fame";
            } else {
                failure = "the reply was too long";
            }
        }
    }
    if (!Credits) {
        PrintLine("Did NOT load highscore, creditbox not loaded");
        return;
    }
    Credits->HiscoreData = reply;
    PrintLine(failure.empty() ? "highscore loaded into credits" : "Did NOT load highscore, " + failure);
}

std::optional<std::vector<std::string>> GetHiscoresFromData(std::string data) {
    if (!platform::Contains(data, "success\":true")) return std::nullopt;
    if (!platform::Contains(data, "debugmsg\":\"GET")) return std::nullopt;
    data = platform::Replace(data, "{", "");
    data = platform::Replace(data, "}", "");
    data = platform::Replace(data, "\":\"", ":");
    data = platform::Replace(data, "\"", "");

    const std::size_t open = data.find('[');
    const std::size_t start = open == std::string::npos ? 0 : open + 1;
    const std::size_t close = data.find(']');
    // A missing "]" counts from the end: the list stops before the last character.
    const long long end =
        close == std::string::npos ? static_cast<long long>(data.size()) - 1 : static_cast<long long>(close);
    const std::string list =
        end > static_cast<long long>(start) ? data.substr(start, static_cast<std::size_t>(end) - start) : "";

    std::vector<std::string> entries = platform::Split(list, ",");
    for (const std::string& entry : entries) {
        if (entry.find(':') == std::string::npos) return std::nullopt;
    }
    return entries;
}
