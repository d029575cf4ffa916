// Base64 coding and byte-buffer reads. Depends on the platform's DataBuffer and text helpers.
#include "kestrum-framework/base64.h"

#include <algorithm>
#include <cstdio>

#include "platform/text.h"

namespace kestrum::framework::base64 {

std::string Base64Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";
std::vector<int> Base64Table;

namespace {

constexpr int kPad = 64;

// Decodes one UTF-8 sequence at bytes[i]. Returns its length and the code,
// or 0 when the byte at i does not start a well-formed sequence (a stray
// continuation byte, a bad lead byte, a missing continuation byte, an
// overlong form, a surrogate or a code above U+10FFFF).
int DecodeUtf8(const std::vector<unsigned>& bytes, std::size_t i, char32_t& code) {
    const unsigned lead = bytes[i];
    if (lead < 0x80) {
        code = lead;
        return 1;
    }
    int length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (i + static_cast<std::size_t>(length) > bytes.size()) return 0;
    for (int k = 1; k < length; ++k) {
        const unsigned next = bytes[i + static_cast<std::size_t>(k)];
        if ((next & 0xC0) != 0x80) return 0;
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    code = value;
    return length;
}

bool IsBlank(unsigned char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; }

}  // namespace

void InitBase64Unit() {
    Base64Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/=";
}

void Base64::Init_() {
    if (!Base64Table.empty()) return;
    Base64Table.assign(256, -1);
    for (std::size_t i = 0; i < Base64Alphabet.size(); ++i) {
        Base64Table[static_cast<unsigned char>(Base64Alphabet[i])] = static_cast<int>(i);
    }
}

std::string Base64::Encode(const std::vector<int>& data, bool pad, bool breakLines, int lineLength) {
    std::string out;
    int written = 0;  // Base64 characters so far, line breaks not counted
    const bool breaking = breakLines && lineLength > 0;
    auto put = [&](int digit) {
        if (breaking && written > 0 && written % lineLength == 0) out += '\n';
        out += Base64Alphabet[static_cast<std::size_t>(digit)];
        ++written;
    };
    const std::size_t n = data.size();
    for (std::size_t i = 0; i < n; i += 3) {
        const int b0 = data[i] & 0xFF;
        const bool has1 = i + 1 < n;
        const bool has2 = i + 2 < n;
        const int b1 = has1 ? data[i + 1] & 0xFF : 0;
        const int b2 = has2 ? data[i + 2] & 0xFF : 0;
        const int d0 = b0 >> 2;
        const int d1 = ((b0 & 3) << 4) | (b1 >> 4);
        const int d2 = has1 ? (((b1 & 15) << 2) | (b2 >> 6)) : kPad;
        const int d3 = has2 ? (b2 & 63) : kPad;
        put(d0);
        put(d1);
        if (d2 != kPad || pad) put(d2);
        if (d3 != kPad || pad) put(d3);
    }
    return out;
}

std::string Base64::Encode(std::string_view text, bool pad, bool breakLines, int lineLength) {
    std::vector<int> bytes;
    for (char32_t code : platform::ToUtf32(text)) bytes.push_back(code <= 0xFF ? static_cast<int>(code) : '?');
    return Encode(bytes, pad, breakLines, lineLength);
}

std::vector<int> Base64::DecodeBytes(std::string_view text) {
    Init_();
    std::vector<int> digits;
    int pads = 0;
    for (unsigned char c : text) {
        if (IsBlank(c)) continue;
        const int value = Base64Table[c];
        if (value < 0) return {};  // not Base64
        if (value == kPad) {
            ++pads;
            continue;
        }
        if (pads > 0) return {};  // a digit after the pad: not Base64
        digits.push_back(value);
    }
    if (pads > 2) return {};
    // Every four digits give three bytes; two or three trailing digits give
    // one or two more; a single trailing digit holds no whole byte.
    const std::size_t length = digits.size() * 3 / 4;
    std::vector<int> bytes;
    bytes.reserve(length);
    for (std::size_t i = 0; i < digits.size(); i += 4) {
        auto at = [&](std::size_t k) { return i + k < digits.size() ? digits[i + k] : 0; };
        const int a = at(0), b = at(1), c = at(2), d = at(3);
        const int out[3] = {(a << 2) | (b >> 4), ((b << 4) & 255) | (c >> 2), ((c << 6) & 255) | d};
        for (int k = 0; k < 3 && bytes.size() < length; ++k) bytes.push_back(out[k]);
    }
    return bytes;
}

std::string Base64::Decode(std::string_view text) {
    const std::vector<int> bytes = DecodeBytes(text);
    return platform::FromUtf32(std::u32string(bytes.begin(), bytes.end()));
}

std::vector<int> Base64::PeekBytes_(const platform::DataBuffer& buffer, int offset, int count) {
    if (offset < 0 || offset >= buffer.Length() || count <= 0) return {};
    count = std::min(count, buffer.Length() - offset);
    std::vector<int> bytes(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) bytes[static_cast<std::size_t>(i)] = buffer.PeekByte(offset + i);
    return bytes;
}

void Base64::PeekBytes_(const platform::DataBuffer& buffer, int offset, std::vector<int>& array, int arrayIndex,
                        int count) {
    if (offset < 0 || arrayIndex < 0) return;
    const int arrayLength = static_cast<int>(array.size());
    count = std::min({count, buffer.Length() - offset, arrayLength - arrayIndex});
    for (int i = 0; i < count; ++i) {
        array[static_cast<std::size_t>(arrayIndex + i)] = buffer.PeekByte(offset + i);
    }
}

std::string Base64::PeekString_(const platform::DataBuffer& buffer, int offset, int count,
                                std::string_view encoding) {
    const std::vector<int> bytes = PeekBytes_(buffer, offset, count);
    if (encoding == "utf8") {
        std::vector<unsigned> raw(bytes.size());
        for (std::size_t i = 0; i < bytes.size(); ++i) raw[i] = static_cast<unsigned>(bytes[i]) & 0xFF;
        // One U+FFFD per bad byte; the platform's decoder gives one per
        // ill-formed run, so it cannot serve here.
        std::u32string codes;
        for (std::size_t i = 0; i < raw.size();) {
            char32_t code = 0;
            const int length = DecodeUtf8(raw, i, code);
            if (length == 0) {
                codes += U'\uFFFD';
                ++i;
            } else {
                codes += code;
                i += static_cast<std::size_t>(length);
            }
        }
        return platform::FromUtf32(codes);
    }
    if (encoding == "ascii") {
        std::u32string codes;
        for (int byte : bytes) codes += static_cast<char32_t>(byte & 255);
        return platform::FromUtf32(codes);
    }
    std::printf("Invalid string encoding:%.*s\n", static_cast<int>(encoding.size()), encoding.data());
    std::fflush(stdout);
    return {};
}

std::string Base64::PeekString_(const platform::DataBuffer& buffer, int offset, std::string_view encoding) {
    return PeekString_(buffer, offset, buffer.Length() - offset, encoding);
}

}  // namespace kestrum::framework::base64
