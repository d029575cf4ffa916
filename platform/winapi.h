// The Windows API for the platform's Windows code, with the conversions
// between our UTF-8 texts and its UTF-16 ones. Included by .cpp files only:
// <windows.h> defines macros (DeleteFile, LoadString, min, max...) that
// would rename our own functions wherever it is seen.
#pragma once

#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>

#undef DeleteFile
#undef LoadString
#undef CreateWindow
#undef GetObject

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::win {

// UTF-8 to UTF-16; malformed bytes become U+FFFD.
std::wstring Wide(std::string_view utf8);
// UTF-16 to UTF-8; unpaired surrogates become U+FFFD.
std::string Narrow(std::wstring_view wide);
// An environment variable of the process as UTF-8; nullopt when it is not set.
std::optional<std::string> Environment(const wchar_t* name);

// Starts program with args on a command line that its C runtime splits back
// into them (platform::CommandLine), with no console window and no command
// interpreter. A program name without a folder is searched for as the system
// does (the executable's folder first, then the system folders and PATH;
// ".exe" is added when it has no extension). The child's standard input and
// output are the handles given, or the caller's own for nullptr; its error
// output is the caller's. The process handle (the caller closes it), or
// nullptr when the program could not be started.
HANDLE StartProcess(const std::string& program, const std::vector<std::string>& args, HANDLE input,
                    HANDLE output);
// Waits at most ms (INFINITE: for good) for the process to end: its exit
// code, or nullopt while it still runs.
std::optional<int> WaitProcess(HANDLE process, DWORD ms);
// Ends the process at once and waits until it has ended.
void KillProcess(HANDLE process);

}  // namespace platform::win

#endif
