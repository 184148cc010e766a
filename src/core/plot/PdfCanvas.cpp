#include "PdfCanvas.h"

#include "common/Cp1252.h"

#include <cairo.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <numbers>

namespace camini {

namespace {

// CP1252 text as UTF-8; control characters, which no font draws, become '?'.
std::string drawable(const std::string& cp1252) {
    std::string clean = cp1252;
    for (char& c : clean)
        if (static_cast<unsigned char>(c) < 0x20)
            c = '?';
    return toUtf8(clean);
}

} // namespace

PdfCanvas::PdfCanvas(cairo_t* cr, int width, int height, double dotsPerInch)
    : cr_(cr), width_(std::max(width, 0)), height_(std::max(height, 0)), dotsPerInch_(dotsPerInch) {
    style_.fontName = "times new roman";
    style_.fontSize = 8;
    cairo_save(cr_);
    cairo_scale(cr_, 72.0 / dotsPerInch_, 72.0 / dotsPerInch_);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
}

PdfCanvas::~PdfCanvas() {
    cairo_restore(cr_);
}

void PdfCanvas::applyColour(PlotColour c) const {
    cairo_set_source_rgb(cr_, c.r / 255.0, c.g / 255.0, c.b / 255.0);
}

void PdfCanvas::applyFont() const {
    std::string family = style_.fontName;
    for (char& c : family)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    cairo_select_font_face(cr_, toUtf8(family).c_str(), CAIRO_FONT_SLANT_NORMAL,
                           CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, std::max(style_.fontSize, 1) * dotsPerInch_ / 72.0);
}

void PdfCanvas::moveTo(int x, int y) {
    x_ = x;
    y_ = y;
}

void PdfCanvas::lineTo(int x, int y) {
    cairo_move_to(cr_, x_, y_);
    cairo_line_to(cr_, x, y);
    applyColour(style_.penColour);
    cairo_set_line_width(cr_, std::max(style_.penWidth, 1));
    cairo_stroke(cr_);
    x_ = x;
    y_ = y;
}

void PdfCanvas::ellipse(int x1, int y1, int x2, int y2) {
    const double rx = std::abs(x2 - x1) / 2.0;
    const double ry = std::abs(y2 - y1) / 2.0;
    if (rx == 0 || ry == 0) {
        cairo_move_to(cr_, x1, y1);
        cairo_line_to(cr_, x2, y2);
    } else {
        cairo_save(cr_);
        cairo_translate(cr_, (x1 + x2) / 2.0, (y1 + y2) / 2.0);
        cairo_scale(cr_, rx, ry);
        cairo_new_sub_path(cr_);
        cairo_arc(cr_, 0, 0, 1, 0, 2 * std::numbers::pi);
        cairo_restore(cr_);
        cairo_set_source_rgb(cr_, 1, 1, 1);
        cairo_fill_preserve(cr_);
    }
    applyColour(style_.penColour);
    cairo_set_line_width(cr_, std::max(style_.penWidth, 1));
    cairo_stroke(cr_);
}

void PdfCanvas::textOut(int x, int y, const std::string& text) {
    applyFont();
    cairo_font_extents_t font;
    cairo_font_extents(cr_, &font);
    applyColour(style_.fontColour);
    cairo_move_to(cr_, x, y + font.ascent);
    cairo_show_text(cr_, drawable(text).c_str());
    cairo_new_path(cr_);
}

int PdfCanvas::textWidth(const std::string& text) const {
    applyFont();
    cairo_text_extents_t extents;
    cairo_text_extents(cr_, drawable(text).c_str(), &extents);
    return static_cast<int>(std::lround(extents.x_advance));
}

double PdfCanvas::lineHeight() const {
    applyFont();
    cairo_font_extents_t font;
    cairo_font_extents(cr_, &font);
    return font.height;
}

} // namespace camini
