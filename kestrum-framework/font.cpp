// Text drawing and text fitting.
#include "kestrum-framework/font.h"

#include "platform/text.h"

namespace kestrum::framework::font {

namespace {

// Parts of the text between separators; an empty separator leaves the text whole.
std::vector<std::string> Lines(std::string_view text, std::string_view separator) {
    return platform::Split(text, separator);
}

int WidestLine(const platform::Font& font, const std::vector<std::string>& lines) {
    int widest = 0;
    for (const std::string& line : lines) {
        const float w = font.TextWidth(line);
        if (w > static_cast<float>(widest)) widest = static_cast<int>(w);
    }
    return widest;
}

}  // namespace

void DrawText(platform::Canvas& canvas, std::string_view text, float x, float y, float handleX, float handleY,
              bool centre, std::string_view separator) {
    const std::shared_ptr<platform::Font> font = canvas.Font();
    if (!font) return;
    const std::vector<std::string> lines = Lines(text, separator);
    const int width = WidestLine(*font, lines);
    const int height = static_cast<int>(lines.size()) * static_cast<int>(font->Height());

    canvas.PushMatrix();
    canvas.Translate(-static_cast<float>(width) * handleX, -static_cast<float>(height) * handleY);
    for (const std::string& line : lines) {
        if (centre) {
            // Every line's centre lies at x + width / 2 (whole units).
            canvas.DrawText(line, x - (font->TextWidth(line) * 0.5f - static_cast<float>(width / 2)), y, 0, 0);
        } else {
            canvas.DrawText(line, x, y, 0, 0);
        }
        y += font->Height();
    }
    canvas.PopMatrix();
}

int TextWidth(const std::shared_ptr<platform::Font>& font, std::string_view text, std::string_view separator) {
    if (!font) return 0;
    return WidestLine(*font, Lines(text, separator));
}

int TextHeight(const std::shared_ptr<platform::Font>& font, std::string_view text, std::string_view separator) {
    if (!font) return 0;
    return static_cast<int>(Lines(text, separator).size()) * static_cast<int>(font->Height());
}

std::vector<std::string> FitText(const std::shared_ptr<platform::Font>& font, std::string_view text, int width,
                                 std::string_view separator) {
    auto measure = [&](const std::string& line) { return font ? font->TextWidth(line) : 0.0f; };

    // Each separator becomes a word of its own.
    std::string spaced(text);
    if (!separator.empty()) {
        std::string padded(1, ' ');
        padded.append(separator);
        padded.push_back(' ');
        spaced = platform::Replace(spaced, separator, padded);
    }

    std::vector<std::string> lines;
    std::string current;
    auto close = [&] {
        lines.push_back(platform::Trim(current));
        current.clear();
    };

    for (const std::string& word : platform::Split(spaced, " ")) {
        if (!separator.empty() && word.find(separator) != std::string::npos) {
            close();
        } else if (static_cast<float>(width) > measure(current + word)) {
            current += word;
            current += ' ';
        } else {
            // A word that does not fit on an empty line starts it rather than
            // leaving an empty line before it.
            if (!platform::Trim(current).empty()) close();
            current = word + " ";
        }
    }
    if (!current.empty()) close();
    return lines;
}

}  // namespace kestrum::framework::font
