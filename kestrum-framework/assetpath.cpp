#include "kestrum-framework/assetpath.h"

#include "platform/files.h"
#include "platform/text.h"

namespace kestrum::framework::assetpath {

std::string ResolvePath(const std::string& path, const std::string& prefix) {
    std::string result = platform::Replace(path, "\\", "/");
    if (result.find(':') != std::string::npos || result.find("..") != std::string::npos) return result;
    // An absolute path is a full platform path already, as a drive letter is.
    if (!result.empty() && result[0] == '/') return result;
    return prefix + result;
}

std::string StripDirExt(const std::string& path) {
    const std::string bare = platform::StripExt(path);
    const std::size_t slash = bare.find_last_of("/\\");
    return slash == std::string::npos ? bare : bare.substr(slash + 1);
}

}  // namespace kestrum::framework::assetpath
