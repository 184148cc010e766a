#pragma once

#include "PlotCanvas.h"
#include "common/Cp1252.h"

#include <string>
#include <vector>

namespace camini {

// One primitive that reached a recording canvas, with the pen and the font
// it was drawn with.
struct RecordedPrimitive {
    enum class Kind { Move, Line, Ellipse, Text };
    Kind kind = Kind::Move;
    // Move: the target in (x2, y2), (x1, y1) the position before.
    // Line: from (x1, y1) to (x2, y2).
    // Ellipse: the box's corners as given.
    // Text: the top left corner in (x1, y1).
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    Cp1252 text;
    PlotColour penColour;
    int penWidth = 1;
    Cp1252 fontName;
    int fontSize = 0;
    PlotColour fontColour;
};

// A canvas that draws nothing and keeps every primitive with its device
// coordinates, pen and font, for tests and measurements.
class RecordingCanvas final : public StyledCanvas {
public:
    explicit RecordingCanvas(int width = 1024, int height = 768) : width_(width), height_(height) {}

    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void ellipse(int x1, int y1, int x2, int y2) override;
    void textOut(int x, int y, const Cp1252& text) override;
    int width() const override { return width_; }
    int height() const override { return height_; }

    const std::vector<RecordedPrimitive>& primitives() const { return primitives_; }
    std::vector<RecordedPrimitive> primitives(RecordedPrimitive::Kind kind) const;
    void clear() { primitives_.clear(); }

    // The pen and font as they stand now.
    PlotColour penColour() const { return style_.penColour; }
    int penWidth() const { return style_.penWidth; }
    const Cp1252& fontName() const { return style_.fontName; }
    int fontSize() const { return style_.fontSize; }
    PlotColour fontColour() const { return style_.fontColour; }
    int currentX() const { return x_; }
    int currentY() const { return y_; }

private:
    RecordedPrimitive record(RecordedPrimitive::Kind kind) const;
    // A move or a line from the current position to (x, y), which becomes current.
    void segment(RecordedPrimitive::Kind kind, int x, int y);

    int width_;
    int height_;
    int x_ = 0;
    int y_ = 0;
    std::vector<RecordedPrimitive> primitives_;
};

} // namespace camini
