// Number and text conversions of the platform and the framework, with the
// round trips they promise.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "fuzzsupport.h"
#include "kestrum-framework/arrays.h"
#include "kestrum-framework/math.h"
#include "kestrum-framework/strings.h"
#include "kestrum-framework/utilities.h"
#include "platform/text.h"

namespace fw = kestrum::framework;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzsupport::Start();
    fuzzsupport::Input input(data, size);
    const std::string separator = input.Line().substr(0, 4);
    const std::string text(input.Rest());

    const float f = platform::ToFloat(text);
    const double d = platform::ToDouble(text);
    const int i = platform::ToInt(text);
    // "%.9g" holds every float exactly.
    if (std::isfinite(f) && platform::ToFloat(platform::FromFloat(f)) != f) {
        fuzzsupport::Fail("float " + platform::FromFloat(f) + " does not read back");
    }
    if (platform::ToInt(platform::FromInt(i)) != i) {
        fuzzsupport::Fail("int " + platform::FromInt(i) + " does not read back");
    }
    platform::FromFloat(d);
    platform::FormatFloat("%.2f", d);
    platform::FormatFloat("%e", d);
    fw::TruncToInt(d);
    fw::Round(f);
    fw::Percent(f, static_cast<float>(d));

    const std::vector<std::string> parts = platform::Split(text, separator);
    if (!separator.empty() && platform::Join(parts, separator) != text) fuzzsupport::Fail("Split and Join differ");
    fw::arrays::ToInt(parts);
    fw::arrays::ArrayToString(fw::arrays::ToFloat(parts));
    fw::arrays::SplitInTwo(text, separator.empty() ? "=" : separator);
    fw::strings::Split(text, separator);
    fw::strings::SortString(text, separator.empty() ? "," : separator);
    fw::BlendModeFromName(text);

    const std::u32string codes = platform::ToUtf32(text);
    if (platform::CharCount(text) != static_cast<int>(codes.size())) {
        fuzzsupport::Fail("CharCount differs from ToUtf32");
    }
    const std::string utf8 = platform::FromUtf32(codes);
    if (platform::ToUtf32(utf8) != codes) fuzzsupport::Fail("UTF-32 round trip changed the text");
    platform::ToUtf16(text);
    if (fw::strings::FromChars(fw::strings::ToChars(utf8)) != utf8) {
        fuzzsupport::Fail("ToChars round trip changed the text");
    }

    const std::string trimmed = platform::Trim(text);
    if (platform::Trim(trimmed) != trimmed) fuzzsupport::Fail("Trim is not idempotent");
    platform::ToLower(text);
    platform::ToUpper(text);
    const int ab = platform::Compare(text, separator), ba = platform::Compare(separator, text);
    if ((ab < 0) != (ba > 0) || (ab == 0) != (ba == 0)) fuzzsupport::Fail("Compare is not antisymmetric");
    if (!separator.empty()) platform::Replace(text, separator, "<>");
    return 0;
}
