#include "RtfWriter.h"

#include "ViewerDocument.h"
#include "common/TextFile.h"

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

std::string toRtf(const ViewerDocument& doc) {
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\n{\\fonttbl{\\f0\\fmodern\\fcharset0 ";
    appendEscaped(out, faceName(doc.fontName));
    out += ";}}\n\\pard\\plain\\f0\\fs";
    out += std::to_string(doc.fontSize * 2);
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
