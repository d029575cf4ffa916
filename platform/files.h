// Files, folders and asset paths.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace platform {

enum class FileType { None = 0, File = 1, Directory = 2 };

// Whole-file text reads and writes in UTF-8. A missing or unreadable file reads as "".
std::string LoadString(std::string_view path);
// Returns nullopt when the file cannot be read (to tell a missing file from an
// empty one). The error, when asked for, then says why: a file that is not
// there (nor a folder on its path) gives std::errc::no_such_file_or_directory,
// so that it can be told from one that is there but cannot be opened or read
// (a folder, a file the user may not read, a file another program locked).
std::optional<std::string> TryLoadString(std::string_view path, std::error_code* error = nullptr);
// Replaces the file by the text, all or nothing: the text goes to a temporary
// file beside it ("<name>.tmp-<process id>"), which is flushed to the disk and
// renamed over the file; the folder is flushed after. A replaced file keeps
// its permissions (and its owner where allowed); a symbolic link is written
// through, so its target gets the text. Temporary files that killed saves of
// the same file left behind are removed. False when the text could not be
// written (the error, when asked for, says why); the old file is then
// untouched and no temporary file is left.
// On Windows the file is moved over the old one with write-through, and
// takes its hidden and system marks.
bool SaveString(std::string_view text, std::string_view path, std::error_code* error = nullptr);
// Removes the temporary files that saves of the file killed before their
// rename left behind: those of processes that no longer run (SaveString does
// so itself; a program may also do it at start, before its first save).
void RemoveStaleTemporaries(std::string_view path);
bool DeleteFile(std::string_view path);
bool RenameFile(std::string_view from, std::string_view to);
FileType GetFileType(std::string_view path);
// The extension with its dot ("png" of "a/b.png" is ".png"); "" when there is none.
std::string ExtractExt(std::string_view path);
std::string StripExt(std::string_view path);
std::string ExtractDir(std::string_view path);

// The user's home folder: USERPROFILE when set, else HOME, else the password
// database (not on Windows); backslashes turned into slashes, "/" appended.
std::string HomeDir();
// The folder of the running executable, "/" appended (with slashes on Windows too).
std::string AppDir();
// The assets folder beside the executable, "/" appended. Tests may override it.
std::string AssetsDir();
void SetAssetsDir(std::string_view dir);
// Resolves "asset::" paths into the assets folder; every other path is returned unchanged.
std::string RealPath(std::string_view path);
// True for "/x" and "C:/x" (and "C:\x").
bool IsAbsolutePath(std::string_view path);

}  // namespace platform
