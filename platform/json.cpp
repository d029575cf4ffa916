#include "platform/json.h"

namespace platform {

std::optional<Json> ParseJson(std::string_view text, std::string* error) {
    try {
        return Json::parse(text.begin(), text.end());
    } catch (const Json::exception& e) {
        if (error != nullptr) *error = e.what();
        return std::nullopt;
    }
}

}  // namespace platform
