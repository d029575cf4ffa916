// Operating-system services: external programs, the browser, the locale.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Runs program with the arguments exactly as given (no shell, so no character
// is interpreted) and waits for it; returns its exit code, or -1 when it
// could not be started. The child's standard output and error go to those of
// the caller unless outputPath is set, where its standard output is written.
int RunProgram(const std::string& program, const std::vector<std::string>& args,
               const std::string& outputPath = "");
// The command line that hands args to a Windows program unchanged, as its C
// runtime splits it: an argument without blanks, tabs, newlines or quotes
// stays as it is; any other (the empty one too) is put in quotes, with every
// quote escaped by a backslash and the backslashes before a quote or before
// the closing quote doubled. CommandLine quotes the program name (which
// holds no quotes) when it has blanks, and appends the quoted arguments.
std::string QuoteArgument(std::string_view arg);
std::string CommandLine(std::string_view program, const std::vector<std::string>& args);
// Opens a URL in the default browser without waiting for it; false when it could not be started.
bool OpenUrl(const std::string& url);
// The C library's locale name after setlocale(LC_ALL, ""); when that gives
// nothing, the first of LC_ALL, LC_MESSAGES and LANG that is set. Number text
// stays locale-independent (LC_NUMERIC is put back to "C"). On Windows the
// first of LC_ALL, LC_MESSAGES and LANG that is set comes first, then the C
// runtime's name ("German_Germany.1252"), then the user's locale name ("de-DE").
std::string LocaleName();

}  // namespace platform
