// Files, folders and asset paths. Every function that touches the disk
// resolves "asset::" paths first, so callers can pass them straight through.
#include "platform/files.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

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

fs::path DiskPath(std::string_view path) { return fs::path(RealPath(path)); }

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

// Removes the temporary files of the target that saves killed before their
// rename left behind: those of processes that no longer run.
void RemoveStaleTemporaries(const fs::path& target) {
    const std::string prefix = target.filename().string() + TemporarySuffix();
    std::error_code error;
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string id = name.substr(prefix.size());
        if (id.find_first_not_of("0123456789") != std::string::npos || id.size() > 9) continue;
        const pid_t pid = static_cast<pid_t>(std::stol(id));
        if (pid == ::getpid() || !(::kill(pid, 0) != 0 && errno == ESRCH)) continue;
        std::error_code ignored;
        fs::remove(it->path(), ignored);
    }
}

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

}  // namespace

std::optional<std::string> TryLoadString(std::string_view path) {
    // A folder opens like a file on Linux, but reading it fails: that (and
    // every other read error) is a failed load, not an empty text.
    const std::string disk = RealPath(path);
    std::FILE* file = std::fopen(disk.c_str(), "rb");
    if (file == nullptr) return std::nullopt;
    std::string text;
    char buffer[65536];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, count);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return std::nullopt;
    return text;
}

std::string LoadString(std::string_view path) { return TryLoadString(path).value_or(std::string()); }

bool SaveString(std::string_view text, std::string_view path) {
    // Write beside the target, flush to the disk and rename over it, so a
    // failed or interrupted write never leaves a half-written file where the
    // old one was. A link is written through: its target gets the new text.
    const fs::path target = FinalTarget(DiskPath(path));
    RemoveStaleTemporaries(target);
    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing && !S_ISREG(old.st_mode)) return false;
    fs::path temp = target;
    temp += TemporarySuffix() + std::to_string(::getpid());
    ::unlink(temp.c_str());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, replacing ? 0600 : 0666);
    if (fd < 0) return false;
    bool written = WriteAll(fd, text);
    if (replacing) {
        // The new file keeps the old one's owner where that is allowed, and
        // its permissions (after the owner: a change of owner clears set-id bits).
        [[maybe_unused]] const int ignored = ::fchown(fd, old.st_uid, old.st_gid);
        written = written && ::fchmod(fd, old.st_mode & 07777) == 0;
    }
    written = written && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    if (!written || ::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    // The rename itself reaches the disk with the folder's entry.
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

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

std::string AssetsDir() {
    if (!AssetsOverride().empty()) return AssetsOverride();
    const char* fromEnvironment = std::getenv("ZANDROVIA_ASSETS");
    if (fromEnvironment != nullptr && *fromEnvironment != '\0') return WithSlash(Slashes(fromEnvironment));
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

std::optional<Json> ParseJson(std::string_view text, std::string* error) {
    try {
        return Json::parse(text.begin(), text.end());
    } catch (const Json::exception& e) {
        if (error != nullptr) *error = e.what();
        return std::nullopt;
    }
}

}  // namespace platform
