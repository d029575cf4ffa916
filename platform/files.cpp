// Files, folders and asset paths. Every function that touches the disk
// resolves "asset::" paths first, so callers can pass them straight through.
#include "platform/files.h"

#ifdef _WIN32
#include "platform/winapi.h"
#else
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kAssetPrefix = "asset::";

std::string& AssetsOverride() {
    static std::string dir;
    return dir;
}

std::string WithSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir += '/';
    return dir;
}

std::string Slashes(std::string path) {
    for (char& c : path) {
        if (c == '\\') c = '/';
    }
    return path;
}

// Index of the last path separator, or npos.
std::size_t LastSeparator(std::string_view path) { return path.find_last_of("/\\"); }

// Index of the extension's dot within the last path component, or npos.
std::size_t ExtensionDot(std::string_view path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) return dot;
    const std::size_t separator = LastSeparator(path);
    if (separator != std::string_view::npos && separator > dot) return std::string_view::npos;
    return dot;
}

#ifdef _WIN32
using win::Environment;
using win::Narrow;
using win::Wide;

// A path from UTF-8 text (a narrow std::string would be read in the ANSI code page).
fs::path PathOf(std::string_view utf8) { return fs::path(Wide(utf8)); }
std::string TextOf(const fs::path& path) { return Narrow(path.native()); }
#else
fs::path PathOf(std::string_view path) { return fs::path(path); }
std::string TextOf(const fs::path& path) { return path.string(); }
#endif

fs::path DiskPath(std::string_view path) { return PathOf(RealPath(path)); }

// The file a path finally names: symbolic links are followed to their target,
// which need not exist yet. A loop of links stops after 40 steps.
fs::path FinalTarget(fs::path path) {
    for (int step = 0; step < 40; ++step) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error)) || error) return path;
        const fs::path next = fs::read_symlink(path, error);
        if (error) return path;
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return path;
}

// SaveString's temporary file is the target's name, this and the process id.
std::string TemporarySuffix() { return ".tmp-"; }

#ifdef _WIN32
using ProcessId = DWORD;
ProcessId CurrentProcess() { return ::GetCurrentProcessId(); }

// Whether the process is known to have ended (a process that cannot be
// looked at for want of rights still runs).
bool ProcessEnded(ProcessId id) {
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (process == nullptr) return ::GetLastError() == ERROR_INVALID_PARAMETER;
    DWORD code = 0;
    const bool ended = ::GetExitCodeProcess(process, &code) && code != STILL_ACTIVE;
    ::CloseHandle(process);
    return ended;
}
#else
using ProcessId = pid_t;
ProcessId CurrentProcess() { return ::getpid(); }
bool ProcessEnded(ProcessId id) { return ::kill(id, 0) != 0 && errno == ESRCH; }
#endif

// Removes the temporary files of the target that saves killed before their
// rename left behind: those of processes that no longer run.
void RemoveStaleTemporariesOf(const fs::path& target) {
    const std::string prefix = TextOf(target.filename()) + TemporarySuffix();
    std::error_code error;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = TextOf(it->path().filename());
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string id = name.substr(prefix.size());
        if (id.find_first_not_of("0123456789") != std::string::npos || id.size() > 9) continue;
        const auto pid = static_cast<ProcessId>(std::stol(id));
        if (pid == CurrentProcess() || !ProcessEnded(pid)) continue;
        std::error_code ignored;
        fs::remove(it->path(), ignored);
    }
}

// Gives the reason of a failure to a caller that asked for it; false.
bool Failed(std::error_code* error, std::error_code reason) {
    if (error != nullptr) *error = reason;
    return false;
}

#ifdef _WIN32
// Writes all of the text; false on the first error.
bool WriteAll(HANDLE file, std::string_view text) {
    while (!text.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size(), 1u << 30));
        DWORD count = 0;
        if (!::WriteFile(file, text.data(), chunk, &count, nullptr)) return false;
        text.remove_prefix(count);
    }
    return true;
}
#else
// Writes all of the text; false on the first error other than an interruption.
bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t count = ::write(fd, text.data(), text.size());
        if (count < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}
#endif

}  // namespace

std::optional<std::string> TryLoadString(std::string_view path, std::error_code* error) {
    // A folder opens like a file on Linux, but reading it fails: that (and
    // every other read error) is a failed load, not an empty text.
    if (error != nullptr) error->clear();
    const std::string disk = RealPath(path);
#ifdef _WIN32
    std::FILE* file = ::_wfopen(Wide(disk).c_str(), L"rb");
#else
    std::FILE* file = std::fopen(disk.c_str(), "rb");
#endif
    if (file == nullptr) {
        // A file where a folder of the path should be: the file is not there either.
        Failed(error, {errno == ENOTDIR ? ENOENT : errno, std::generic_category()});
        return std::nullopt;
    }
    std::string text;
    char buffer[65536];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, count);
    const int failure = std::ferror(file) != 0 ? (errno != 0 ? errno : EIO) : 0;
    std::fclose(file);
    if (failure != 0) {
        Failed(error, {failure, std::generic_category()});
        return std::nullopt;
    }
    return text;
}

std::string LoadString(std::string_view path) { return TryLoadString(path).value_or(std::string()); }

void RemoveStaleTemporaries(std::string_view path) { RemoveStaleTemporariesOf(FinalTarget(DiskPath(path))); }

#ifdef _WIN32
bool SaveString(std::string_view text, std::string_view path, std::error_code* error) {
    // As on other systems: write beside the target, flush to the disk and
    // move over it in one step, so the old text stays until the new one is
    // whole. The new file takes the old one's hidden and system marks.
    if (error != nullptr) error->clear();
    const fs::path target = FinalTarget(DiskPath(path));
    RemoveStaleTemporariesOf(target);
    const DWORD old = ::GetFileAttributesW(target.c_str());
    const bool replacing = old != INVALID_FILE_ATTRIBUTES;
    if (replacing && (old & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return Failed(error, std::make_error_code(std::errc::is_a_directory));
    }
    fs::path temp = target;
    temp += Wide(TemporarySuffix() + std::to_string(CurrentProcess()));
    ::DeleteFileW(temp.c_str());
    const DWORD marks = replacing ? old & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM) : 0;
    const HANDLE file = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL | marks, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return Failed(error, {static_cast<int>(::GetLastError()), std::system_category()});
    }
    // The first error is the reason.
    DWORD failure = WriteAll(file, text) && ::FlushFileBuffers(file) ? 0 : ::GetLastError();
    if (!::CloseHandle(file) && failure == 0) failure = ::GetLastError();
    if (failure == 0 &&
        !::MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        failure = ::GetLastError();
    }
    if (failure != 0) {
        ::DeleteFileW(temp.c_str());
        return Failed(error, {static_cast<int>(failure), std::system_category()});
    }
    return true;
}
#else
bool SaveString(std::string_view text, std::string_view path, std::error_code* error) {
    // Write beside the target, flush to the disk and rename over it, so a
    // failed or interrupted write never leaves a half-written file where the
    // old one was. A link is written through: its target gets the new text.
    if (error != nullptr) error->clear();
    const fs::path target = FinalTarget(DiskPath(path));
    RemoveStaleTemporariesOf(target);
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode)) {
        // Neither a folder nor a device or pipe is replaced by a file.
        return Failed(error, std::make_error_code(S_ISDIR(old.st_mode) ? std::errc::is_a_directory
                                                                        : std::errc::operation_not_supported));
    }
    fs::path temp = target;
    temp += TemporarySuffix() + std::to_string(::getpid());
    ::unlink(temp.c_str());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, replacing ? 0600 : 0666);
    if (fd < 0) return Failed(error, {errno, std::generic_category()});
    // The first error is the reason.
    int failure = WriteAll(fd, text) ? 0 : errno;
    if (replacing) {
        // The new file keeps the old one's owner where that is allowed, and
        // its permissions (after the owner: a change of owner clears set-id bits).
        [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
        if (failure == 0 && ::fchmod(fd, old.st_mode & 07777) != 0) failure = errno;
    }
    if (failure == 0 && ::fsync(fd) != 0) failure = errno;
    if (::close(fd) != 0 && failure == 0) failure = errno;
    if (failure == 0 && ::rename(temp.c_str(), target.c_str()) != 0) failure = errno;
    if (failure != 0) {
        ::unlink(temp.c_str());
        return Failed(error, {failure, std::generic_category()});
    }
    // The rename itself reaches the disk with the folder's entry.
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}
#endif

bool DeleteFile(std::string_view path) {
    const fs::path disk = DiskPath(path);
    std::error_code error;
    // Only files: a folder is never removed through this call.
    if (fs::is_directory(fs::symlink_status(disk, error))) return false;
    return fs::remove(disk, error) && !error;
}

bool RenameFile(std::string_view from, std::string_view to) {
    std::error_code error;
    fs::rename(DiskPath(from), DiskPath(to), error);
    return !error;
}

FileType GetFileType(std::string_view path) {
    std::error_code error;
    const fs::file_status status = fs::status(DiskPath(path), error);
    if (error) return FileType::None;
    if (fs::is_directory(status)) return FileType::Directory;
    if (fs::exists(status)) return FileType::File;
    return FileType::None;
}

std::string ExtractExt(std::string_view path) {
    const std::size_t dot = ExtensionDot(path);
    return dot == std::string_view::npos ? std::string() : std::string(path.substr(dot));
}

std::string StripExt(std::string_view path) {
    const std::size_t dot = ExtensionDot(path);
    return std::string(dot == std::string_view::npos ? path : path.substr(0, dot));
}

std::string ExtractDir(std::string_view path) {
    const std::size_t separator = LastSeparator(path);
    return separator == std::string_view::npos ? std::string() : std::string(path.substr(0, separator));
}

#ifdef _WIN32
std::string HomeDir() {
    for (const wchar_t* variable : {L"USERPROFILE", L"HOME"}) {
        const std::optional<std::string> value = Environment(variable);
        if (value && !value->empty()) return WithSlash(Slashes(*value));
    }
    return "./";
}

std::string AppDir() {
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD size = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (size == 0) break;
        if (size < name.size()) {
            const std::string exe = Slashes(Narrow(std::wstring_view(name.data(), size)));
            const std::size_t separator = exe.rfind('/');
            if (separator == std::string::npos) break;
            return exe.substr(0, separator + 1);
        }
        // Cut short: the buffer was too small.
        if (name.size() >= 32768) break;
        name.resize(name.size() * 2);
    }
    std::error_code error;
    const fs::path current = fs::current_path(error);
    return error ? std::string("./") : WithSlash(Slashes(TextOf(current)));
}
#else
std::string HomeDir() {
    for (const char* variable : {"USERPROFILE", "HOME"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return WithSlash(Slashes(value));
    }
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* result = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 && result != nullptr &&
        result->pw_dir != nullptr && *result->pw_dir != '\0') {
        return WithSlash(Slashes(result->pw_dir));
    }
    // No home folder at all: the working folder is the least surprising place.
    return "./";
}

std::string AppDir() {
    std::error_code error;
    const fs::path exe = fs::read_symlink("/proc/self/exe", error);
    if (!error && exe.has_parent_path()) return WithSlash(exe.parent_path().string());
    const fs::path current = fs::current_path(error);
    return error ? std::string("./") : WithSlash(current.string());
}
#endif

std::string AssetsDir() {
    if (!AssetsOverride().empty()) return AssetsOverride();
#ifdef _WIN32
    const std::optional<std::string> fromEnvironment = Environment(L"ZANDROVIA_ASSETS");
    if (fromEnvironment && !fromEnvironment->empty()) return WithSlash(Slashes(*fromEnvironment));
#else
    const char* fromEnvironment = std::getenv("ZANDROVIA_ASSETS");
    if (fromEnvironment != nullptr && *fromEnvironment != '\0') return WithSlash(Slashes(fromEnvironment));
#endif
    return AppDir() + "assets/";
}

void SetAssetsDir(std::string_view dir) {
    AssetsOverride() = dir.empty() ? std::string() : WithSlash(Slashes(std::string(dir)));
}

bool IsAbsolutePath(std::string_view path) {
    if (!path.empty() && (path[0] == '/' || path[0] == '\\')) return true;
    const auto isLetter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
    return path.size() >= 2 && isLetter(path[0]) && path[1] == ':';
}

std::string RealPath(std::string_view path) {
    if (!path.starts_with(kAssetPrefix)) return std::string(path);
    const std::string_view rest = path.substr(kAssetPrefix.size());
    if (IsAbsolutePath(rest)) return std::string(rest);
    return AssetsDir() + std::string(rest);
}

}  // namespace platform
