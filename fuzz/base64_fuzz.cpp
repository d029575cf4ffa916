// Base64: decoding any text, and the round trips of bytes and of Latin-1 text.
#include <string>
#include <vector>

#include "fuzzsupport.h"
#include "kestrum-framework/base64.h"
#include "platform/text.h"

namespace fw = kestrum::framework;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::Start();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    fw::Base64::DecodeBytes(text);
    fw::Base64::Decode(text);

    const std::vector<int> bytes(data, data + size);
    const bool pad = size % 2 == 0;
    const std::string encoded = fw::Base64::Encode(bytes, pad, size % 3 == 0, 1 + static_cast<int>(size % 80));
    if (fw::Base64::DecodeBytes(encoded) != bytes) fuzzsupport::Fail("bytes do not come back");

    // Text of characters up to U+00FF comes back as it was.
    std::u32string latin;
    for (char32_t code : platform::ToUtf32(text)) latin.push_back(code & 0xff);
    const std::string latinText = platform::FromUtf32(latin);
    if (fw::Base64::Decode(fw::Base64::Encode(latinText, pad)) != latinText) {
        fuzzsupport::Fail("text does not come back");
    }
    return 0;
}
