#include "SvgCanvas.h"

#include "common/Cp1252.h"
#include "common/FixedPoint.h"

#include <algorithm>

namespace camini {

namespace {

// Ascent of the serif face of the drawings, in ems: the distance from the top
// of the character cell to the baseline.
constexpr double fontAscent = 0.891;

// A number for an attribute: two decimals at most, trailing zeros dropped. A
// coordinate is no written value: one that rounds to zero is plain "0".
std::string number(double v) {
    std::string s = formatFixed(v, 0, 2);
    if (s.find('.') != std::string::npos) {
        s.erase(s.find_last_not_of('0') + 1);
        if (s.back() == '.')
            s.pop_back();
    }
    if (s == "-0")
        s = "0";
    return s;
}

std::string colour(PlotColour c) {
    constexpr char hex[] = "0123456789abcdef";
    std::string s = "#";
    for (std::uint8_t v : {c.r, c.g, c.b}) {
        s += hex[v >> 4];
        s += hex[v & 15];
    }
    return s;
}

// CP1252 text as escaped UTF-8 character data; control characters, which an
// XML document cannot hold, become '?'.
std::string escaped(const std::string& cp1252) {
    std::string clean = cp1252;
    for (char& c : clean)
        if (static_cast<unsigned char>(c) < 0x20)
            c = '?';
    std::string out;
    for (char c : toUtf8(clean)) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

} // namespace

SvgCanvas::SvgCanvas(int width, int height, double dotsPerInch)
    : width_(std::max(width, 0)), height_(std::max(height, 0)), dotsPerInch_(dotsPerInch) {
    style_.fontName = "times new roman";
    style_.fontSize = 8;
}

void SvgCanvas::moveTo(int x, int y) {
    flushLines();
    x_ = x;
    y_ = y;
}

void SvgCanvas::lineTo(int x, int y) {
    if (run_.empty())
        run_.emplace_back(x_, y_);
    run_.emplace_back(x, y);
    x_ = x;
    y_ = y;
}

void SvgCanvas::ellipse(int x1, int y1, int x2, int y2) {
    flushLines();
    body_ += "<ellipse cx=\"" + number((x1 + x2) / 2.0) + "\" cy=\"" + number((y1 + y2) / 2.0) +
             "\" rx=\"" + number(std::abs(x2 - x1) / 2.0) + "\" ry=\"" +
             number(std::abs(y2 - y1) / 2.0) + "\" fill=\"#ffffff\" stroke=\"" +
             colour(style_.penColour) + "\" stroke-width=\"" +
             std::to_string(std::max(style_.penWidth, 1)) + "\"/>\n";
}

void SvgCanvas::textOut(int x, int y, const std::string& text) {
    flushLines();
    double pixels = style_.fontSize * dotsPerInch_ / 72.0;
    body_ += "<text x=\"" + std::to_string(x) + "\" y=\"" + number(y + fontAscent * pixels) +
             "\" font-family=\"" + escaped(style_.fontName) + ", serif\" font-size=\"" +
             number(pixels) + "\" fill=\"" + colour(style_.fontColour) +
             "\" xml:space=\"preserve\">" + escaped(text) + "</text>\n";
}

void SvgCanvas::setPenColour(PlotColour colour) {
    if (colour != style_.penColour)
        flushLines();
    StyledCanvas::setPenColour(colour);
}

void SvgCanvas::setPenWidth(int width) {
    if (width != style_.penWidth)
        flushLines();
    StyledCanvas::setPenWidth(width);
}

std::string SvgCanvas::pendingLines() const {
    if (run_.size() < 2)
        return {};
    std::string s = "<polyline points=\"";
    for (std::size_t i = 0; i < run_.size(); ++i) {
        if (i > 0)
            s += ' ';
        s += std::to_string(run_[i].first) + ',' + std::to_string(run_[i].second);
    }
    s += "\" stroke=\"" + colour(style_.penColour) + "\" stroke-width=\"" +
         std::to_string(std::max(style_.penWidth, 1)) + "\"/>\n";
    return s;
}

void SvgCanvas::flushLines() {
    body_ += pendingLines();
    run_.clear();
}

void SvgCanvas::setCaption(const std::string& title, const std::string& description) {
    caption_ = "<title>" + escaped(title) + "</title>\n<desc>" + escaped(description) + "</desc>\n";
}

std::string SvgCanvas::document() const {
    std::string w = std::to_string(width_);
    std::string h = std::to_string(height_);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
           w + "\" height=\"" + h + "\" viewBox=\"0 0 " + w + " " + h + "\">\n" + caption_ +
           "<rect x=\"0\" y=\"0\" width=\"" + w + "\" height=\"" + h +
           "\" fill=\"#ffffff\"/>\n"
           "<g fill=\"none\" stroke-linecap=\"round\" stroke-linejoin=\"round\">\n" +
           body_ + pendingLines() + "</g>\n</svg>\n";
}

} // namespace camini
