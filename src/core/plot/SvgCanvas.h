#pragma once

#include "PlotCanvas.h"
#include "common/Cp1252.h"

#include <string>
#include <utility>
#include <vector>

namespace camini {

// A canvas that writes a standalone SVG document: a white page of the given
// size in pixels, the lines (runs of joined lines become one polyline),
// ellipses and texts drawn on it, with their pen colours and widths and their
// fonts, after the document's title and description. Font sizes are points, turned into pixels at
// `dotsPerInch`; a text's top left corner is the top of its character cell, as on the window. Texts
// are converted from CP1252 to UTF-8 and escaped; their blanks are kept.
class SvgCanvas final : public StyledCanvas {
public:
    SvgCanvas(int width, int height, double dotsPerInch = 96.0);

    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void ellipse(int x1, int y1, int x2, int y2) override;
    void textOut(int x, int y, const Cp1252& text) override;
    void setPenColour(PlotColour colour) override;
    void setPenWidth(int width) override;
    int width() const override { return width_; }
    int height() const override { return height_; }

    // What the document says it shows: its <title> and <desc>, before the
    // drawing (CP1252, converted and escaped as the texts are).
    void setCaption(const Cp1252& title, const Cp1252& description);

    // The document with everything drawn so far (UTF-8).
    Utf8 document() const;

private:
    void flushLines();
    Utf8 pendingLines() const;

    int width_;
    int height_;
    double dotsPerInch_;
    int x_ = 0;
    int y_ = 0;
    std::vector<std::pair<int, int>> run_; // joined lines not yet written
    Utf8 caption_;                         // the <title> and <desc> elements
    Utf8 body_;
};

} // namespace camini
