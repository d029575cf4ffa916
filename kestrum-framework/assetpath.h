// Asset paths: the rule that turns a content path as the program writes it
// into a path the platform can open.
//
// Depends on platform/files.h.
#pragma once

#include <string>

namespace kestrum::framework::assetpath {

// Backslashes become "/"; then the prefix ("asset::" for content) is put in
// front unless the path holds ":" (a drive letter or another prefix) or ".."
// (a relative climb) or begins with "/" (an absolute path). An empty path
// gives the prefix alone.
std::string ResolvePath(const std::string& path, const std::string& prefix);

// The bare file name: no folder, no extension.
std::string StripDirExt(const std::string& path);

}  // namespace kestrum::framework::assetpath

namespace kestrum::framework {
using namespace assetpath;
}
