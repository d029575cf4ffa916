// JSON documents (nlohmann::json), kept out of the widely included headers:
// the library's header is large.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

using Json = nlohmann::json;
// Parses a JSON text; nullopt with a message when it is malformed.
std::optional<Json> ParseJson(std::string_view text, std::string* error = nullptr);

}  // namespace platform
