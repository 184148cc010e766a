#pragma once

#include "common/Cp1252.h"

#include <cstdint>
#include <string>

namespace camini {

// An RGB colour of the drawing surfaces.
struct PlotColour {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    friend bool operator==(const PlotColour&, const PlotColour&) = default;
};

// The surface the plot library draws on: the graph window, a printer page, an
// SVG document or a recorder in tests. Coordinates are whole device units
// (pixels or printer dots), x to the right and y downwards from the top left
// corner of the surface. Texts are CP1252.
//
// The surface keeps a current position, a pen (colour, width) and a font
// (name, size in points, colour); each call uses them as they stand. A new
// surface has a black pen 1 unit wide and a black font.
class PlotCanvas {
public:
    virtual ~PlotCanvas() = default;

    // Moves the current position without drawing.
    virtual void moveTo(int x, int y) = 0;
    // Draws a straight line with the pen from the current position to (x, y),
    // which becomes the current position.
    virtual void lineTo(int x, int y) = 0;
    // Draws the ellipse inscribed in the box with corners (x1, y1) and (x2, y2)
    // (in either order): outline with the pen, interior painted white, the
    // background of the window and the page. The current position is kept.
    virtual void ellipse(int x1, int y1, int x2, int y2) = 0;
    // Writes a text with the font, its top left corner at (x, y). Blanks are
    // written (a leading blank shifts the text). The current position is kept.
    virtual void textOut(int x, int y, const Cp1252& text) = 0;

    virtual void setPenColour(PlotColour colour) = 0;
    virtual void setPenWidth(int width) = 0;
    virtual void setFontName(const Cp1252& name) = 0;
    virtual void setFontSize(int points) = 0;
    virtual void setFontColour(PlotColour colour) = 0;

    // Size of the surface in device units: the window's size for the screen,
    // the page's printable size in dots for a printer.
    virtual int width() const = 0;
    virtual int height() const = 0;

    // The width in device units of a text written with the font as it
    // stands, blanks included.
    virtual int textWidth(const Cp1252& text) const = 0;
    // The height in device units of a line of text in the font as it stands.
    virtual int textHeight() const = 0;
};

// The pen and the font a canvas draws with, as they were last set.
struct CanvasStyle {
    PlotColour penColour;
    int penWidth = 1;
    Cp1252 fontName;
    int fontSize = 0;
    PlotColour fontColour;
};

// A canvas that keeps its pen and font in a CanvasStyle and reads them when
// it draws (the SVG, PDF and recording canvases); one with more to do when
// the pen changes overrides the setter and calls this one.
class StyledCanvas : public PlotCanvas {
public:
    void setPenColour(PlotColour colour) override { style_.penColour = colour; }
    void setPenWidth(int width) override { style_.penWidth = width; }
    void setFontName(const Cp1252& name) override { style_.fontName = name; }
    void setFontSize(int points) override { style_.fontSize = points; }
    void setFontColour(PlotColour colour) override { style_.fontColour = colour; }

    // An estimate for the graphs' proportional font on a surface of 96 dots
    // an inch: half the font's height a character, the width of a digit.
    int textWidth(const Cp1252& text) const override {
        return static_cast<int>(text.size() * style_.fontSize * 96 / 72 / 2);
    }
    // The font's size in pixels of 96 dots an inch.
    int textHeight() const override { return style_.fontSize * 96 / 72; }

    const CanvasStyle& style() const { return style_; }

protected:
    CanvasStyle style_;
};

} // namespace camini
