// The tests' stand-in for the system's small programs, the same on every
// system (see TestProgram in testsupport.h).
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// After <windows.h>, which it needs.
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#endif

namespace {

#ifdef _WIN32
std::string Utf8(const wchar_t* wide) {
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return std::string();
    std::string text(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide, -1, text.data(), size, nullptr, nullptr);
    text.pop_back();
    return text;
}
#endif

// The arguments as UTF-8, the program's own name first.
std::vector<std::string> Arguments(int argc, char** argv) {
#ifdef _WIN32
    (void)argc;
    (void)argv;
    // Split as the C runtime does, but without its trip through the ANSI code page.
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    std::vector<std::string> args;
    for (int i = 0; i < count; ++i) args.push_back(Utf8(wide[i]));
    ::LocalFree(wide);
    return args;
#else
    return std::vector<std::string>(argv, argv + argc);
#endif
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::ofstream OpenFile(const std::string& path, std::ios::openmode mode) {
#ifdef _WIN32
    std::vector<wchar_t> wide(path.size() + 1);
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    return std::ofstream(std::wstring(wide.data(), size > 0 ? size - 1 : 0).c_str(), mode);
#else
    return std::ofstream(path, mode);
#endif
}

std::string ReadFile(const std::string& path) {
#ifdef _WIN32
    std::vector<wchar_t> wide(path.size() + 1);
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
    std::ifstream in(std::wstring(wide.data(), size > 0 ? size - 1 : 0).c_str(), std::ios::binary);
#else
    std::ifstream in(path, std::ios::binary);
#endif
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The name the program was started as, without folder and ".exe".
std::string BaseName(const std::string& path) {
    std::string name = path.substr(path.find_last_of("/\\") + 1);
    if (name.size() > 4 && (name.ends_with(".exe") || name.ends_with(".EXE"))) name.resize(name.size() - 4);
    return name;
}

int FakeWget(const std::vector<std::string>& args) {
    const std::string posts = Environment("FAKE_WGET_POSTS");
    if (!posts.empty()) {
        OpenFile(Environment("FAKE_WGET_LOG"), std::ios::app | std::ios::binary) << "run\n";
        std::ofstream out = OpenFile(posts, std::ios::app | std::ios::binary);
        for (const std::string& arg : args) {
            if (arg.starts_with("--post-data=")) out << arg.substr(12) << '\n';
        }
    } else {
        std::ofstream log = OpenFile(Environment("FAKE_WGET_LOG"), std::ios::trunc | std::ios::binary);
        for (const std::string& arg : args) log << arg << '\n';
    }
    for (const std::string& arg : args) {
        if (!arg.starts_with("--output-document=")) continue;
        const std::string file = arg.substr(18);
        if (file == "/dev/null" || file == "NUL") continue;
        OpenFile(file, std::ios::trunc | std::ios::binary) << ReadFile(Environment("FAKE_WGET_REPLY"));
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = Arguments(argc, argv);
    if (args.empty()) return 2;
    const std::string name = BaseName(args[0]);
    if (name == "wget") return FakeWget(args);
    if (name == "tool") return 7;
    if (args.size() >= 3 && args[1] == "exit") return std::atoi(args[2].c_str());
    if (args.size() >= 2 && args[1] == "args") {
#ifdef _WIN32
        ::_setmode(::_fileno(stdout), _O_BINARY);
#endif
        for (std::size_t i = 2; i < args.size(); ++i) {
            std::fwrite(args[i].data(), 1, args[i].size(), stdout);
            std::fputc('\0', stdout);
        }
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    return 2;
}
