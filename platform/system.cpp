// Operating-system services: external programs, the browser and the locale.
// Programs are started with an argument vector (posix_spawn, or fork and
// execve for the browser's opener), never through a shell, so no character
// of an argument is ever interpreted. On Windows, where a program receives
// one command line, the line is quoted so that the program's C runtime splits
// it back into exactly those arguments, and no command interpreter runs it.
#include "platform/system.h"

#ifdef _WIN32
#include "platform/winapi.h"
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/files.h"

#ifndef _WIN32
extern char** environ;
#endif

namespace platform {

std::string QuoteArgument(std::string_view arg) {
    if (!arg.empty() && arg.find_first_of(" \t\n\v\"") == std::string_view::npos) return std::string(arg);
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are literal unless a quote follows them: then each one
        // is doubled, and the quote itself escaped.
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    // The closing quote follows the last backslashes: they are doubled too.
    quoted.append(backslashes * 2, '\\');
    quoted += '"';
    return quoted;
}

std::string CommandLine(std::string_view program, const std::vector<std::string>& args) {
    // The program name is read up to the next quote when it starts with one,
    // with no escapes: a file name holds no quotes, so plain quotes do.
    std::string line = program.find_first_of(" \t") == std::string_view::npos ? std::string(program)
                                                                               : "\"" + std::string(program) + "\"";
    for (const std::string& arg : args) line += " " + QuoteArgument(arg);
    return line;
}

#ifdef _WIN32

int RunProgram(const std::string& program, const std::vector<std::string>& args, const std::string& outputPath) {
    HANDLE output = nullptr;
    if (!outputPath.empty()) {
        output = ::CreateFileW(win::Wide(RealPath(outputPath)).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (output == INVALID_HANDLE_VALUE) return -1;
    }
    const HANDLE process = win::StartProcess(RealPath(program), args, nullptr, output);
    if (output != nullptr) ::CloseHandle(output);
    if (process == nullptr) return -1;
    const std::optional<int> code = win::WaitProcess(process, INFINITE);
    ::CloseHandle(process);
    return code.value_or(-1);
}

bool OpenUrl(const std::string& url) {
    // The shell also runs programs and opens files by their path, so only a
    // text with a scheme of at least two letters ("https:", not "C:") is a URL.
    const std::size_t colon = url.find(':');
    const auto schemeChar = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '+' || c == '-' ||
               c == '.';
    };
    if (colon == std::string::npos || colon < 2 || !std::isalpha(static_cast<unsigned char>(url[0])) ||
        !std::all_of(url.begin(), url.begin() + static_cast<std::ptrdiff_t>(colon), schemeChar)) {
        return false;
    }
    const HINSTANCE result =
        ::ShellExecuteW(nullptr, L"open", win::Wide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

std::string LocaleName() {
    // The C runtime takes the user's locale, and keeps it for the process.
    const char* set = std::setlocale(LC_ALL, "");
    std::string name;
    for (const wchar_t* variable : {L"LC_ALL", L"LC_MESSAGES", L"LANG"}) {
        if (const std::optional<std::string> value = win::Environment(variable); value && !value->empty()) {
            name = *value;
            break;
        }
    }
    if (name.empty() && set != nullptr && *set != '\0' && std::strcmp(set, "C") != 0) {
        // The runtime's name is in the ANSI code page ("Norwegian Bokmål_Norway.1252").
        const int size = ::MultiByteToWideChar(CP_ACP, 0, set, -1, nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(std::max(size, 1)), L'\0');
        if (size > 0 && ::MultiByteToWideChar(CP_ACP, 0, set, -1, wide.data(), size) > 0) {
            name = win::Narrow(std::wstring_view(wide.c_str()));
        }
    }
    if (name.empty()) {
        wchar_t user[LOCALE_NAME_MAX_LENGTH] = {};
        if (::GetUserDefaultLocaleName(user, LOCALE_NAME_MAX_LENGTH) > 0) name = win::Narrow(user);
    }
    if (name.empty()) name = "C";
    // Number text must stay the same whatever the user's locale is.
    std::setlocale(LC_NUMERIC, "C");
    return name;
}

#else

namespace {

// Starts program (looked up on PATH when it holds no slash) with args; the
// child's standard output goes to outputPath when that is set. Returns the
// child's id, or -1 when it could not be started.
pid_t Spawn(const std::string& program, const std::vector<std::string>& args, const std::string& outputPath) {
    if (program.empty()) return -1;
    std::vector<char*> argv;
    argv.reserve(args.size() + 2);
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0) return -1;
    if (!outputPath.empty() &&
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return -1;
    }
    pid_t pid = -1;
    // glibc reports a failed exec (missing program, no permission, an output
    // file that cannot be opened) as the result of posix_spawnp itself.
    const int result = posix_spawnp(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return result == 0 ? pid : -1;
}

// The path of a program as the system would find it on PATH (a name with a
// slash as it is); "" when there is no such executable file.
std::string FindProgram(const std::string& name) {
    const auto executable = [](const std::string& path) {
        struct stat status {};
        return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode) && ::access(path.c_str(), X_OK) == 0;
    };
    if (name.find('/') != std::string::npos) return executable(name) ? name : "";
    const char* variable = std::getenv("PATH");
    const std::string path = variable != nullptr ? variable : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find(':', start), path.size());
        const std::string dir = end > start ? path.substr(start, end - start) : ".";
        const std::string candidate = dir + "/" + name;
        if (executable(candidate)) return candidate;
        start = end + 1;
    }
    return "";
}

// Waits for the child; its exit code, 128 + the signal when a signal ended it.
int Wait(pid_t pid) {
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return -1;
    }
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

}  // namespace

int RunProgram(const std::string& program, const std::vector<std::string>& args, const std::string& outputPath) {
    const pid_t pid = Spawn(RealPath(program), args, outputPath.empty() ? outputPath : RealPath(outputPath));
    return pid < 0 ? -1 : Wait(pid);
}

bool OpenUrl(const std::string& url) {
    // A URL starting with "-" would be read as an option by the opener.
    if (url.empty() || url.front() == '-') return false;
    const std::string opener = FindProgram("xdg-open");
    if (opener.empty()) return false;
    std::vector<char*> argv{const_cast<char*>(opener.c_str()), const_cast<char*>(url.c_str()), nullptr};
    // The opener may run as long as the browser does. A short-lived child
    // starts it and ends at once, so the opener belongs to the system's init
    // from the start and is reaped there; this waits only for the child.
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child == 0) {
        // Between fork and exec only async-signal-safe calls: the other
        // threads of the program did not come along.
        const pid_t started = ::fork();
        if (started == 0) {
            ::execve(argv[0], argv.data(), environ);
            ::_exit(127);
        }
        ::_exit(started < 0 ? 1 : 0);
    }
    return Wait(child) == 0;
}

std::string LocaleName() {
    std::string name;
    if (const char* set = std::setlocale(LC_ALL, ""); set != nullptr) name = set;
    if (name.empty() || name == "C" || name == "POSIX") {
        name.clear();
        for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
            const char* value = std::getenv(variable);
            if (value != nullptr && *value != '\0') {
                name = value;
                break;
            }
        }
        if (name.empty()) name = "C";
    }
    // Number text must stay the same whatever the user's locale is.
    std::setlocale(LC_NUMERIC, "C");
    return name;
}

#endif

}  // namespace platform
