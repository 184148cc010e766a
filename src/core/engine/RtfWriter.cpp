#include "RtfWriter.h"

#include "ViewerDocument.h"
#include "common/TextFile.h"

#include <algorithm>
#include <cctype>

namespace camini {

namespace {

// Font names as the font tables know them: each word capitalised
// ("courier new" -> "Courier New"); readers match them without case anyway.
std::string faceName(const std::string& name) {
    std::string s = name;
    bool start = true;
    for (char& c : s) {
        if (start && c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        start = c == ' ';
    }
    return s;
}

void appendEscaped(std::string& out, const std::string& text) {
    static const char hex[] = "0123456789abcdef";
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (c == '\\' || c == '{' || c == '}') {
            out.push_back('\\');
            out.push_back(ch);
        } else if (c == '\t') {
            out += "\\tab ";
        } else if (c >= 0x80 || c < 0x20) {
            out += "\\'";
            out.push_back(hex[c >> 4]);
            out.push_back(hex[c & 15]);
        } else {
            out.push_back(ch);
        }
    }
}

} // namespace

int fixedPitchFittingPoints(std::size_t characters, int points, int room) {
    // A character at p points is 0.6 * p * 20 = 12 * p twips wide; the line
    // fits when characters * 12 * p <= room, asked by division so that no
    // length overflows.
    const int smallest = std::min(points, SmallestFittingPoints);
    for (; points > smallest; --points)
        if (room >= 0 && characters <= static_cast<std::size_t>(room) /
                                           (std::size_t{12} * static_cast<unsigned>(points)))
            break;
    return points;
}

std::string toRtf(const ViewerDocument& doc) {
    // The paragraphs are CP1252, one byte a character.
    std::size_t longest = 0;
    for (const auto& p : doc.paragraphs)
        longest = std::max(longest, p.size());
    const int points = fixedPitchFittingPoints(longest, doc.fontSize, RtfTextWidth);

    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\n{\\fonttbl{\\f0\\fmodern\\fcharset0 ";
    appendEscaped(out, faceName(doc.fontName));
    out += ";}}\n\\paperw" + std::to_string(RtfPaperWidth) + "\\paperh" +
           std::to_string(RtfPaperHeight) + "\\landscape";
    for (const char* side : {"l", "r", "t", "b"})
        out += std::string("\\marg") + side + std::to_string(RtfMargin);
    out += "\n\\pard\\plain\\f0\\fs";
    out += std::to_string(points * 2);
    out += "\n";
    for (const auto& p : doc.paragraphs) {
        appendEscaped(out, p);
        out += "\\par\n";
    }
    out += "}\n";
    return out;
}

void saveRtf(const ViewerDocument& doc, const std::string& path) {
    replaceFileSafely(path, toRtf(doc));
}

std::string reportFileName(const std::string& chosen) {
    if (chosen.size() >= 4) {
        std::string tail = chosen.substr(chosen.size() - 4);
        for (char& c : tail)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (tail == ".rtf")
            return chosen;
    }
    return chosen + ".rtf";
}

} // namespace camini
