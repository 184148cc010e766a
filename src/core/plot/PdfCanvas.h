#pragma once

#include "PlotCanvas.h"
#include "common/Cp1252.h"

#include <string>

typedef struct _cairo cairo_t; // NOLINT(bugprone-reserved-identifier): cairo's own name

namespace camini {

// A canvas on a page of a PDF document drawn through cairo: the lines,
// ellipses and texts of the plot library (and the report's lines) with their
// pen colours and widths and their fonts, found by name through fontconfig.
// Device units are dots at `dotsPerInch`, from the point where the cairo
// context's origin stands when the canvas is made; font sizes are points. A
// text's top left corner is the top of its character cell (the font's
// ascent above the baseline), as on the window; texts are converted from
// CP1252 to UTF-8, so a PDF reader extracts them. Widths of texts are
// cairo's own advances for the font, rounded to whole dots.
class PdfCanvas final : public StyledCanvas {
public:
    PdfCanvas(cairo_t* cr, int width, int height, double dotsPerInch);
    ~PdfCanvas() override;
    PdfCanvas(const PdfCanvas&) = delete;
    PdfCanvas& operator=(const PdfCanvas&) = delete;

    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void ellipse(int x1, int y1, int x2, int y2) override;
    void textOut(int x, int y, const Cp1252& text) override;
    int width() const override { return width_; }
    int height() const override { return height_; }
    int textWidth(const Cp1252& text) const override;
    int textHeight() const override { return static_cast<int>(lineHeight()); }

    // The distance in dots from one line of text to the next with the font
    // as it stands.
    double lineHeight() const;

private:
    void applyFont() const;
    void applyColour(PlotColour c) const;

    cairo_t* cr_;
    int width_;
    int height_;
    double dotsPerInch_;
    int x_ = 0;
    int y_ = 0;
};

} // namespace camini
