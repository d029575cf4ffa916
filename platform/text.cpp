// Text operations of the platform: splitting, trimming, case mapping, UTF-8
// conversions and number text. Number text never depends on the process
// locale: parsing goes through strtod_l/strtof_l with a "C" locale object and
// formatting through std::to_chars or snprintf under that locale. The Windows
// C runtime has no such locale objects: there parsing goes through
// std::from_chars, and snprintf's decimal point is put back to ".".
#include "platform/text.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <system_error>
#include <utility>
#ifndef _WIN32
#include <locale.h>
#endif

namespace platform {
namespace {

#ifdef _WIN32
// The number (as LeadingNumber gives it) read as strtod would in the C
// locale: correctly rounded; past the type's range infinity, below it zero.
template <typename Number>
Number ParseNumber(std::string_view number) {
    if (!number.empty() && number.front() == '+') number.remove_prefix(1);
    Number value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc::result_out_of_range) return value;
    // Out of range: the decimal exponent of the leading significant digit
    // tells too large from too small.
    const bool negative = !number.empty() && number.front() == '-';
    long long exponent = 0;
    bool seenDigit = false;
    bool inFraction = false;
    std::size_t i = negative ? 1 : 0;
    for (; i < number.size() && number[i] != 'e' && number[i] != 'E'; ++i) {
        if (number[i] == '.') {
            inFraction = true;
        } else if (number[i] != '0' || seenDigit) {
            if (!seenDigit && inFraction) --exponent;
            seenDigit = true;
            if (!inFraction) ++exponent;
        } else if (inFraction) {
            --exponent;
        }
    }
    if (i < number.size()) {
        long long written = 0;
        std::string_view digits = number.substr(i + 1);
        const bool down = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) digits.remove_prefix(1);
        for (const char c : digits) written = std::min(written * 10 + (c - '0'), 1000000000LL);
        exponent += down ? -written : written;
    }
    const Number magnitude = exponent > 0 ? std::numeric_limits<Number>::infinity() : Number(0);
    return negative ? -magnitude : magnitude;
}
#else
locale_t CLocale() {
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return locale;
}
#endif

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Skips leading blanks and returns the span of the leading decimal number
// (sign, digits, and for floats a decimal point and an exponent); an empty
// view when the text does not start with one.
std::string_view LeadingNumber(std::string_view text, bool allowFraction) {
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) ++start;
    std::size_t i = start;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) { ++i; ++digits; }
    if (allowFraction && i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) { ++i; ++digits; }
    }
    if (digits == 0) return {};
    if (allowFraction && i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        std::size_t expDigits = 0;
        while (j < text.size() && IsDigit(text[j])) { ++j; ++expDigits; }
        if (expDigits > 0) i = j;
    }
    return text.substr(start, i - start);
}

// Decodes one code point at text[i], advancing i. Ill-formed input yields
// U+FFFD for each maximal ill-formed subsequence (the usual replacement rule).
char32_t DecodeOne(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b0 = byte(i);
    if (b0 < 0x80) { ++i; return b0; }
    int length;
    char32_t code;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) { length = 2; code = b0 & 0x1F; }
    else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3; code = b0 & 0x0F;
        if (b0 == 0xE0) lo = 0xA0;        // no overlong forms
        if (b0 == 0xED) hi = 0x9F;        // no surrogates
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4; code = b0 & 0x07;
        if (b0 == 0xF0) lo = 0x90;        // no overlong forms
        if (b0 == 0xF4) hi = 0x8F;        // nothing above U+10FFFF
    } else { ++i; return 0xFFFD; }
    std::size_t k = i + 1;
    for (int n = 1; n < length; ++n, ++k) {
        const unsigned char min = n == 1 ? lo : 0x80, max = n == 1 ? hi : 0xBF;
        if (k >= text.size() || byte(k) < min || byte(k) > max) { i = k; return 0xFFFD; }
        code = (code << 6) | (byte(k) & 0x3F);
    }
    i = k;
    return code;
}

void AppendUtf8(std::string& out, char32_t c) {
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF) c = 0xFFFD;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The German letters in UTF-8 are 0xC3 followed by one byte; lower and upper
// case differ by 0x20 in that byte (ä A4/Ä 84, ö B6/Ö 96, ü BC/Ü 9C).
std::string MapCase(std::string_view text, bool upper) {
    std::string out(text);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(out[i]);
        if (c < 0x80) {
            if (upper && c >= 'a' && c <= 'z') out[i] = static_cast<char>(c - 32);
            if (!upper && c >= 'A' && c <= 'Z') out[i] = static_cast<char>(c + 32);
        } else if (c == 0xC3 && i + 1 < out.size()) {
            const unsigned char n = static_cast<unsigned char>(out[i + 1]);
            if (upper && (n == 0xA4 || n == 0xB6 || n == 0xBC)) out[i + 1] = static_cast<char>(n - 0x20);
            if (!upper && (n == 0x84 || n == 0x96 || n == 0x9C)) out[i + 1] = static_cast<char>(n + 0x20);
            ++i;
        }
    }
    return out;
}

}  // namespace

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
    std::vector<std::string> parts;
    if (separator.empty()) {
        parts.emplace_back(text);
        return parts;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        if (at == std::string_view::npos) break;
        parts.emplace_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    parts.emplace_back(text.substr(start));
    return parts;
}

std::string Join(const std::vector<std::string>& parts, std::string_view separator) {
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) out += separator;
        out += parts[i];
    }
    return out;
}

std::string Trim(std::string_view text) {
    std::size_t start = 0, end = text.size();
    while (start < end && IsBlank(text[start])) ++start;
    while (end > start && IsBlank(text[end - 1])) --end;
    return std::string(text.substr(start, end - start));
}

std::string Replace(std::string_view text, std::string_view what, std::string_view with) {
    if (what.empty()) return std::string(text);
    std::string out;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(what, start);
        if (at == std::string_view::npos) break;
        out.append(text.substr(start, at - start));
        out.append(with);
        start = at + what.size();
    }
    out.append(text.substr(start));
    return out;
}

bool StartsWith(std::string_view text, std::string_view prefix) { return text.starts_with(prefix); }
bool EndsWith(std::string_view text, std::string_view suffix) { return text.ends_with(suffix); }
bool Contains(std::string_view text, std::string_view what) { return text.find(what) != std::string_view::npos; }

std::string ToLower(std::string_view text) { return MapCase(text, false); }
std::string ToUpper(std::string_view text) { return MapCase(text, true); }

namespace {

// The UTF-16 code units of a UTF-8 text one at a time, as ToUtf16 gives them,
// without building the whole string (sorts and key searches compare often).
class Utf16Units {
public:
    explicit Utf16Units(std::string_view text) : text_(text) {}
    bool Done() const { return low_ == 0 && i_ >= text_.size(); }
    char16_t Next() {
        if (low_ != 0) return std::exchange(low_, u'\0');
        const char32_t c = DecodeOne(text_, i_);
        if (c < 0x10000) return static_cast<char16_t>(c);
        low_ = static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        return static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
    }

private:
    std::string_view text_;
    std::size_t i_ = 0;
    char16_t low_ = 0;  // the second half of a surrogate pair still to come
};

}  // namespace

int Compare(std::string_view a, std::string_view b) {
    Utf16Units ua(a), ub(b);
    for (;;) {
        const bool endA = ua.Done(), endB = ub.Done();
        if (endA || endB) return endA == endB ? 0 : (endA ? -1 : 1);
        const char16_t unitA = ua.Next(), unitB = ub.Next();
        if (unitA != unitB) return int(unitA) - int(unitB);
    }
}

int ToInt(std::string_view text) {
    std::string_view number = LeadingNumber(text, false);
    if (number.empty()) return 0;
    const bool negative = number.front() == '-';
    if (number.front() == '+' || number.front() == '-') number.remove_prefix(1);
    // Accumulate with saturation so that a long run of digits gives the
    // nearest int instead of wrapping around.
    long long value = 0;
    const long long limit = negative ? -static_cast<long long>(std::numeric_limits<int>::min())
                                     : std::numeric_limits<int>::max();
    for (char c : number) {
        value = value * 10 + (c - '0');
        if (value >= limit) { value = limit; break; }
    }
    return static_cast<int>(negative ? -value : value);
}

float ToFloat(std::string_view text) {
    const std::string number(LeadingNumber(text, true));
    if (number.empty()) return 0.0f;
#ifdef _WIN32
    return ParseNumber<float>(number);
#else
    return strtof_l(number.c_str(), nullptr, CLocale());
#endif
}

double ToDouble(std::string_view text) {
    const std::string number(LeadingNumber(text, true));
    if (number.empty()) return 0.0;
#ifdef _WIN32
    return ParseNumber<double>(number);
#else
    return strtod_l(number.c_str(), nullptr, CLocale());
#endif
}

std::string FromInt(long long value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string FromFloat(double value) {
    // std::to_chars in general format with a precision is defined as printf's
    // "%.*g" in the C locale.
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 9);
    return std::string(buffer, result.ptr);
}

std::string FormatFloat(const char* format, double value) {
#ifndef _WIN32
    // uselocale changes only this thread's locale, and only for this call.
    const locale_t previous = uselocale(CLocale());
#endif
    char buffer[128];
    int length = std::snprintf(buffer, sizeof buffer, format, value);
    std::string out;
    if (length >= 0 && static_cast<std::size_t>(length) < sizeof buffer) {
        out.assign(buffer, static_cast<std::size_t>(length));
    } else if (length >= 0) {
        out.resize(static_cast<std::size_t>(length) + 1);
        std::snprintf(out.data(), out.size(), format, value);
        out.resize(static_cast<std::size_t>(length));
    }
#ifdef _WIN32
    // A single number has at most one decimal point: the locale's, made ".".
    const char* point = std::localeconv()->decimal_point;
    if (point != nullptr && *point != '\0' && std::strcmp(point, ".") != 0) {
        if (const std::size_t at = out.find(point); at != std::string::npos) out.replace(at, std::strlen(point), ".");
    }
#else
    uselocale(previous);
#endif
    return out;
}

std::u32string ToUtf32(std::string_view text) {
    std::u32string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) out += DecodeOne(text, i);
    return out;
}

std::string FromUtf32(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t c : text) AppendUtf8(out, c);
    return out;
}

std::u16string ToUtf16(std::string_view text) {
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const char32_t c = DecodeOne(text, i);
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

std::string FromChar(char32_t code) {
    std::string out;
    AppendUtf8(out, code);
    return out;
}

int CharCount(std::string_view text) {
    int count = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        DecodeOne(text, i);
        ++count;
    }
    return count;
}

}  // namespace platform
